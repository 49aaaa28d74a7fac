// What choosing a map file costs, without the dialogs: the chooser's preview
// (loadChooserPicture), then the map decoded for the window at its design
// size, as "地図の変更" does, and kept for the next start where the build
// keeps one. Run under /usr/bin/time -v for the whole process's peak memory.
// Usage: tembra_choosemap PICTURE   (prints the outcome and the milliseconds)
#include "core/chooser/chooserrules.h"
#include "core/layout/mapfile.h"
#if __has_include("core/layout/mapcache.h")
#include "core/layout/mapcache.h"
#endif

#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tembra_choosemap PICTURE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QElapsedTimer timer;
    timer.start();
    const tb::ChooserPicture preview = tb::loadChooserPicture(path, true);
    const QSize shown = tb::designMapPixels();
    const tb::PictureRead map = preview.ok ? tb::loadMapPicture(path, shown) : tb::PictureRead();
#if __has_include("core/layout/mapcache.h")
    tb::keepChosenMap(path, map, shown);
#endif
    std::printf("%s %dx%d %lld ms\n", preview.ok ? "chosen" : qPrintable(tb::pictureProblemText(preview.problem)),
                map.image.width(), map.image.height(), qint64(timer.elapsed()));
    return 0;
}
