// Start-up load and exit save through the real window and a real settings file.
#include "fakes.h"
#include "core/window/maps.h"
#include "ui/colour/colourdialog.h"
#include "ui/mainwindow/mainwindow.h"
#include "core/settings/settingsstore.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace tb;

class TestStartupSave : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void firstStartStoresTheDefaults();
    void exitSavesAndNextStartRestores_data();
    void exitSavesAndNextStartRestores();
    void closeBoxSavesNothing();
    void failedSaveKeepsTheWindowOpen_data();
    void failedSaveKeepsTheWindowOpen();
    void missingUserPicturesAreReportedOnce();
    void storedUserPictureIsShownStretched();
    void unknownPictureKeyIsCleared();
    void storedMapIsRestored();
    void countAboveTheTableBuildsTwentyOneClocks();
    void damagedFileIsKeptAndDefaultsUsed();
    void unmovedClockIsRemindedEverySixtyOneVisits();
    void clockRadiusZeroTakesTheBandRadius_data();
    void clockRadiusZeroTakesTheBandRadius();

private:
    std::unique_ptr<tb::MainWindow> start();
    QSettings file() const { return QSettings(iniPath, QSettings::IniFormat); }

    QTemporaryDir dir;
    QString iniPath;
    FixedClock clock{ QDateTime(QDate(2026, 12, 8), QTime(9, 5, 0)) };
    RecordingMessenger messages;
};

void TestStartupSave::initTestCase()
{
    startWindowTests(dir);
}

void TestStartupSave::init()
{
    iniPath = freshSettingsFile(dir);
    messages.texts.clear();
    messages.answer = Messenger::Answer::Ok;
    clock.set(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 0)));
}

std::unique_ptr<tb::MainWindow> TestStartupSave::start()
{
    // Each start reads the file afresh, as a new process would.
    appSettings().setSettingsFile(iniPath);
    auto w = std::make_unique<tb::MainWindow>(clock, messages);
    w->show();
    return w;
}

void TestStartupSave::firstStartStoresTheDefaults()
{
    auto w = start();
    QSettings s = file();
    const QStringList colourKeys = { "0", "2", "4", "6", "8", "10", "12", "14", "16", "18", "20", "22" };
    for (const QString &k : colourKeys) {
        const int h = k.toInt();
        QCOMPARE(s.value("Color/" + k).toString(), QString::number((h >= 6 && h <= 16) ? 14737632 : 8421504));
    }
    QCOMPARE(s.value("UserClock/ClockRc").toString(), QStringLiteral("440"));
    QCOMPARE(s.value("UserClock/GageColor").toString(), QStringLiteral("255"));
    QCOMPARE(s.value("UserClock/NeadleColor").toString(), QStringLiteral("0"));
    QVERIFY(s.contains("UserClock/n"));
    QCOMPARE(s.value("UserClock/n").toString(), QString());
    QCOMPARE(s.value("UserImg/UserImgCount").toString(), QStringLiteral("0"));
    QVERIFY(s.contains("UserImg/WorldMap"));
    QCOMPARE(s.value("UC000/Fname").toString(), QStringLiteral("Japan"));
    QCOMPARE(s.value("UC000/ClockLeft").toString(), QStringLiteral("9950"));
    QCOMPARE(s.value("UC000/FlagTop").toString(), QStringLiteral("2900"));
    QCOMPARE(s.value("UC000/summertime").toString(), QStringLiteral("False"));
    QVERIFY(messages.texts.isEmpty());
}

void TestStartupSave::exitSavesAndNextStartRestores_data()
{
    QTest::addColumn<int>("clocks");
    QTest::newRow("one clock") << 1;
    QTest::newRow("five clocks") << 5;
}

