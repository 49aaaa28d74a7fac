// The picture chooser driven as a person would: the file list and its
// filters, choosing pictures and files that are none, confirming and closing.
#include "ui/common/pictureframewidget.h"
#include "dialogs_testsupport.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>

using namespace tb;
using namespace tb::testing;

class TestPictureChooserDialog : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    void writeBytes(const QString &name, const QByteArray &bytes) { QVERIFY(writeFile(m_dir.filePath(name), bytes)); }
    void run(ChooserFields &fields, const PictureChooserDialog::Driver &act)
    {
        PictureChooserDialog chooser = chooserIn(m_dir.path());
        showDriven(chooser, fields, act);
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
        writeBytes("a.Gif", tinyGif());
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
        run(f, [&](PictureChooserWindow &w) {
            QCOMPARE(w.filterBox()->currentIndex(), 0);
            QCOMPARE(w.filterBox()->count(), 6);
            QCOMPARE(w.folder(), QDir::cleanPath(m_dir.path()));
            w.filterChosen(filter);
            // A folder named like a picture, opened and left, stays out of the list.
            w.folderChosen(m_dir.filePath("sub.jpg"));
            QTRY_VERIFY(w.fileListReady());
            w.folderChosen(m_dir.path());
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
        run(f, [&](PictureChooserWindow &w) {
            QVERIFY(w.shownSizeFrame()->isVisible());
            QVERIFY(w.previewCaption(0)->isVisible());
            QVERIFY(w.pathLabel()->text().isEmpty());
            // Confirming with nothing chosen does nothing.
            w.confirm();
            QVERIFY(w.isVisible());
            QTRY_VERIFY(w.fileNames().contains("PHOTO.JPG"));
            QTest::mouseClick(w.fileList()->viewport(), Qt::LeftButton, {}, w.fileList()->visualRect(w.fileIndex("PHOTO.JPG")).center());
            QCOMPARE(w.chosenPath(), QDir::cleanPath(m_dir.path()) + "/PHOTO.JPG");
            QCOMPARE(w.pathLabel()->toolTip(), w.chosenPath());
            QVERIFY(!w.loadingLabel()->isVisible());
            QCOMPARE(w.chosenPictureFrame()->twipsSize(), QSize(5198, 3465));
            QCOMPARE(w.shownSizeFrame()->twipsSize(), QSize(1200, 800));
            QCOMPARE(f.sizeTag, QString("st1200-0800"));
            QCOMPARE(w.fileSizeLabel()->text(), QString::number((QFileInfo(w.chosenPath()).size() + 1023) / 1024));
            QTest::keyClick(w.fileList(), Qt::Key_Return);
            QVERIFY(!w.isVisible());
        });
        QVERIFY(f.confirmed);
        QCOMPARE(f.chosenPath, QDir::cleanPath(m_dir.path()) + "/PHOTO.JPG");

        // Closed without confirming: not updated, whatever the last showing did.
        run(f, [](PictureChooserWindow &w) {
            w.fileChosen("small.bmp");
            QCOMPARE(w.shownSizeFrame()->twipsSize(), QSize(900, 450));
            w.close();
        });
        QVERIFY(!f.confirmed);
        QCOMPARE(f.sizeTag, QString("nn0900-0450"));
    }

    void notAPicture_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("size"); // KB, of a file only
        QTest::newRow("text named jpg") << "text.jpg" << "1";
        QTest::newRow("plain text") << "notes.txt" << "1";
        QTest::newRow("empty") << "empty.jpg" << "0";
        QTest::newRow("folder named jpg") << "sub.jpg" << "";
        QTest::newRow("gone") << "gone.jpg" << "";
    }
    void notAPicture()
    {
        QFETCH(QString, file);
        ChooserFields f;
        f.sizeTag = "nn0001-0001";
        QFile(m_dir.filePath("empty.jpg")).open(QIODevice::WriteOnly);
        run(f, [&](PictureChooserWindow &w) {
            w.fileChosen("PHOTO.JPG");
            QVERIFY(w.chosenPictureFrame()->hasPicture());
            w.fileChosen(file);
            QVERIFY(w.loadingLabel()->isVisible());
            QCOMPARE(w.loadingLabel()->text(), QString("  画像ファイルではありません"));
            QVERIFY(!w.chosenPictureFrame()->hasPicture());
            QVERIFY(!w.shownSizeFrame()->hasPicture());
            QCOMPARE(w.pathLabel()->toolTip(), QDir::cleanPath(m_dir.path()) + '/' + file);
            QTEST(w.fileSizeLabel()->text(), "size");
            w.confirmButton()->click();
            w.chosenPictureFrame()->clicked();
            QVERIFY(w.isVisible());
            w.close();
        });
        QVERIFY(!f.confirmed);
        QVERIFY(f.chosenPath.isEmpty());
    }

    // Only the user's choice loads a file: not tabbing into the list, not the
    // highlight moving on when the shown file is deleted; a key that moves it does.
    void loadsOnlyWhenChosen()
    {
        QTemporaryDir dir;
        for (const char *name : { "1.bmp", "2.bmp", "3.bmp" })
            QVERIFY(QImage(30, 20, QImage::Format_RGB32).save(dir.filePath(name), "BMP"));
        ChooserFields f;
        QString highlighted;
        run(f, [&](PictureChooserWindow &w) {
            w.folderChosen(dir.path());
            QTRY_COMPARE(w.fileNames(), QStringList({ "1.bmp", "2.bmp", "3.bmp" }));
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            w.fileList()->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(w.fileList()->currentIndex().isValid());
            QVERIFY(w.chosenPath().isEmpty());
            QTest::keyClick(w.fileList(), Qt::Key_Home);
            QTest::keyClick(w.fileList(), Qt::Key_Down);
            QCOMPARE(w.chosenPath(), QDir::cleanPath(dir.path()) + "/2.bmp");
            QVERIFY(QFile::remove(dir.filePath("2.bmp")));
            QTRY_COMPARE(w.fileNames().size(), 2);
            QTest::qWait(100);
            QCOMPARE(w.chosenPath(), QDir::cleanPath(dir.path()) + "/2.bmp");
            // Enter takes the highlighted file, not the deleted one still shown.
            highlighted = QDir::cleanPath(dir.path()) + '/' + w.fileList()->currentIndex().data().toString();
            QTest::keyClick(w.fileList(), Qt::Key_Return);
        });
        QCOMPARE(f.chosenPath, highlighted);
    }

    void mapMode()
    {
        ChooserFields f;
        f.purpose = ChooserPurpose::WorldMap;
        f.sizeTag = "nn0001-0001";
        run(f, [](PictureChooserWindow &w) {
            QVERIFY(!w.shownSizeFrame()->isVisible());
            QVERIFY(!w.previewCaption(0)->isVisible());
            w.fileChosen("PHOTO.JPG");
            QCOMPARE(w.chosenPictureFrame()->twipsSize(), QSize(5198, 3465));
            w.chosenPictureFrame()->clicked(); // a click on the preview confirms too
        });
        QVERIFY(f.confirmed);
        QCOMPARE(f.sizeTag, QString("nn0001-0001"));
    }
};

TEMBRA_WIDGETS_SETTINGS_TEST_MAIN(TestPictureChooserDialog)
#include "tst_picturechooserdialog.moc"
