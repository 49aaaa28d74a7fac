// The main window started with a fixed clock: band strip, the default clock,
// faces on the drawing surface, summer-time marks and the layout rule.
#include "fakes.h"
#include "ui/mainwindow/mainmenu.h"
#include "ui/mainwindow/mainwindow.h"
#include "core/settings/settingsstore.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>
#include <ctime>
#include <memory>

using namespace tb;

namespace {
int px(double twips) { return int(std::lround(twips / 15.0)); }
QPoint posTw(const QWidget *w) { return QPoint(w->x() * 15, w->y() * 15); }

// A clock that moves on one second each time it is read, as the real one
// does at the edge of a second.
class SteppingClock : public ClockSource {
public:
    explicit SteppingClock(QDateTime t) : m_now(std::move(t)) {}
    QDateTime now() const override
    {
        const QDateTime t = m_now;
        if (stepping)
            m_now = m_now.addSecs(1);
        return t;
    }
    void set(const QDateTime &t) { m_now = t; }
    bool stepping = false;

private:
    mutable QDateTime m_now;
};

// Captions of a menu's entries, submenus as "caption{…}".
QStringList captions(const QList<QAction *> &actions)
{
    QStringList out;
    for (const QAction *a : actions) {
        if (a->menu())
            out << a->text() + QLatin1Char('{') + captions(a->menu()->actions()).join(QLatin1Char('|'))
                    + QLatin1Char('}');
        else
            out << a->text();
    }
    return out;
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithCaptionAndDesignSize();
    void bandLabelsShowEachBandsTime();
    void defaultClockStandsOnTheMap();
    void noFaceBeforeTheFirstTick();
    void tickDrawsEveryFace();
    void labelsChangeWithTheMinute();
    void summerClockGainsAnHourAndShowsItsMark();
    void summerMarkFollowsTheFace();
    void newYearTakesTheNewSummerPeriod();
    void sameScreenInEveryZone_data();
    void sameScreenInEveryZone();
    void resizeFollowsTheLayoutRule_data();
    void resizeFollowsTheLayoutRule();
    void clockSizeMenuClearsAndRedraws();
    void markAndLabelReadTheSameSecond_data();
    void markAndLabelReadTheSameSecond();
    void showingMarkIsNotMovedByTheTick();
    void flagTakesTheEditorsSize();
    void minimisedWindowIsNotLaidOut();
    void menuCaptionsAndAccessKeys();
    void helpWithoutItsFileSaysWhereItLooked();

private:
    std::unique_ptr<FixedClock> clock;
    std::unique_ptr<RecordingMessenger> messages;
    std::unique_ptr<tb::MainWindow> window;
    QTemporaryDir config;
};

void TestMainWindow::initTestCase()
{
    startWindowTests(config);
}

void TestMainWindow::init()
{
    // Every test starts from its own empty settings file.
    freshSettingsFile(config);
    clock = std::make_unique<FixedClock>(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 0)));
    messages = std::make_unique<RecordingMessenger>();
    window = std::make_unique<tb::MainWindow>(*clock, *messages);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestMainWindow::cleanup()
{
    window.reset();
}

void TestMainWindow::startsWithCaptionAndDesignSize()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("テンブラ　ver 1.0"));
    QCOMPARE(window->clientArea()->size(), QSize(792, 531));
    QCOMPARE(window->layout().map, QRectF(135, 0, 11655, 6645));
    QCOMPARE(window->layout().bandRadius, qint16(440));
    QCOMPARE(window->model().clockRadius(), qint16(440));
    QCOMPARE(window->legend()->text(), QStringLiteral("DST: Daylight Saving Time (Summer Time)"));
    QVERIFY(window->legend()->isVisible());
}

