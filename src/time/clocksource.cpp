#include "time/clocksource.h"

namespace tb {

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace tb
