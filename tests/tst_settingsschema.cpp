#include "core/editor/storedpictures.h"
#include "core/settings/schema.h"
#include "core/settings/settingsstore.h"
#include "core/common/valuetext.h"
#include "settings_testsupport.h"
#include "core/time/clocksource.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QtTest>
#include <cmath>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace tb;
using tb::testing::RecordingMessenger;
using tb::testing::TempStore;

namespace {

// The smallest GIF there is, 1 × 1 pixel: Qt can read GIF but not write it.
const QByteArray kGif1x1 = QByteArray::fromHex(
    "47494638396101000100800000000000ffffff21f90401000000002c000000000100010000020144003b");

QString missingText(const QString &name)
{
    return name + QStringLiteral("\u3000の画像ファイルが見つかりません\r\n")
        + QStringLiteral("「時計の設定」、「編集」により、再び設定してください");
}

QString unreadableText(const QString &name)
{
    return name + QStringLiteral("\u3000の画像ファイルを読み込めません\r\n")
        + QStringLiteral("「時計の設定」、「編集」により、再び設定してください");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QImage sample(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::red);
    return img;
}

// user picture handed over by loadStoredPictures
struct Added {
    int slot;
    QString tag;
    QSize size;
};

QStringList expectedExitWrites(int lastIndex)
{
    QStringList order;
    const char *clockKeys[] = {"ClockLeft", "ClockTop", "DifMinute", "DifTime",
                               "FlagLeft", "FlagTop", "Fname", "summertime"};
    for (int i = 0; i <= lastIndex; ++i)
        for (const char *k : clockKeys)
            order << clockSection(i) + QLatin1Char('/') + QLatin1String(k);
    for (const char *k : {"ClockRc", "n", "GageColor", "NeadleColor"})
        order << QStringLiteral("UserClock/") + QLatin1String(k);
    for (int h = 0; h <= 22; h += 2)
        order << QStringLiteral("Color/") + QString::number(h);
    return order;
}

} // namespace

class TestSettingsSchema : public QObject {
    Q_OBJECT

private slots:
    void firstStartWritesDefaults();
    void displaySettingsConversions_data();
    void displaySettingsConversions();
    void numberTextForms_data();
    void numberTextForms();
    void leadingNumberLikeVal_data();
    void leadingNumberLikeVal();
    void clockSectionTextForms();
    void readClockSanitises_data();
    void readClockSanitises();
    void clockSurvivesSaveAndRestart();
    void zoneGoesWithItsClock();
    void lastClockIndexLimits_data();
    void lastClockIndexLimits();
    void saveAllSettingsOrder_data();
    void saveAllSettingsOrder();
    void saveAllSettingsLeavesHigherSections();
    void saveAllSettingsReportsFailure_data();
    void saveAllSettingsReportsFailure();
    void userPicturesAndMessages();
    void userPictureCountIsBounded_data();
    void userPictureCountIsBounded();
    void missingPicturesInOneMessage_data();
    void missingPicturesInOneMessage();
    void stretchedUserPictureDecodedForItsSize_data();
    void stretchedUserPictureDecodedForItsSize();
    void pictureFormats_data();
    void pictureFormats();
    void worldMapChoice_data();
    void worldMapChoice();
    void damagedSettingsFileSetAside_data();
    void damagedSettingsFileSetAside();
};

void TestSettingsSchema::firstStartWritesDefaults()
{
    TempStore store;
    RecordingMessenger messenger;
    const FixedClock clock;
    openSettings(messenger.report(), clock);
    const DisplaySettings display = loadDisplaySettings();
    int added = 0;
    const MapChoice map = loadStoredPictures([&added](int, const QImage &, const QString &) { ++added; }, messenger.report());
    const std::optional<int> n = readLastClockIndex();

    QCOMPARE(appSettings().applicationName(), QStringLiteral("TembraOG"));
    QVERIFY(messenger.texts.isEmpty());
    QCOMPARE(added, 0);
    QCOMPARE(map.builtInIndex, 0);
    QVERIFY(map.fileImage.isNull());
    QVERIFY(!n.has_value());
    for (int h : {0, 2, 4, 18, 20, 22})
        QCOMPARE(display.colours.fills[size_t(h)], Colour(8421504));
    for (int h = 6; h <= 16; h += 2)
        QCOMPARE(display.colours.fills[size_t(h)], Colour(14737632));
    QCOMPARE(display.clockRadius, qint16(440));
    QCOMPARE(display.bandRadius, qint16(440));
    QCOMPARE(display.colours.handColour, Colour(0));
    QCOMPARE(display.colours.scaleColour, Colour(255));

    // The file now holds exactly the defaults a first start writes.
    QStringList expected{QStringLiteral("UserClock/ClockRc"), QStringLiteral("UserClock/NeadleColor"),
                         QStringLiteral("UserClock/GageColor"), QStringLiteral("UserClock/n"),
                         QStringLiteral("UserImg/UserImgCount"), QStringLiteral("UserImg/WorldMap")};
    for (int h = 0; h <= 22; h += 2)
        expected << QStringLiteral("Color/") + QString::number(h);
    QStringList keys = store.keysOnDisk();
    keys.sort();
    expected.sort();
    QCOMPARE(keys, expected);
    QCOMPARE(store.onDisk(QStringLiteral("Color/6")).toString(), QStringLiteral("14737632"));
    QCOMPARE(store.onDisk(QStringLiteral("Color/22")).toString(), QStringLiteral("8421504"));
    QCOMPARE(store.onDisk(QStringLiteral("UserClock/ClockRc")).toString(), QStringLiteral("440"));
    QCOMPARE(store.onDisk(QStringLiteral("UserClock/GageColor")).toString(), QStringLiteral("255"));
    QCOMPARE(store.onDisk(QStringLiteral("UserClock/NeadleColor")).toString(), QStringLiteral("0"));
    QCOMPARE(store.onDisk(QStringLiteral("UserClock/n")).toString(), QString());
    QCOMPARE(store.onDisk(QStringLiteral("UserImg/UserImgCount")).toString(), QStringLiteral("0"));
    QCOMPARE(store.onDisk(QStringLiteral("UserImg/WorldMap")).toString(), QString());

    // The window then stores its default clock, and the next start finds it.
    writeClock(0, defaultClockEntry());
    store.restart();
    QCOMPARE(readLastClockIndex(), std::optional<int>()); // "n" is only written on exit or when a clock is added
    ClockEntry e;
    readClock(0, e);
    QCOMPARE(e, defaultClockEntry());
}