void TestStartupSave::exitSavesAndNextStartRestores()
{
    QFETCH(int, clocks);
    {
        // Five clocks on disk to start from; the first start then edits them.
        QSettings s = file();
        s.setValue("UserClock/n", QString::number(clocks - 1));
        for (int i = 0; i < clocks; ++i) {
            const QString sec = QString::asprintf("UC%03d/", i);
            s.setValue(sec + "ClockLeft", QString::number(1000 + 1000 * i));
            s.setValue(sec + "ClockTop", "2000");
            s.setValue(sec + "FlagLeft", QString::number(1500 + 1000 * i));
            s.setValue(sec + "FlagTop", "1500");
            s.setValue(sec + "DifTime", QString::number(-i));
            s.setValue(sec + "DifMinute", i == 2 ? "30" : "0");
            s.setValue(sec + "Fname", i % 2 ? "USA" : "Japan");
            s.setValue(sec + "summertime", i == 1 ? "True" : "False");
        }
    }
    ClockEntries before;
    {
        auto w = start();
        QCOMPARE(w->model().lastClock(), clocks - 1);
        QCOMPARE(w->model().clock(clocks - 1).hourOffset, qint16(-(clocks - 1)));
        w->model().clocks()[0].faceLeft = 1234.5f; // as a drag would leave it
        w->model().clocks()[0].pictureTop = 77.25f;
        w->mainMenu()->clockSizeChosen(3);
        before = w->model().clocks().entries();
        w->mainMenu()->endAction()->trigger();
        QVERIFY(w->saved());
        QVERIFY(!w->isVisible());
    }
    QSettings s = file();
    QCOMPARE(s.value("UC000/ClockLeft").toString(), QStringLiteral("1234.5"));
    QCOMPARE(s.value("UC000/FlagTop").toString(), QStringLiteral("77.25"));
    QCOMPARE(s.value("UserClock/ClockRc").toString(), QStringLiteral("300"));
    QCOMPARE(s.value("UserClock/n").toString(), QString::number(clocks - 1));

    auto again = start();
    QCOMPARE(again->model().lastClock(), clocks - 1);
    QCOMPARE(again->model().clockRadius(), qint16(300));
    for (int i = 0; i < clocks; ++i)
        QCOMPARE(again->model().clock(i), before[size_t(i)]);
    QVERIFY(messages.texts.isEmpty());
}

void TestStartupSave::closeBoxSavesNothing()
{
    {
        auto w = start();
        w->model().clocks()[0].faceLeft = 5000;
        w->mainMenu()->clockSizeChosen(1);
        w->close();
        QVERIFY(!w->saved());
    }
    auto again = start();
    QCOMPARE(again->model().clock(0).faceLeft, 9950.f);
    QCOMPARE(again->model().clockRadius(), qint16(440));
}

void TestStartupSave::failedSaveKeepsTheWindowOpen_data()
{
    QTest::addColumn<bool>("leave");
    QTest::addColumn<bool>("link");    // the file becomes a link to nothing, else its folder a file
    QTest::addColumn<QString>("why");  // in the exit question
    QTest::newRow("cancel: stay and try again") << false << false << "フォルダーではないもの";
    QTest::newRow("OK: leave without saving") << true << false << "書き込みできる状態にして";
    QTest::newRow("link that cannot be followed") << false << true << "リンク先がありません";
}

void TestStartupSave::failedSaveKeepsTheWindowOpen()
{
    QFETCH(bool, leave);
    QFETCH(bool, link);
    QFETCH(QString, why);
    messages.answer = leave ? Messenger::Answer::Ok : Messenger::Answer::Cancel;
    auto w = start();
    // Make the file impossible to replace.
    const QString folder = QFileInfo(iniPath).absolutePath();
    QVERIFY(link ? QFile::remove(iniPath) && QFile::link(folder + "/gone/TembraOG.ini", iniPath)
                 : QDir(folder).removeRecursively() && writeFile(folder, QByteArray()));
    w->mainMenu()->mapChosen(3); // a save at once says so, and names the file
    QCOMPARE(messages.texts.size(), 1);
    const QString told = messages.texts.takeFirst();
    QVERIFY(told.contains(iniPath) && told.contains(QStringLiteral("設定ファイルは変更されていません")));
    w->mainMenu()->summerRuleAction(SummerRule::Zone)->trigger(); // so does the summer rule
    QCOMPARE(messages.texts, QStringList{ told });
    messages.texts.clear();
    w->mainMenu()->colourAction()->trigger(); // so does "登録" in the colour dialog
    w->colourDialog()->registerColourChoice();
    QCOMPARE(messages.texts.takeFirst(), told);

    w->model().clocks()[0].faceLeft = 4321;
    w->mainMenu()->endAction()->trigger();
    messages.answer = Messenger::Answer::Ok;
    QVERIFY(!w->saved());
    QCOMPARE(w->isVisible(), !leave);
    QCOMPARE(messages.texts.size(), 1);
    QVERIFY(messages.texts[0].contains(QStringLiteral("保存できませんでした")));
    QVERIFY(messages.texts[0].contains(QStringLiteral("TembraOG.ini")));
    QVERIFY2(messages.texts[0].contains(why), qPrintable(messages.texts[0]));
    QCOMPARE(messages.lastButtons, Messenger::Buttons::OkCancel);
}