void TestMainWindow::bandLabelsShowEachBandsTime()
{
    // Band k shows local time + (2k − 19) hours.
    const QStringList dates = { "12/7(月)", "12/7(月)", "12/7(月)", "12/7(月)", "12/7(月)", "12/8(火)",
                                "12/8(火)", "12/8(火)", "12/8(火)", "12/8(火)", "12/8(火)", "12/8(火)" };
    const QStringList times = { "14:05", "16:05", "18:05", "20:05", "22:05", "0:05",
                                "2:05", "4:05", "6:05", "8:05", "10:05", "12:05" };
    const MainLayout &l = window->layout();
    for (int k = 0; k < 12; ++k) {
        QCOMPARE(window->bandStrip()->label(k)->text(), dates[k]);
        QCOMPARE(window->bandStrip()->label(k + 12)->text(), times[k]);
        QVERIFY(window->bandStrip()->label(k)->isVisible());
        // Date under the face, time above it; left edge at the face centre less the map's left.
        if (k < 11)
            QCOMPARE(window->bandStrip()->label(k)->x(), px(l.bandLabelLeft(k)));
        QCOMPARE(window->bandStrip()->label(k + 12)->x(), px(l.bandLabelLeft(k)));
        QCOMPARE(window->bandStrip()->label(k)->y(), px(l.bandDateTop()));
        QCOMPARE(window->bandStrip()->label(k + 12)->y(), px(l.bandTimeTop()));
    }
    // The last date keeps whole inside the window, moving left only as far as it must.
    QLabel *last = window->bandStrip()->label(11);
    QCOMPARE(last->geometry().right(), 791);
    clock->set(QDateTime(QDate(2026, 12, 31), QTime(22, 0))); // "1/1(金)" fits at its place
    window->tick();
    QCOMPARE(last->x(), 745);
    clock->set(QDateTime(QDate(2026, 12, 30), QTime(22, 0))); // "12/31(木)"
    window->tick();
    QCOMPARE(last->geometry().right(), 791);
    // The legend stands one and a half of its heights below the date labels.
    QCOMPARE(window->legend()->y(), px(l.bandDateTop() + 1.5 * window->legend()->height() * 15));
}

void TestMainWindow::defaultClockStandsOnTheMap()
{
    QCOMPARE(window->model().lastClock(), 0);
    const ClockEntry &e = window->model().clock(0);
    QCOMPARE(e.pictureKey, QStringLiteral("Japan"));
    QCOMPARE(e.faceLeft, 9950.f);
    QCOMPARE(e.faceTop, 3300.f);
    QCOMPARE(e.pictureLeft, 10500.f);
    QCOMPARE(e.pictureTop, 2900.f);
    QCOMPARE(e.hourOffset, qint16(0));
    QVERIFY(!e.summerTime);

    PictureBox *flag = window->placedClocks()->picture(0);
    QVERIFY(flag->isVisible());
    QVERIFY(flag->hasPicture());
    QCOMPARE(flag->pos(), QPoint(px(10500), px(2900)));
    QCOMPARE(flag->size(), window->model().pictures().find("Japan")->picture.size());
    QCOMPARE(window->placedClocks()->dateLabel(0)->text(), QStringLiteral("12/8(火)"));
    QCOMPARE(window->placedClocks()->timeLabel(0)->text(), QStringLiteral("9:05"));
    QCOMPARE(window->placedClocks()->dateLabel(0)->x(), flag->x());
    QCOMPARE(window->placedClocks()->dateLabel(0)->y(), flag->y() + flag->height() + px(50));
    QCOMPARE(window->placedClocks()->timeLabel(0)->y(), window->placedClocks()->dateLabel(0)->y() + window->placedClocks()->dateLabel(0)->height());
    QVERIFY(!window->placedClocks()->mark(0)->isVisible());
    // The clock's labels are red.
    QVERIFY(window->placedClocks()->dateLabel(0)->palette().color(QPalette::WindowText) == QColor(255, 0, 0));
    // Pictures and labels lie above the map's own widget, which covers the whole map.
    QWidget *area = window->clientArea();
    QCOMPARE(area->childAt(flag->geometry().center()), static_cast<QWidget *>(flag));
    QLabel *date = window->placedClocks()->dateLabel(0);
    QCOMPARE(area->childAt(date->geometry().center()), static_cast<QWidget *>(date));
}