void TestSettingsSchema::displaySettingsConversions_data()
{
    QTest::addColumn<QString>("key"); // "UserClock/..." or "Color/..."
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("ClockRc fraction") << "UserClock/ClockRc" << "300.5" << qint64(300);
    QTest::newRow("ClockRc text") << "UserClock/ClockRc" << "abc" << qint64(0);
    QTest::newRow("ClockRc leading number") << "UserClock/ClockRc" << "  250px" << qint64(250);
    QTest::newRow("ClockRc half to even up") << "UserClock/ClockRc" << "301.5" << qint64(302);
    QTest::newRow("ClockRc odd size kept") << "UserClock/ClockRc" << "123" << qint64(123);
    QTest::newRow("ClockRc exponent") << "UserClock/ClockRc" << "6e2" << qint64(600);
    QTest::newRow("ClockRc negative") << "UserClock/ClockRc" << "-440" << qint64(0);
    QTest::newRow("ClockRc above 16 bits") << "UserClock/ClockRc" << "1e12" << qint64(32767);
    QTest::newRow("colour plain") << "Color/8" << "65280" << qint64(65280);
    QTest::newRow("colour half to even down") << "Color/0" << "254.5" << qint64(254);
    QTest::newRow("colour half to even up") << "Color/0" << "255.5" << qint64(256);
    QTest::newRow("colour with blanks") << "Color/10" << " 12 " << qint64(12);
    QTest::newRow("colour not a number") << "Color/2" << "grey" << qint64(0);
    QTest::newRow("colour trailing junk") << "Color/2" << "12abc" << qint64(0);
    QTest::newRow("colour negative") << "Color/2" << "-1" << qint64(0);
    QTest::newRow("colour too large") << "Color/22" << "4294967295" << qint64(0xFFFFFF);
    QTest::newRow("colour huge") << "Color/22" << "1e40" << qint64(0xFFFFFF);
    QTest::newRow("colour nan") << "Color/22" << "nan" << qint64(0);
    QTest::newRow("gauge colour") << "UserClock/GageColor" << "16711680" << qint64(16711680);
    QTest::newRow("hand colour") << "UserClock/NeadleColor" << "0.4" << qint64(0);
}

void TestSettingsSchema::displaySettingsConversions()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(qint64, expected);

    TempStore store;
    {
        QSettings s(store.file(), QSettings::IniFormat);
        s.setValue(key, text);
    }
    store.restart();
    const DisplaySettings d = loadDisplaySettings();
    qint64 got = -1;
    if (key == QLatin1String("UserClock/ClockRc"))
        got = d.clockRadius;
    else if (key == QLatin1String("UserClock/GageColor"))
        got = d.colours.scaleColour;
    else if (key == QLatin1String("UserClock/NeadleColor"))
        got = d.colours.handColour;
    else
        got = d.colours.fills[size_t(key.mid(6).toInt())];
    QCOMPARE(got, expected);
    // A value that was there is read, not replaced.
    QCOMPARE(store.onDisk(key).toString(), text);
}

void TestSettingsSchema::numberTextForms_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 9950.0f << "9950";
    QTest::newRow("half") << 1234.5f << "1234.5";
    QTest::newRow("negative") << -5.25f << "-5.25";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("negative zero") << -0.0f << "0";
    QTest::newRow("tenth") << 0.1f << "0.1";
    QTest::newRow("seven digits") << 123456.789f << "123456.8";
    QTest::newRow("large whole") << 1000000.0f << "1000000";
    QTest::newRow("beyond seven digits") << 12345678.0f << "12345680";
    QTest::newRow("tiny") << 1.2345678e-5f << "0.00001234568";
    QTest::newRow("not finite") << float(INFINITY) << "0";
}

void TestSettingsSchema::numberTextForms()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(singleText(value), text);
    // And the text reads back as the same seven digits.
    if (std::isfinite(value))
        QCOMPARE(singleText(float(*numericValue(text))), text);
}

