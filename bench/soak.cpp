// Hours of ticks in seconds: the window with 21 placed clocks driven by a
// fixed clock that advances one second per tick, every tick painted and
// flushed as the event loop would. Prints resident memory at chosen moments
// of the simulated run, to see whether it stays flat across minute changes.
// Usage: tembra_soak SETTINGS_DIR [HOURS]   (XDG_CONFIG_HOME-style folder)
#include "benchsupport.h"
#include "ui/common/fonts.h"
#include "ui/mainwindow/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <ctime>

using namespace tb;
using namespace tb::bench;

namespace {

long rssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tembra_soak SETTINGS_DIR [HOURS]\n");
        return 2;
    }
    qputenv("XDG_CONFIG_HOME", argv[1]);
    const int hours = argc > 2 ? std::atoi(argv[2]) : 8;
    QApplication app(argc, argv);
    installFontSubstitutions();
    QApplication::setFont(designFont(9));
    FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(9, 0, 0)));
    SilentMessenger messages;
    MainWindow window(clock, messages);
    window.show();
    QCoreApplication::processEvents();
    std::printf("simulated\trss_kB\theap_in_use_kB\theap_arena_kB\tcpu_ms_per_tick\n");
    std::clock_t lastCpu = std::clock();
    long lastTick = 0;
    const long total = long(hours) * 3600;
    // TEMBRA_SOAK_NOPAINT=1: the tick's own work only, no repaint or flush.
    const bool paint = qEnvironmentVariableIsEmpty("TEMBRA_SOAK_NOPAINT");
    for (long s = 1; s <= total; ++s) {
        clock.advanceSecs(1);
        window.tick();
        if (paint)
            QCoreApplication::processEvents();
        if (s == 10 || s == 60 || s == 600 || s % 1800 == 0)
        {
            const struct mallinfo2 m = mallinfo2();
            const std::clock_t cpu = std::clock();
            std::printf("%ldh%02ldm\t%ld\t%zu\t%zu\t%.3f\n", s / 3600, (s / 60) % 60, rssKb(),
                        (m.uordblks + m.hblkhd) / 1024, m.arena / 1024,
                        double(cpu - lastCpu) * 1000.0 / CLOCKS_PER_SEC / double(s - lastTick));
            lastCpu = cpu;
            lastTick = s;
            std::fflush(stdout);
        }
    }
    // TEMBRA_SOAK_EXIT=1: leave without tearing anything down, so that a heap
    // profiler reports everything still held as if it had leaked.
    if (!qEnvironmentVariableIsEmpty("TEMBRA_SOAK_EXIT"))
        std::_Exit(0);
    return 0;
}
