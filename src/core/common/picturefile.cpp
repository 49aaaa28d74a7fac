#include "core/common/picturefile.h"

#include "core/common/deeppng.h"
#include "core/common/picturecost.h"
#include "core/common/rowreducer.h"
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
// Its header is read on the way, for what decoding it will cost.
bool jpegComplete(QFile &f, JpegLayout *layout)
{
    const qint64 n = f.size();
    const uchar *data = n > 0 ? f.map(0, n) : nullptr;
    if (!data)
        return false;
    *layout = jpegLayout(data, n);
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
    const PngLayout png = pngLayout(file.peek(29));
    QImageReader reader(&file);
    reader.setAutoTransform(true); // photographs carry their orientation
    QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty())
        return r;
    const bool jpeg = reader.format() == "jpeg";
    JpegLayout jpegHeader;
    if (jpeg && !jpegComplete(file, &jpegHeader))
        return r;
    // The size asked for applies before a quarter turn; compare upright.
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize own = turned ? stored.transposed() : stored;
    r.pixels = own;
    QSize want = sizeFor ? sizeFor(own).boundedTo(own).expandedTo(QSize(1, 1)) : own;
    // Only JPEG decodes at a smaller size in Qt's reader; Qt scales GIFs and
    // palette PNGs (its PNG reader's own scaling included) into a fixed web
    // palette of dithered blocks, so those are reduced here, in full colour.
    const bool small = jpeg && want != own;
    const QSize storedWant = turned ? want.transposed() : want;
    const QSize decoded = decodedSize(stored, small ? storedWant : stored, jpeg);
    const DecodePlan plan = planDecode(stored, storedWant, decoded, reader.imageFormat(), jpegHeader, png);
    if (plan.bytes > kMaxDecodeBytes) {
        r.problem = PictureProblem::TooLarge;
        return r;
    }
    QImage img;
    if (plan.route == DecodeRoute::DeepPng) {
        img = readDeepPng(file, storedWant);
    } else {
        if (small)
            reader.setScaledSize(storedWant);
        // Qt's own limit (128 MB) would refuse a 6000 × 6000 picture: raise it
        // for this one decode to what ours allows.
        const int oldLimit = QImageReader::allocationLimit();
        const int needMB = int(kMaxDecodeBytes >> 20) + 1;
        if (oldLimit > 0 && oldLimit < needMB)
            QImageReader::setAllocationLimit(needMB);
        img = reader.read();
        QImageReader::setAllocationLimit(oldLimit);
        if (img.isNull())
            return r;
        if (img.size() != want && img.depth() != 32) {
            img = reducedByRows(img, want);
        } else {
            // Where it lies when it can: never a second full copy.
            img.convertTo(img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
            if (img.size() != want)
                img = img.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    }
    if (img.isNull())
        return r;
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
