// Input and screens: xdotool, xwd / import, the main window's geometry and
// menus, and what the tests read from pictures.
#include "harness.h"

#include <QtMath>

namespace e2e {

// ------------------------------------------------------------ Desktop

QString Desktop::windowName(const QString &window) const
{
    return QString::fromUtf8(runTool("xdotool", { "getwindowname", window }, display(), 5000).out).trimmed();
}

QString Desktop::focusedWindow() const
{
    return QString::fromLatin1(runTool("xdotool", { "getwindowfocus" }, display(), 5000).out).trimmed();
}

bool Desktop::focus(const QString &window) const
{
    // Without a window manager, keys go where the input focus is set.
    return runTool("xdotool", { "windowfocus", "--sync", window }, display(), 5000).exitCode == 0;
}

bool Desktop::key(const QString &window, const QString &keys) const
{
    if (!focus(window))
        return false;
    return runTool("xdotool", { "key", "--delay", "40", keys }, display(), 5000).exitCode == 0;
}

bool Desktop::key(const QString &window, const QString &keys, int repeat) const
{
    if (!focus(window))
        return false;
    return runTool("xdotool", { "key", "--delay", "40", "--repeat", QString::number(repeat), keys }, display(),
                   5000 + 100 * repeat)
               .exitCode
        == 0;
}

bool Desktop::type(const QString &window, const QString &text, int delayMs) const
{
    if (!focus(window))
        return false;
    return runTool("xdotool", { "type", "--delay", QString::number(delayMs), text }, display(), 20000).exitCode
        == 0;
}

bool Desktop::move(const QPoint &p) const
{
    return runTool("xdotool", { "mousemove", QString::number(p.x()), QString::number(p.y()) }, display(), 5000)
               .exitCode == 0;
}

bool Desktop::click(const QPoint &p) const
{
    // A pause between move and press lets the program see the pointer arrive.
    return runTool("xdotool", { "mousemove", QString::number(p.x()), QString::number(p.y()), "sleep", "0.15",
                                "click", "1" },
                   display(), 5000)
               .exitCode == 0;
}

bool Desktop::drag(const QPoint &from, const QPoint &to) const
{
    QStringList args{ "mousemove", QString::number(from.x()), QString::number(from.y()), "sleep", "0.15",
                      "mousedown", "1" };
    for (int i = 1; i <= 8; ++i) { // intermediate moves, as a hand makes them
        const QPoint p = from + (to - from) * i / 8;
        args << "sleep" << "0.03" << "mousemove" << QString::number(p.x()) << QString::number(p.y());
    }
    args << "sleep" << "0.1" << "mouseup" << "1";
    return runTool("xdotool", args, display(), 10000).exitCode == 0;
}

QImage Desktop::screenshotWithMenus() const
{
    const RunResult r = runTool("import", { "-silent", "-window", "root", "png:-" }, display(), 20000);
    if (r.exitCode != 0)
        return {};
    return QImage::fromData(r.out, "PNG").convertToFormat(QImage::Format_RGB32);
}

// An XWD dump of the root window (xwd is fast; PNG through ImageMagick costs
// most of a second per screen).
QImage Desktop::screenshot() const
{
    const RunResult r = runTool("xwd", { "-root", "-silent" }, display(), 20000);
    if (r.exitCode != 0 || r.out.size() < 100)
        return {};
    const QByteArray &d = r.out;
    auto card = [&d](int i) {
        const auto *p = reinterpret_cast<const uchar *>(d.constData()) + 4 * i;
        return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
    };
    const quint32 headerSize = card(0), format = card(2), width = card(4), height = card(5),
                  byteOrder = card(7), bitsPerPixel = card(11), bytesPerLine = card(12), redMask = card(14),
                  greenMask = card(15), blueMask = card(16), colours = card(19);
    const qint64 offset = qint64(headerSize) + 12 * qint64(colours);
    // 24 bits per pixel come packed, in lines padded to 32 bits a pixel.
    const quint32 bytesPerPixel = bitsPerPixel / 8;
    if (format != 2 || bitsPerPixel < 24 || (bytesPerPixel != 3 && bytesPerPixel != 4)
        || offset + qint64(bytesPerLine) * height > d.size())
        return {};
    auto shift = [](quint32 mask) {
        int s = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++s;
        }
        return s;
    };
    const int rs = shift(redMask), gs = shift(greenMask), bs = shift(blueMask);
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (quint32 y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const uchar *>(d.constData()) + offset + qint64(y) * bytesPerLine;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (quint32 x = 0; x < width; ++x) {
            const uchar *p = line + bytesPerPixel * x;
            quint32 v = 0;
            for (quint32 b = 0; b < bytesPerPixel; ++b) // least significant byte first when byteOrder is 0
                v |= quint32(p[byteOrder == 0 ? b : bytesPerPixel - 1 - b]) << (8 * b);
            out[x] = qRgb(int((v & redMask) >> rs), int((v & greenMask) >> gs), int((v & blueMask) >> bs));
        }
    }
    return image;
}