void TestSettingsSchema::leadingNumberLikeVal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "12" << 12.0;
    QTest::newRow("leading blanks") << " \t 12" << 12.0;
    QTest::newRow("blanks inside") << "1 2 3" << 123.0;
    QTest::newRow("trailing text") << "12abc" << 12.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("sign") << "-3.5x" << -3.5;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("second point stops") << "1.5.3" << 1.5;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("D exponent") << "2D2" << 200.0;
    QTest::newRow("exponent without digits") << "7e" << 7.0;
    QTest::newRow("nan is not a number") << "nan" << 0.0;
    QTest::newRow("full-width digits are not digits") << "１２" << 0.0;
    QTest::newRow("lone sign") << "-" << 0.0;
    QTest::newRow("too large") << "1e999" << double(INFINITY);
    QTest::newRow("too large negative") << "-12e400" << -double(INFINITY);
    QTest::newRow("too large by its digits") << "1" + QString(400, QLatin1Char('0')) << double(INFINITY);
    QTest::newRow("large despite leading zeros") << "0.001e400" << double(INFINITY);
    QTest::newRow("too small") << "1e-999" << 0.0;
    QTest::newRow("too small by its digits") << "0." + QString(400, QLatin1Char('0')) + "1" << 0.0;
    QTest::newRow("zero with huge exponent") << "0.000e99999" << 0.0;
}

void TestSettingsSchema::leadingNumberLikeVal()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(leadingNumber(text), value);
}

void TestSettingsSchema::clockSectionTextForms()
{
    TempStore store;
    ClockEntry e;
    e.summerTime = true;
    e.hourOffset = -5;
    e.minuteOffset = 30;
    e.faceLeft = 1234.5f;
    e.faceTop = 9950.0f;
    e.pictureLeft = -0.25f;
    e.pictureTop = 6645.0f;
    e.pictureKey = QStringLiteral("001User");
    e.pictureWidth = 300; // not stored
    writeClock(7, e);

    QSettings s(store.file(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("UC007"));
    QCOMPARE(s.childKeys().size(), 8);
    QCOMPARE(s.value(QStringLiteral("summertime")).toString(), QStringLiteral("True"));
    QCOMPARE(s.value(QStringLiteral("DifTime")).toString(), QStringLiteral("-5"));
    QCOMPARE(s.value(QStringLiteral("DifMinute")).toString(), QStringLiteral("30"));
    QCOMPARE(s.value(QStringLiteral("ClockLeft")).toString(), QStringLiteral("1234.5"));
    QCOMPARE(s.value(QStringLiteral("ClockTop")).toString(), QStringLiteral("9950"));
    QCOMPARE(s.value(QStringLiteral("FlagLeft")).toString(), QStringLiteral("-0.25"));
    QCOMPARE(s.value(QStringLiteral("FlagTop")).toString(), QStringLiteral("6645"));
    QCOMPARE(s.value(QStringLiteral("Fname")).toString(), QStringLiteral("001User"));
    e.summerTime = false;
    writeClock(7, e);
    QCOMPARE(store.onDisk(QStringLiteral("UC007/summertime")).toString(), QStringLiteral("False"));
}

void TestSettingsSchema::readClockSanitises_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // the field as text: singleText / number / True-False / pictureKey

    QTest::newRow("position missing") << "ClockLeft" << "" << "0";
    QTest::newRow("position plain") << "ClockLeft" << "1234.5" << "1234.5";
    QTest::newRow("position blanks") << "FlagTop" << " 12.25 " << "12.25";
    QTest::newRow("position text") << "ClockTop" << "left" << "0";
    QTest::newRow("position trailing junk") << "ClockTop" << "12px" << "0";
    QTest::newRow("position nan") << "FlagLeft" << "nan" << "0";
    QTest::newRow("position inf") << "FlagLeft" << "inf" << "0";
    QTest::newRow("position huge") << "ClockLeft" << "1e40" << "1000000";
    QTest::newRow("position huge negative") << "ClockTop" << "-1e300" << "-1000000";
    QTest::newRow("position overflowing double") << "FlagTop" << "1e999" << "1000000";
    QTest::newRow("DifTime plain") << "DifTime" << "-21" << "-21";
    QTest::newRow("DifTime half to even") << "DifTime" << "2.5" << "2";
    QTest::newRow("DifTime beyond 16 bits") << "DifTime" << "40000" << "48";
    QTest::newRow("DifTime far negative") << "DifTime" << "-1e9" << "-48";
    QTest::newRow("DifTime text") << "DifTime" << "minus five" << "0";
    QTest::newRow("DifMinute plain") << "DifMinute" << "-30" << "-30";
    QTest::newRow("DifMinute beyond 16 bits") << "DifMinute" << "99999" << "1440";
    QTest::newRow("DifMinute half to even") << "DifMinute" << "44.5" << "44";
    QTest::newRow("summertime True") << "summertime" << "True" << "True";
    QTest::newRow("summertime any case") << "summertime" << "tRUE" << "True";
    QTest::newRow("summertime False") << "summertime" << "False" << "False";
    QTest::newRow("summertime minus one") << "summertime" << "-1" << "True";
    QTest::newRow("summertime zero") << "summertime" << "0" << "False";
    QTest::newRow("summertime fraction") << "summertime" << "0.5" << "True";
    QTest::newRow("summertime word") << "summertime" << "yes" << "False";
    QTest::newRow("summertime missing") << "summertime" << "" << "False";
    QTest::newRow("Fname as is") << "Fname" << " United Kingdom " << " United Kingdom ";
    QTest::newRow("Fname with comma") << "Fname" << "Bosnia, Herzegovina" << "Bosnia, Herzegovina";
    QTest::newRow("Fname missing") << "Fname" << "" << "";
}