void TestMainWindow::noFaceBeforeTheFirstTick()
{
    const QImage s = window->clientArea()->surface();
    QVERIFY(!s.isNull());
    for (int y = 0; y < s.height(); y += 7)
        for (int x = 0; x < s.width(); x += 7)
            QCOMPARE(s.pixelColor(x, y).alpha(), 0);
}

void TestMainWindow::tickDrawsEveryFace()
{
    // A colour of its own for every even hour h: red 10h + 16, green 0x40, blue 0x80.
    FaceColours colours;
    for (int h = 0; h <= 22; h += 2)
        colours.fills[size_t(h)] = Colour(0x804000 + 10 * h + 16);
    window->model().setColours(colours);
    window->tick();
    const QImage s = window->clientArea()->surface();
    const MainLayout &l = window->layout();
    // The bands show 14:05, 16:05, … 22:05, 0:05, … 12:05.
    const int red[12] = { 156, 176, 196, 216, 236, 16, 36, 56, 76, 96, 116, 136 };
    for (int k = 0; k < 12; ++k) {
        // Inside each band face, off the hands: the fill of its hour.
        const QPoint c(px(l.bandFaceX(k)), px(l.bandFaceY()));
        QCOMPARE(s.pixelColor(c + QPoint(-12, 12)), QColor(red[k], 0x40, 0x80));
        // Just outside the face stays clear.
        QCOMPARE(s.pixelColor(c + QPoint(0, -px(440) - 3)).alpha(), 0);
    }
    // The placed clock's face (9:05, the colour of 8) at its reference position, radius 440.
    const QPoint c(px(9950), px(3300));
    QCOMPARE(s.pixelColor(c + QPoint(-12, 12)), QColor(96, 0x40, 0x80));
    QCOMPARE(s.pixelColor(c + QPoint(px(440) + 3, 0)).alpha(), 0);
}

void TestMainWindow::labelsChangeWithTheMinute()
{
    clock->set(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
    window->tick();
    QCOMPARE(window->placedClocks()->timeLabel(0)->text(), QStringLiteral("23:59"));
    clock->advanceSecs(1);
    window->tick();
    QCOMPARE(window->placedClocks()->timeLabel(0)->text(), QStringLiteral("0:00"));
    QCOMPARE(window->placedClocks()->dateLabel(0)->text(), QStringLiteral("1/1(金)"));
    QCOMPARE(window->bandStrip()->label(23)->text(), QStringLiteral("3:00"));
}

void TestMainWindow::summerClockGainsAnHourAndShowsItsMark()
{
    clock->set(QDateTime(QDate(2026, 7, 1), QTime(12, 0)));
    window->tick();
    QCOMPARE(window->placedClocks()->timeLabel(0)->text(), QStringLiteral("12:00"));
    QVERIFY(!window->placedClocks()->mark(0)->isVisible());

    window->model().clocks()[0].summerTime = true;
    window->tick();
    QCOMPARE(window->placedClocks()->timeLabel(0)->text(), QStringLiteral("13:00"));
    QLabel *mark = window->placedClocks()->mark(0);
    QVERIFY(mark->isVisible());
    QCOMPARE(mark->text(), QStringLiteral("DST"));
    QCOMPARE(posTw(mark), QPoint(10215, 3690)); // (10214, 3696) on the pixel grid
    QCOMPARE(mark->pos(), QPoint(px(10214), px(3696)));

    // Leaving the period hides the mark at the next tick.
    clock->set(QDateTime(QDate(2026, 10, 25), QTime(2, 0, 0)));
    window->tick();
    QVERIFY(!mark->isVisible());
    QCOMPARE(window->placedClocks()->timeLabel(0)->text(), QStringLiteral("2:00"));
}

void TestMainWindow::summerMarkFollowsTheFace()
{
    clock->set(QDateTime(QDate(2026, 7, 1), QTime(12, 0)));
    window->model().clocks()[0].summerTime = true;
    window->tick();
    window->resizeClientTwips(QSizeF(11880 + 11655, 7965 + 6645)); // map doubled
    QCoreApplication::processEvents();
    QCOMPARE(window->layout().map.size(), QSizeF(23310, 13290));
    QLabel *mark = window->placedClocks()->mark(0);
    QVERIFY(mark->isVisible());
    QCOMPARE(mark->pos(), QPoint(1335, 466)); // twips (2 × 9815 + 135 + 264, 2 × 3300 + 396)
}

void TestMainWindow::newYearTakesTheNewSummerPeriod()
{
    QCOMPARE(window->model().summerPeriod().year, 2026);
    clock->set(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0)));
    window->tick();
    QCOMPARE(window->model().summerPeriod().year, 2027);
    QCOMPARE(toQDateTime(window->model().summerPeriod().start), QDateTime(QDate(2027, 4, 4), QTime(2, 0)));
    window->model().clocks()[0].summerTime = true;
    clock->set(QDateTime(QDate(2027, 6, 1), QTime(8, 0, 0)));
    window->tick();
    QCOMPARE(window->placedClocks()->timeLabel(0)->text(), QStringLiteral("9:00"));
}