void TestStartupSave::missingUserPicturesAreReportedOnce()
{
    const QString a = dir.filePath("gone/a.png");
    const QString b = dir.filePath("gone/b.gif");
    {
        QSettings s = file();
        s.setValue("UserImg/UserImgCount", "3");
        s.setValue("UserImg/001FileName", a);
        s.setValue("UserImg/001Size", "nn0600-0600");
        s.setValue("UserImg/002FileName", "");
        s.setValue("UserImg/002Size", "st1200-0600");
        s.setValue("UserImg/003FileName", b);
    }
    auto w = start();
    QCOMPARE(messages.texts, QStringList{ QStringLiteral("次の画像ファイルが見つかりません（2 個）\r\n") + a
                                          + QStringLiteral("\r\n") + b
                                          + QStringLiteral("\r\n「時計の設定」、「編集」により、再び設定してください") });
    QVERIFY(!w->model().pictures().contains("001User"));
    QCOMPARE(file().value("UserImg/001FileName").toString(), a);
}

void TestStartupSave::storedUserPictureIsShownStretched()
{
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString path = dir.filePath("mine.bmp");
    QVERIFY(picture.save(path, "BMP"));
    {
        QSettings s = file();
        s.setValue("UserImg/UserImgCount", "1");
        s.setValue("UserImg/001FileName", path);
        s.setValue("UserImg/001Size", "st1200-0600");
        s.setValue("UserClock/n", "0");
        s.setValue("UC000/Fname", "001User");
        s.setValue("UC000/FlagLeft", "3000");
        s.setValue("UC000/FlagTop", "1500");
    }
    auto w = start();
    QVERIFY(messages.texts.isEmpty());
    PictureBox *box = w->placedClocks()->picture(0);
    QVERIFY(box->stretch());
    QCOMPARE(box->size(), QSize(80, 40));
    QCOMPARE(w->placedClocks()->dateLabel(0)->y(), box->y() + 40 + 3); // 600 + 50 twips under the top
}

void TestStartupSave::unknownPictureKeyIsCleared()
{
    {
        QSettings s = file();
        s.setValue("UserClock/n", "0");
        s.setValue("UC000/Fname", "007User");
        s.setValue("UC000/FlagLeft", "3000");
        s.setValue("UC000/FlagTop", "1500");
    }
    auto w = start();
    QCOMPARE(w->model().clock(0).pictureKey, QString());
    QVERIFY(!w->placedClocks()->picture(0)->hasPicture());
    QVERIFY(w->placedClocks()->dateLabel(0)->isVisible());
    w->mainMenu()->endAction()->trigger();
    QCOMPARE(file().value("UC000/Fname").toString(), QString());
}

void TestStartupSave::storedMapIsRestored()
{
    {
        auto w = start();
        w->mainMenu()->mapChosen(6);
        QCOMPARE(file().value("UserImg/WorldMap").toString(), QStringLiteral("6"));
    }
    auto again = start();
    // The "dark" map, as the window keeps it (in full colour, for scaling).
    QCOMPARE(again->clientArea()->mapPicture(), builtInMap(6));
    QCOMPARE(again->clientArea()->mapPicture(), QImage(":/maps/dark.png"));
}

void TestStartupSave::countAboveTheTableBuildsTwentyOneClocks()
{
    {
        QSettings s = file();
        s.setValue("UserClock/n", "5000");
    }
    auto w = start();
    QCOMPARE(w->model().lastClock(), 20);
    w->tick();
    QVERIFY(w->placedClocks()->timeLabel(20)->isVisible());
}

