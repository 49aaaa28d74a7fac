// A picture file as the map: decoded no larger than the map needs, and
// refused when it is gone or no picture.
#include "core/layout/mapfile.h"
#include "core/layout/mapcache.h"
#include "core/editor/storedpictures.h"
#include "settings_testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace tb;

namespace {
// Two soft colours side by side, as on a map (sea, land); a palette picture
// scaled through a web palette would turn them into dithered blocks.
const QColor kSea(169, 207, 234);
const QColor kLand(228, 235, 197);

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 6 && qAbs(a.green() - b.green()) <= 6 && qAbs(a.blue() - b.blue()) <= 6;
}

// A small JPEG whose frame header then declares 30000 × 30000 pixels.
bool writeJpegDeclaringHuge(const QString &path, bool progressive)
{
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(solidPicture(32, 32, kSea, kLand)))
        return false;
    QByteArray bytes = buf.data();
    for (int i = 2; i + 9 < bytes.size(); i += 2 + (uchar(bytes[i + 2]) << 8 | uchar(bytes[i + 3]))) {
        if (uchar(bytes[i + 1]) == (progressive ? 0xC2 : 0xC0)) {
            bytes.replace(i + 5, 4, QByteArray("\x75\x30\x75\x30", 4));
            QFile f(path);
            return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
        }
    }
    return false;
}

// Only `mb` more megabytes of address space while it lives: a decode that
// holds more fails instead of slowing the computer down.
struct MemoryLimit {
    rlimit old{};
    bool ok = false;
    explicit MemoryLimit(qint64 mb)
    {
        QFile status("/proc/self/status");
        if (!status.open(QIODevice::ReadOnly) || getrlimit(RLIMIT_AS, &old) != 0)
            return;
        const QByteArray text = status.readAll();
        const qint64 kB = text.mid(text.indexOf("VmSize:") + 7).trimmed().split(' ').value(0).toLongLong();
        const rlimit lower{ rlim_t((kB << 10) + (mb << 20)), old.rlim_max };
        ok = kB > 0 && setrlimit(RLIMIT_AS, &lower) == 0;
    }
    ~MemoryLimit() { setrlimit(RLIMIT_AS, &old); }
};
} // namespace

class TestMapFile : public QObject {
    Q_OBJECT
private slots:
    void decodeSize_data();
    void decodeSize();
    void loads_data();
    void loads();
    void paletteMapKeepsItsColours();
    void photographMapSurvivesARestartSmall_data();
    void photographMapSurvivesARestartSmall();
    void refusesWhatIsNoPicture_data();
    void refusesWhatIsNoPicture();
    void costsWhatItShows_data();
    void costsWhatItShows();
    void startMapCache_data();
    void startMapCache();
};

void TestMapFile::decodeSize_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("small keeps its size") << QSize(400, 300) << QSize(777, 443) << QSize(400, 300);
    QTest::newRow("exactly twice") << QSize(1554, 886) << QSize(777, 443) << QSize(1554, 886);
    QTest::newRow("photograph") << QSize(12000, 8000) << QSize(777, 443) << QSize(1554, 886);
    QTest::newRow("panorama: each side on its own") << QSize(20000, 700) << QSize(777, 443) << QSize(1554, 700);
    QTest::newRow("tall") << QSize(600, 9000) << QSize(777, 443) << QSize(600, 886);
    QTest::newRow("no shown size yet") << QSize(5000, 4000) << QSize() << QSize(5000, 4000);
}

void TestMapFile::decodeSize()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, shown);
    QFETCH(QSize, expected);
    QCOMPARE(mapDecodeSize(picture, shown), expected);
}

void TestMapFile::loads_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("large JPEG decoded small") << "jpg" << QSize(4000, 3000) << QSize(300, 200) << QSize(600, 400);
    QTest::newRow("large PNG decoded small") << "png" << QSize(2400, 1200) << QSize(100, 100) << QSize(200, 200);
    QTest::newRow("small BMP as it is") << "bmp" << QSize(120, 80) << QSize(777, 443) << QSize(120, 80);
    QTest::newRow("palette picture named GIF") << "gif" << QSize(800, 600) << QSize(100, 100) << QSize(200, 200);
}

