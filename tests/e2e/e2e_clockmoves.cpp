// The computer's clock moves under the running program (libfaketime reads a
// timestamp file that the test rewrites): across New Year, forward by months
// as after a suspend, back by a year as after a clock correction, across both
// edges of the summer period, a whole year in fast motion, in Berlin, and
// across New York's own change under each place's rules.
//
// How the shown time is checked: for every moment the clock is set to, a
// fresh program is started at that same moment (clock standing still) and
// its screen taken as the reference. After the jump the running program must
// show exactly that picture within a few ticks: every band and placed face,
// every date and time label and every "DST" mark, pixel for pixel (only the
// antialiased rims of the faces are left out, which darken a little with each
// tick). On top of that the "DST" marks are checked on their own against the
// summer period of the year: red text beside the two clocks that follow
// summer time, exactly while the clock is inside the period.
#include "harness.h"

#include <QTimeZone>
#include <QtTest>

using namespace e2e;

namespace {

struct PlacedClock {
    double left, top; // face centre, reference twips
    int difTime, difMinute;
    bool summerTime;
    QString picture;
};

// Japan (the local zone), the UK and the USA (both with summer time) and
// India (half an hour off).
const QList<PlacedClock> kClocks = {
    { 9950, 3300, 0, 0, false, "Japan" },
    { 5600, 1700, -9, 0, true, "UK" },
    { 2900, 2300, -14, 0, true, "USA" },
    { 7900, 3600, -3, -30, false, "India" },
};

void writeClocks(const QString &configHome)
{
    QList<QPair<QString, QString>> v;
    v << qMakePair(QStringLiteral("UserClock/n"), QString::number(kClocks.size() - 1));
    for (int i = 0; i < kClocks.size(); ++i) {
        const PlacedClock &c = kClocks[i];
        const QString s = QStringLiteral("UC%1/").arg(i, 3, 10, QLatin1Char('0'));
        v << qMakePair(s + "ClockLeft", QString::number(c.left)) << qMakePair(s + "ClockTop", QString::number(c.top))
          << qMakePair(s + "FlagLeft", QString::number(c.left + 700)) // labels clear of the "DST" mark
          << qMakePair(s + "FlagTop", QString::number(c.top - 400))
          << qMakePair(s + "DifTime", QString::number(c.difTime))
          << qMakePair(s + "DifMinute", QString::number(c.difMinute)) << qMakePair(s + "Fname", c.picture)
          << qMakePair(s + "summertime", c.summerTime ? QStringLiteral("True") : QStringLiteral("False"));
    }
    writeIni(configHome + "/TembraOG/TembraOG.ini", v);
}

QList<Circle> faceRims(const MainGeometry &g)
{
    QList<Circle> rims;
    for (int k = 0; k < 12; ++k)
        rims << g.bandFace(k);
    for (const PlacedClock &c : kClocks)
        rims << g.placedFace(c.left, c.top, 440);
    return rims;
}

// Red pixels where clock i's "DST" mark stands: 0.6 R right of and 0.9 R
// below the face's centre.
int dstInk(const QImage &shot, const MainGeometry &g, int i)
{
    const QPointF mark = g.twipsToScreen(kClocks[i].left + 0.6 * 440, kClocks[i].top + 0.9 * 440);
    return redPixels(shot, QRect(mark.toPoint(), QSize(14, 13)));
}

constexpr int kOptionsEntry = 1, kOptionsItems = 7; // the separators are too thin to count

struct Step {
    QDateTime at;      // the computer's clock, in Tokyo
    bool summer;       // inside that year's summer period
};

QDateTime at(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone("Asia/Tokyo"));
}

} // namespace

class E2eClockMoves : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void newYear();
    void suspend();
    void clockCorrection();
    void summerStart();
    void summerEnd();
    void yearInFastMotion();
    void otherZone();
    void zoneRules();

private:
    // A fresh program's screen at `t`, once its faces are drawn and stand still.
    QImage reference(const QDateTime &t, const QString &name);
    // Starts the program at the first step, moves the clock to every later
    // step while it runs, and checks each against the reference (in Tokyo).
    void followJumps(const QList<Step> &steps, const QByteArray &zone = "Asia/Tokyo");

    std::unique_ptr<Scene> scene;
};

void E2eClockMoves::init()
{
    scene = std::make_unique<Scene>();
    QString error;
    QVERIFY2(scene->setUp(&error), qPrintable(error));
    QVERIFY2(!fakeTimeLibrary().isEmpty(), "libfaketime is not installed");
}

void E2eClockMoves::cleanup()
{
    scene.reset();
}

