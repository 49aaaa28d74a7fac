// The picture chooser driven as a person would: the file list and its
// filters, choosing pictures and files that are none, confirming and closing.
#include "chooser/formfmzdialog.h"
#include "editor/pictureframewidget.h"
#include "widgets_testsupport.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>

using namespace tb;

class TestFormfmz : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    void writeBytes(const QString &name, const QByteArray &bytes)
    {
        QFile f(m_dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    void run(ChooserFields &fields, const Formfmz::Driver &act)
    {
        Formfmz chooser;
        chooser.setStartFolder(m_dir.path());
        chooser.setDriver(act);
        chooser.showModal(fields);
    }

private slots:
    void initTestCase()
    {
        QImage img(900, 600, QImage::Format_RGB32); // 13500 × 9000 twips
        img.fill(Qt::darkGreen);
        QVERIFY(img.save(m_dir.filePath("PHOTO.JPG"), "JPEG"));
        QVERIFY(img.copy(0, 0, 60, 30).save(m_dir.filePath("small.bmp"), "BMP"));
        QVERIFY(img.copy(0, 0, 32, 32).save(m_dir.filePath("c.ico"), "ICO"));
        QVERIFY(img.save(m_dir.filePath("d.png"), "PNG"));
        QVERIFY(img.save(m_dir.filePath(".hidden.jpg"), "JPEG"));
        writeBytes("a.Gif", "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                            "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00"
                            "\x00\x02\x02\x44\x01\x00;");
        writeBytes("notes.txt", "text");
        writeBytes("README", "no dot in this name");
        writeBytes("text.jpg", "this is text with a picture's name");
        QVERIFY(QDir(m_dir.path()).mkpath("sub.jpg"));
    }

    void filters_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("the four") << 0 << QStringList{ "PHOTO.JPG", "a.Gif", "c.ico", "small.bmp", "text.jpg" };
        QTest::newRow("jpg") << 1 << QStringList{ "PHOTO.JPG", "text.jpg" };
        QTest::newRow("gif") << 2 << QStringList{ "a.Gif" };
        QTest::newRow("all") << 5 << QStringList{ "PHOTO.JPG", "a.Gif", "c.ico", "d.png", "notes.txt", "README", "small.bmp", "text.jpg" };
    }
    void filters()
    {
        QFETCH(int, filter);
        QFETCH(QStringList, names);
        ChooserFields f;
        run(f, [&](FormfmzWindow &w) {
            QCOMPARE(w.Filterbox()->currentIndex(), 0);
            QCOMPARE(w.Filterbox()->count(), 6);
            QCOMPARE(w.folder(), QDir::cleanPath(m_dir.path()));
            w.Filterbox_Click(filter);
            QTRY_VERIFY(w.fileListReady());
            names.sort();
            QStringList shown;
            QTRY_VERIFY_WITH_TIMEOUT((shown = w.fileNames(), shown.sort(), shown == names), 3000);
            QCOMPARE(shown, names);
        });
    }

    void choosePicture()
    {
        ChooserFields f;
        run(f, [&](FormfmzWindow &w) {
            QVERIFY(w.ImgFlag()->isVisible());
            QVERIFY(w.Label3(0)->isVisible());
            QVERIFY(w.textLabel()->text().isEmpty());
            // Confirming with nothing chosen does nothing.
            w.selected_Click();
            QVERIFY(w.isVisible());
            QTRY_VERIFY(w.fileListReady());
            const QModelIndex photo = static_cast<QFileSystemModel *>(w.File1()->model())
                                          ->index(m_dir.filePath("PHOTO.JPG"));
            w.File1()->setCurrentIndex(photo);
            QCOMPARE(w.chosenPath(), QDir::cleanPath(m_dir.path()) + "/PHOTO.JPG");
            QCOMPARE(w.textLabel()->toolTip(), w.chosenPath());
            QVERIFY(!w.nowloading()->isVisible());
            QCOMPARE(w.picture1()->twipsSize(), QSize(5198, 3465));
            QCOMPARE(w.ImgFlag()->twipsSize(), QSize(1200, 800));
            QCOMPARE(f.pStsize, QString("st1200-0800"));
            QCOMPARE(w.textLabel2()->text(), QString::number((QFileInfo(w.chosenPath()).size() + 1023) / 1024));
            QTest::keyClick(w.File1(), Qt::Key_Return);
            QVERIFY(!w.isVisible());
        });
        QVERIFY(f.pUpdated);
        QCOMPARE(f.pSelectFilename, QDir::cleanPath(m_dir.path()) + "/PHOTO.JPG");

        // Closed without confirming: not updated, whatever the last showing did.
        run(f, [](FormfmzWindow &w) {
            w.File1_Click("small.bmp");
            QCOMPARE(w.ImgFlag()->twipsSize(), QSize(900, 450));
            w.close();
        });
        QVERIFY(!f.pUpdated);
        QCOMPARE(f.pStsize, QString("nn0900-0450"));
    }

    void notAPicture_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("text named jpg") << "text.jpg";
        QTest::newRow("plain text") << "notes.txt";
        QTest::newRow("folder named jpg") << "sub.jpg";
        QTest::newRow("gone") << "gone.jpg";
    }
    void notAPicture()
    {
        QFETCH(QString, file);
        ChooserFields f;
        f.pStsize = "nn0001-0001";
        run(f, [&](FormfmzWindow &w) {
            w.File1_Click("PHOTO.JPG");
            QVERIFY(w.picture1()->hasPicture());
            w.File1_Click(file);
            QVERIFY(w.nowloading()->isVisible());
            QCOMPARE(w.nowloading()->text(), QString("  画像ファイルではありません"));
            QVERIFY(!w.picture1()->hasPicture());
            QVERIFY(!w.ImgFlag()->hasPicture());
            QVERIFY(w.textLabel()->text().isEmpty());
            QVERIFY(w.textLabel2()->text().isEmpty());
            w.selected()->click();
            w.picture1()->clicked();
            QVERIFY(w.isVisible());
            w.close();
        });
        QVERIFY(!f.pUpdated);
        QVERIFY(f.pSelectFilename.isEmpty());
    }

    void mapMode()
    {
        ChooserFields f;
        f.SelMode = "BackPic";
        f.pStsize = "nn0001-0001";
        run(f, [](FormfmzWindow &w) {
            QVERIFY(!w.ImgFlag()->isVisible());
            QVERIFY(!w.Label3(0)->isVisible());
            w.File1_Click("PHOTO.JPG");
            QCOMPARE(w.picture1()->twipsSize(), QSize(5198, 3465));
            w.picture1()->clicked(); // a click on the preview confirms too
        });
        QVERIFY(f.pUpdated);
        QCOMPARE(f.pStsize, QString("nn0001-0001"));
    }
};

TEMBRA_WIDGETS_SETTINGS_TEST_MAIN(TestFormfmz)
#include "tst_formfmz.moc"
