#pragma once
// The fixed list of built-in pictures: every flag and the red dot, in the
// order the picture store holds them, with the tag each one carries.
#include <QImage>
#include <QString>
#include <array>

namespace tb {

struct BuiltInPicture {
    const char *key; // spelled as the settings of existing users store it: do not "fix" typos
    const char *iso; // lower-case ISO 3166 code naming the flag file; empty for the red dot
    const char *tag; // a copy of the name for some of the early entries, else empty
};

constexpr int kBuiltInPictureCount = 163;

const std::array<BuiltInPicture, kBuiltInPictureCount> &builtInPictures();

// File name of the picture inside the flag folder: "<iso>.png" or "redpointer.png".
// Keys that show the same flag ("UK" and "UnitedKingdom") share one file.
QString builtInPictureFile(const BuiltInPicture &picture);

// The pixel ratio to load built-in pictures for: 2 when a screen has a device
// pixel ratio above 1 (as Qt picks "@2x" icons), else 1; 1 without a GUI.
qreal builtInPictureRatio();

// A built-in picture by the path of its ordinary file. For a ratio above 1
// the "@2x" file beside it is read when it exists, and marked with a device
// pixel ratio of 2, so it takes the same room on screen as the ordinary one
// (deviceIndependentSize()) and only looks finer. A plain QImage load never
// picks the "@2x" file by itself. Null when neither file reads.
QImage loadBuiltInPicture(const QString &path, qreal devicePixelRatio);
// Whether loadBuiltInPicture() would find a picture there, from the files'
// headers only (much cheaper than decoding).
bool canLoadBuiltInPicture(const QString &path, qreal devicePixelRatio);

} // namespace tb
