#include "core/settings/schema.h"

#include "core/layout/mapfile.h"
#include "core/common/sizetag.h"
#include "core/common/twips.h"
#include "core/settings/registry.h"
#include "core/common/valuetext.h"
#include "core/time/clocksource.h"

#include <cmath>
#include <limits>

namespace tb {

namespace {

const QString kApp = QStringLiteral("TembraOG");
const QString kColor = QStringLiteral("Color");
const QString kUserClock = QStringLiteral("UserClock");
const QString kUserImg = QStringLiteral("UserImg");

// The second line of both picture messages: where the user can set it again.
QString pictureAdvice()
{
    return QStringLiteral("\r\n「時計の設定」、「編集」により、再び設定してください");
}

// Colours are 0x00BBGGRR; anything outside is limited to black … white.
Colour colourValue(const QString &text)
{
    return Colour(roundedClamp(numericValue(text).value_or(0.0), 0, 0xFFFFFF));
}

float positionValue(const QString &text)
{
    const double v = numericValue(text).value_or(0.0);
    if (std::isnan(v))
        return 0.0f;
    return float(qBound(-double(kPositionLimit), v, double(kPositionLimit)));
}

qint16 limitedInt(const QString &text, int limit)
{
    return qint16(roundedClamp(numericValue(text).value_or(0.0), -limit, limit));
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

PictureFile loadPictureFile(const QString &path)
{
    return loadPictureFile(path, QString());
}

PictureFile loadPictureFile(const QString &path, const QString &sizeTag)
{
    const std::optional<QSize> shown = stretchedSize(sizeTag);
    const PictureRead read = readPicture(path, [&shown](const QSize &own) {
        if (!shown)
            return own;
        const QSize limit(std::max(1, shown->width() * kUserPictureHeadroom / kTwipsPerPixel),
                          std::max(1, shown->height() * kUserPictureHeadroom / kTwipsPerPixel));
        return own.width() > limit.width() || own.height() > limit.height()
                   ? own.scaled(limit, Qt::KeepAspectRatio)
                   : own;
    });
    PictureFile result;
    if (read.problem == PictureProblem::Missing)
        return result;
    result.status = PictureFile::Status::Unreadable;
    if (read.problem != PictureProblem::None)
        return result;
    result.status = PictureFile::Status::Loaded;
    result.image = read.image;
    return result;
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
    for (int h = 0; h <= 22; h += 2) {
        const QString def = intText(FaceColours::defaultFaceColour(h));
        display.colours.FaceColors[size_t(h)] = colourValue(getRegValue(kColor, intText(h), def));
    }
    display.BandRadius = 440;
    display.ClockRadius = qint16(
        roundedClamp(leadingNumber(getRegValue(kUserClock, QStringLiteral("ClockRc"), QStringLiteral("440"))),
                     0, std::numeric_limits<qint16>::max()));
    display.colours.NeadleColor =
        colourValue(getRegValue(kUserClock, QStringLiteral("NeadleColor"), QStringLiteral("0")));
    display.colours.GageColor =
        colourValue(getRegValue(kUserClock, QStringLiteral("GageColor"), QStringLiteral("255")));
}

int readUserImgCount()
{
    const QString t = getRegValue(kUserImg, QStringLiteral("UserImgCount"), QStringLiteral("0"));
    return int(roundedClamp(numericValue(t).value_or(0.0), 0, kMaxUserSlot));
}

int readWorldMap()
{
    const QString t = getRegValue(kUserImg, QStringLiteral("WorldMap"), QString());
    return int(roundedClamp(leadingNumber(t), std::numeric_limits<int>::min(),
                            std::numeric_limits<int>::max()));
}

MapChoice setsetreg(const AddUserPicture &addUserPicture, const Report &report,
                    const PictureLoader &load)
{
    RegWriteGroup group;
    const int count = readUserImgCount();
    for (int slot = 1; slot <= count; ++slot) {
        const QString name = getRegValue(kUserImg, slotNumber(slot) + QStringLiteral("FileName"), QString());
        const QString size = getRegValue(kUserImg, slotNumber(slot) + QStringLiteral("Size"), QString());
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
    if (m >= 2 && m <= 7) {
        map.builtInIndex = m;
    } else if (m == 8) {
        // A map file that is gone or broken leaves the default map, and the
        // user is told which file it was (none when the chooser was cancelled).
        // Decoded for the map's size, not whole: a photograph of 100 megapixels
        // would cost seconds and hundreds of megabytes.
        const QString file = getRegValue(kUserImg, QStringLiteral("WorldMapFile"), QString());
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
    const QString t = getRegValue(kUserClock, QStringLiteral("n"), QString());
    if (t.isEmpty())
        return std::nullopt;
    return int(roundedClamp(leadingNumber(t), 0, kMaxClocks - 1));
}

void getRegData(int i, ClockEntry &entry)
{
    if (i < 0 || i >= kMaxClocks)
        return;
    RegWriteGroup group; // missing keys are written back empty
    const QString section = clockSection(i);
    auto read = [&section](const char *key) {
        return getRegValue(section, QString::fromLatin1(key), QString());
    };
    entry.ClockLeft = positionValue(read("ClockLeft"));
    entry.ClockTop = positionValue(read("ClockTop"));
    entry.DifMinute = limitedInt(read("DifMinute"), kDifMinuteLimit);
    entry.DifTime = limitedInt(read("DifTime"), kDifTimeLimit);
    entry.FlagLeft = positionValue(read("FlagLeft"));
    entry.FlagTop = positionValue(read("FlagTop"));
    entry.Fname = read("Fname");
    entry.summertime = boolValue(read("summertime"));
}

void setRegData(int i, const ClockEntry &entry)
{
    if (i < 0 || i >= kMaxClocks)
        return;
    RegWriteGroup group;
    AppRegistry().setSection(clockSection(i));
    saveRegValue(QStringLiteral("ClockLeft"), singleText(entry.ClockLeft));
    saveRegValue(QStringLiteral("ClockTop"), singleText(entry.ClockTop));
    saveRegValue(QStringLiteral("DifMinute"), intText(entry.DifMinute));
    saveRegValue(QStringLiteral("DifTime"), intText(entry.DifTime));
    saveRegValue(QStringLiteral("FlagLeft"), singleText(entry.FlagLeft));
    saveRegValue(QStringLiteral("FlagTop"), singleText(entry.FlagTop));
    saveRegValue(QStringLiteral("Fname"), entry.Fname);
    saveRegValue(QStringLiteral("summertime"), boolText(entry.summertime));
}

bool saveAddedClock(int i, const ClockEntry &entry)
{
    if (i < 0 || i >= kMaxClocks)
        return false;
    RegWriteGroup group;
    AppRegistry().setSection(kUserClock);
    saveRegValue(QStringLiteral("n"), intText(i));
    setRegData(i, entry);
    return group.end();
}

void saveFaceColours(const FaceColours &colours)
{
    RegWriteGroup group;
    AppRegistry().setSection(kColor);
    for (int h = 0; h <= 22; h += 2)
        saveRegValue(intText(h), intText(colours.FaceColors[size_t(h)]));
}

bool saveRegisteredColours(const FaceColours &colours)
{
    RegWriteGroup group;
    AppRegistry().setSection(kColor);
    for (int j = 0; j < 12; ++j) {
        const int h = (2 * j + 6) % 24;
        saveRegValue(intText(h), intText(colours.FaceColors[size_t(h)]));
    }
    return group.end();
}

bool exitSave(const ClockEntries &entries, int countryCount, const DisplaySettings &display,
              QString *errorFile)
{
    RegWriteGroup group;
    const int last = qBound(0, countryCount, kMaxClocks - 1);
    for (int i = 0; i <= last; ++i)
        setRegData(i, entries[size_t(i)]);
    AppRegistry().setSection(kUserClock);
    saveRegValue(QStringLiteral("ClockRc"), intText(display.ClockRadius));
    saveRegValue(QStringLiteral("n"), intText(last));
    saveRegValue(QStringLiteral("GageColor"), intText(display.colours.GageColor));
    saveRegValue(QStringLiteral("NeadleColor"), intText(display.colours.NeadleColor));
    saveFaceColours(display.colours);
    const bool ok = group.end();
    if (!ok && errorFile)
        *errorFile = AppRegistry().settingsFilePath();
    return ok;
}

} // namespace tb
