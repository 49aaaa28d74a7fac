#pragma once
// Every setting the program keeps: the start-up load, the per-clock sections
// and the save on exit. All go through appSettings(). What is stored is
// handed out as it stands; pictures are decoded by the caller.
//
// Start-up order for the main window:
//   openSettings(report, clock);        // a damaged file is set aside first
//   display = loadDisplaySettings();
//   (summer period)
//   MapChoice map = loadStoredPictures(addUserPicture, report);  // readPictureSettings
//   if (auto n = readLastClockIndex()) last = *n;
//   else { entries[0] = defaultClockEntry(); writeClock(0, entries[0]); last = 0; }
//   for i in 0 … last: readClock(i, entries[i]); addClock(i);
// Exit through the menu: saveAllSettings(entries, last, display, &file); on
// false tell the user the file could not be written and keep the window open.
#include "core/face/facecolours.h"
#include "core/settings/settingkeys.h"
#include "core/time/clockentry.h"
#include "core/time/zonerules.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

namespace tb {

class ClockSource;

// Tells the user something (a modal message in the window, a list in tests).
using Report = std::function<void(const QString &text)>;

struct DisplaySettings {
    FaceColours colours;
    qint16 bandRadius = 440;
    qint16 clockRadius = 440;
};

// A user picture slot (1 … 999) that names a file.
struct StoredUserPicture {
    int slot = 0;
    QString fileName;
    QString sizeTag;
};

// What the settings say of pictures: the user's own, and which map to show.
struct PictureSettings {
    std::vector<StoredUserPicture> userPictures; // in slot order; free slots left out
    int worldMap = 0;                            // as readWorldMapChoice()
    QString worldMapFile;                        // only read when worldMap is 8
};

// "UC007"; "001" — clock sections and user picture slots are named with three digits.
QString clockSection(int i);
QString slotNumber(int slot);

// Selects the application and checks that its settings file can be read. A
// damaged file (not text, too large, none of the program's sections in it) or
// something else than a file at its place is renamed to "<file>.bad-<time>"
// and the user told once (through report) where it went; the program then
// starts from the defaults. The clock dates the kept copy. A file that
// cannot be read and a broken link are left as they are: the user is told
// why, and saves over them are refused.
void openSettings(const Report &report, const ClockSource &clock);

// The settings file's path, without opening it.
QString settingsFileLocation();

// Face colours, clock size, hand and scale colours; writes the default of
// every missing key.
DisplaySettings loadDisplaySettings();

// "SummerRule": read without writing a default, written only when chosen.
SummerRule readSummerRule();
void writeSummerRule(SummerRule rule);

// Every user picture slot up to "UserImgCount", then the map choice. Like
// every read it writes missing keys back empty (both keys of each slot).
PictureSettings readPictureSettings();

// "UserImgCount", limited to 0 … 999.
int readUserPictureCount();
// "WorldMap": 1 … 7 a built-in map, 8 the user's file; anything else reads as
// a number outside that range (0 when empty).
int readWorldMapChoice();

// "DayNight" is "True". Unlike the other reads, a missing key stays missing.
bool readDayNight();
void writeDayNight(bool on);

// "n": the index of the last placed clock, 0 … 20; nullopt when it was never
// stored (first start).
std::optional<int> readLastClockIndex();

// Clock i (0 … 20) from / to section clockSection(i). pictureWidth and
// pictureHeight are not stored; "Zone" only while the clock has one. An
// index outside 0 … 20 does nothing.
// Reading: a value that is missing or not a number gives 0 / false / empty;
// positions are limited to ±kPositionLimit ("nan", "inf" give 0), hourOffset to
// ±kDifTimeLimit and minuteOffset to ±kDifMinuteLimit, halves rounded to even.
void readClock(int i, ClockEntry &entry);
void writeClock(int i, const ClockEntry &entry);
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
bool saveAllSettings(const ClockEntries &entries, int lastIndex, const DisplaySettings &display,
                     QString *errorFile = nullptr);

} // namespace tb
