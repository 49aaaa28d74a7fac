#include "core/time/zonerules.h"

#include <algorithm>
#include <limits>

namespace tb {

SummerRule summerRuleFromText(const QString &text)
{
    return text == QLatin1String("Zone") ? SummerRule::Zone : SummerRule::Common;
}

QString summerRuleText(SummerRule rule)
{
    return rule == SummerRule::Zone ? QStringLiteral("Zone") : QStringLiteral("Common");
}

bool isZoneId(const QString &text)
{
    // The database's longest ids have about 30 characters.
    if (text.isEmpty() || text.size() > 64)
        return false;
    bool partEmpty = true;
    for (const QChar c : text) {
        if (c == QLatin1Char('/')) {
            if (partEmpty)
                return false;
            partEmpty = true;
        } else if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                   || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_')
                   || c == QLatin1Char('+') || c == QLatin1Char('-')) {
            partEmpty = false;
        } else {
            return false;
        }
    }
    return !partEmpty;
}

ZoneRules::Zone &ZoneRules::lookUp(const QString &id)
{
    auto it = m_zones.find(id);
    if (it == m_zones.end()) {
        Zone z;
        if (isZoneId(id)) {
            z.zone = QTimeZone(id.toLatin1());
            z.known = z.zone.isValid();
        }
        it = m_zones.insert(id, z);
    }
    return *it;
}

bool ZoneRules::knows(const QString &id)
{
    return lookUp(id).known;
}

std::optional<ZoneReading> ZoneRules::reading(const QString &id, qint64 utc)
{
    Zone &z = lookUp(id);
    if (!z.known)
        return std::nullopt;
    if (utc < z.from || utc >= z.until) {
        const QDateTime at = QDateTime::fromSecsSinceEpoch(utc, Qt::UTC);
        z.reading = { z.zone.offsetFromUtc(at), z.zone.isDaylightTime(at) };
        const QDateTime next = z.zone.nextTransition(at).atUtc;
        z.from = utc;
        z.until = next.isValid() ? next.toSecsSinceEpoch() : std::numeric_limits<qint64>::max();
    }
    return z.reading;
}

QStringList ZoneRules::takeUnknown()
{
    QStringList ids;
    for (auto it = m_zones.begin(); it != m_zones.end(); ++it) {
        if (!it->known && !it->told) {
            it->told = true;
            ids << it.key();
        }
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

DateTime zoneTime(DateTime japan, const ZoneReading &zone)
{
    return addSeconds(japan, zone.offsetSeconds - kJapanOffsetHours * 3600);
}

ShownTime shownTime(const ClockEntry &e, const Moment &now, SummerRule rule, const SummerPeriod &period,
                    ZoneRules &zones)
{
    if (rule == SummerRule::Zone && !e.zone.isEmpty()) {
        if (const std::optional<ZoneReading> z = zones.reading(e.zone, now.utc))
            return { zoneTime(now.japan, *z), z->summer };
    }
    const int s = summer(period, e.summerTime, now.japan);
    return { clockTime(e, now.japan, s), s == 1 };
}

QString unknownZonesMessage(const QStringList &zones)
{
    return QStringLiteral("次のタイムゾーンは、このコンピューターのタイムゾーン情報にありません。\r\n"
                          "これらの時計は、登録された時差と共通の夏時間の規則で表示します。\r\n")
        + zones.join(QStringLiteral("\r\n"));
}

} // namespace tb
