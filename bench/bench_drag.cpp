// How long one step of dragging a face takes with all 21 clocks placed: the
// pointer's move and the repaint it causes (the red circle's old and new
// rectangles only), at the design size and at 1920 × 1080.
#include "benchsupport.h"
#include "core/common/twips.h"
#include "ui/common/fonts.h"
#include "ui/mainwindow/placing.h"
#include "ui/mainwindow/mainwindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace tb;
using namespace tb::bench;

namespace {
void mouse(QWidget *w, QEvent::Type type, QPointF at)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void dragSteps(benchmark::State &state, const QSizeF &client)
{
    FixedClock clock(QDateTime(QDate(2026, 7, 1), QTime(9, 5, 0)));
    SilentMessenger messages;
    tb::MainWindow w(clock, messages);
    w.show();
    w.resizeClientTwips(client);
    QCoreApplication::processEvents();
    w.tick();
    QCoreApplication::processEvents();
    QWidget *map = w.mapWidget();
    const ClockEntry &e = w.model().clock(10);
    const QPointF face(twipsToPx(w.layout().windowX(e.faceLeft)) - map->x(), twipsToPx(w.layout().windowY(e.faceTop)) - map->y());
    mouse(map, QEvent::MouseButtonPress, face);
    if (w.placing()->pickedClock() != 10) {
        state.SkipWithError("the press hit no face");
        return;
    }
    int k = 0;
    for (auto _ : state) {
        ++k;
        mouse(map, QEvent::MouseMove, face + QPointF(k % 40, (k / 40) % 30));
        QCoreApplication::processEvents(); // the repaint the move asked for
    }
    mouse(map, QEvent::MouseButtonRelease, face);
    state.counters["placed"] = w.model().lastClock() + 1;
    state.counters["width"] = w.clientArea()->width();
}
} // namespace

static void BM_DragStepDesignSize(benchmark::State &state)
{
    dragSteps(state, QSizeF(kDesignClientWidth, kDesignClientHeight));
}
BENCHMARK(BM_DragStepDesignSize)->Unit(benchmark::kMicrosecond);

static void BM_DragStep1920x1080(benchmark::State &state)
{
    dragSteps(state, QSizeF(1920 * 15, 1080 * 15));
}
BENCHMARK(BM_DragStep1920x1080)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runWindowBenchmarks(argc, argv);
}
