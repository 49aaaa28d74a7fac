// The options menu: check marks, the picture border, a picture file as the
// map (through a scripted chooser) and day and night on the map.
#include "fakes.h"
#include "ui/mainwindow/mainmenu.h"
#include "ui/mainwindow/mainwindow.h"
#include "core/layout/mapcache.h"
#include "core/settings/settingsstore.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace tb;

class TestMenus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void mapFromAFile_data();
    void mapFromAFile();
    void checkMarksFollowEveryChoice_data();
    void checkMarksFollowEveryChoice();
    void borderOnEveryPictureNotKept();
    void dayNightRoundTrip_data();
    void dayNightRoundTrip();

private:
    std::unique_ptr<MainWindow> start();
    QSettings onDisk() const { return QSettings(m_ini, QSettings::IniFormat); }

    QTemporaryDir m_dir;
    QString m_ini;
    FixedClock m_clock{ QDateTime(QDate(2026, 12, 8), QTime(9, 5, 0)) };
    RecordingMessenger m_messages;
    ScriptedChooser m_chooser;
};

void TestMenus::initTestCase()
{
    startWindowTests(m_dir);
}

void TestMenus::init()
{
    m_ini = freshSettingsFile(m_dir);
    m_messages = RecordingMessenger();
    m_chooser = ScriptedChooser();
}

void TestMenus::cleanup()
{
    appSettings().setSettingsFile(QString());
}

std::unique_ptr<MainWindow> TestMenus::start()
{
    auto w = std::make_unique<MainWindow>(m_clock, m_messages);
    w->setPictureChooser(&m_chooser);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        return nullptr;
    return w;
}

void TestMenus::mapFromAFile_data()
{
    QTest::addColumn<QString>("chosen"); // "" cancels, "photo" a JPEG, "gone" a vanished file
    QTest::addColumn<bool>("mapChanges");
    QTest::addColumn<QString>("worldMap"); // stored "WorldMap" afterwards
    QTest::addColumn<bool>("fileStored");
    QTest::addColumn<int>("messages");
    // A cancelled chooser keeps the map but the entry is remembered and checked.
    QTest::newRow("cancelled") << "" << false << "8" << false << 0;
    QTest::newRow("a photograph") << "photo" << true << "8" << true << 0;
    // Chosen, then gone before it loads: the map and both settings stay.
    QTest::newRow("vanished") << "gone" << false << "3" << false << 1;
}

void TestMenus::mapFromAFile()
{
    QFETCH(QString, chosen);
    QFETCH(bool, mapChanges);
    QFETCH(QString, worldMap);
    QFETCH(bool, fileStored);
    QFETCH(int, messages);

    const QString photo = m_dir.filePath(QStringLiteral("写真 map.jpg"));
    QVERIFY(solidPicture(4000, 2000, QColor(200, 30, 30), QColor(20, 40, 220)).save(photo, "JPEG"));
    if (chosen == "photo")
        m_chooser.file = photo;
    else if (chosen == "gone")
        m_chooser.file = m_dir.filePath(QStringLiteral("gone.jpg"));

    QFile::remove(mapCacheFile());
    std::unique_ptr<MainWindow> w = start();
    QVERIFY(w);
    w->mainMenu()->mapChosen(3);
    const QImage before = w->clientArea()->mapPicture();
    w->mainMenu()->mapFileAction()->trigger();
    QCOMPARE(m_chooser.purposes, QList<ChooserPurpose>{ ChooserPurpose::WorldMap });
    QCOMPARE(w->clientArea()->mapPicture() != before, mapChanges);
    QCOMPARE(m_messages.texts.size(), messages);
    if (messages)
        QVERIFY(m_messages.texts[0].contains(m_chooser.file));
    QCOMPARE(onDisk().value("UserImg/WorldMap").toString(), worldMap);
    QCOMPARE(onDisk().contains("UserImg/WorldMapFile"), fileStored);
    QCOMPARE(QFile::exists(mapCacheFile()), fileStored); // chosen at the start's size: kept for it

    emit w->mainMenu()->optionMenu()->aboutToShow();
    for (int k = 1; k <= MainMenu::kMaps; ++k)
        QCOMPARE(w->mainMenu()->mapAction(k)->isChecked(), k == worldMap.toInt());

    if (mapChanges) {
        // Decoded small, not as the 8-megapixel file, and back after a restart.
        QVERIFY(w->clientArea()->mapPicture().width() <= 2 * w->clientArea()->width());
        QCOMPARE(w->clientArea()->mapPicture().pixelColor(5, 5).red() > 150, true);
        w.reset();
        appSettings().setSettingsFile(m_ini);
        std::unique_ptr<MainWindow> again = start();
        QVERIFY(again);
        const QImage map = again->clientArea()->mapPicture();
        QVERIFY(!map.isNull());
        QVERIFY(map.pixelColor(5, 5).red() > 150);
        QVERIFY(map.pixelColor(map.width() - 5, 5).blue() > 150);
        emit again->mainMenu()->optionMenu()->aboutToShow();
        QVERIFY(again->mainMenu()->mapFileAction()->isChecked());
    }
}