// ------------------------------------------------------------ MainGeometry

QPoint MainGeometry::clientOrigin() const
{
    return m_window.topLeft() + QPoint(0, m_window.height() - kClientHeightPx);
}

QPointF MainGeometry::twipsToScreen(double x, double y) const
{
    return QPointF(clientOrigin()) + QPointF(x / 15.0, y / 15.0);
}

Circle MainGeometry::bandFace(int k) const
{
    // Map 11655 twips wide from 135; faces 1600 twips above the bottom of a
    // window whose outer height is the client height + 445.
    const double x = (k + 0.5) * 11655.0 / 12.0 + 135.0;
    const double y = kClientHeightPx * 15.0 + 445.0 - 1600.0;
    return { twipsToScreen(x, y), 440.0 / 15.0 };
}

Circle MainGeometry::placedFace(double clockLeft, double clockTop, double radius) const
{
    return { twipsToScreen(clockLeft, clockTop), radius / 15.0 };
}

QRect MainGeometry::menuBar() const
{
    return QRect(m_window.topLeft(), QSize(m_window.width(), m_window.height() - kClientHeightPx));
}

// ------------------------------------------------------------ Menus

QList<QPoint> Menus::barEntries() const
{
    if (!m_bar.isEmpty())
        return m_bar;
    m_desktop.move(QPoint(1270, 790)); // no entry under the pointer, so none is highlighted
    sleepMs(150);
    const QImage shot = m_desktop.screenshot();
    const QRect bar = MainGeometry(m_app.mainWindow().geometry).menuBar();
    const QRgb background = shot.pixel(bar.right() - 3, bar.center().y());
    QList<QPoint> entries;
    int start = -1, lastInk = -100;
    for (int x = bar.left(); x <= bar.right(); ++x) {
        bool ink = false;
        for (int y = bar.top() + 2; y < bar.bottom() - 1 && !ink; ++y)
            ink = !near(shot.pixel(x, y), background, 30);
        if (!ink)
            continue;
        if (x - lastInk > 12) { // a new run of text
            if (start >= 0)
                entries.append(QPoint((start + lastInk) / 2, bar.center().y()));
            start = x;
        }
        lastInk = x;
    }
    if (start >= 0)
        entries.append(QPoint((start + lastInk) / 2, bar.center().y()));
    m_bar = entries;
    return entries;
}

std::optional<WindowInfo> Menus::openBar(int index) const
{
    const QList<QPoint> entries = barEntries();
    if (index >= entries.size())
        return std::nullopt;
    QStringList known;
    for (const WindowInfo &w : m_app.visibleWindows())
        known << w.id;
    m_desktop.click(entries[index]);
    return m_app.waitForNewWindow(known);
}

QPoint Menus::itemCentre(const WindowInfo &popup, int index, int count) const
{
    const QRect g = popup.geometry;
    return QPoint(g.left() + g.width() / 2, g.top() + int((index + 0.5) * g.height() / count));
}

