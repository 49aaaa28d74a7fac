#include "core/layout/mapcache.h"

#include "core/layout/mapfile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace tb {

namespace {

constexpr quint32 kMagic = 0x54424d43; // "TBMC"
// Raised whenever the way a map is decoded changes: older copies are then stale.
constexpr quint32 kVersion = 1;
constexpr qint64 kMaxCacheBytes = qint64(32) << 20; // a design-size map is 5.5 MB
constexpr int kHashBytes = 20;                      // SHA-1 of all before it

// What a copy must match: the file as it is now, and the size decoded for.
struct MapKey {
    QString path;
    qint64 size = -1;
    qint64 modified = 0; // ms since the epoch
    QSize decodedFor;
    bool operator==(const MapKey &o) const
    {
        return path == o.path && size == o.size && modified == o.modified && decodedFor == o.decodedFor;
    }
};

MapKey keyOf(const QString &path)
{
    const QFileInfo info(path);
    MapKey key;
    key.path = info.absoluteFilePath();
    key.size = info.size();
    key.modified = info.lastModified().toMSecsSinceEpoch();
    key.decodedFor = designMapPixels();
    return key;
}

// A copy that is cut off, changed by a byte, of another version or of
// another file gives a null image: it is never shown.
PictureRead readCopy(const MapKey &want)
{
    PictureRead none;
    QFile f(mapCacheFile());
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxCacheBytes || f.size() <= kHashBytes)
        return none;
    const QByteArray all = f.readAll();
    const QByteArray body = all.left(all.size() - kHashBytes);
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha1) != all.right(kHashBytes))
        return none;
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0, version = 0;
    MapKey key;
    QSize pixels, size;
    qint32 format = 0, bytesPerLine = 0;
    QByteArray bits;
    in >> magic >> version >> key.path >> key.size >> key.modified >> key.decodedFor >> pixels >> format
        >> size >> bytesPerLine >> bits;
    if (in.status() != QDataStream::Ok || !in.atEnd() || magic != kMagic || version != kVersion || !(key == want))
        return none;
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) || size.isEmpty()
        || bytesPerLine < size.width() * 4 || qint64(bytesPerLine) * size.height() != bits.size())
        return none;
    QImage image(size, QImage::Format(format));
    if (image.isNull() || image.bytesPerLine() < size.width() * 4)
        return none;
    for (int y = 0; y < size.height(); ++y)
        memcpy(image.scanLine(y), bits.constData() + qint64(y) * bytesPerLine, size_t(size.width()) * 4);
    PictureRead read;
    read.problem = PictureProblem::None;
    read.bytes = key.size;
    read.pixels = pixels;
    read.image = image;
    return read;
}

bool writeCopy(const MapKey &key, const PictureRead &read)
{
    const QImage &image = read.image;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        return false;
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << kMagic << kVersion << key.path << key.size << key.modified << key.decodedFor << read.pixels
        << qint32(image.format()) << image.size() << qint32(image.bytesPerLine())
        << QByteArray::fromRawData(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
    const QString file = mapCacheFile();
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    // Written beside and renamed over: a copy is whole or the old one stays.
    QSaveFile save(file);
    if (!save.open(QIODevice::WriteOnly))
        return false;
    save.write(body);
    save.write(QCryptographicHash::hash(body, QCryptographicHash::Sha1));
    return save.commit();
}

} // namespace

QString mapCacheFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
           + QStringLiteral("/TembraOG/worldmap.cache");
}

PictureRead loadStartMap(const QString &path)
{
    // The file must still be there and readable: the copy never hides what
    // the chooser's rule would say about it.
    QFile file(path);
    if (!path.isEmpty() && QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
        file.close();
        const MapKey key = keyOf(path);
        PictureRead copy = readCopy(key);
        if (copy.problem == PictureProblem::None)
            return copy;
        PictureRead read = loadMapPicture(path, key.decodedFor);
        if (read.problem == PictureProblem::None)
            writeCopy(key, read);
        return read;
    }
    return loadMapPicture(path, designMapPixels());
}

bool keepChosenMap(const QString &path, const PictureRead &read, const QSize &shown)
{
    if (read.problem != PictureProblem::None
        || mapDecodeSize(read.pixels, shown) != mapDecodeSize(read.pixels, designMapPixels()))
        return false;
    return writeCopy(keyOf(path), read);
}

} // namespace tb
