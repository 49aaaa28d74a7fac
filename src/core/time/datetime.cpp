#include "core/time/datetime.h"

#include <cmath>

namespace tb {

namespace {
const QDate kEpoch(1899, 12, 30);

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Whole seconds since the epoch, rounded half away from zero.
qint64 totalSeconds(DateTime value)
{
    return std::llround(value * 86400.0);
}
} // namespace

DateTime makeDateTime(int year, int month, int day, int hour, int minute, int second)
{
    const qint64 days = kEpoch.daysTo(QDate(year, month, day));
    return double(days) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

DateTime toDateTime(const QDateTime &dt)
{
    const QTime t = dt.time();
    const qint64 days = kEpoch.daysTo(dt.date());
    return double(days) + (t.hour() * 3600.0 + t.minute() * 60.0 + t.second()) / 86400.0;
}

TimeParts split(DateTime value)
{
    const qint64 secs = totalSeconds(value);
    const qint64 days = floorDiv(secs, 86400);
    const qint64 sod = secs - days * 86400;
    const QDate d = kEpoch.addDays(days);
    TimeParts p;
    p.year = d.year();
    p.month = d.month();
    p.day = d.day();
    p.hour = int(sod / 3600);
    p.minute = int((sod / 60) % 60);
    p.second = int(sod % 60);
    p.weekday = d.dayOfWeek() % 7; // Qt: Monday = 1 … Sunday = 7
    return p;
}

QDateTime toQDateTime(DateTime value)
{
    const TimeParts p = split(value);
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
}

QString weekdayName(int weekday)
{
    static const char16_t names[] = u"日月火水木金土";
    return QString(QChar(names[((weekday % 7) + 7) % 7]));
}

QString formatDate(DateTime value)
{
    const TimeParts p = split(value);
    return QStringLiteral("%1/%2(%3)").arg(p.month).arg(p.day).arg(weekdayName(p.weekday));
}

QString formatTime(DateTime value)
{
    const TimeParts p = split(value);
    return QStringLiteral("%1:%2").arg(p.hour).arg(p.minute, 2, 10, QLatin1Char('0'));
}

} // namespace tb
