// How long the window's work takes: one tick with every clock, a full repaint
// at 1920 × 1080, and start-up to the first tick.
#include "benchsupport.h"
#include "ui/common/fonts.h"
#include "ui/mainwindow/mainwindow.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace tb;
using namespace tb::bench;

namespace {
std::unique_ptr<tb::MainWindow> makeWindow(FixedClock &clock, SilentMessenger &messages)
{
    auto w = std::make_unique<tb::MainWindow>(clock, messages);
    w->show();
    QCoreApplication::processEvents();
    return w;
}
} // namespace

static void BM_TickAllClocks(benchmark::State &state)
{
    FixedClock clock(QDateTime(QDate(2026, 7, 1), QTime(9, 5, 0)));
    SilentMessenger messages;
    auto w = makeWindow(clock, messages);
    state.counters["placed"] = w->model().lastClock() + 1;
    for (auto _ : state) {
        clock.advanceSecs(1);
        w->tick();
    }
}
BENCHMARK(BM_TickAllClocks)->Unit(benchmark::kMicrosecond);

static void BM_FullRepaint1920x1080(benchmark::State &state)
{
    FixedClock clock(QDateTime(QDate(2026, 7, 1), QTime(9, 5, 0)));
    SilentMessenger messages;
    auto w = makeWindow(clock, messages);
    w->resizeClientTwips(QSizeF(1920 * 15, 1080 * 15));
    QCoreApplication::processEvents();
    w->tick();
    QWidget *area = w->clientArea();
    area->repaint(); // the map is scaled once per size, not per paint
    for (auto _ : state)
        area->repaint();
    state.counters["width"] = area->width();
    state.counters["height"] = area->height();
}
BENCHMARK(BM_FullRepaint1920x1080)->Unit(benchmark::kMillisecond);

static void BM_StartupToFirstTick(benchmark::State &state)
{
    FixedClock clock(QDateTime(QDate(2026, 7, 1), QTime(9, 5, 0)));
    SilentMessenger messages;
    for (auto _ : state) {
        auto w = makeWindow(clock, messages);
        w->tick();
        benchmark::DoNotOptimize(w->clientArea()->surface());
    }
}
BENCHMARK(BM_StartupToFirstTick)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runWindowBenchmarks(argc, argv);
}
