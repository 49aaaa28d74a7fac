#include "core/time/clocksource.h"

namespace tb {

Moment ClockSource::moment() const
{
    // Clocks count from Greenwich time, so neither the computer's zone nor
    // its own summer time moves them, nor the summer period.
    const QDateTime utc = now().toUTC();
    return { toDateTime(utc.addSecs(kJapanOffsetHours * 3600)), utc.toSecsSinceEpoch() };
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace tb