void TestSettingsSchema::readClockSanitises()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    TempStore store;
    {
        QSettings s(store.file(), QSettings::IniFormat);
        s.setValue(QStringLiteral("UC003/") + key, text);
    }
    store.restart();
    ClockEntry e = defaultClockEntry();
    e.pictureWidth = 123; // not stored, so untouched
    readClock(3, e);
    QCOMPARE(e.pictureWidth, 123.0f);

    QString got;
    if (key == QLatin1String("ClockLeft"))
        got = singleText(e.faceLeft);
    else if (key == QLatin1String("ClockTop"))
        got = singleText(e.faceTop);
    else if (key == QLatin1String("FlagLeft"))
        got = singleText(e.pictureLeft);
    else if (key == QLatin1String("FlagTop"))
        got = singleText(e.pictureTop);
    else if (key == QLatin1String("DifTime"))
        got = QString::number(e.hourOffset);
    else if (key == QLatin1String("DifMinute"))
        got = QString::number(e.minuteOffset);
    else if (key == QLatin1String("summertime"))
        got = boolText(e.summerTime);
    else
        got = e.pictureKey;
    QCOMPARE(got, expected);

    // Every other field of the section was missing: 0, false, empty — and now present.
    if (key != QLatin1String("ClockLeft"))
        QCOMPARE(e.faceLeft, 0.0f);
    if (key != QLatin1String("Fname"))
        QCOMPARE(e.pictureKey, QString());
    QCOMPARE(store.keysOnDisk().filter(QStringLiteral("UC003/")).size(), 8);
}

void TestSettingsSchema::clockSurvivesSaveAndRestart()
{
    TempStore store;
    ClockEntries entries;
    for (int i = 0; i <= 4; ++i) {
        ClockEntry &e = entries[size_t(i)];
        e.faceLeft = 100.5f * float(i + 1);
        e.faceTop = 3300.0f - float(i);
        e.pictureLeft = 10500.25f;
        e.pictureTop = 2900.0f + 0.125f * float(i);
        e.hourOffset = qint16(-5 + i);
        e.minuteOffset = qint16(i % 2 ? 30 : -45);
        e.pictureKey = i == 3 ? QStringLiteral("日本, 東京 \"x\" \\y") : QStringLiteral("%1User").arg(i, 3, 10, QLatin1Char('0'));
        e.summerTime = i % 2;
        e.zone = i % 2 ? QStringLiteral("America/St_Johns") : QString();
    }
    DisplaySettings display;
    display.clockRadius = 250;
    display.colours.scaleColour = 0x00FF00;
    display.colours.handColour = 0x123456;
    display.colours.fills[10] = 0xABCDEF;
    QVERIFY(saveAllSettings(entries, 4, display));

    // Next start, as the window runs it.
    store.restart();
    RecordingMessenger messenger;
    const FixedClock clock;
    openSettings(messenger.report(), clock);
    const DisplaySettings loaded = loadDisplaySettings();
    loadStoredPictures(nullptr, messenger.report());
    const std::optional<int> n = readLastClockIndex();
    QCOMPARE(n, std::optional<int>(4));
    for (int i = 0; i <= 4; ++i) {
        ClockEntry e;
        readClock(i, e);
        QCOMPARE(e, entries[size_t(i)]);
    }
    QVERIFY(messenger.texts.isEmpty());
    QCOMPARE(loaded.clockRadius, qint16(250));
    QCOMPARE(loaded.colours.scaleColour, Colour(0x00FF00));
    QCOMPARE(loaded.colours.handColour, Colour(0x123456));
    QCOMPARE(loaded.colours.fills, display.colours.fills);
}

void TestSettingsSchema::zoneGoesWithItsClock()
{
    // Clock 0 deleted: clock 1, which has no zone, takes its section.
    TempStore store;
    ClockEntries entries{};
    entries[0].zone = QStringLiteral("America/New_York");
    QVERIFY(saveAllSettings(entries, 0, DisplaySettings()));
    entries[0].zone.clear();
    QVERIFY(saveAllSettings(entries, 0, DisplaySettings()));
    QVERIFY(!store.raw().contains("Zone"));
}

void TestSettingsSchema::lastClockIndexLimits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -1: none stored
    QTest::newRow("empty: first start") << "" << -1;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("four") << "4" << 4;
    QTest::newRow("twenty") << "20" << 20;
    QTest::newRow("above twenty") << "21" << 20;
    QTest::newRow("huge") << "1e9" << 20;
    QTest::newRow("negative") << "-3" << 0;
    QTest::newRow("text") << "abc" << 0;
    QTest::newRow("leading number") << "  7 clocks" << 7;
    QTest::newRow("half to even down") << "2.5" << 2;
    QTest::newRow("half to even up") << "3.5" << 4;
    QTest::newRow("blank only") << "\" \"" << 0;
}

void TestSettingsSchema::lastClockIndexLimits()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    TempStore store;
    store.writeRaw("[UserClock]\nn=" + text.toUtf8() + "\n");
    const std::optional<int> n = readLastClockIndex();
    if (expected < 0)
        QVERIFY(!n.has_value());
    else
        QCOMPARE(n, std::optional<int>(expected));
}

void TestSettingsSchema::saveAllSettingsOrder_data()
{
    QTest::addColumn<int>("lastIndex");
    QTest::newRow("one clock") << 0;
    QTest::newRow("five clocks") << 4;
    QTest::newRow("all clocks") << 20;
}

