#pragma once
// What a screen reader says for a clock: what a sighted user reads off it.
#include "core/time/datetime.h"

#include <QString>

namespace tb {

// A placed clock: its picture's name as the editor lists it (none when it has
// no picture), the date and time its labels show, and "夏時間" while its
// "DST" mark shows: "USA 12/8(火) 20:00 夏時間".
QString placedClockName(const QString &pictureName, DateTime shown, bool summerMark);
// Band clock k (0 … 11), Greenwich + (2k − 10) hours: its offset from
// Greenwich time, date and time: "グリニッジ標準時 +9 時間 12/8(火) 21:00".
QString bandClockName(int k, DateTime shown);

} // namespace tb
