// How long the colour dialog's Update takes (482 conversions, 482 bar lines,
// twelve demo clocks), the conversions alone, and one slider step including
// the repaint the user sees.
#include "ui/colour/colourdialog.h"
#include "ui/common/fonts.h"
#include "core/settings/settingsstore.h"
#include "core/model/worldmodel.h"
#include "benchsupport.h"

#include <QApplication>
#include <QSlider>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tb;

namespace {
// The dialog works on a model of its own; nothing here answers a message.
struct StillHost {
    WorldModel model;
    bench::SilentMessenger messenger;
};
} // namespace

static void BM_MixerUpdate(benchmark::State &state)
{
    ColourMixer mixer;
    mixer.startEditing(FaceColours());
    int hue = 0;
    for (auto _ : state) {
        mixer.moveSlider(0, hue);
        hue = (hue + 7) % 240;
        benchmark::DoNotOptimize(mixer.luminosityBar()[120]);
    }
}
BENCHMARK(BM_MixerUpdate)->Unit(benchmark::kMicrosecond);

static void BM_DialogUpdate(benchmark::State &state)
{
    StillHost host;
    ColourDialog dialog(host.model, host.messenger);
    dialog.showModeless();
    dialog.slider(1)->setValue(200); // a coloured editor, so the bars are not grey
    QCoreApplication::processEvents();
    for (auto _ : state) {
        // Nothing is cached: every call converts, draws every line and face.
        dialog.refresh();
        benchmark::DoNotOptimize(dialog.surface().constBits());
    }
}
BENCHMARK(BM_DialogUpdate)->Unit(benchmark::kMicrosecond);

static void BM_SliderStepWithRepaint(benchmark::State &state)
{
    StillHost host;
    ColourDialog dialog(host.model, host.messenger);
    dialog.showModeless();
    QCoreApplication::processEvents();
    int lum = 0;
    for (auto _ : state) {
        dialog.slider(2)->setValue(lum);
        dialog.repaint();
        lum = (lum + 1) % 241;
    }
}
BENCHMARK(BM_SliderStepWithRepaint)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    static QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    QApplication::setFont(designFont(9));
    appSettings().setApplicationName(QStringLiteral("TembraOG"));
    appSettings().setSettingsFile(config.filePath(QStringLiteral("TembraOG.ini")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
