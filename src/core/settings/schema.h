#pragma once
// Every setting the program keeps: the start-up load, the per-clock sections
// and the save on exit. All go through AppRegistry.
//
// Start-up order for the main window:
//   openSettings(report, clock);        // a damaged file is set aside first
//   iniset(display);
//   (summer period)
//   MapChoice map = setsetreg(addUserPicture, report);
//   if (auto n = readClockCount()) count = *n;
//   else { entries[0] = defaultClockEntry(); setRegData(0, entries[0]); count = 0; }
//   for i in 0 … count: getRegData(i, entries[i]); addClock(i);
// Exit through the menu: exitSave(entries, count, display, &file); on false
// tell the user the file could not be written and keep the window open.
#include "core/common/picturefile.h"
#include "core/face/facecolours.h"
#include "core/settings/settingkeys.h"
#include "core/time/clockentry.h"

#include <QImage>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace tb {

class ClockSource;

// Tells the user something (a modal message in the window, a list in tests).
using Report = std::function<void(const QString &text)>;

struct DisplaySettings {
    FaceColours colours;
    qint16 BandRadius = 440;
    qint16 ClockRadius = 440;
};

// The map the window shows after start-up.
struct MapChoice {
    int builtInIndex = 0; // 2 … 7: that built-in map (counted from 1); 0: the default map
    QImage fileImage;     // set when the user's own map file was chosen and could be loaded
    int worldMap = 0;     // "WorldMap" as read (readWorldMap)
    QString file;         // "WorldMapFile" as read; only read when worldMap is 8
};

// Receives a user picture for slot 1 … 999 (key PictureStore::userKey(slot)).
using AddUserPicture = std::function<void(int slot, const QImage &picture, const QString &sizeTag)>;

// "UC007"; "001" — clock sections and user picture slots are named with three digits.
QString clockSection(int i);
QString slotNumber(int slot);

// Selects the application and checks that its settings file can be read. A
// file QSettings cannot parse or open is renamed to "<file>.bad-<time>" and the
// user told once (through report) where it went; the program then starts from the defaults.
// The clock dates the kept copy.
void openSettings(const Report &report, const ClockSource &clock);

// Face colours, clock size, hand and scale colours; writes the default of
// every missing key.
void iniset(DisplaySettings &display);

// Hands each user picture to addUserPicture and says which map to show. A
// slot whose file is missing or not a picture is reported once through
// report and kept in the store.
MapChoice setsetreg(const AddUserPicture &addUserPicture, const Report &report,
                    const PictureLoader &load = static_cast<PictureFile (*)(const QString &, const QString &)>(loadPictureFile));

// "UserImgCount", limited to 0 … 999.
int readUserImgCount();
// "WorldMap": 1 … 7 a built-in map, 8 the user's file; anything else reads as
// a number outside that range (0 when empty).
int readWorldMap();

// "n": the index of the last placed clock, 0 … 20; nullopt when it was never
// stored (first start).
std::optional<int> readClockCount();

// Clock i (0 … 20) from / to section clockSection(i). FlagWidth and
// FlagHeight are not stored. An index outside 0 … 20 does nothing.
// Reading: a value that is missing or not a number gives 0 / false / empty;
// positions are limited to ±kPositionLimit ("nan", "inf" give 0), DifTime to
// ±kDifTimeLimit and DifMinute to ±kDifMinuteLimit, halves rounded to even.
void getRegData(int i, ClockEntry &entry);
void setRegData(int i, const ClockEntry &entry);
// An added clock is kept at once: "n" = i, then clock i's section. True when
// it reached the disk.
bool saveAddedClock(int i, const ClockEntry &entry);

// The twelve "Color" keys.
void saveFaceColours(const FaceColours &colours);
// The same keys as the colour dialog registers them, from the morning on:
// "6", "8", … "22", "0", "2", "4". True when they reached the disk.
bool saveRegisteredColours(const FaceColours &colours);

// Saves clocks 0 … lastIndex, then size, count and colours. False when the
// settings could not be written; errorFile then gets the file's name.
bool exitSave(const ClockEntries &entries, int lastIndex, const DisplaySettings &display,
              QString *errorFile = nullptr);

} // namespace tb