void TestMapFile::loads()
{
    QFETCH(QString, format);
    QFETCH(QSize, picture);
    QFETCH(QSize, shown);
    QFETCH(QSize, expected);
    if (!QImageReader::supportedImageFormats().contains(format.toLatin1()))
        QSKIP("this Qt cannot read the format");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QImage source = solidPicture(picture.width(), picture.height(), kSea, kLand);
    if (format == "gif")
        source = source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    // The GIF row is a palette PNG under a .gif name (Qt writes no GIF): what
    // counts is the content, and that palette pictures scale in full colour.
    const QString path = dir.filePath("map." + format);
    if (format == "gif")
        QVERIFY(source.save(path, "png"));
    else
        QVERIFY(source.save(path, qPrintable(format)));

    const QImage loaded = loadMapPicture(path, shown).image;
    QVERIFY(!loaded.isNull());
    QCOMPARE(loaded.size(), expected);
    // As the window does: scaled smoothly to the shown size.
    const QImage map = loaded.scaled(expected, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Still the same picture, in its own colours, after the window scaled it.
    const int w = expected.width(), h = expected.height();
    QVERIFY2(near(map.pixelColor(w / 4, h / 2), kSea), qPrintable(map.pixelColor(w / 4, h / 2).name()));
    QVERIFY2(near(map.pixelColor(3 * w / 4, h / 2), kLand), qPrintable(map.pixelColor(3 * w / 4, h / 2).name()));
}

// A 256-colour picture (our own default map) under a GIF name: reduced on
// loading and again by the window, the sea keeps its colour instead of
// turning into Qt's dithered web palette.
void TestMapFile::paletteMapKeepsItsColours()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("map.gif");
    QVERIFY(QFile::copy(QStringLiteral(":/maps/defolt.png"), path));
    QCOMPARE(QImage(path).format(), QImage::Format_Indexed8);
    const QImage loaded = loadMapPicture(path, QSize(300, 200)).image;
    QCOMPARE(loaded.size(), QSize(600, 400));
    const QImage shown = loaded.scaled(QSize(450, 300), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (const QImage &img : { loaded, shown }) {
        const QColor sea = img.pixelColor(img.width() / 40, img.height() / 2); // open Pacific
        QVERIFY2(near(sea, kSea), qPrintable(sea.name()));
    }
}

// A map file comes back after a restart by the chooser's rule: a large
// picture decoded for the map's design size (777 × 443), a PNG beyond Qt's
// own 128 MB limit too; a cut-off JPEG is refused with a message naming it.
void TestMapFile::photographMapSurvivesARestartSmall_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("cut");
    QTest::newRow("photograph") << "photo.jpg" << QSize(4000, 3000) << false;
    QTest::newRow("6000 x 6000 PNG") << "big.png" << QSize(6000, 6000) << false;
    QTest::newRow("cut-off JPEG") << "cut.jpg" << QSize(400, 300) << true;
}

void TestMapFile::photographMapSurvivesARestartSmall()
{
    QFETCH(QString, name);
    QFETCH(QSize, picture);
    QFETCH(bool, cut);
    QCOMPARE(designMapPixels(), QSize(777, 443));
    tb::testing::TempStore store;
    const QString path = store.dir() + QLatin1Char('/') + name;
    QVERIFY(solidPicture(picture.width(), picture.height(), kSea, kLand).convertToFormat(QImage::Format_RGB888).save(path, nullptr, 90));
    if (cut)
        QVERIFY(QFile::resize(path, QFileInfo(path).size() * 2 / 3));
    store.writeRaw("[UserImg]\nWorldMap=8\nWorldMapFile=" + path.toUtf8() + "\n");
    RecordingMessenger messenger;
    const MapChoice map = loadStoredPictures(nullptr, messenger.report());
    if (cut) {
        QVERIFY(map.fileImage.isNull());
        QCOMPARE(messenger.texts, QStringList{ path + "\r\nこの画像ファイルは地図として読み込めません" });
        return;
    }
    QCOMPARE(map.fileImage.size(), QSize(1554, 886));
    QVERIFY(near(map.fileImage.pixelColor(100, 443), kSea));
    QVERIFY(messenger.texts.isEmpty());
}

void TestMapFile::refusesWhatIsNoPicture_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("vanished") << "vanished";
    QTest::newRow("not a picture") << "text";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("unreadable") << "unreadable";
#ifdef Q_OS_UNIX
    QTest::newRow("a pipe (would block)") << "pipe";
#endif
}

void TestMapFile::refusesWhatIsNoPicture()
{
    QFETCH(QString, what);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("map.jpg");
    if (what == "folder") {
        QVERIFY(QDir().mkpath(path));
#ifdef Q_OS_UNIX
    } else if (what == "pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (what == "text")
            f.write("this is not a picture\n");
        else if (what != "empty")
            QVERIFY(solidPicture(50, 40, kSea, kLand).save(&f, "JPEG"));
        f.close();
        if (what == "vanished")
            QVERIFY(QFile::remove(path));
        if (what == "unreadable") {
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
            if (QFileInfo(path).isReadable())
                QSKIP("running as a user who reads every file");
        }
    }
    QVERIFY(loadMapPicture(path, QSize(777, 443)).image.isNull());
}

