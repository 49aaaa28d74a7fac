#pragma once
// The program's date-time value: days since 1899-12-30 as a double, the time
// of day as the fraction. Every split or text form rounds to the nearest
// second first, so that a value a hair below midnight never shows 23:59 of
// the day before.
#include <QDateTime>
#include <QString>

namespace tb {

using DateTime = double;

struct TimeParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    int weekday = 6; // 0 = Sunday … 6 = Saturday
};

DateTime makeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
DateTime toDateTime(const QDateTime &dt);      // local wall-clock fields, milliseconds dropped
QDateTime toQDateTime(DateTime value);        // rounded to the second, local time spec
TimeParts split(DateTime value);

inline DateTime addHours(DateTime t, double hours) { return t + hours / 24.0; }
inline DateTime addMinutes(DateTime t, double minutes) { return t + minutes / 1440.0; }
inline DateTime addSeconds(DateTime t, double seconds) { return t + seconds / 86400.0; }

// "m/d(aaa)": 12/8(火)
QString formatDate(DateTime value);
// "h:mm": 9:05, 0:00
QString formatTime(DateTime value);
// One-character Japanese weekday name for 0 = Sunday … 6 = Saturday.
QString weekdayName(int weekday);

} // namespace tb
