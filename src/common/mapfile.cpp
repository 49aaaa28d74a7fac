#include "common/mapfile.h"

#include "face/twips.h"
#include "mainwindow/layout.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace tb {

QSize designMapPixels()
{
    return QSize(int(std::lround(twipsToPx(kDesignMapWidth))), int(std::lround(twipsToPx(kDesignMapHeight))));
}

QSize mapDecodeSize(const QSize &pictureSize, const QSize &shownSize)
{
    if (!pictureSize.isValid())
        return pictureSize;
    if (shownSize.isEmpty())
        return pictureSize; // nothing to fit yet: keep the picture as it is
    return QSize(std::min(pictureSize.width(), 2 * shownSize.width()),
                 std::min(pictureSize.height(), 2 * shownSize.height()));
}

QImage loadMapPicture(const QString &path, const QSize &shownSize)
{
    const QFileInfo info(path);
    // Not only gone files: a pipe or a device would block or never end.
    if (!info.isFile() || !info.isReadable())
        return QImage();
    QImageReader reader(path);
    reader.setAutoTransform(true); // photographs carry their orientation
    reader.setDecideFormatFromContent(true);
    QSize stored = reader.size();
    if (!stored.isValid())
        return QImage();
    // The scaled size applies before a quarter turn; compare in shown orientation.
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    if (turned)
        stored.transpose();
    QSize want = mapDecodeSize(stored, shownSize);
    // JPEG decodes straight at the smaller size, which is what makes a large
    // photograph cheap. Other formats are decoded whole and reduced here, in
    // full colour: GIFs and palette PNGs come as palette pictures, which Qt
    // (its PNG reader's own scaling included) would scale into a fixed web
    // palette of dithered blocks.
    const bool decodeSmall = want != stored && reader.format() == "jpeg";
    if (decodeSmall) {
        if (turned)
            want.transpose();
        reader.setScaledSize(want);
    }
    QImage img = reader.read();
    if (img.isNull())
        return QImage();
    img = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                    : QImage::Format_RGB32);
    if (!decodeSmall && img.size() != want)
        img = img.scaled(mapDecodeSize(img.size(), shownSize), Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
    return img;
}

} // namespace tb
