#pragma once
// Which summer time a placed clock keeps: the one common period for every
// clock, or its place's own rules from the time-zone database, and the time
// a clock shows under either.
#include "core/time/clockentry.h"
#include "core/time/clocksource.h"
#include "core/time/summertime.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <optional>

namespace tb {

// "SummerRule" in [UserClock]: "Zone" for each place's rules; anything else
// (missing, empty, "Common", a typo) is the common rule.
enum class SummerRule { Common, Zone };
SummerRule summerRuleFromText(const QString &text);
QString summerRuleText(SummerRule rule);

// A zone id as the database spells them ("America/Argentina/Buenos_Aires",
// "Etc/GMT+12"): letters, digits, "_", "+" and "-" in non-empty parts
// between single slashes. No dots and no leading slash, so that a text from
// the settings file never names a file of its own choosing.
bool isZoneId(const QString &text);

// A zone at one instant: its offset from Greenwich time and whether it keeps
// summer time then.
struct ZoneReading {
    int offsetSeconds = 0;
    bool summer = false;
};

// Looks each zone up in the computer's database once and keeps what it said
// until the zone's next transition, so that a tick asks the database nothing
// for most of the year.
class ZoneRules {
public:
    // nullopt when `id` is no zone id or the database does not know it.
    std::optional<ZoneReading> reading(const QString &id, qint64 utc);
    bool knows(const QString &id);
    // Zones asked for that the database does not know, each once, since the
    // last call.
    QStringList takeUnknown();

private:
    struct Zone {
        QTimeZone zone;
        bool known = false;
        bool told = false;
        qint64 from = 1, until = 0; // seconds since 1970 UTC; `reading` holds for [from, until)
        ZoneReading reading;
    };
    Zone &lookUp(const QString &id);
    QHash<QString, Zone> m_zones;
};

// The time a clock shows and whether its "DST" mark is up.
struct ShownTime {
    DateTime time = 0;
    bool summer = false;
};

// Japan time moved to a zone's offset: what a clock of that zone shows.
DateTime zoneTime(DateTime japan, const ZoneReading &zone);

// Clock `e` at `now`. Under the place rules a clock whose zone the database
// knows shows that zone's time, the summer box aside; every other clock
// keeps its stored difference and the common `period`, read on Japan time.
ShownTime shownTime(const ClockEntry &e, const Moment &now, SummerRule rule, const SummerPeriod &period,
                    ZoneRules &zones);

// Told once when the place rules are in force and clocks name zones the
// computer does not know.
QString unknownZonesMessage(const QStringList &zones);

} // namespace tb
