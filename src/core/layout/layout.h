#pragma once
// Geometry of the main window, in twips. The window's outer size is the
// client area (below the menu bar) plus a fixed frame allowance, so that the
// design client area 11880 × 7965 gives the design map 11655 × 6645.
#include <QRectF>
#include <QSizeF>
#include <QtGlobal>

namespace tb {

constexpr double kDesignClientWidth = 11880;
constexpr double kDesignClientHeight = 7965;
constexpr double kFrameWidth = 120;   // outer width − client width
constexpr double kFrameHeight = 445;  // outer height − client height
constexpr double kMapLeft = 135;
constexpr double kMapTop = 0;
constexpr double kDesignMapWidth = 11655;
constexpr double kDesignMapHeight = 6645;
constexpr double kMinMapWidth = 2400;
constexpr double kMinMapHeight = 1200;

struct MainLayout {
    double windowWidth = 0;   // outer, twips
    double windowHeight = 0;
    QRectF map;               // the world map, in the client area
    float mapScaleX = 1;      // map size / design map size
    float mapScaleY = 1;
    qint16 bandRadius = 440;  // the band strip's faces; placed faces derive theirs from it

    // Where a position in reference twips (on the design map) is in the window.
    float windowX(float refX) const { return (refX - float(kMapLeft)) * mapScaleX + float(kMapLeft); }
    float windowY(float refY) const { return refY * mapScaleY; }

    // Band strip: face k's centre, and the left edge / tops of its labels.
    double bandFaceX(int k) const { return (k + 0.5) * map.width() / 12.0 + map.left(); }
    double bandFaceY() const { return windowHeight - 1600; }
    double bandLabelLeft(int k) const { return (k + 0.5) * map.width() / 12.0; }
    double bandDateTop() const { return windowHeight - 1385 + 300; }
    double bandTimeTop() const { return windowHeight - 1385 - 900; }
};

// Layout for a client area of the given size in twips.
MainLayout computeLayout(double clientWidth, double clientHeight);
// Smallest client area that still leaves the map its minimum size.
QSizeF minimumClientSize();

} // namespace tb
