#include "mainwindow/mapfile.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

namespace tb {

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
    if (want != stored) {
        if (turned)
            want.transpose();
        // JPEG decodes straight at the smaller size; other formats are scaled after decoding.
        reader.setScaledSize(want);
    }
    QImage img = reader.read();
    if (img.isNull())
        return QImage();
    return img;
}

} // namespace tb