QImage E2eClockMoves::reference(const QDateTime &t, const QString &name)
{
    scene->clock.freeze(t);
    const QString config = scene->configHome(name);
    writeClocks(config);
    QString error;
    auto app = scene->launch(&error, config);
    if (!app) {
        qWarning() << error;
        return {};
    }
    const MainGeometry g(app->mainWindow().geometry);
    const QList<Circle> rims = faceRims(g);
    QImage last, shot;
    // Stands still: two screens a tick apart that agree, with the faces drawn.
    const bool still = waitFor(
        [&] {
            shot = scene->desktop.screenshot();
            const QRgb fill = faceFill(shot, g.placedFace(kClocks[0].left, kClocks[0].top, 440));
            const bool drawn = fill == qRgb(0xE0, 0xE0, 0xE0) || fill == qRgb(0x80, 0x80, 0x80);
            const bool same = drawn && !last.isNull()
                && countDifferences(shot, last, app->mainWindow().geometry, rims) == 0;
            last = shot;
            return same;
        },
        8000, 1100);
    if (!still)
        saveArtifact(shot, name + "-unsteady.png");
    return still ? shot : QImage();
}

void E2eClockMoves::followJumps(const QList<Step> &steps, const QByteArray &zone)
{
    QList<QImage> refs;
    for (int i = 0; i < steps.size(); ++i) {
        refs << reference(steps[i].at, QStringLiteral("reference%1").arg(i));
        QVERIFY2(!refs.last().isNull(), qPrintable("no steady reference at " + steps[i].at.toString(Qt::ISODate)));
    }

    scene->clock.freeze(steps[0].at.toTimeZone(QTimeZone(zone)));
    scene->zone = zone;
    writeClocks(scene->configHome());
    QString error;
    auto app = scene->launch(&error);
    QVERIFY2(app, qPrintable(error));
    const MainGeometry g(app->mainWindow().geometry);
    const QRect window = app->mainWindow().geometry;
    const QList<Circle> rims = faceRims(g);

    for (int i = 0; i < steps.size(); ++i) {
        const QString when = steps[i].at.toString(Qt::ISODate);
        if (i > 0)
            scene->clock.freeze(steps[i].at.toTimeZone(QTimeZone(zone)));
        QElapsedTimer since;
        since.start();
        QImage shot;
        int differences = -1;
        const bool shown = waitFor(
            [&] {
                shot = scene->desktop.screenshot();
                differences = countDifferences(shot, refs[i], window, rims);
                return differences == 0;
            },
            5000, 150);
        if (!shown) {
            QImage diff;
            countDifferences(shot, refs[i], window, rims, 8, &diff);
            saveArtifact(shot, QStringLiteral("step%1-running.png").arg(i));
            saveArtifact(refs[i], QStringLiteral("step%1-reference.png").arg(i));
            saveArtifact(diff, QStringLiteral("step%1-diff.png").arg(i));
        }
        QVERIFY2(shown, qPrintable(QStringLiteral("%1: %2 pixels differ from a fresh start").arg(when).arg(differences)));
        qInfo().noquote() << when << "shown after" << since.elapsed() << "ms";
        for (int c = 0; c < kClocks.size(); ++c) {
            const bool markWanted = steps[i].summer && kClocks[c].summerTime;
            const int ink = dstInk(shot, g, c);
            QVERIFY2(markWanted ? ink > 8 : ink == 0,
                     qPrintable(QStringLiteral("%1: clock %2 %3 its DST mark (%4 red pixels)")
                                    .arg(when)
                                    .arg(c)
                                    .arg(markWanted ? "lacks" : "shows")
                                    .arg(ink)));
        }
    }
    QVERIFY(app->running());
}

void E2eClockMoves::newYear()
{
    followJumps({ { at(2026, 12, 31, 23, 59, 58), false }, { at(2027, 1, 1, 0, 0, 1), false } });
}

void E2eClockMoves::suspend()
{
    // Asleep from January to May: summer time began meanwhile.
    followJumps({ { at(2027, 1, 15, 10, 20, 30), false }, { at(2027, 5, 20, 14, 40, 10), true } });
}

void E2eClockMoves::clockCorrection()
{
    // Back by a year: 1 April is in the period of 2029 (it starts on Sunday
    // 1 April) but not of 2028 (Sunday 2 April).
    followJumps({ { at(2029, 4, 1, 12, 0, 0), true }, { at(2028, 4, 1, 12, 0, 0), false } });
}

void E2eClockMoves::summerStart()
{
    // 2029 starts its period on 1 April at 02:00; the bound itself is outside.
    followJumps({ { at(2029, 4, 1, 1, 59, 59), false },
                  { at(2029, 4, 1, 2, 0, 0), false },
                  { at(2029, 4, 1, 2, 0, 1), true } });
}

void E2eClockMoves::summerEnd()
{
    // 2027 ends its period on 31 October at 02:00.
    followJumps({ { at(2027, 10, 31, 1, 59, 59), true },
                  { at(2027, 10, 31, 2, 0, 0), false },
                  { at(2027, 11, 1, 9, 0, 0), false } });
}