void TestMainWindow::sameScreenInEveryZone_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QString>("time"); // of a summer-time clock 14:30 behind Japan
    for (const char *zone : { "Europe/Berlin", "America/New_York", "Asia/Kolkata" }) {
        QTest::addRow("%s, winter", zone) << QByteArray(zone) << QDateTime(QDate(2026, 12, 8), QTime(0, 5), Qt::UTC) << "18:35";
        QTest::addRow("%s, summer", zone) << QByteArray(zone) << QDateTime(QDate(2026, 7, 1), QTime(3, 0), Qt::UTC) << "22:30";
        // 02:00:30 on 5 April in Japan: the summer period has begun everywhere.
        QTest::addRow("%s, period begun", zone) << QByteArray(zone) << QDateTime(QDate(2026, 4, 4), QTime(17, 0, 30), Qt::UTC) << "12:30";
    }
}

void TestMainWindow::sameScreenInEveryZone()
{
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, at);
    QFETCH(QString, time);
    ClockEntry &e = window->model().clocks()[0];
    e.hourOffset = -14, e.minuteOffset = -30, e.summerTime = true;
    auto screen = [&](const QByteArray &tz) {
        qputenv("TZ", tz);
        tzset();
        clock->set(at.toLocalTime()); // as the system clock gives it
        window->layOut(); // a clear surface: faces drawn twice differ at their rims
        window->tick();
        QStringList texts{ window->placedClocks()->timeLabel(0)->text(), window->placedClocks()->dateLabel(0)->text(),
                           QString::number(window->placedClocks()->mark(0)->isVisible()) };
        for (int k = 0; k < 24; ++k)
            texts << window->bandStrip()->label(k)->text();
        return qMakePair(texts, window->clientArea()->surface());
    };
    const auto there = screen(zone), tokyo = screen("Asia/Tokyo"); // the tests' own zone last
    QCOMPARE(tokyo.first.first(), time);
    QCOMPARE(there, tokyo);
}

void TestMainWindow::resizeFollowsTheLayoutRule_data()
{
    // Pixels: the default clock's picture and face, band 0's face, the tops of the band dates and times.
    QTest::addColumn<QSizeF>("client");
    QTest::addColumn<QRectF>("map");
    QTest::addColumn<int>("bandRadius");
    QTest::addColumn<QList<QPoint>>("at");
    QTest::newRow("design") << QSizeF(11880, 7965) << QRectF(135, 0, 11655, 6645) << 440
                            << QList<QPoint>{ { 700, 193 }, { 663, 220 }, { 41, 454 }, { 488, 408 } };
    QTest::newRow("wide and tall") << QSizeF(21000, 12000) << QRectF(135, 0, 20775, 10680) << 440
                                   << QList<QPoint>{ { 1241, 311 }, { 1175, 354 }, { 67, 723 }, { 757, 677 } };
    QTest::newRow("small: map width / 24") << QSizeF(6000, 4500) << QRectF(135, 0, 5775, 3180) << 241
                                           << QList<QPoint>{ { 351, 93 }, { 333, 105 }, { 25, 223 }, { 257, 177 } };
}

