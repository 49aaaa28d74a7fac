#pragma once
// The size tag of a user picture, "st1200-0600" or "nn0840-0420": whether the
// picture is shown stretched, and its width and height in twips.
#include "core/common/twips.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace tb {

struct SizeTag {
    bool stretch = false;
    int width = 0;  // twips
    int height = 0; // twips

    bool operator==(const SizeTag &o) const
    {
        return stretch == o.stretch && width == o.width && height == o.height;
    }
    bool operator!=(const SizeTag &o) const { return !(*this == o); }
};

constexpr int kSizeTagLength = 11;

// nullopt for anything that is not exactly "st" or "nn", four digits, "-",
// four digits: built-in tags such as "Andorra", empty or damaged tags.
std::optional<SizeTag> parseSizeTag(const QString &tag);

// Sizes are clamped to 0 … 9999 so the tag always keeps its eleven characters.
QString makeSizeTag(bool stretch, int widthTwips, int heightTwips);
inline QString makeSizeTag(const SizeTag &t) { return makeSizeTag(t.stretch, t.width, t.height); }

// The size (twips) a picture carrying this tag is stretched to, or nullopt
// when it is shown at its own size. Laxer than parseSizeTag: any tag that
// begins with "st" and whose two fields begin with a number.
std::optional<QSize> stretchedSize(const QString &tag);

struct PictureDisplay {
    bool stretched = false;
    QSize twips; // size on screen in twips
};

// How a picture with this tag is shown: stretched to the tag's size, or at
// its own size (pixels converted to twips).
PictureDisplay pictureDisplay(const QImage &picture, const QString &tag,
                              int twipsPerPixel = kTwipsPerPixel);

} // namespace tb