void E2eClockMoves::yearInFastMotion()
{
    // The timers run with the fake clock, 40 times as fast: a tick every 25 ms.
    constexpr int speed = 40;
    const QDate first(2027, 1, 1);
    auto visitTime = [&](int day) { return QDateTime(first.addDays(day), QTime(day % 24, 30, 0)); };
    writeClocks(scene->configHome());
    scene->clock.runFrom(visitTime(0), speed);
    QString error;
    auto app = scene->launch(&error, {}, true);
    QVERIFY2(app, qPrintable(error));
    const MainGeometry g(app->mainWindow().geometry);
    const Circle japan = g.placedFace(kClocks[0].left, kClocks[0].top, 440);

    qint64 firstRss = -1, lastRss = -1;
    int checked = 0;
    for (int day = 0; day < first.daysInYear(); ++day) {
        scene->clock.runFrom(visitTime(day), speed);
        sleepMs(120); // a few ticks of this day
        QVERIFY2(app->running(), qPrintable("the program ended on " + visitTime(day).toString(Qt::ISODate)));
        if (day == 0)
            firstRss = app->rssKiB();
        if (day % 30 == 0) {
            // The face of the local clock takes the colour of this day's hour.
            const int hour = day % 24;
            const QRgb want = (hour >= 6 && hour <= 17) ? qRgb(0xE0, 0xE0, 0xE0) : qRgb(0x80, 0x80, 0x80);
            QVERIFY2(waitFor([&] { return faceFill(scene->desktop.screenshot(), japan) == want; }, 3000),
                     qPrintable("wrong face colour on " + visitTime(day).toString(Qt::ISODate)));
            ++checked;
        }
    }
    lastRss = app->rssKiB();
    qInfo().noquote() << QStringLiteral("resident memory: first day %1 KiB, last day %2 KiB (%3 %)")
                             .arg(firstRss)
                             .arg(lastRss)
                             .arg(100.0 * (lastRss - firstRss) / firstRss, 0, 'f', 2);
    QVERIFY(checked >= 12);
    QVERIFY(firstRss > 0);
    QVERIFY2(lastRss <= firstRss * 1.05, "memory grew by more than 5 % over the year");

    // Back to normal speed, still answering: Alt+X saves and ends it.
    scene->clock.runFrom(QDateTime(QDate(2027, 12, 31), QTime(23, 59, 50)));
    QVERIFY(scene->desktop.key(app->mainWindow().id, "alt+x"));
    int code = -1;
    QVERIFY2(app->waitForExit(10000, &code), "the program did not end after the year");
    QCOMPARE(code, 0);
    QCOMPARE(readIni(app->settingsFile()).value("UserClock/n"), QStringLiteral("3"));
}

void E2eClockMoves::otherZone()
{
    // Across Berlin's own change to summer time and into the summer period.
    followJumps({ { at(2027, 3, 28, 9, 59, 58), false }, { at(2027, 3, 28, 10, 0, 1), false },
                  { at(2027, 5, 20, 14, 40, 10), true } }, "Europe/Berlin");
}

void E2eClockMoves::zoneRules()
{
    // A New York clock, its summer box clear, where clock 0 of the others stands.
    writeIni(scene->configHome() + "/TembraOG/TembraOG.ini",
             { { "UserClock/n", "0" }, { "UC000/ClockLeft", "9950" }, { "UC000/ClockTop", "3300" },
               { "UC000/FlagLeft", "10650" }, { "UC000/FlagTop", "2900" }, { "UC000/DifTime", "-14" },
               { "UC000/Fname", "USA" }, { "UC000/Zone", "America/New_York" } });
    const QDateTime change(QDate(2026, 3, 8), QTime(7, 0), Qt::UTC);
    scene->clock.freeze(change.addSecs(-1).toTimeZone(QTimeZone("Asia/Tokyo")));
    QString error;
    auto app = scene->launch(&error);
    QVERIFY2(app, qPrintable(error));
    const Menus menus(scene->desktop, *app);
    const std::optional<WindowInfo> options = menus.openBar(kOptionsEntry);
    QVERIFY(options && menus.chooseItem(*options, 5, kOptionsItems)); // "夏時間：各地の規則"
    QCOMPARE(readIni(app->settingsFile()).value("UserClock/SummerRule"), QStringLiteral("Zone"));

    // From the change on 3:00, not 1:59: the hour hand on the ray to three o'clock, and the mark.
    const MainGeometry g(app->mainWindow().geometry);
    const Circle face = g.placedFace(9950, 3300, 440);
    for (const int s : { -1, 0, 1 }) {
        scene->clock.freeze(change.addSecs(s).toTimeZone(QTimeZone("Asia/Tokyo")));
        QImage shot;
        const auto shown = [&, summer = s >= 0] {
            shot = scene->desktop.screenshot();
            return (extentOf(shot, face, 90, faceFill(shot, face)) < 10) == summer && (dstInk(shot, g, 0) > 8) == summer;
        };
        if (!waitFor(shown, 5000, 150))
            saveArtifact(shot, QStringLiteral("change%1.png").arg(s));
        QVERIFY2(shown(), qPrintable(QStringLiteral("%1 s from New York's change").arg(s)));
    }
}

QTEST_GUILESS_MAIN(E2eClockMoves)
#include "e2e_clockmoves.moc"