void TestSettingsSchema::saveAllSettingsOrder()
{
    QFETCH(int, lastIndex);
    TempStore store;
    ClockEntries entries;
    for (int i = 0; i < kMaxClocks; ++i)
        entries[size_t(i)].pictureKey = QStringLiteral("clock %1").arg(i);
    DisplaySettings display;
    display.clockRadius = 600;

    QStringList seen;
    appSettings().setWriteObserver([&seen](const QString &s, const QString &k, const QString &) {
        seen << s + QLatin1Char('/') + k;
    });
    QString errorFile = QStringLiteral("untouched");
    QVERIFY(saveAllSettings(entries, lastIndex, display, &errorFile));
    QCOMPARE(errorFile, QStringLiteral("untouched"));
    QCOMPARE(seen, expectedExitWrites(lastIndex));

    QCOMPARE(store.onDisk(QStringLiteral("UserClock/n")).toString(), QString::number(lastIndex));
    QCOMPARE(store.onDisk(QStringLiteral("UserClock/ClockRc")).toString(), QStringLiteral("600"));
    QCOMPARE(store.onDisk(clockSection(lastIndex) + QStringLiteral("/Fname")).toString(),
             QStringLiteral("clock %1").arg(lastIndex));
    QVERIFY(!store.keysOnDisk().contains(clockSection(lastIndex + 1) + QStringLiteral("/Fname")));
}

void TestSettingsSchema::saveAllSettingsLeavesHigherSections()
{
    TempStore store;
    ClockEntries entries;
    for (int i = 0; i <= 4; ++i)
        entries[size_t(i)].pictureKey = QStringLiteral("first %1").arg(i);
    DisplaySettings display;
    QVERIFY(saveAllSettings(entries, 4, display));

    // Clocks 3 and 4 were deleted during the next run.
    entries[1].pictureKey = QStringLiteral("moved");
    QVERIFY(saveAllSettings(entries, 2, display));

    store.restart();
    QCOMPARE(readLastClockIndex(), std::optional<int>(2));
    QCOMPARE(store.onDisk(QStringLiteral("UC001/Fname")).toString(), QStringLiteral("moved"));
    QCOMPARE(store.onDisk(QStringLiteral("UC003/Fname")).toString(), QStringLiteral("first 3"));
    QCOMPARE(store.onDisk(QStringLiteral("UC004/Fname")).toString(), QStringLiteral("first 4"));

    // A count beyond the table saves what the table has.
    QVERIFY(saveAllSettings(entries, 99, display));
    QCOMPARE(store.onDisk(QStringLiteral("UserClock/n")).toString(), QStringLiteral("20"));
}

void TestSettingsSchema::saveAllSettingsReportsFailure_data()
{
    QTest::addColumn<bool>("fileIsFolder");
    QTest::newRow("folder is a regular file") << false;
    QTest::newRow("settings file is a folder") << true;
}

void TestSettingsSchema::saveAllSettingsReportsFailure()
{
    QFETCH(bool, fileIsFolder);
    TempStore store;
    QString path;
    if (fileIsFolder) {
        path = store.dir() + QStringLiteral("/TembraOG.ini");
        QVERIFY(QDir().mkpath(path));
    } else {
        writeBytes(store.dir() + QStringLiteral("/plain"), "x");
        path = store.dir() + QStringLiteral("/plain/TembraOG.ini");
    }
    appSettings().setSettingsFile(path);

    ClockEntries entries;
    DisplaySettings display;
    QString errorFile;
    QVERIFY(!saveAllSettings(entries, 3, display, &errorFile));
    QCOMPARE(errorFile, path);
    QVERIFY(!QFileInfo(path).isFile());
    QVERIFY(!saveAllSettings(entries, 0, display)); // no name asked for: still no success

    // Once writable again the very same save succeeds.
    appSettings().setSettingsFile(store.dir() + QStringLiteral("/ok.ini"));
    QVERIFY(saveAllSettings(entries, 3, display, &errorFile));
}

