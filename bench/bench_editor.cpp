// How long the clock editor and the picture chooser take: opening the editor
// with every built-in and 999 user pictures to its first paint, and choosing
// a 6000 × 4000 JPEG until both previews are painted, with the memory it costs.
#include "benchsupport.h"
#include "ui/chooser/picturechooserdialog.h"
#include "ui/common/pictureframewidget.h"
#include "core/editor/picturestore.h"
#include "ui/editor/clockeditordialog.h"
#include "ui/common/fonts.h"
#include "ui/common/messenger.h"
#include "core/settings/settingsstore.h"
#include "core/time/clocksource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace tb;
using namespace tb::bench;

namespace {
class NoChooser : public PictureChooser {
public:
    void showModal(ChooserFields &f) override { f.confirmed = false; }
};

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// Resident memory now and at its peak, in kB, from /proc/self/status.
qint64 procStatus(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}
// Starts a new peak measurement (the kernel resets VmHWM to the present size).
void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}
} // namespace

static void BM_OpenEditorWith999UserPictures(benchmark::State &state)
{
    appSettings().setSettingsFile(workDir().filePath(QStringLiteral("TembraOG.ini")));
    PictureStore store = PictureStore::builtIn();
    QImage small(42, 28, QImage::Format_RGB32);
    small.fill(Qt::darkYellow);
    for (int n = 1; n <= PictureStore::kMaxUserSlot; ++n)
        store.addUser(n, small, QStringLiteral("nn0630-0420"));
    FixedClock clock;
    SilentMessenger messages;
    NoChooser chooser;
    FaceColours colours;
    ClockEditorDialog editor(store, clock, messages, colours, chooser);
    QElapsedTimer timer;
    editor.setDriver([&](ClockEditorWindow &w) {
        w.repaint(); // the first paint, done now rather than by the event loop
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    });
    for (auto _ : state) {
        EditorFields f;
        f.mode = EditMode::Edit;
        f.pictureKey = QStringLiteral("500User");
        timer.start();
        editor.showModal(f);
    }
    state.counters["names"] = store.count();
}
BENCHMARK(BM_OpenEditorWith999UserPictures)->UseManualTime()->Unit(benchmark::kMillisecond);

static void BM_ChooseJpeg6000x4000(benchmark::State &state)
{
    const QString file = workDir().filePath(QStringLiteral("big.jpg"));
    if (!QFileInfo::exists(file)) {
        const QByteArray cmd = "convert -size 1500x1000 plasma:fractal -resize 6000x4000! -quality 90 "
                               + QFile::encodeName(file);
        if (std::system(cmd.constData()) != 0 || !QFileInfo::exists(file)) {
            state.SkipWithError("ImageMagick's convert is needed to make the test picture");
            return;
        }
    }
    PictureChooserDialog chooser;
    chooser.setStartFolder(workDir().path());
    QElapsedTimer timer;
    qint64 idleKb = 0, peakKb = 0;
    chooser.setDriver([&](PictureChooserWindow &w) {
        w.repaint();
        QCoreApplication::processEvents();
        idleKb = procStatus("VmRSS:");
        resetPeak();
        timer.start();
        w.fileChosen(QStringLiteral("big.jpg"));
        w.chosenPictureFrame()->repaint();
        w.shownSizeFrame()->repaint();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        peakKb = std::max(peakKb, procStatus("VmHWM:") - idleKb);
        if (!w.chosenPictureFrame()->hasPicture() || !w.shownSizeFrame()->hasPicture())
            state.SkipWithError("the picture did not load");
    });
    for (auto _ : state) {
        ChooserFields f;
        chooser.showModal(f);
    }
    state.counters["peak_MB_above_idle"] = double(peakKb) / 1024.0;
}
BENCHMARK(BM_ChooseJpeg6000x4000)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    appSettings().setApplicationName(QStringLiteral("TembraOG"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
