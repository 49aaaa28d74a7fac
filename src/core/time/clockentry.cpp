#include "core/time/clockentry.h"

namespace tb {

ClockEntry defaultClockEntry()
{
    ClockEntry e;
    e.pictureKey = QStringLiteral("Japan");
    e.pictureLeft = 10500;
    e.pictureTop = 2900;
    e.faceLeft = 9950;
    e.faceTop = 3300;
    return e;
}

DateTime clockTime(const ClockEntry &entry, DateTime japan, int summer)
{
    DateTime t = addMinutes(japan, entry.minuteOffset);
    return addHours(t, double(entry.hourOffset) + summer);
}

DateTime bandTime(int k, DateTime japan)
{
    return addHours(japan, 2.0 * k - 19.0);
}

} // namespace tb
