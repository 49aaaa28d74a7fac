// A picture file as the map: decoded no larger than the map needs, and
// refused when it is gone or no picture.
#include "mainwindow/mapfile.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace tb;

namespace {
QImage gradient(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 90));
    return img;
}
} // namespace

class TestMapFile : public QObject {
    Q_OBJECT
private slots:
    void decodeSize_data();
    void decodeSize();
    void loads_data();
    void loads();
    void refusesWhatIsNoPicture_data();
    void refusesWhatIsNoPicture();
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
    QTest::newRow("GIF with a wrong name") << "gif" << QSize(64, 48) << QSize(777, 443) << QSize(64, 48);
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
    const QImage source = gradient(picture.width(), picture.height());
    // The GIF row is saved as PNG under a .gif name: what counts is the content.
    const QString path = dir.filePath("map." + format);
    QVERIFY(source.save(path, format == "gif" ? "png" : qPrintable(format)));

    const QImage map = loadMapPicture(path, shown);
    QVERIFY(!map.isNull());
    QCOMPARE(map.size(), expected);
    // Still the same picture: the colour of the middle survives the reduction.
    const QColor want = source.pixelColor(picture.width() / 2, picture.height() / 2);
    const QColor got = map.pixelColor(expected.width() / 2, expected.height() / 2);
    QVERIFY2(qAbs(got.red() - want.red()) < 12 && qAbs(got.green() - want.green()) < 12,
             qPrintable(QStringLiteral("%1 vs %2").arg(got.name(), want.name())));
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
            QVERIFY(gradient(50, 40).save(&f, "JPEG"));
        f.close();
        if (what == "vanished")
            QVERIFY(QFile::remove(path));
        if (what == "unreadable") {
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
            if (QFileInfo(path).isReadable())
                QSKIP("running as a user who reads every file");
        }
    }
    QVERIFY(loadMapPicture(path, QSize(777, 443)).isNull());
}

QTEST_APPLESS_MAIN(TestMapFile)
#include "tst_mapfile.moc"