std::optional<WindowInfo> Menus::openItem(const WindowInfo &popup, int index, int count) const
{
    QStringList known;
    for (const WindowInfo &w : m_app.visibleWindows())
        known << w.id;
    m_desktop.click(itemCentre(popup, index, count));
    return m_app.waitForNewWindow(known);
}

bool Menus::chooseItem(const WindowInfo &popup, int index, int count) const
{
    m_desktop.click(itemCentre(popup, index, count));
    return m_app.waitForOnlyMainWindow();
}

QList<int> Menus::checkedItems(const WindowInfo &popup, int count) const
{
    // A popup is mapped before it is painted: wait for its light background.
    QImage shot;
    const QRect g = popup.geometry;
    waitFor(
        [&] {
            shot = m_desktop.screenshotWithMenus();
            return !shot.isNull() && qGray(shot.pixel(g.right() - 4, g.top() + 4)) > 150
                && qGray(shot.pixel(g.right() - 4, g.bottom() - 4)) > 150;
        },
        3000, 50);
    QList<int> checked;
    for (int i = 0; i < count; ++i) {
        const int cy = itemCentre(popup, i, count).y();
        // The check box sits at the left of the item; only a tick is near black.
        int dark = 0;
        for (int y = cy - 7; y <= cy + 7; ++y)
            for (int x = popup.geometry.left() + 3; x < popup.geometry.left() + 26; ++x)
                if (qGray(shot.pixel(x, y)) < 70)
                    ++dark;
        if (dark >= 6)
            checked << i;
    }
    return checked;
}

void Menus::closeAll() const
{
    for (int i = 0; i < 4 && !m_app.waitForOnlyMainWindow(300); ++i)
        runTool("xdotool", { "key", "Escape" }, m_desktop.display(), 5000);
}

// ------------------------------------------------------------ pictures

bool near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
        && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

int countDifferences(const QImage &a, const QImage &b, const QRect &area, const QList<Circle> &rims,
                     int tolerance, QImage *diff)
{
    if (a.size() != b.size())
        return area.width() * area.height();
    if (diff) {
        *diff = a.copy();
        diff->fill(Qt::black);
    }
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (near(a.pixel(x, y), b.pixel(x, y), tolerance))
                continue;
            bool onRim = false;
            for (const Circle &c : rims) {
                const double d = std::hypot(x + 0.5 - c.centre.x(), y + 0.5 - c.centre.y());
                if (qAbs(d - c.radius) <= 2.5) {
                    onRim = true;
                    break;
                }
            }
            if (onRim)
                continue;
            ++count;
            if (diff)
                diff->setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    return count;
}

double extentOf(const QImage &screen, const Circle &face, double degrees, QRgb fill, int tolerance)
{
    const double a = qDegreesToRadians(degrees);
    const double dx = std::sin(a), dy = -std::cos(a);
    for (double t = 6; t < 200; t += 0.5) {
        const int x = int(std::floor(face.centre.x() + t * dx));
        const int y = int(std::floor(face.centre.y() + t * dy));
        if (!screen.rect().contains(x, y) || !near(screen.pixel(x, y), fill, tolerance))
            return t;
    }
    return 200;
}

QRgb faceFill(const QImage &screen, const Circle &face, double fraction)
{
    QMap<QRgb, int> seen;
    for (int i = 0; i < 48; ++i) {
        const double a = i * 2 * M_PI / 48;
        const int x = int(std::floor(face.centre.x() + fraction * face.radius * std::sin(a)));
        const int y = int(std::floor(face.centre.y() - fraction * face.radius * std::cos(a)));
        if (screen.rect().contains(x, y))
            ++seen[screen.pixel(x, y) | 0xff000000];
    }
    QRgb best = 0;
    int most = -1;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    return best;
}

int redPixels(const QImage &screen, const QRect &box)
{
    int n = 0;
    const QRect r = box.intersected(screen.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = screen.pixel(x, y);
            if (qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110)
                ++n;
        }
    return n;
}

} // namespace e2e
