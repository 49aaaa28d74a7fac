#include "core/settings/schema.h"

#include "core/layout/mapfile.h"
#include "core/settings/registry.h"
#include "core/common/valuetext.h"
#include "core/time/clocksource.h"

#include <cmath>
#include <limits>

namespace tb {

namespace {

const QString kApp = QStringLiteral("TembraOG");

// The second line of both picture messages: where the user can set it again.
QString pictureAdvice()
{
    return QStringLiteral("\r\n「時計の設定」、「編集」により、再び設定してください");
}

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

void openSettings(const Report &report, const ClockSource &clock)
{
    Registry &reg = AppRegistry();
    reg.setAppname(kApp);
    if (reg.readStatus() == QSettings::NoError)
        return;
    const QString file = reg.settingsFilePath();
    const QString kept = reg.setAsideFile(clock.now());
    QString text = QStringLiteral("設定ファイルを読み込めませんでした。初期設定で起動します。\r\n");
    if (!kept.isEmpty())
        text += QStringLiteral("元のファイルは次の名前で残してあります：\r\n") + kept;
    else
        text += file;
    if (report)
        report(text);
}

void iniset(DisplaySettings &display)
{
    AppRegistry().setAppname(kApp);
    RegWriteGroup group; // first start writes every default; one file write for all
    for (int h = 0; h <= 22; h += 2)
        display.colours.FaceColors[size_t(h)] = Colour(readSettingNumber(faceColourKey(h)));
    display.BandRadius = 440;
    display.ClockRadius = qint16(readSettingNumber(keys::kClockRadius));
    display.colours.NeadleColor = Colour(readSettingNumber(keys::kHandColour));
    display.colours.GageColor = Colour(readSettingNumber(keys::kScaleColour));
}

int readUserImgCount()
{
    return int(readSettingNumber(keys::kUserPictureCount));
}

int readWorldMap()
{
    return int(readSettingNumber(keys::kWorldMap));
}

MapChoice setsetreg(const AddUserPicture &addUserPicture, const Report &report,
                    const PictureLoader &load)
{
    RegWriteGroup group;
    const int count = readUserImgCount();
    for (int slot = 1; slot <= count; ++slot) {
        const SettingPlace place{ QString(), slotNumber(slot) };
        const QString name = readSetting(keys::kUserPictureFile, place);
        const QString size = readSetting(keys::kUserPictureSize, place);
        if (name.isEmpty())
            continue;
        const PictureFile picture = load(name, size);
        switch (picture.status) {
        case PictureFile::Status::Loaded:
            if (addUserPicture)
                addUserPicture(slot, picture.image, size);
            break;
        case PictureFile::Status::Missing:
            if (report)
                report(name + QStringLiteral("\u3000の画像ファイルが見つかりません") + pictureAdvice());
            break;
        case PictureFile::Status::Unreadable:
            if (report)
                report(name + QStringLiteral("\u3000の画像ファイルを読み込めません") + pictureAdvice());
            break;
        }
    }

    MapChoice map;
    const int m = readWorldMap();
    map.worldMap = m;
    if (m >= 2 && m <= 7) {
        map.builtInIndex = m;
    } else if (m == 8) {
        // A map file that is gone or broken leaves the default map, and the
        // user is told which file it was (none when the chooser was cancelled).
        // Decoded for the map's size, not whole: a photograph of 100 megapixels
        // would cost seconds and hundreds of megabytes.
        const QString file = readSetting(keys::kWorldMapFile);
        map.file = file;
        const PictureRead read = loadMapPicture(file, designMapPixels());
        if (read.problem == PictureProblem::None)
            map.fileImage = read.image;
        else if (!file.isEmpty() && report)
            report(mapNotLoadedMessage(file, read.problem));
    }
    return map;
}

std::optional<int> readClockCount()
{
    const QString t = readSetting(keys::kLastClock);
    if (t.isEmpty())
        return std::nullopt;
    return int(settingNumber(keys::kLastClock, t));
}

void getRegData(int i, ClockEntry &entry)
{
    if (i < 0 || i >= kMaxClocks)
        return;
    RegWriteGroup group; // missing keys are written back empty
    const SettingPlace place{ clockSection(i), QString() };
    entry.ClockLeft = float(readSettingNumber(keys::kClockLeft, place));
    entry.ClockTop = float(readSettingNumber(keys::kClockTop, place));
    entry.DifMinute = qint16(readSettingNumber(keys::kDifMinute, place));
    entry.DifTime = qint16(readSettingNumber(keys::kDifTime, place));
    entry.FlagLeft = float(readSettingNumber(keys::kFlagLeft, place));
    entry.FlagTop = float(readSettingNumber(keys::kFlagTop, place));
    entry.Fname = readSetting(keys::kPictureKey, place);
    entry.summertime = readSettingNumber(keys::kSummerTime, place) != 0;
}

void setRegData(int i, const ClockEntry &entry)
{
    if (i < 0 || i >= kMaxClocks)
        return;
    RegWriteGroup group;
    const SettingPlace place{ clockSection(i), QString() };
    writeSettingNumber(keys::kClockLeft, entry.ClockLeft, place);
    writeSettingNumber(keys::kClockTop, entry.ClockTop, place);
    writeSettingNumber(keys::kDifMinute, entry.DifMinute, place);
    writeSettingNumber(keys::kDifTime, entry.DifTime, place);
    writeSettingNumber(keys::kFlagLeft, entry.FlagLeft, place);
    writeSettingNumber(keys::kFlagTop, entry.FlagTop, place);
    writeSetting(keys::kPictureKey, entry.Fname, place);
    writeSettingNumber(keys::kSummerTime, entry.summertime, place);
}

bool saveAddedClock(int i, const ClockEntry &entry)
{
    if (i < 0 || i >= kMaxClocks)
        return false;
    RegWriteGroup group;
    writeSettingNumber(keys::kLastClock, i);
    setRegData(i, entry);
    return group.end();
}

void saveFaceColours(const FaceColours &colours)
{
    RegWriteGroup group;
    for (int h = 0; h <= 22; h += 2)
        writeSettingNumber(faceColourKey(h), colours.FaceColors[size_t(h)]);
}

bool saveRegisteredColours(const FaceColours &colours)
{
    RegWriteGroup group;
    for (int j = 0; j < 12; ++j) {
        const int h = (2 * j + 6) % 24;
        writeSettingNumber(faceColourKey(h), colours.FaceColors[size_t(h)]);
    }
    return group.end();
}

bool exitSave(const ClockEntries &entries, int lastIndex, const DisplaySettings &display,
              QString *errorFile)
{
    RegWriteGroup group;
    const int last = qBound(0, lastIndex, kMaxClocks - 1);
    for (int i = 0; i <= last; ++i)
        setRegData(i, entries[size_t(i)]);
    writeSettingNumber(keys::kClockRadius, display.ClockRadius);
    writeSettingNumber(keys::kLastClock, last);
    writeSettingNumber(keys::kScaleColour, display.colours.GageColor);
    writeSettingNumber(keys::kHandColour, display.colours.NeadleColor);
    saveFaceColours(display.colours);
    const bool ok = group.end();
    if (!ok && errorFile)
        *errorFile = AppRegistry().settingsFilePath();
    return ok;
}

} // namespace tb
