#pragma once
// What the picture chooser decides without any window: the filter table,
// the chosen path, the size in KB, how a picture is fitted into the previews,
// the size tag it gets, and which files count as pictures at all.
#include "core/common/picturefile.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace tb {

struct ChooserFilter {
    const char *text;    // entry of the filter list, shown as written
    const char *pattern; // patterns separated by ";"
};
const std::array<ChooserFilter, 6> &chooserFilters();

// The patterns of one filter entry as name filters. "*.*" means every file,
// as it does for the people who type it, even one without a dot.
QStringList namePatterns(const QString &pattern);
// Whether a file name matches; letter case is ignored ("PHOTO.JPG" is a picture).
bool matchesPatterns(const QString &fileName, const QStringList &patterns);

// Folder + "/" + file, without doubling the separator at the root folder.
QString joinChosenPath(const QString &folder, const QString &fileName);

// Length in KB, rounded up: 0 → 0, 1 … 1024 → 1, 1025 → 2.
qint64 sizeInKB(qint64 bytes);

// Fits a picture (twips) into a box: one smaller than the box both ways keeps
// its size; one that reaches the box either way is reduced, aspect kept.
QSize fitToBox(const QSize &picture, const QSize &box);

constexpr int kPreviewBoxWidth = 5565;  // the large preview, twips
constexpr int kPreviewBoxHeight = 3465;
constexpr int kMapPictureMaxWidth = 1200; // the largest a clock's picture is on the map
constexpr int kMapPictureMaxHeight = 840;

struct ChooserSizes {
    QSize preview;   // twips, in the large preview
    QSize flag;      // twips, in the map-size preview (empty for a map)
    QString tag;     // size tag; empty when a map picture leaves it unchanged
};
// Sizes of a picture of `pictureTwips`; `forMap` when it is to be the world map.
ChooserSizes chooserSizes(const QSize &pictureTwips, bool forMap);

// A picture file as the chooser shows it, read by the one reader of
// core/common/picturefile.h; `problem` says why `ok` is false.
struct ChooserPicture {
    bool ok = false;
    PictureProblem problem = PictureProblem::Missing;
    qint64 bytes = 0;
    QSize pixels;          // the picture's own size
    ChooserSizes sizes;
    QImage preview;        // decoded at the large preview's size
    QImage flag;           // at the map-size preview's size (null for a map)
};
// Reads the header first and decodes only at the size shown where the format
// allows (JPEG), so a huge photo costs the memory of its preview.
ChooserPicture loadChooserPicture(const QString &path, bool forMap,
                                  int twipsPerPixel = 15);
// What the chooser's notice says when a file cannot be shown.
QString pictureProblemText(PictureProblem problem);

// A mounted file system as the drive list sees it.
struct DriveInfo {
    QString root;    // mount point
    QString fsType;
    bool ready = true;
    bool readable = true;
};
// The drives to offer: readable, real file systems; "/" first, then the
// others by mount point.
QStringList chooseDrives(const std::vector<DriveInfo> &mounted);
// The drives of this computer.
QStringList mountedDrives();
// The drive (from `drives`) that holds `folder`: the longest mount point that is its prefix.
QString driveOf(const QString &folder, const QStringList &drives);

} // namespace tb
