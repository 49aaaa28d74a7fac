#include "core/time/clockentry.h"

namespace tb {

ClockEntry defaultClockEntry()
{
    ClockEntry e;
    e.Fname = QStringLiteral("Japan");
    e.FlagLeft = 10500;
    e.FlagTop = 2900;
    e.ClockLeft = 9950;
    e.ClockTop = 3300;
    return e;
}

DateTime clockTime(const ClockEntry &entry, DateTime japan, int summer)
{
    DateTime t = addMinutes(japan, entry.DifMinute);
    return addHours(t, double(entry.DifTime) + summer);
}

DateTime bandTime(int k, DateTime japan)
{
    return addHours(japan, 2.0 * k - 19.0);
}

} // namespace tb
