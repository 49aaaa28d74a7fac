#pragma once
// Every key of the settings file in one table: section, key, how the value
// is kept as text, the value written back when the key is missing or empty,
// and the bounds a number read from it is held to. readSetting and
// writeSetting are the one way the rest of the program reads and writes them.
#include "core/time/clockentry.h"

#include <QString>
#include <QtGlobal>
#include <limits>

namespace tb {

// User pictures are kept in slots 1 … kMaxUserSlot (keys 001User … 999User).
constexpr int kMaxUserSlot = 999;

// Limits on what a clock section can hold, whatever the file says: wide
// enough for anything the program writes, narrow enough that every position
// converts to window coordinates without overflow and every shown time stays
// within a few days of local time.
constexpr float kPositionLimit = 1.0e6f;  // twips, either sign
constexpr int kDifTimeLimit = 48;         // hours, either sign
constexpr int kDifMinuteLimit = 1440;     // minutes, either sign

enum class SettingKind {
    Colour,         // 0x00BBGGRR as a decimal number, rounded and held to black … white
    Number,         // a decimal number ("1e3", "-3.5"), rounded (halves to even) and held to the bounds
    LeadingNumber,  // the number the text starts with, as BASIC's Val reads it, rounded and held
    Position,       // twips as a single-precision decimal, held to the bounds; "nan" reads 0
    Flag,           // "True" / "False"
    Text,           // as it stands
};

struct SettingKey {
    const char *section; // nullptr: the section is given with each use (a clock's "UC007")
    const char *key;     // after the slot number for the user picture slots ("001FileName")
    SettingKind kind;
    const char *fallback;
    double low = 0;
    double high = 0;
};

namespace keys {

constexpr double kIntMin = std::numeric_limits<int>::min();
constexpr double kIntMax = std::numeric_limits<int>::max();
constexpr double kShortMax = std::numeric_limits<qint16>::max();
constexpr double kWhite = 0xFFFFFF;
constexpr double kPosition = kPositionLimit;

// [Color]: the face fill for each two hours, "0" … "22"; grey at night, light grey by day.
constexpr SettingKey kFaceColours[12] = {
    { "Color", "0", SettingKind::Colour, "8421504", 0, kWhite },
    { "Color", "2", SettingKind::Colour, "8421504", 0, kWhite },
    { "Color", "4", SettingKind::Colour, "8421504", 0, kWhite },
    { "Color", "6", SettingKind::Colour, "14737632", 0, kWhite },
    { "Color", "8", SettingKind::Colour, "14737632", 0, kWhite },
    { "Color", "10", SettingKind::Colour, "14737632", 0, kWhite },
    { "Color", "12", SettingKind::Colour, "14737632", 0, kWhite },
    { "Color", "14", SettingKind::Colour, "14737632", 0, kWhite },
    { "Color", "16", SettingKind::Colour, "14737632", 0, kWhite },
    { "Color", "18", SettingKind::Colour, "8421504", 0, kWhite },
    { "Color", "20", SettingKind::Colour, "8421504", 0, kWhite },
    { "Color", "22", SettingKind::Colour, "8421504", 0, kWhite },
};

// [UserClock]
constexpr SettingKey kClockRadius{ "UserClock", "ClockRc", SettingKind::LeadingNumber, "440", 0, kShortMax };
constexpr SettingKey kHandColour{ "UserClock", "NeadleColor", SettingKind::Colour, "0", 0, kWhite };
constexpr SettingKey kScaleColour{ "UserClock", "GageColor", SettingKind::Colour, "255", 0, kWhite };
// The index of the last placed clock; empty until the first clock is stored.
constexpr SettingKey kLastClock{ "UserClock", "n", SettingKind::LeadingNumber, "", 0, kMaxClocks - 1 };
// "Zone": each place's own summer time; anything else the common period. Only
// written when chosen (peekSetting).
constexpr SettingKey kSummerRule{ "UserClock", "SummerRule", SettingKind::Text, "" };

// [UserImg]
constexpr SettingKey kUserPictureCount{ "UserImg", "UserImgCount", SettingKind::Number, "0", 0, kMaxUserSlot };
// 1 … 7 a built-in map, 8 the user's file.
constexpr SettingKey kWorldMap{ "UserImg", "WorldMap", SettingKind::LeadingNumber, "", kIntMin, kIntMax };
constexpr SettingKey kWorldMapFile{ "UserImg", "WorldMapFile", SettingKind::Text, "" };
// Night shown on the map: "True" on, anything else off. Never written until
// chosen, so that a file from before stays as it is.
constexpr SettingKey kDayNight{ "UserImg", "DayNight", SettingKind::Text, "" };
// Per user picture slot, after its number: "001FileName", "001Size".
constexpr SettingKey kUserPictureFile{ "UserImg", "FileName", SettingKind::Text, "" };
constexpr SettingKey kUserPictureSize{ "UserImg", "Size", SettingKind::Text, "" };

// [UC000] … [UC020]: one placed clock each, in the order they are read and written.
constexpr SettingKey kClockLeft{ nullptr, "ClockLeft", SettingKind::Position, "", -kPosition, kPosition };
constexpr SettingKey kClockTop{ nullptr, "ClockTop", SettingKind::Position, "", -kPosition, kPosition };
constexpr SettingKey kDifMinute{ nullptr, "DifMinute", SettingKind::Number, "", -kDifMinuteLimit, kDifMinuteLimit };
constexpr SettingKey kDifTime{ nullptr, "DifTime", SettingKind::Number, "", -kDifTimeLimit, kDifTimeLimit };
constexpr SettingKey kFlagLeft{ nullptr, "FlagLeft", SettingKind::Position, "", -kPosition, kPosition };
constexpr SettingKey kFlagTop{ nullptr, "FlagTop", SettingKind::Position, "", -kPosition, kPosition };
constexpr SettingKey kPictureKey{ nullptr, "Fname", SettingKind::Text, "" };
constexpr SettingKey kSummerTime{ nullptr, "summertime", SettingKind::Flag, "" };
// The place's time-zone id; a clock without one has no key at all (peekSetting, removeSetting).
constexpr SettingKey kZone{ nullptr, "Zone", SettingKind::Text, "" };

} // namespace keys

// Where a row lives: its own section, or `section` for a clock's rows; the
// key with `slot` ("001") before it for the picture slots.
struct SettingPlace {
    QString section;
    QString slot;
};

// The text of the row; a missing or empty value is replaced by the row's
// fallback, which is also written back.
QString readSetting(const SettingKey &row, const SettingPlace &place = {});
// The number of a text as the row reads it (Colour, Number, LeadingNumber,
// Position; a Flag reads 1 or 0): never fails, always within the bounds.
double settingNumber(const SettingKey &row, const QString &text);
// readSetting, then settingNumber.
double readSettingNumber(const SettingKey &row, const SettingPlace &place = {});

// The text of the row as the file has it; nothing is written back. For keys
// that an older file, and a first start, must not gain.
QString peekSetting(const SettingKey &row, const SettingPlace &place = {});
void removeSetting(const SettingKey &row, const SettingPlace &place = {});

// Writes the text / the number in the row's own form ("12", "1234.5", "True").
void writeSetting(const SettingKey &row, const QString &text, const SettingPlace &place = {});
void writeSettingNumber(const SettingKey &row, double value, const SettingPlace &place = {});

} // namespace tb