void TestMenus::checkMarksFollowEveryChoice_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("radius");
    QTest::addColumn<int>("map");
    QTest::addColumn<bool>("placeRules");
    const int radii[] = { 600, 440, 300, 250, 180, 600, 440 };
    for (int k = 1; k <= 7; ++k)
        QTest::addRow("size %d, map %d", (k - 1) % 5 + 1, k) << (k - 1) % 5 + 1 << radii[k - 1] << k << (k % 2 == 0);
}

void TestMenus::checkMarksFollowEveryChoice()
{
    QFETCH(int, size);
    QFETCH(int, radius);
    QFETCH(int, map);
    QFETCH(bool, placeRules);
    std::unique_ptr<MainWindow> w = start();
    QVERIFY(w);
    MainMenu *menu = w->mainMenu();
    QVERIFY(menu->summerRuleAction(SummerRule::Common)->isChecked());
    // The rule is stored at once; choosing the checked one keeps it checked.
    menu->summerRuleAction(placeRules ? SummerRule::Zone : SummerRule::Common)->trigger();
    QCOMPARE(onDisk().value("UserClock/SummerRule").toString(), placeRules ? "Zone" : "Common");
    QCOMPARE(menu->summerRuleAction(SummerRule::Zone)->isChecked(), placeRules);
    QCOMPARE(menu->summerRuleAction(SummerRule::Common)->isChecked(), !placeRules);
    menu->sizeAction(size)->trigger();
    menu->mapAction(map)->trigger();
    QCOMPARE(int(w->model().clockRadius()), radius);
    QCOMPARE(onDisk().value("UserImg/WorldMap").toString(), QString::number(map));
    emit menu->optionMenu()->aboutToShow();
    for (int k = 1; k <= MainMenu::kSizes; ++k)
        QCOMPARE(menu->sizeAction(k)->isChecked(), k == size);
    for (int k = 1; k <= MainMenu::kMaps; ++k)
        QCOMPARE(menu->mapAction(k)->isChecked(), k == map);
}