void TestStartupSave::damagedFileIsKeptAndDefaultsUsed()
{
    QVERIFY(QDir().mkpath(QFileInfo(iniPath).absolutePath()));
    QFile f(iniPath);
    QVERIFY(f.open(QIODevice::WriteOnly));
    // Readable keys, then a picture's bytes pasted in.
    const QByteArray damaged = "[UserClock]\nn=3\n" + QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    f.write(damaged);
    f.close();

    auto w = start();
    QCOMPARE(messages.texts.size(), 1);
    const QString kept = iniPath + QStringLiteral(".bad-20261208-090500");
    QVERIFY2(messages.texts[0].contains(kept), qPrintable(messages.texts[0]));
    QFile copy(kept);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), damaged);
    // A first start from the defaults: the default clock, stored in a new file.
    QCOMPARE(w->model().lastClock(), 0);
    QCOMPARE(w->model().clock(0).pictureKey, QStringLiteral("Japan"));
    QCOMPARE(file().value("UC000/Fname").toString(), QStringLiteral("Japan"));
}

void TestStartupSave::unmovedClockIsRemindedEverySixtyOneVisits()
{
    {
        // A clock still where adding puts it: one band radius in from the map's corner.
        QSettings s = file();
        s.setValue("UserClock/n", "0");
        s.setValue("UC000/ClockLeft", "575");
        s.setValue("UC000/ClockTop", "440");
        s.setValue("UC000/Fname", "Japan");
    }
    auto w = start();
    w->tick();
    QCOMPARE(messages.texts.size(), 1);
    QCOMPARE(messages.texts[0], QStringLiteral("左上に追加された時計とイラストを希望する位置に移動させてください\r\n"
                                               "(ドラッグ＆ドロップによって、移動が可能です)"));
    for (int tick = 2; tick <= 61; ++tick)
        w->tick();
    QCOMPARE(messages.texts.size(), 1);
    w->tick();
    QCOMPARE(messages.texts.size(), 2);
    // Moved away: no more reminders.
    w->model().clocks()[0].faceLeft = 600;
    for (int tick = 0; tick < 130; ++tick)
        w->tick();
    QCOMPARE(messages.texts.size(), 2);
}

void TestStartupSave::clockRadiusZeroTakesTheBandRadius_data()
{
    // Text that gives no number reads as 0; a negative radius would draw the
    // faces inside out and leave nothing to click on, so it reads as 0 too.
    QTest::addColumn<QString>("stored");
    QTest::newRow("not a number") << "abc";
    QTest::newRow("zero") << "0";
    QTest::newRow("negative") << "-300";
}

void TestStartupSave::clockRadiusZeroTakesTheBandRadius()
{
    QFETCH(QString, stored);
    {
        QSettings s = file();
        s.setValue("UserClock/ClockRc", stored);
        s.setValue("UserClock/n", "0");
        s.setValue("UC000/ClockLeft", "9950");
        s.setValue("UC000/ClockTop", "3300");
        s.setValue("UC000/Fname", "Japan");
        s.setValue("UC000/summertime", "True");
    }
    clock.set(QDateTime(QDate(2026, 7, 1), QTime(12, 0)));
    auto w = start();
    QCOMPARE(w->model().clockRadius(), qint16(0));
    w->tick();
    QCOMPARE(w->model().clockRadius(), w->layout().bandRadius);
    QCOMPARE(w->layout().bandRadius, qint16(440));
    // The summer mark stands beside the face, not on its centre.
    QLabel *mark = w->placedClocks()->mark(0);
    QVERIFY(mark->isVisible());
    QCOMPARE(mark->pos(), QPoint(int(std::lround((w->layout().windowX(9950) + 0.6 * 440) / 15)),
                                 int(std::lround((w->layout().windowY(3300) + 0.9 * 440) / 15))));
    w->mainMenu()->endAction()->trigger();
    QVERIFY(w->saved());
    QCOMPARE(file().value("UserClock/ClockRc").toString(), QStringLiteral("440"));
}

QTEST_MAIN(TestStartupSave)
#include "tst_startupsave.moc"
