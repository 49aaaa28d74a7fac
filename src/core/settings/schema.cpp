#include "core/settings/schema.h"

#include "core/settings/settingsstore.h"
#include "core/common/valuetext.h"
#include "core/time/clocksource.h"

#include <QFileInfo>
#include <cmath>
#include <limits>

namespace tb {

namespace {

const QString kApp = QStringLiteral("TembraOG");

// The face colour of hour h (0, 2, … 22) in the table.
const SettingKey &faceColourKey(int h)
{
    return keys::kFaceColours[size_t(h / 2)];
}

} // namespace

QString clockSection(int i)
{
    return QStringLiteral("UC") + slotNumber(i);
}

QString slotNumber(int slot)
{
    return QStringLiteral("%1").arg(slot, 3, 10, QLatin1Char('0'));
}

namespace {

// [Color], [UserClock], [UserImg] and the clocks' [UC000] … [UC020].
bool isOwnSection(const QString &section)
{
    if (section == QLatin1String("Color") || section == QLatin1String("UserClock")
        || section == QLatin1String("UserImg"))
        return true;
    bool number = false;
    const int i = section.mid(2).toInt(&number);
    return number && i >= 0 && i < kMaxClocks && section == clockSection(i);
}

} // namespace

void openSettings(const Report &report, const ClockSource &clock)
{
    SettingsStore &store = appSettings();
    store.setApplicationName(kApp);
    store.setOwnSections(isOwnSection);
    const ReadProblem problem = store.readProblem();
    if (problem == ReadProblem::None)
        return;
    const QString file = store.settingsFilePath();
    QString text = QStringLiteral("設定ファイルを読み込めませんでした。初期設定で起動します。\r\n");
    if (problem == ReadProblem::Unreadable) {
        // Left as it is: the file may be whole, and only this user may not read it.
        text += file + QStringLiteral("\r\n") + fileErrorText(store.readError(), false)
            + QStringLiteral("\r\nファイルはそのままにしてあります。読み込めるようにして起動し直すまで、設定は保存されません。");
    } else if (problem == ReadProblem::BrokenLink) {
        // The link is the user's (a dotfiles folder, a drive not mounted): it stays.
        text = QStringLiteral("設定ファイルのリンクをたどれません。初期設定で起動します。\r\n") + file
            + QStringLiteral(" → ") + QFileInfo(file).symLinkTarget() + QStringLiteral("\r\n")
            + brokenLinkText(store.readError())
            + QStringLiteral("\r\nリンクはそのままにしてあります。直して起動し直すまで、設定は保存されません。");
    } else if (const QString kept = store.setAsideFile(clock.now()); !kept.isEmpty()) {
        text += QStringLiteral("元のファイルは次の名前で残してあります：\r\n") + kept;
    } else {
        text += file;
    }
    if (report)
        report(text);
}

QString settingsFileLocation()
{
    appSettings().setApplicationName(kApp);
    return appSettings().settingsFilePath();
}

DisplaySettings loadDisplaySettings()
{
    appSettings().setApplicationName(kApp);
    SettingsWriteGroup group; // first start writes every default; one file write for all
    DisplaySettings display;
    for (int h = 0; h <= 22; h += 2)
        display.colours.fills[size_t(h)] = Colour(readSettingNumber(faceColourKey(h)));
    display.clockRadius = qint16(readSettingNumber(keys::kClockRadius));
    display.colours.handColour = Colour(readSettingNumber(keys::kHandColour));
    display.colours.scaleColour = Colour(readSettingNumber(keys::kScaleColour));
    return display;
}

SummerRule readSummerRule()
{
    return summerRuleFromText(peekSetting(keys::kSummerRule));
}

void writeSummerRule(SummerRule rule)
{
    writeSetting(keys::kSummerRule, summerRuleText(rule));
}

int readUserPictureCount()
{
    return int(readSettingNumber(keys::kUserPictureCount));
}

int readWorldMapChoice()
{
    return int(readSettingNumber(keys::kWorldMap));
}

bool readDayNight()
{
    const SettingKey &row = keys::kDayNight;
    return appSettings().value(QString::fromLatin1(row.section), QString::fromLatin1(row.key)) == boolText(true);
}

void writeDayNight(bool on)
{
    writeSetting(keys::kDayNight, boolText(on));
}

PictureSettings readPictureSettings()
{
    SettingsWriteGroup group;
    PictureSettings stored;
    const int count = readUserPictureCount();
    for (int slot = 1; slot <= count; ++slot) {
        const SettingPlace place{ QString(), slotNumber(slot) };
        const QString name = readSetting(keys::kUserPictureFile, place);
        const QString size = readSetting(keys::kUserPictureSize, place);
        if (!name.isEmpty())
            stored.userPictures.push_back(StoredUserPicture{ slot, name, size });
    }
    stored.worldMap = readWorldMapChoice();
    if (stored.worldMap == 8)
        stored.worldMapFile = readSetting(keys::kWorldMapFile);
    return stored;
}

std::optional<int> readLastClockIndex()
{
    const QString t = readSetting(keys::kLastClock);
    if (t.isEmpty())
        return std::nullopt;
    return int(settingNumber(keys::kLastClock, t));
}

void readClock(int i, ClockEntry &entry)
{
    if (i < 0 || i >= kMaxClocks)
        return;
    SettingsWriteGroup group; // missing keys are written back empty
    const SettingPlace place{ clockSection(i), QString() };
    entry.faceLeft = float(readSettingNumber(keys::kClockLeft, place));
    entry.faceTop = float(readSettingNumber(keys::kClockTop, place));
    entry.minuteOffset = qint16(readSettingNumber(keys::kDifMinute, place));
    entry.hourOffset = qint16(readSettingNumber(keys::kDifTime, place));
    entry.pictureLeft = float(readSettingNumber(keys::kFlagLeft, place));
    entry.pictureTop = float(readSettingNumber(keys::kFlagTop, place));
    entry.pictureKey = readSetting(keys::kPictureKey, place);
    entry.summerTime = readSettingNumber(keys::kSummerTime, place) != 0;
    entry.zone = peekSetting(keys::kZone, place);
}

void writeClock(int i, const ClockEntry &entry)
{
    if (i < 0 || i >= kMaxClocks)
        return;
    SettingsWriteGroup group;
    const SettingPlace place{ clockSection(i), QString() };
    writeSettingNumber(keys::kClockLeft, entry.faceLeft, place);
    writeSettingNumber(keys::kClockTop, entry.faceTop, place);
    writeSettingNumber(keys::kDifMinute, entry.minuteOffset, place);
    writeSettingNumber(keys::kDifTime, entry.hourOffset, place);
    writeSettingNumber(keys::kFlagLeft, entry.pictureLeft, place);
    writeSettingNumber(keys::kFlagTop, entry.pictureTop, place);
    writeSetting(keys::kPictureKey, entry.pictureKey, place);
    writeSettingNumber(keys::kSummerTime, entry.summerTime, place);
    // A clock without a zone has no key, also where a deleted clock's stood.
    if (entry.zone.isEmpty())
        removeSetting(keys::kZone, place);
    else
        writeSetting(keys::kZone, entry.zone, place);
}

bool saveAddedClock(int i, const ClockEntry &entry)
{
    if (i < 0 || i >= kMaxClocks)
        return false;
    SettingsWriteGroup group;
    writeSettingNumber(keys::kLastClock, i);
    writeClock(i, entry);
    return group.end();
}

void saveFaceColours(const FaceColours &colours)
{
    SettingsWriteGroup group;
    for (int h = 0; h <= 22; h += 2)
        writeSettingNumber(faceColourKey(h), colours.fills[size_t(h)]);
}

bool saveRegisteredColours(const FaceColours &colours)
{
    SettingsWriteGroup group;
    for (int j = 0; j < 12; ++j) {
        const int h = (2 * j + 6) % 24;
        writeSettingNumber(faceColourKey(h), colours.fills[size_t(h)]);
    }
    return group.end();
}

bool saveAllSettings(const ClockEntries &entries, int lastIndex, const DisplaySettings &display,
                     QString *errorFile)
{
    SettingsWriteGroup group;
    const int last = qBound(0, lastIndex, kMaxClocks - 1);
    for (int i = 0; i <= last; ++i)
        writeClock(i, entries[size_t(i)]);
    writeSettingNumber(keys::kClockRadius, display.clockRadius);
    writeSettingNumber(keys::kLastClock, last);
    writeSettingNumber(keys::kScaleColour, display.colours.scaleColour);
    writeSettingNumber(keys::kHandColour, display.colours.handColour);
    saveFaceColours(display.colours);
    const bool ok = group.end();
    if (!ok && errorFile)
        *errorFile = appSettings().settingsFilePath();
    return ok;
}

} // namespace tb