void TestSettingsSchema::userPicturesAndMessages()
{
    TempStore store;
    const QString pics = store.dir() + QStringLiteral("/写真");
    QVERIFY(QDir().mkpath(pics));
    const QString good = pics + QStringLiteral("/flag one.png");
    QVERIFY(sample(4, 3).save(good));
    const QString goneA = pics + QStringLiteral("/消えた.bmp");
    const QString goneB = pics + QStringLiteral("/gone.jpg");
    const QString broken = pics + QStringLiteral("/broken.bmp");
    writeBytes(broken, "BM this is not really a bitmap");
    const QString folder = pics + QStringLiteral("/folder.gif");
    QVERIFY(QDir().mkpath(folder));

    QSettings s(store.file(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("UserImg"));
    s.setValue(QStringLiteral("UserImgCount"), QStringLiteral("7"));
    s.setValue(QStringLiteral("001FileName"), goneA);
    s.setValue(QStringLiteral("001Size"), QStringLiteral("st0300-0200"));
    s.setValue(QStringLiteral("002FileName"), QString());
    s.setValue(QStringLiteral("002Size"), QStringLiteral("nn0100-0100")); // free slot: no message
    s.setValue(QStringLiteral("003FileName"), good);
    s.setValue(QStringLiteral("003Size"), QStringLiteral("st0060-0045"));
    s.setValue(QStringLiteral("004FileName"), goneB);
    s.setValue(QStringLiteral("005FileName"), broken);
    s.setValue(QStringLiteral("005Size"), QStringLiteral("st0010-0010"));
    s.setValue(QStringLiteral("006FileName"), folder);
    // 007 has no keys at all
    s.endGroup();
    s.sync();
    store.restart();

    RecordingMessenger messenger;
    QList<Added> added;
    loadStoredPictures([&added](int slot, const QImage &img, const QString &tag) {
        added << Added{slot, tag, img.size()};
    }, messenger.report());

    QCOMPARE(added.size(), 1);
    QCOMPARE(added[0].slot, 3);
    QCOMPARE(added[0].tag, QStringLiteral("st0060-0045"));
    QCOMPARE(added[0].size, QSize(4, 3));
    // One message for the four, grouped by what went wrong, in slot order.
    QCOMPARE(messenger.texts, QStringList{QStringLiteral("次の画像ファイルが見つかりません（2 個）\r\n") + goneA
                                          + QStringLiteral("\r\n") + goneB
                                          + QStringLiteral("\r\n\r\n次の画像ファイルを読み込めません（2 個）\r\n") + broken
                                          + QStringLiteral("\r\n") + folder
                                          + QStringLiteral("\r\n「時計の設定」、「編集」により、再び設定してください")});
    // Byte for byte: full-width space, CR LF.
    QCOMPARE(missingText(QStringLiteral("a")).toUtf8(),
             QByteArray("a\xE3\x80\x80\xE3\x81\xAE\xE7\x94\xBB\xE5\x83\x8F\xE3\x83\x95\xE3\x82\xA1"
                        "\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\x8C\xE8\xA6\x8B\xE3\x81\xA4\xE3\x81\x8B"
                        "\xE3\x82\x8A\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93\r\n"
                        "\xE3\x80\x8C\xE6\x99\x82\xE8\xA8\x88\xE3\x81\xAE\xE8\xA8\xAD\xE5\xAE\x9A"
                        "\xE3\x80\x8D\xE3\x80\x81\xE3\x80\x8C\xE7\xB7\xA8\xE9\x9B\x86\xE3\x80\x8D"
                        "\xE3\x81\xAB\xE3\x82\x88\xE3\x82\x8A\xE3\x80\x81\xE5\x86\x8D\xE3\x81\xB3"
                        "\xE8\xA8\xAD\xE5\xAE\x9A\xE3\x81\x97\xE3\x81\xA6\xE3\x81\x8F\xE3\x81\xA0"
                        "\xE3\x81\x95\xE3\x81\x84"));

    // Slots with problems stay as they were so the user can set them again.
    QCOMPARE(store.onDisk(QStringLiteral("UserImg/001FileName")).toString(), goneA);
    QCOMPARE(store.onDisk(QStringLiteral("UserImg/001Size")).toString(), QStringLiteral("st0300-0200"));
    QCOMPARE(store.onDisk(QStringLiteral("UserImg/005FileName")).toString(), broken);
    QCOMPARE(store.onDisk(QStringLiteral("UserImg/UserImgCount")).toString(), QStringLiteral("7"));
    QVERIFY(store.keysOnDisk().contains(QStringLiteral("UserImg/007FileName")));
}

void TestSettingsSchema::userPictureCountIsBounded_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("slotsRead");
    QTest::newRow("far too many") << "40000" << 999;
    QTest::newRow("beyond any integer") << "1e300" << 999;
    QTest::newRow("exactly the limit") << "999" << 999;
    QTest::newRow("negative") << "-5" << 0;
    QTest::newRow("not a number") << "many" << 0;
    QTest::newRow("fraction to even") << "2.5" << 2;
}

void TestSettingsSchema::userPictureCountIsBounded()
{
    QFETCH(QString, count);
    QFETCH(int, slotsRead);
    TempStore store;
    store.writeRaw("[UserImg]\nUserImgCount=" + count.toUtf8() + "\n");
    RecordingMessenger messenger;
    int loads = 0;
    loadStoredPictures(nullptr, messenger.report(), [&loads](const QString &, const QString &) {
        ++loads;
        return PictureFile{};
    });
    QCOMPARE(loads, 0); // every slot is free
    QVERIFY(messenger.texts.isEmpty());
    const QStringList slotKeys = store.keysOnDisk().filter(QStringLiteral("FileName"));
    QCOMPARE(slotKeys.size(), slotsRead);
    if (slotsRead > 0)
        QVERIFY(slotKeys.contains(QStringLiteral("UserImg/") + slotNumber(slotsRead) + QStringLiteral("FileName")));
    QCOMPARE(readUserPictureCount(), slotsRead);
}

void TestSettingsSchema::missingPicturesInOneMessage_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("gone"); // or there but not a picture
    QTest::addColumn<QString>("message");
    const QString advice = QStringLiteral("\r\n「時計の設定」、「編集」により、再び設定してください");
    const QString five = QStringLiteral("\r\n/usb/1.jpg\r\n/usb/2.jpg\r\n/usb/3.jpg\r\n/usb/4.jpg\r\n/usb/5.jpg");
    QTest::newRow("one: the message it always had") << 1 << true << missingText(QStringLiteral("/usb/1.jpg"));
    QTest::newRow("one not a picture") << 1 << false << unreadableText(QStringLiteral("/usb/1.jpg"));
    QTest::newRow("five: all named") << 5 << true << QStringLiteral("次の画像ファイルが見つかりません（5 個）") + five + advice;
    QTest::newRow("six: one more") << 6 << true << QStringLiteral("次の画像ファイルが見つかりません（6 個）") + five
            + QStringLiteral("\r\nほか 1 個") + advice;
    QTest::newRow("a stick of 999 unplugged") << 999 << true << QStringLiteral("次の画像ファイルが見つかりません（999 個）")
            + five + QStringLiteral("\r\nほか 994 個") + advice;
}

void TestSettingsSchema::missingPicturesInOneMessage()
{
    QFETCH(int, count);
    QFETCH(bool, gone);
    QFETCH(QString, message);
    TempStore store;
    QByteArray ini = "[UserImg]\nUserImgCount=" + QByteArray::number(count) + "\n";
    for (int slot = 1; slot <= count; ++slot)
        ini += slotNumber(slot).toLatin1() + "FileName=/usb/" + QByteArray::number(slot) + ".jpg\n";
    store.writeRaw(ini);
    RecordingMessenger messenger;
    const PictureFile::Status status = gone ? PictureFile::Status::Missing : PictureFile::Status::Unreadable;
    loadStoredPictures(nullptr, messenger.report(),
                       [status](const QString &, const QString &) { return PictureFile{status, {}}; });
    QCOMPARE(messenger.texts, QStringList{message});
}

