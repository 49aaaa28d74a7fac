#include "core/common/picturefile.h"

#include "core/common/sizetag.h"
#include "core/common/twips.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

namespace tb {

namespace {

// libjpeg pads a cut-off JPEG with grey and calls it a success; the file is
// whole only when an end-of-image marker follows the last start-of-scan
// (scan data cannot contain FF D9, bytes after the image may follow it).
bool jpegComplete(QFile &f)
{
    const qint64 n = f.size();
    const uchar *data = n > 0 ? f.map(0, n) : nullptr;
    if (!data)
        return false;
    qint64 lastSos = -1;
    bool eoiAfter = false;
    for (qint64 i = 0; i + 1 < n; ++i) {
        if (data[i] != 0xFF)
            continue;
        if (data[i + 1] == 0xDA) {
            lastSos = i;
            eoiAfter = false;
        } else if (data[i + 1] == 0xD9 && lastSos >= 0) {
            eoiAfter = true;
        }
    }
    f.unmap(const_cast<uchar *>(data));
    return lastSos >= 0 && eoiAfter;
}

qint64 area(const QSize &s) { return qint64(s.width()) * s.height(); }

} // namespace

QSize decodedSize(const QSize &own, const QSize &want, bool jpeg)
{
    if (!jpeg || want == own || want.isEmpty())
        return own;
    // Qt's JPEG reader picks the largest reduction that still gives at least `want`.
    const int scale = std::min(own.width() / want.width(), own.height() / want.height());
    const int denom = scale >= 8 ? 8 : scale >= 4 ? 4 : scale >= 2 ? 2 : 1;
    const QSize reduced((own.width() + denom - 1) / denom, (own.height() + denom - 1) / denom);
    return area(reduced) >= area(want) ? reduced : want;
}

PictureRead readPicture(const QString &path, const PictureSizeFor &sizeFor)
{
    PictureRead r;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return r;
    r.problem = PictureProblem::NotAPicture;
    if (!info.isFile())
        return r;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.problem = PictureProblem::Unreadable;
        return r;
    }
    r.bytes = file.size();
    QImageReader reader(&file);
    reader.setAutoTransform(true); // photographs carry their orientation
    QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty())
        return r;
    const bool jpeg = reader.format() == "jpeg";
    if (jpeg && !jpegComplete(file))
        return r;
    // The size asked for applies before a quarter turn; compare upright.
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize own = turned ? stored.transposed() : stored;
    r.pixels = own;
    QSize want = sizeFor ? sizeFor(own).boundedTo(own).expandedTo(QSize(1, 1)) : own;
    // Only JPEG decodes at a smaller size; the others are decoded whole and
    // reduced below in full colour: Qt scales GIFs and palette PNGs (its PNG
    // reader's own scaling included) into a fixed web palette of dithered blocks.
    const bool small = jpeg && want != own;
    const QSize storedWant = turned ? want.transposed() : want;
    if (area(decodedSize(stored, small ? storedWant : stored, jpeg)) > kMaxDecodePixels) {
        r.problem = PictureProblem::TooLarge;
        return r;
    }
    if (small)
        reader.setScaledSize(storedWant);
    // Qt's own limit (128 MB) would refuse a 6000 × 6000 picture: raise it for
    // this one decode to what ours allows, 8 bytes a pixel for 16-bit PNGs.
    const int oldLimit = QImageReader::allocationLimit();
    const int needMB = int((kMaxDecodePixels * 8) >> 20) + 1;
    if (oldLimit > 0 && oldLimit < needMB)
        QImageReader::setAllocationLimit(needMB);
    QImage img = reader.read();
    QImageReader::setAllocationLimit(oldLimit);
    if (img.isNull())
        return r;
    img = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                    : QImage::Format_RGB32);
    if (img.size() != want)
        img = img.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    r.image = std::move(img);
    r.problem = PictureProblem::None;
    return r;
}

PictureFile loadPictureFile(const QString &path)
{
    return loadPictureFile(path, QString());
}

PictureFile loadPictureFile(const QString &path, const QString &sizeTag)
{
    const std::optional<QSize> shown = stretchedSize(sizeTag);
    const PictureRead read = readPicture(path, [&shown](const QSize &own) {
        if (!shown)
            return own;
        const QSize limit(std::max(1, shown->width() * kUserPictureHeadroom / kTwipsPerPixel),
                          std::max(1, shown->height() * kUserPictureHeadroom / kTwipsPerPixel));
        return own.width() > limit.width() || own.height() > limit.height()
                   ? own.scaled(limit, Qt::KeepAspectRatio)
                   : own;
    });
    PictureFile result;
    if (read.problem == PictureProblem::Missing)
        return result;
    result.status = PictureFile::Status::Unreadable;
    if (read.problem != PictureProblem::None)
        return result;
    result.status = PictureFile::Status::Loaded;
    result.image = read.image;
    return result;
}

} // namespace tb
