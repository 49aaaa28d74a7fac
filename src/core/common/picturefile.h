#pragma once
// One reader for every picture file of the user's: the chooser's previews,
// the map and the clocks' pictures, at start-up and when chosen alike, so a
// file the chooser refuses is never shown half at start, and the reverse.
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

namespace tb {

// Why a file could not be used; None when it could.
enum class PictureProblem { None, Missing, Unreadable, NotAPicture, TooLarge };

struct PictureRead {
    PictureProblem problem = PictureProblem::Missing;
    qint64 bytes = 0; // length of the file (0 when it is no regular file)
    QSize pixels;     // the picture's own size, upright
    QImage image;     // full colour, at the size asked for; null unless problem is None
};

// From the picture's own size, the size to hand back; each side is limited
// to the picture's own. Without it the picture comes at its own size.
using PictureSizeFor = std::function<QSize(const QSize &own)>;

// Only regular files are opened (a pipe or a device could block for ever).
// A JPEG without its end (libjpeg fills the rest with grey) is no picture.
// A picture whose decoding would hold more than kMaxDecodeBytes, as its
// header tells (planDecode), is TooLarge before a pixel is decoded.
PictureRead readPicture(const QString &path, const PictureSizeFor &sizeFor = {});

// The decoded size when `own` (as stored) is asked for at `want`: JPEG
// decodes at 1/1, 1/2, 1/4 or 1/8 of its size, other formats whole.
QSize decodedSize(const QSize &own, const QSize &want, bool jpeg);

// A user picture as the settings name it: loaded, gone, or no picture.
struct PictureFile {
    enum class Status { Loaded, Missing, Unreadable };
    Status status = Status::Missing;
    QImage image; // only when Loaded
};

// Loads a picture (BMP, GIF, JPEG, ICO, PNG …) by the chooser's rule
// (readPicture): what the chooser refuses is refused here too.
PictureFile loadPictureFile(const QString &path);
// The same for a user picture with its size tag: one shown stretched (an
// "st" tag) is decoded at no more than kUserPictureHeadroom times its shown
// size, enough for the map scaled up, so a large photo does not keep its full
// pixels in memory; others load at their own size.
constexpr int kUserPictureHeadroom = 4;
PictureFile loadPictureFile(const QString &path, const QString &sizeTag);

using PictureLoader = std::function<PictureFile(const QString &path, const QString &sizeTag)>;

} // namespace tb