void TestMainWindow::resizeFollowsTheLayoutRule()
{
    QFETCH(QSizeF, client);
    QFETCH(QRectF, map);
    QFETCH(int, bandRadius);
    QFETCH(QList<QPoint>, at);
    window->tick();
    const QSize before = window->clientArea()->size();
    window->resizeClientTwips(client);
    QCoreApplication::processEvents();
    QCOMPARE(window->clientArea()->size(), QSize(px(client.width()), px(client.height())));
    if (window->clientArea()->size() == before)
        window->layOut(); // no size change, no layout of its own
    QCOMPARE(window->layout().map, map);
    QCOMPARE(int(window->layout().bandRadius), bandRadius);

    // Picture at its converted reference position; labels keep the picture's rule.
    PictureBox *flag = window->placedClocks()->picture(0);
    QCOMPARE(flag->pos(), at[0]);
    QCOMPARE(flag->size(), window->model().pictures().find("Japan")->picture.size());
    QCOMPARE(window->placedClocks()->dateLabel(0)->pos(), QPoint(flag->x(), flag->y() + flag->height() + px(50)));
    // Each band's labels start at its face's centre less the map's left edge
    // (the last date may stand further left, to keep whole).
    for (int k = 0; k < 12; ++k) {
        const int left = px((k + 0.5) * map.width() / 12);
        if (k < 11)
            QCOMPARE(window->bandStrip()->label(k)->pos(), QPoint(left, at[3].x()));
        QCOMPARE(window->bandStrip()->label(k + 12)->pos(), QPoint(left, at[3].y()));
    }
    // The layout clears the surface; the next tick draws at the new places.
    QCOMPARE(window->clientArea()->surface().pixelColor(at[2] + QPoint(-12, 12)).alpha(), 0);
    window->tick();
    QCOMPARE(window->clientArea()->surface().pixelColor(at[2] + QPoint(-5, 5)).alpha(), 255);
    QCOMPARE(window->clientArea()->surface().pixelColor(at[1] + QPoint(-5, 5)).alpha(), 255);
}

void TestMainWindow::clockSizeMenuClearsAndRedraws()
{
    window->tick();
    const QPoint c(px(9950), px(3300));
    QCOMPARE(window->clientArea()->surface().pixelColor(c + QPoint(px(400), 0)).alpha(), 255);
    window->mainMenu()->clockSizeChosen(5); // 180
    QCOMPARE(window->model().clockRadius(), qint16(180));
    QCOMPARE(window->clientArea()->surface().pixelColor(c).alpha(), 0);
    window->tick();
    QCOMPARE(window->clientArea()->surface().pixelColor(c + QPoint(px(400), 0)).alpha(), 0);
    QCOMPARE(window->clientArea()->surface().pixelColor(c + QPoint(-5, 5)).alpha(), 255);
}

void TestMainWindow::markAndLabelReadTheSameSecond_data()
{
    // The last second on each side outside the summer period (its bounds are
    // exclusive); the clock has moved on by the time the mark is checked.
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("mark");
    QTest::newRow("at the start") << QDateTime(QDate(2026, 4, 5), QTime(2, 0, 0)) << "2:00" << false;
    QTest::newRow("before the end") << QDateTime(QDate(2026, 10, 25), QTime(1, 59, 59)) << "2:59" << true;
}

void TestMainWindow::markAndLabelReadTheSameSecond()
{
    QFETCH(QDateTime, at);
    QFETCH(QString, time);
    QFETCH(bool, mark);
    window.reset();
    SteppingClock stepping(at);
    window = std::make_unique<tb::MainWindow>(stepping, *messages);
    window->show();
    window->model().clocks()[0].summerTime = true;
    window->tick();
    stepping.set(at);
    stepping.stepping = true;
    window->tick();
    stepping.stepping = false;
    QCOMPARE(window->placedClocks()->timeLabel(0)->text(), time);
    QCOMPARE(window->placedClocks()->mark(0)->isVisible(), mark);
    window.reset();
}

