#include "time/clocksource.h"

namespace tembra {

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace tembra
