#include "core/time/clocksource.h"

namespace tb {

Moment ClockSource::moment() const
{
    // Clocks count from Greenwich time, so neither the computer's zone nor
    // its own summer time moves them; only the summer period keeps to the
    // computer's calendar.
    const QDateTime t = now();
    return { toDateTime(t.toUTC().addSecs(kJapanOffsetHours * 3600)), toDateTime(t.toLocalTime()) };
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace tb
