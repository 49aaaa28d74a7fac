#include "core/layout/mapfile.h"

#include "core/common/twips.h"
#include "core/layout/layout.h"

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

PictureRead loadMapPicture(const QString &path, const QSize &shownSize)
{
    return readPicture(path, [&shownSize](const QSize &own) { return mapDecodeSize(own, shownSize); });
}

QString mapNotLoadedMessage(const QString &path, PictureProblem problem)
{
    QString text = path + QStringLiteral("\r\n") + QStringLiteral("この画像ファイルは地図として読み込めません");
    if (problem == PictureProblem::TooLarge)
        text += QStringLiteral("（画像が大きすぎます）");
    return text;
}

} // namespace tb