// Decided from the header: a picture whose decoding would hold more than a
// few hundred megabytes is refused before a pixel is decoded; the others
// load within the memory they are given.
void TestMapFile::costsWhatItShows_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("headroomMB");
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("progressive JPEG declaring 30000 x 30000") << "progressive" << 256 << true;
    QTest::newRow("baseline JPEG declaring 30000 x 30000") << "baseline" << 256 << false;
    QTest::newRow("16-bit PNG, never held at 16 bits") << "deep" << 64 << false;
    QTest::newRow("11000 x 10000 grey PNG") << "grey" << 256 << false;
}

void TestMapFile::costsWhatItShows()
{
    QFETCH(QString, kind);
    QFETCH(int, headroomMB);
    QFETCH(bool, tooLarge);
    QTemporaryDir dir;
    const QString path = dir.filePath("map");
    QColor sea = kSea, land = kLand;
    if (kind == "grey") {
        QImage grey(11000, 10000, QImage::Format_Grayscale8);
        grey.fill(90);
        for (int y = 0; y < grey.height(); ++y)
            memset(grey.scanLine(y) + 5500, 210, 5500);
        QVERIFY(grey.save(path, "png"));
        sea = QColor(90, 90, 90);
        land = QColor(210, 210, 210);
    } else if (kind == "deep") {
        QVERIFY(solidPicture(4000, 3000, kSea, kLand).convertToFormat(QImage::Format_RGBX64).save(path, "png"));
    } else {
        QVERIFY(writeJpegDeclaringHuge(path, kind == "progressive"));
    }
    MemoryLimit limit(headroomMB);
    QVERIFY(limit.ok);
    const PictureRead read = loadMapPicture(path, QSize(777, 443));
    QCOMPARE(read.problem == PictureProblem::TooLarge, tooLarge);
    if (tooLarge)
        return;
    QCOMPARE(read.image.size(), QSize(1554, 886));
    const QColor left = read.image.pixelColor(300, 443), right = read.image.pixelColor(1250, 443);
    if (kind != "baseline") // its pixels beyond the first few blocks are libjpeg's grey
        QVERIFY2(near(left, sea) && near(right, land), qPrintable(left.name() + right.name()));
}

// The map file's start-up picture comes from the cache folder while the file
// keeps its path, size and time. Each row then replaces the file's bytes by
// noise: a start that still shows the map took it from the copy.
void TestMapFile::startMapCache_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("fromCopy");
    QTest::newRow("same file: the copy") << "" << true;
    QTest::newRow("other size") << "size" << false;
    QTest::newRow("other time") << "time" << false;
    QTest::newRow("damaged copy") << "damage" << false;
    QTest::newRow("copy cannot be written") << "unwritable" << false;
}

void TestMapFile::startMapCache()
{
    QFETCH(QString, change);
    QFETCH(bool, fromCopy);
    QTemporaryDir dir;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
    if (change == "unwritable") // a file where the folder would be
        QVERIFY(QDir().mkpath(dir.filePath("cache")) && QFile(dir.filePath("cache/TembraOG")).open(QIODevice::WriteOnly));
    const QString path = dir.filePath("photo.jpg");
    QVERIFY(solidPicture(4000, 3000, kSea, kLand).save(path, "jpeg", 90));
    const QImage decoded = loadMapPicture(path, designMapPixels()).image;
    QCOMPARE(loadStartMap(path).image, decoded);

    QFile file(path);
    const QDateTime time = QFileInfo(path).lastModified();
    const qint64 size = file.size() + (change == "size" ? 1 : 0);
    QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Truncate));
    QVERIFY(file.write(QByteArray(size, 'x')) == size);
    QVERIFY(file.setFileTime(change == "time" ? time.addSecs(-60) : time, QFileDevice::FileModificationTime));
    file.close();
    if (change == "damage") {
        QFile copy(mapCacheFile());
        QVERIFY(copy.open(QIODevice::ReadWrite));
        QVERIFY(copy.seek(copy.size() / 2) && copy.write("?") == 1);
    }
    const PictureRead read = loadStartMap(path);
    QCOMPARE(read.image, fromCopy ? decoded : QImage());
    QCOMPARE(read.problem, fromCopy ? PictureProblem::None : PictureProblem::NotAPicture);
}

TEMBRA_SETTINGS_TEST_MAIN(TestMapFile)
#include "tst_mapfile.moc"
