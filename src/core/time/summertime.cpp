#include "core/time/summertime.h"

namespace tb {

SummerPeriod makeSummerPeriod(int year)
{
    SummerPeriod p;
    p.year = year;
    for (int d = 1; d <= 7; ++d) {
        const DateTime c = makeDateTime(year, 4, d, 2);
        if (split(c).weekday == 0) {
            p.start = c;
            break;
        }
    }
    for (int d = 31; d >= 25; --d) {
        const DateTime c = makeDateTime(year, 10, d, 2);
        if (split(c).weekday == 0) {
            p.end = c;
            break;
        }
    }
    return p;
}

int summer(const SummerPeriod &period, bool followsSummerTime, DateTime japan)
{
    // Compare whole seconds: `japan` comes from the clock at second resolution,
    // and the bounds are exclusive to the second.
    const qint64 n = qRound64(japan * 86400.0);
    return (followsSummerTime && qRound64(period.start * 86400.0) < n
            && n < qRound64(period.end * 86400.0))
        ? 1 : 0;
}

} // namespace tb