void TestSettingsSchema::pictureFormats_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format"); // written with QImage::save; "gif" raw; "" special
    QTest::addColumn<int>("status");
    QTest::newRow("bmp") << "a.bmp" << QByteArray("BMP") << int(PictureFile::Status::Loaded);
    QTest::newRow("jpeg") << "a.jpg" << QByteArray("JPEG") << int(PictureFile::Status::Loaded);
    QTest::newRow("png") << "a.png" << QByteArray("PNG") << int(PictureFile::Status::Loaded);
    QTest::newRow("ico") << "a.ico" << QByteArray("ICO") << int(PictureFile::Status::Loaded);
    QTest::newRow("gif") << "a.gif" << QByteArray("gif") << int(PictureFile::Status::Loaded);
    QTest::newRow("png named jpg") << "b.jpg" << QByteArray("PNG") << int(PictureFile::Status::Loaded);
    QTest::newRow("garbage") << "c.bmp" << QByteArray("garbage") << int(PictureFile::Status::Unreadable);
    QTest::newRow("empty file") << "d.png" << QByteArray("empty") << int(PictureFile::Status::Unreadable);
    QTest::newRow("cut-off jpeg") << "h.jpg" << QByteArray("cut") << int(PictureFile::Status::Unreadable);
    QTest::newRow("missing") << "e.png" << QByteArray() << int(PictureFile::Status::Missing);
    QTest::newRow("empty name") << "" << QByteArray() << int(PictureFile::Status::Missing);
    QTest::newRow("folder") << "f.png" << QByteArray("folder") << int(PictureFile::Status::Unreadable);
#ifdef Q_OS_UNIX
    // Neither may hang: a pipe nobody writes to, a device that never ends.
    QTest::newRow("pipe") << "g.png" << QByteArray("fifo") << int(PictureFile::Status::Unreadable);
    QTest::newRow("endless device") << "/dev/zero" << QByteArray() << int(PictureFile::Status::Unreadable);
#endif
}

void TestSettingsSchema::pictureFormats()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(int, status);
    QTemporaryDir dir;
    const QString path = name.isEmpty() || name.startsWith(QLatin1Char('/')) ? name : dir.filePath(name);
    if (format == "gif")
        writeBytes(path, kGif1x1);
    else if (format == "garbage")
        writeBytes(path, QByteArray(2000, '\x7f'));
    else if (format == "empty")
        writeBytes(path, QByteArray());
    else if (format == "cut") {
        QVERIFY(sample(300, 200).save(path, "JPEG"));
        QVERIFY(QFile::resize(path, QFileInfo(path).size() / 2));
    }
    else if (format == "folder")
        QVERIFY(QDir().mkpath(path));
#ifdef Q_OS_UNIX
    else if (format == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    else if (!format.isEmpty())
        QVERIFY(sample(3, 2).save(path, format.constData()));

    const PictureFile p = loadPictureFile(path);
    QCOMPARE(int(p.status), status);
    QCOMPARE(p.image.isNull(), status != int(PictureFile::Status::Loaded));
}

void TestSettingsSchema::worldMapChoice_data()
{
    QTest::addColumn<QString>("worldMap");
    QTest::addColumn<QString>("mapFile"); // "good", "missing", "broken", "" (key absent)
    QTest::addColumn<int>("builtIn");
    QTest::addColumn<bool>("fileShown");
    QTest::newRow("empty") << "" << "good" << 0 << false;
    QTest::newRow("first map is the default") << "1" << "good" << 0 << false;
    QTest::newRow("second map") << "2" << "good" << 2 << false;
    QTest::newRow("seventh map") << "7" << "" << 7 << false;
    QTest::newRow("leading number") << " 3rd" << "" << 3 << false;
    QTest::newRow("half to even down") << "6.5" << "" << 6 << false;
    QTest::newRow("half to even up to file") << "7.5" << "good" << 0 << true;
    QTest::newRow("own file") << "8" << "good" << 0 << true;
    QTest::newRow("own file missing") << "8" << "missing" << 0 << false;
    QTest::newRow("own file broken") << "8" << "broken" << 0 << false;
    QTest::newRow("own file not named") << "8" << "" << 0 << false;
    QTest::newRow("beyond the menu") << "9" << "good" << 0 << false;
    QTest::newRow("negative") << "-2" << "good" << 0 << false;
    QTest::newRow("text") << "world" << "good" << 0 << false;
}