void TestMainWindow::showingMarkIsNotMovedByTheTick()
{
    clock->set(QDateTime(QDate(2026, 7, 1), QTime(12, 0)));
    window->model().clocks()[0].summerTime = true;
    window->tick();
    QLabel *mark = window->placedClocks()->mark(0);
    QVERIFY(mark->isVisible());
    const QPoint shown = mark->pos();
    // A face that moves (as a drag does) takes its mark along only through
    // the layout, never through the tick's check.
    window->model().clocks()[0].faceLeft += 1500;
    window->tick();
    QVERIFY(mark->isVisible());
    QCOMPARE(mark->pos(), shown);
    window->layOut();
    QCOMPARE(mark->pos().x(), shown.x() + px(1500));
}

void TestMainWindow::flagTakesTheEditorsSize()
{
    // The editor's picture size (900 × 450 twips) stretches a built-in flag.
    ClockEntry &e = window->model().clocks()[0];
    e.pictureWidth = 900;
    e.pictureHeight = 450;
    window->addClock(0);
    PictureBox *flag = window->placedClocks()->picture(0);
    QVERIFY(flag->stretch());
    QVERIFY(flag->hasPicture());
    QCOMPARE(flag->size(), QSize(px(900), px(450)));
    QCOMPARE(window->placedClocks()->dateLabel(0)->y(), flag->y() + px(450) + px(50));
}

void TestMainWindow::minimisedWindowIsNotLaidOut()
{
    PictureBox *flag = window->placedClocks()->picture(0);
    const QPoint before = flag->pos();
    window->model().clocks()[0].pictureLeft += 3000;
    window->showMinimized();
    QVERIFY(window->isMinimized());
    window->layOut();
    QCOMPARE(flag->pos(), before);
    // Restoring lays the window out again.
    window->showNormal();
    QCoreApplication::processEvents();
    QCOMPARE(flag->pos(), QPoint(px(13500), before.y()));
}

void TestMainWindow::menuCaptionsAndAccessKeys()
{
    const QStringList expected = {
        "    時計の設定    {  追加     |  編集|  削除}",
        "    オプション   {色の変更|世界地図の変更{デフォルト|白地図|グレイ|ブルー|デザート|ダーク|"
        "タイムゾーン|画像ファイルから}|時計のサイズ   {特 600|大 440|中 300|小 250|微 180}|"
        "イラストの境界線{あり|なし}||夏時間：共通の規則（4月第1日曜～10月最終日曜）|夏時間：各地の規則||昼と夜を表示}",
        "   タスクバーへ(&T)   ",
        "     終了(&X)    ",
        "\u3000\u3000ヘルプ\u3000\u3000",
    };
    QCOMPARE(captions(window->menuBar()->actions()), expected);
    MainMenu *menu = window->mainMenu();
    QVERIFY(menu->borderNoAction()->isChecked());
    QVERIFY(!menu->borderYesAction()->isChecked());
    // Opening the options marks the present size and the chosen map.
    window->mainMenu()->clockSizeChosen(4);
    window->mainMenu()->mapChosen(3);
    emit menu->optionMenu()->aboutToShow();
    for (int k = 1; k <= MainMenu::kSizes; ++k)
        QCOMPARE(menu->sizeAction(k)->isChecked(), k == 4);
    for (int k = 1; k <= MainMenu::kMaps; ++k)
        QCOMPARE(menu->mapAction(k)->isChecked(), k == 3);
}

void TestMainWindow::helpWithoutItsFileSaysWhereItLooked()
{
    // The test program's folder holds no help file: the message names every place tried.
    QAction *help = window->mainMenu()->helpAction();
    QVERIFY(help->isEnabled());
    help->trigger();
    QCOMPARE(messages->texts.size(), 1);
    const QString dir = QCoreApplication::applicationDirPath();
    QVERIFY(messages->texts[0].contains(QDir::toNativeSeparators(dir + "/tembra.hlp")));
    QVERIFY(messages->texts[0].contains("share"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
