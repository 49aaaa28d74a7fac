#include "core/chooser/chooserrules.h"

#include "core/common/sizetag.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <algorithm>
#include <cmath>

namespace tb {

const std::array<ChooserFilter, 6> &chooserFilters()
{
    static const std::array<ChooserFilter, 6> filters{ {
        { "*.jpg *.gif *.bmp *.ico", "*.jpg;*.gif;*.bmp;*.ico" },
        { "*.jpg", "*.jpg" },
        { "*.gif", "*.gif" },
        { "*.bmp", "*.bmp" },
        { "*.ico", "*.ico" },
        { "*.* All", "*.*" },
    } };
    return filters;
}

QStringList namePatterns(const QString &pattern)
{
    QStringList out;
    for (const QString &p : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        out << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
    }
    return out;
}

bool matchesPatterns(const QString &fileName, const QStringList &patterns)
{
    return std::any_of(patterns.begin(), patterns.end(), [&](const QString &p) {
        return QRegularExpression::fromWildcard(p, Qt::CaseInsensitive).match(fileName).hasMatch();
    });
}

QString joinChosenPath(const QString &folder, const QString &fileName)
{
    QString f = folder;
    if (f.endsWith(QLatin1Char('/')))
        f.chop(1);
    return f + QLatin1Char('/') + fileName;
}

qint64 sizeInKB(qint64 bytes)
{
    return bytes <= 0 ? 0 : (bytes + 1023) / 1024;
}

QSize fitToBox(const QSize &picture, const QSize &box)
{
    const double W = picture.width(), H = picture.height();
    if (W <= 0 || H <= 0 || box.isEmpty())
        return QSize(0, 0);
    if (W < box.width() && H < box.height())
        return picture;
    const double boxAspect = double(box.width()) / box.height();
    if (boxAspect >= W / H)
        return QSize(int(std::lround(box.height() * W / H)), box.height());
    return QSize(box.width(), int(std::lround(box.width() * H / W)));
}

ChooserSizes chooserSizes(const QSize &pictureTwips, bool forMap)
{
    ChooserSizes s;
    s.preview = fitToBox(pictureTwips, QSize(kPreviewBoxWidth, kPreviewBoxHeight));
    const int w = s.preview.width(), h = s.preview.height();
    if (w > kMapPictureMaxWidth || h > kMapPictureMaxHeight) {
        if (forMap)
            return s; // a map keeps the tag it had
        s.flag = fitToBox(pictureTwips, QSize(kMapPictureMaxWidth, kMapPictureMaxHeight));
        s.tag = makeSizeTag(true, s.flag.width(), s.flag.height());
    } else {
        s.flag = pictureTwips;
        s.tag = makeSizeTag(false, s.flag.width(), s.flag.height());
    }
    return s;
}

namespace {

QSize twipsOf(const QSize &px, int twipsPerPixel)
{
    return QSize(px.width() * twipsPerPixel, px.height() * twipsPerPixel);
}

QSize pixelsOf(const QSize &twips, int twipsPerPixel)
{
    return QSize(std::max(1, int(std::lround(double(twips.width()) / twipsPerPixel))),
                 std::max(1, int(std::lround(double(twips.height()) / twipsPerPixel))));
}

} // namespace

ChooserPicture loadChooserPicture(const QString &path, bool forMap, int twipsPerPixel)
{
    ChooserPicture result;
    // Decoded at the large preview's size; the map-size one comes from that.
    const PictureRead read = readPicture(path, [&](const QSize &own) {
        result.sizes = chooserSizes(twipsOf(own, twipsPerPixel), forMap);
        return pixelsOf(result.sizes.preview, twipsPerPixel);
    });
    result.problem = read.problem;
    result.bytes = read.bytes;
    if (read.problem != PictureProblem::None) {
        result.sizes = ChooserSizes();
        return result;
    }
    result.pixels = read.pixels;
    result.preview = read.image;
    if (!forMap && !result.sizes.flag.isEmpty()) {
        const QSize flagPx = pixelsOf(result.sizes.flag, twipsPerPixel);
        result.flag = flagPx == result.preview.size()
                          ? result.preview
                          : result.preview.scaled(flagPx, Qt::IgnoreAspectRatio,
                                                  Qt::SmoothTransformation);
    }
    result.ok = true;
    return result;
}

QString pictureProblemText(PictureProblem problem)
{
    switch (problem) {
    case PictureProblem::None:
        return QString();
    case PictureProblem::TooLarge:
        return QStringLiteral("  画像が大きすぎます");
    case PictureProblem::Unreadable:
        return QStringLiteral("  ファイルを読み込めません");
    case PictureProblem::Missing:
    case PictureProblem::NotAPicture:
        break;
    }
    return QStringLiteral("  画像ファイルではありません");
}

QStringList chooseDrives(const std::vector<DriveInfo> &mounted)
{
    static const QStringList pseudo = {
        "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "mqueue", "debugfs",
        "tracefs", "securityfs", "pstore", "bpf", "configfs", "fusectl", "hugetlbfs",
        "autofs", "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "ramfs", "fuse.gvfsd-fuse",
        "fuse.portal", "squashfs", "overlay_proc"
    };
    QStringList out;
    for (const DriveInfo &d : mounted) {
        if (!d.ready || !d.readable || d.root.isEmpty())
            continue;
        if (pseudo.contains(d.fsType))
            continue;
        if (d.fsType == QLatin1String("tmpfs") && d.root != QLatin1String("/tmp")
            && d.root != QLatin1String("/"))
            continue; // /run, /dev/shm and the like hold no pictures
        if (d.root.startsWith(QLatin1String("/snap/")) || d.root.startsWith(QLatin1String("/proc/"))
            || d.root.startsWith(QLatin1String("/sys/")) || d.root.startsWith(QLatin1String("/dev/")))
            continue;
        if (!out.contains(d.root))
            out << d.root;
    }
    std::sort(out.begin(), out.end(), [](const QString &a, const QString &b) {
        if (a == QLatin1String("/") || b == QLatin1String("/"))
            return a == QLatin1String("/") && b != QLatin1String("/");
        return a < b;
    });
    return out;
}

QStringList mountedDrives()
{
    std::vector<DriveInfo> all;
    for (const QStorageInfo &s : QStorageInfo::mountedVolumes()) {
        DriveInfo d;
        d.root = s.rootPath();
        d.fsType = QString::fromLatin1(s.fileSystemType());
        d.ready = s.isValid() && s.isReady();
        d.readable = QFileInfo(d.root).isReadable() && QFileInfo(d.root).isExecutable();
        all.push_back(d);
    }
    QStringList drives = chooseDrives(all);
    if (!drives.contains(QStringLiteral("/")))
        drives.prepend(QStringLiteral("/")); // the root is always there to go to
    return drives;
}

QString driveOf(const QString &folder, const QStringList &drives)
{
    QString best = QStringLiteral("/");
    for (const QString &d : drives) {
        const bool under = folder == d || d == QLatin1String("/")
                           || folder.startsWith(d.endsWith(QLatin1Char('/')) ? d : d + QLatin1Char('/'));
        if (under && d.size() > best.size())
            best = d;
    }
    return best;
}

} // namespace tb
