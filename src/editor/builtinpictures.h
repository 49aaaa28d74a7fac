#pragma once
// The fixed list of built-in pictures: every flag and the red dot, in the
// order the picture store holds them, with the tag each one carries.
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

} // namespace tb