void TestMenus::borderOnEveryPictureNotKept()
{
    // Three clocks, so that the border reaches past the first picture.
    {
        QSettings s(m_ini, QSettings::IniFormat);
        s.setValue("UserClock/n", "2");
        for (int i = 0; i <= 2; ++i) {
            const QString g = QStringLiteral("UC%1/").arg(i, 3, 10, QLatin1Char('0'));
            s.setValue(g + "Fname", i == 1 ? "France" : "Japan");
            s.setValue(g + "FlagLeft", QString::number(2000 + 3000 * i));
            s.setValue(g + "FlagTop", "1000");
            s.setValue(g + "ClockLeft", QString::number(1500 + 3000 * i));
            s.setValue(g + "ClockTop", "3000");
        }
    }
    appSettings().setSettingsFile(m_ini);
    std::unique_ptr<MainWindow> w = start();
    QVERIFY(w);
    QCOMPARE(w->model().lastClock(), 2);
    MainMenu *menu = w->mainMenu();
    menu->borderYesAction()->trigger();
    for (int i = 0; i <= 2; ++i)
        QCOMPARE(w->placedClocks()->picture(i)->frameShape(), QFrame::Box);
    // The line goes round the whole picture; a clock added meanwhile gets it too.
    const QImage france = w->model().pictures().find("France")->picture;
    const QPoint corner(france.width() - 1, france.height() - 1);
    QCOMPARE(w->placedClocks()->picture(1)->grab().toImage().pixelColor(corner + QPoint(1, 1)), france.pixelColor(corner));
    w->model().clocks().append(w->model().clock(1));
    w->addClock(3);
    QCOMPARE(w->placedClocks()->picture(3)->frameShape(), QFrame::Box);
    // The pair's marks never change: "なし" stays checked.
    QVERIFY(menu->borderNoAction()->isChecked());
    QVERIFY(!menu->borderYesAction()->isChecked());
    menu->borderNoAction()->trigger();
    for (int i = 0; i <= 3; ++i)
        QCOMPARE(w->placedClocks()->picture(i)->frameShape(), QFrame::NoFrame);
    QVERIFY(menu->borderNoAction()->isChecked());

    menu->borderYesAction()->trigger();
    w.reset();
    appSettings().setSettingsFile(m_ini);
    std::unique_ptr<MainWindow> again = start();
    QVERIFY(again);
    for (int i = 0; i <= 2; ++i)
        QCOMPARE(again->placedClocks()->picture(i)->frameShape(), QFrame::NoFrame);
}

void TestMenus::dayNightRoundTrip_data()
{
    QTest::addColumn<QString>("stored"); // "-": no key, as in every file from before
    QTest::addColumn<bool>("on");
    QTest::newRow("older file") << "-" << false;
    QTest::newRow("False") << "False" << false;
    QTest::newRow("true") << "true" << false;
    QTest::newRow("1") << "1" << false;
    QTest::newRow("True") << "True" << true;
}

void TestMenus::dayNightRoundTrip()
{
    QFETCH(QString, stored);
    QFETCH(bool, on);
    if (stored != "-")
        QSettings(m_ini, QSettings::IniFormat).setValue("UserImg/DayNight", stored);
    appSettings().setSettingsFile(m_ini);
    // 21:00 in Tokyo, 13:00 in London, the sun never sets in northern Norway.
    m_clock.set(QDateTime(QDate(2026, 6, 21), QTime(12, 0), Qt::UTC));
    std::unique_ptr<MainWindow> w = start();
    QVERIFY(w);
    QCOMPARE(onDisk().contains("UserImg/DayNight"), stored != "-");
    const QRect map = w->mapWidget()->geometry();
    auto screen = [&] { return w->clientArea()->grab().toImage(); };
    auto grey = [&](const QImage &shot, double across, double down) {
        return qGray(shot.pixel(map.x() + int(across * map.width()), map.y() + int(down * map.height())));
    };
    QCOMPARE(w->mainMenu()->dayNightAction()->isChecked(), on);
    const QImage first = screen();
    w->mainMenu()->dayNightAction()->trigger();
    QCOMPARE(onDisk().value("UserImg/DayNight").toString(), on ? "False" : "True");
    QCOMPARE(w->mainMenu()->dayNightAction()->isChecked(), !on);
    const QImage second = screen();
    const QImage &night = on ? first : second, &plain = on ? second : first;
    // The Pacific east of Japan about half as bright; London and Tromsø as they are.
    const double ratio = double(grey(night, 0.9167, 0.4093)) / grey(plain, 0.9167, 0.4093);
    QVERIFY2(ratio > 0.45 && ratio < 0.55, qPrintable(QString::number(ratio)));
    QCOMPARE(grey(night, 0.5, 0.3328), grey(plain, 0.5, 0.3328));
    QCOMPARE(grey(night, 0.5527, 0.1855), grey(plain, 0.5527, 0.1855));
    w->mainMenu()->dayNightAction()->trigger();
    QCOMPARE(screen(), first);

    // Ticks within the minute leave the shaded map alone; the next minute shades it anew.
    w->model().setDayNight(true);
    screen();
    const qint64 shaded = w->clientArea()->shadedMap().cacheKey();
    for (const int secs : { 59, 1 }) {
        m_clock.advanceSecs(secs);
        w->tick();
        QCOMPARE(w->clientArea()->shadedMap().cacheKey() == shaded, secs == 59);
    }
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
