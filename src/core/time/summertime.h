#pragma once
// One summer period for every clock that follows summer time: 02:00 on the
// first Sunday of April to 02:00 on the last Sunday of October, Japan time,
// so that it begins and ends at the same instant on every computer.
#include "core/time/datetime.h"

namespace tb {

struct SummerPeriod {
    DateTime start = 0; // SummerStartDate
    DateTime end = 0;   // SummerEndDate
    int year = 0;       // the year (on Japan time) the period was computed for
};

SummerPeriod makeSummerPeriod(int year);
// 1 while `japan` (Moment::japan) lies strictly inside the period and the
// clock follows summer time.
int summer(const SummerPeriod &period, bool followsSummerTime, DateTime japan);

} // namespace tb