void TestSettingsSchema::worldMapChoice()
{
    QFETCH(QString, worldMap);
    QFETCH(QString, mapFile);
    QFETCH(int, builtIn);
    QFETCH(bool, fileShown);
    // A map file chosen but not usable is named in a message.
    const bool reported = worldMap == "8" && (mapFile == "missing" || mapFile == "broken");

    TempStore store;
    QString path;
    if (mapFile == QLatin1String("good")) {
        path = store.dir() + QStringLiteral("/map.jpg");
        QVERIFY(sample(20, 10).save(path, "JPEG"));
    } else if (mapFile == QLatin1String("missing")) {
        path = store.dir() + QStringLiteral("/nowhere/map.jpg");
    } else if (mapFile == QLatin1String("broken")) {
        path = store.dir() + QStringLiteral("/map.bmp");
        writeBytes(path, "no picture here");
    }
    QByteArray ini = "[UserImg]\nWorldMap=" + worldMap.toUtf8() + "\n";
    if (!path.isEmpty())
        ini += "WorldMapFile=" + path.toUtf8() + "\n";
    store.writeRaw(ini);

    RecordingMessenger messenger;
    const MapChoice map = loadStoredPictures(nullptr, messenger.report());
    QCOMPARE(map.builtInIndex, builtIn);
    QCOMPARE(!map.fileImage.isNull(), fileShown);
    if (fileShown)
        QCOMPARE(map.fileImage.size(), QSize(20, 10));
    QCOMPARE(messenger.texts.size(), reported ? 1 : 0);
    if (reported)
        QVERIFY(messenger.texts[0].startsWith(path + "\r\n"));
}

void TestSettingsSchema::damagedSettingsFileSetAside_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("setAside");
    QTest::newRow("binary garbage") << (QByteArray("\x01\x02\xff\xfe") + '\0' + "[[[]]]\n==\n") << true;
    QTest::newRow("unterminated section") << QByteArray("[UserClock\nClockRc=300\n") << false;
    QTest::newRow("line without equals") << QByteArray("[UserClock]\nClockRc 300\n") << true;
    QTest::newRow("settings file is a folder") << QByteArray("<folder>") << true;
    QTest::newRow("none of the program's sections") << QByteArray("[Desktop Entry]\nName=x\n") << true;
    // Readable, but QSettings would write these keys back in a form it rejects.
    QTest::newRow("key ending in a slash") << QByteArray("[UserImg]\n001FileName/=a.bmp\n") << true;
    QTest::newRow("key ending in an escaped slash") << QByteArray("[UC000]\nFname%2F=x\n") << true;
    // Damage QSettings reads through: the values are simply texts.
    QTest::newRow("invalid utf-8") << QByteArray("[UserClock]\nClockRc=\xff\xfe\n") << false;
    QTest::newRow("nul byte") << (QByteArray("[UserClock]\nClockRc=3") + '\0' + "00\n") << false;
    QTest::newRow("empty file") << QByteArray() << false;
}

void TestSettingsSchema::damagedSettingsFileSetAside()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, setAside);
    TempStore store;
    if (content == "<folder>") {
        QVERIFY(QDir().mkpath(store.file()));
        store.restart();
    } else {
        store.writeRaw(content);
    }

    RecordingMessenger messenger;
    const FixedClock clock;
    openSettings(messenger.report(), clock);
    const DisplaySettings d = loadDisplaySettings();
    loadStoredPictures(nullptr, messenger.report());
    readLastClockIndex();

    const QStringList bad = QDir(store.dir()).entryList({QStringLiteral("TembraOG.ini.bad*")},
                                                        QDir::AllEntries | QDir::NoDotAndDotDot);
    if (!setAside) {
        QVERIFY(messenger.texts.isEmpty());
        QVERIFY(bad.isEmpty());
        QVERIFY(d.clockRadius >= 0);
        return;
    }
    QCOMPARE(bad, QStringList{QStringLiteral("TembraOG.ini.bad-20261208-090500")}); // the clock's time
    const QString kept = QDir(store.dir()).filePath(bad.first());
    QCOMPARE(messenger.texts.size(), 1);
    QCOMPARE(messenger.texts.first(),
             QStringLiteral("設定ファイルを読み込めませんでした。初期設定で起動します。\r\n"
                            "元のファイルは次の名前で残してあります：\r\n")
                 + kept);
    if (content != "<folder>") {
        QFile f(kept);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content); // the user's file, untouched
    }
    // The run goes on from the defaults, in a new file.
    QCOMPARE(d.clockRadius, qint16(440));
    QCOMPARE(d.colours.fills, FaceColours::defaultFills());
    QVERIFY(QFileInfo(store.file()).isFile());
    QCOMPARE(store.onDisk(QStringLiteral("UserClock/ClockRc")).toString(), QStringLiteral("440"));
    QCOMPARE(QSettings::Status(appSettings().readStatus()), QSettings::NoError);
}

void TestSettingsSchema::stretchedUserPictureDecodedForItsSize_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QSize>("loaded");
    // Shown 1200 × 900 twips (80 × 60 px): decoded at no more than four times that.
    QTest::newRow("stretched") << "st1200-0900" << QSize(320, 240);
    // Shown at its own size: every pixel is needed.
    QTest::newRow("own size") << "nn1200-0900" << QSize(2000, 1500);
}

void TestSettingsSchema::stretchedUserPictureDecodedForItsSize()
{
    QFETCH(QString, tag);
    QFETCH(QSize, loaded);
    TempStore store;
    const QString photo = store.dir() + QStringLiteral("/photo.jpg");
    QImage big(2000, 1500, QImage::Format_RGB32);
    big.fill(Qt::darkGreen);
    QVERIFY(big.save(photo, "JPEG"));
    store.writeRaw("[UserImg]\nUserImgCount=1\n001FileName=" + photo.toUtf8() + "\n001Size=" + tag.toUtf8() + "\n");
    RecordingMessenger messenger;
    QSize got;
    loadStoredPictures([&got](int, const QImage &p, const QString &) { got = p.size(); }, messenger.report());
    QVERIFY(messenger.texts.isEmpty());
    QCOMPARE(got, loaded);
}

TEMBRA_SETTINGS_TEST_MAIN(TestSettingsSchema)
#include "tst_settingsschema.moc"
