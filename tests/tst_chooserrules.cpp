// The chooser's rules: sizes and tags, KB, paths, patterns, and which files
// count as pictures.
#include "core/chooser/chooserrules.h"
#include "fakes.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <sys/types.h>

using namespace tb;

class TestChooserRules : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void writeBytes(const QString &name, const QByteArray &bytes) { QVERIFY(writeFile(path(name), bytes)); }
    QByteArray encoded(int w, int h, const char *format)
    {
        QImage img(w, h, QImage::Format_RGB888);
        img.fill(Qt::blue);
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, format);
        return bytes;
    }

private slots:
    void sizes_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<bool>("forMap");
        QTest::addColumn<QSize>("preview");
        QTest::addColumn<QSize>("flag");
        QTest::addColumn<QString>("tag");
        QTest::newRow("large photo") << QSize(9600, 7200) << false << QSize(4620, 3465) << QSize(1120, 840) << "st1120-0840";
        QTest::newRow("wide banner") << QSize(1500, 300) << false << QSize(1500, 300) << QSize(1200, 240) << "st1200-0240";
        QTest::newRow("small") << QSize(900, 450) << false << QSize(900, 450) << QSize(900, 450) << "nn0900-0450";
        QTest::newRow("exactly the limit") << QSize(1200, 840) << false << QSize(1200, 840) << QSize(1200, 840) << "nn1200-0840";
        QTest::newRow("taller than wide") << QSize(3000, 9000) << false << QSize(1155, 3465) << QSize(280, 840) << "st0280-0840";
        QTest::newRow("reaches the box") << QSize(5565, 100) << false << QSize(5565, 100) << QSize(1200, 22) << "st1200-0022";
        QTest::newRow("map, large: tag kept") << QSize(9600, 7200) << true << QSize(4620, 3465) << QSize() << "";
        QTest::newRow("map, small") << QSize(900, 450) << true << QSize(900, 450) << QSize(900, 450) << "nn0900-0450";
    }
    void sizes()
    {
        QFETCH(QSize, picture);
        QFETCH(bool, forMap);
        const ChooserSizes s = chooserSizes(picture, forMap);
        QTEST(s.preview, "preview");
        QTEST(s.flag, "flag");
        QTEST(s.tag, "tag");
    }

    void kilobytes_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<qint64>("kb");
        QTest::newRow("empty") << qint64(0) << qint64(0);
        QTest::newRow("one byte") << qint64(1) << qint64(1);
        QTest::newRow("1024") << qint64(1024) << qint64(1);
        QTest::newRow("1025") << qint64(1025) << qint64(2);
        QTest::newRow("large") << qint64(5) * 1024 * 1024 * 1024 << qint64(5) * 1024 * 1024;
    }
    void kilobytes()
    {
        QFETCH(qint64, bytes);
        QTEST(sizeInKB(bytes), "kb");
    }

    void paths_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("path");
        QTest::newRow("root") << "/" << "a.gif" << "/a.gif";
        QTest::newRow("folder") << "/home/pic" << "a.gif" << "/home/pic/a.gif";
        QTest::newRow("japanese and blanks") << "/home/写真 集" << "旅 行.jpg" << "/home/写真 集/旅 行.jpg";
    }
    void paths()
    {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QTEST(joinChosenPath(folder, file), "path");
    }

    void patterns_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("shown");
        QTest::newRow("upper case jpg") << 0 << "PHOTO.JPG" << true;
        QTest::newRow("mixed case gif") << 2 << "Anim.GiF" << true;
        QTest::newRow("ico in the four") << 0 << "x.ico" << true;
        QTest::newRow("png not in the four") << 0 << "x.png" << false;
        QTest::newRow("jpeg spelling") << 1 << "x.jpeg" << false;
        QTest::newRow("bmp filter, jpg") << 3 << "x.jpg" << false;
        QTest::newRow("jpg in the middle") << 1 << "x.jpg.txt" << false;
        QTest::newRow("all: png") << 5 << "x.png" << true;
        QTest::newRow("all: no dot") << 5 << "README" << true;
    }
    void patterns()
    {
        QFETCH(int, filter);
        QFETCH(QString, name);
        const QStringList p = namePatterns(QString::fromUtf8(chooserFilters()[size_t(filter)].pattern));
        QTEST(matchesPatterns(name, p), "shown");
    }

    void filterTexts()
    {
        const QStringList texts = { "*.jpg *.gif *.bmp *.ico", "*.jpg", "*.gif", "*.bmp", "*.ico", "*.* All" };
        for (int i = 0; i < 6; ++i)
            QCOMPARE(QString::fromUtf8(chooserFilters()[size_t(i)].text), texts[i]);
    }

    void notPictures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text"); // what the chooser says
        const QString none = "  画像ファイルではありません";
        QTest::newRow("missing") << "missing.jpg" << none;
        QTest::newRow("empty") << "empty.jpg" << none;
        QTest::newRow("text renamed") << "text.jpg" << none;
        QTest::newRow("folder named like a picture") << "folder.jpg" << none;
        QTest::newRow("fifo") << "pipe.jpg" << none;
        QTest::newRow("device") << "/dev/zero" << none;
        QTest::newRow("truncated jpeg") << "cut.jpg" << none;
        QTest::newRow("truncated png") << "cut.png" << none;
        QTest::newRow("400 megapixels") << "huge.png" << "  画像が大きすぎます";
        QTest::newRow("no permission") << "locked.jpg" << "  ファイルを読み込めません";
    }
    void notPictures()
    {
        QFETCH(QString, file);
        writeBytes("empty.jpg", QByteArray());
        writeBytes("text.jpg", "just some words, not a picture\n");
        QDir(m_dir.path()).mkpath("folder.jpg");
        ::mkfifo(QFile::encodeName(path("pipe.jpg")).constData(), 0600);
        const QByteArray jpeg = encoded(300, 200, "JPEG");
        writeBytes("cut.jpg", jpeg.left(jpeg.size() / 2));
        const QByteArray png = encoded(300, 200, "PNG");
        writeBytes("cut.png", png.left(png.size() / 2));
        // A PNG of 20000 × 20000 pixels (400 megapixels), header only.
        writeBytes("huge.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0N \0\0N \x08\x02\0\0\0\x6c\x12\xd1\x6e"
                                          "\0\0\0\0IDAT\x35\xaf\x06\x1e\0\0\0\0IEND\xae\x42\x60\x82", 57));
        writeBytes("locked.jpg", jpeg);
        QFile::setPermissions(path("locked.jpg"), QFileDevice::WriteOwner);
        if (file == "locked.jpg" && QFileInfo(path(file)).isReadable())
            QSKIP("running as a user who reads every file");

        const QString p = file.startsWith('/') ? file : path(file);
        const ChooserPicture pic = loadChooserPicture(p, false);
        QVERIFY(!pic.ok);
        QVERIFY(pic.preview.isNull());
        QTEST(pictureProblemText(pic.problem), "text");
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("name");
        QTest::newRow("jpeg") << "JPEG" << "a.jpg";
        QTest::newRow("gif") << "GIF" << "a.gif";
        QTest::newRow("bmp") << "BMP" << "a.bmp";
        QTest::newRow("ico") << "ICO" << "a.ico";
        QTest::newRow("png named jpg") << "PNG" << "png-really.jpg";
        QTest::newRow("8000 x 8000 png, beyond Qt's 128 MB") << "PNG" << "big.png";
    }
    void pictures()
    {
        QFETCH(QString, format);
        QFETCH(QString, name);
        const QByteArray bytes = format == "GIF" ? tinyGif()
                                 : name == "big.png" ? encoded(8000, 8000, "PNG")
                                 : encoded(format == "ICO" ? 64 : 900, format == "ICO" ? 32 : 600, format.toLatin1());
        writeBytes(name, bytes);
        const ChooserPicture pic = loadChooserPicture(path(name), false);
        QVERIFY(pic.ok);
        QCOMPARE(pic.bytes, qint64(bytes.size()));
        QCOMPARE(pic.preview.size(), QSize(qRound(pic.sizes.preview.width() / 15.0),
                                           qRound(pic.sizes.preview.height() / 15.0)));
        QVERIFY(!pic.flag.isNull());
    }

    // A big photo is decoded at the preview's size, never at its own.
    void bigPhotoDecodedSmall()
    {
        writeBytes("big.jpg", encoded(6000, 4000, "JPEG"));
        const ChooserPicture pic = loadChooserPicture(path("big.jpg"), false);
        QVERIFY(pic.ok);
        QCOMPARE(pic.pixels, QSize(6000, 4000));
        QCOMPARE(pic.sizes.preview, QSize(5198, 3465));
        QCOMPARE(pic.preview.size(), QSize(347, 231));
        QCOMPARE(pic.sizes.tag, QString("st1200-0800"));
        QCOMPARE(pic.flag.size(), QSize(80, 53));
    }

    void drives()
    {
        const std::vector<DriveInfo> mounted = {
            { "/proc", "proc" }, { "/home", "ext4" }, { "/run/user/1000", "tmpfs" },
            { "/", "ext4" }, { "/snap/core/1", "squashfs" }, { "/media/usb", "vfat" },
            { "/mnt/broken", "ext4", false, true }, { "/secret", "ext4", true, false },
            { "/sys/fs/cgroup", "cgroup2" }, { "/tmp", "tmpfs" },
        };
        QCOMPARE(chooseDrives(mounted), QStringList({ "/", "/home", "/media/usb", "/tmp" }));
        const QStringList d = { "/", "/home", "/media/usb" };
        QCOMPARE(driveOf("/home/me/pic", d), QString("/home"));
        QCOMPARE(driveOf("/homework", d), QString("/"));
        QCOMPARE(driveOf("/media/usb", d), QString("/media/usb"));
    }
};

QTEST_GUILESS_MAIN(TestChooserRules)
#include "tst_chooserrules.moc"
