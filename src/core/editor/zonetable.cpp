#include "core/editor/zonetable.h"

#include "core/common/rounding.h"

#include <cmath>
#include <limits>

namespace tb {

namespace {

struct StandardZone {
    const char *city; // UTF-8
    float hours;
    qint16 minutes;
    const char *zone; // the database's zone of the row's first place that has one
};

// Texts are shown exactly as written, odd characters included: the blanks
// that right-align the offset, half-width katakana, the half-width comma
// "､" in the Beijing row and the full-width semicolon in the Greenwich row.
// Row 13 repeats the zone name of row 7 at another offset; it is kept so,
// and its place is the US Eastern zone, which the offset names.
const StandardZone kStandardZones[ZoneTable::kStandardRowCount] = {
    {u8"-12:00 ｴﾆｳｪﾄｸ、ｸｴｼﾞｪﾘﾝ", -12, 0, "Etc/GMT+12"},
    {u8"-11:00 ﾐｯﾄﾞｳｪｰ島、ｻﾓｱ", -11, 0, "Pacific/Pago_Pago"},
    {u8"-10:00 ﾊﾜｲ", -10, 0, "Pacific/Honolulu"},
    {u8" -9:00 ｱﾗｽｶ", -9, 0, "America/Anchorage"},
    {u8" -8:00 太平洋標準時(米国およびｶﾅﾀﾞ)、ﾃｨﾌｧﾅ", -8, 0, "America/Los_Angeles"},
    {u8" -7:00 ｱﾘｿﾞﾅ", -7, 0, "America/Phoenix"},
    {u8" -7:00 山地標準時(米国およびｶﾅﾀﾞ)", -7, 0, "America/Denver"},
    {u8" -6:00 ｻｽｶﾁｪﾜﾝ", -6, 0, "America/Regina"},
    {u8" -6:00 ﾒｷｼｺｼﾃｨｰ", -6, 0, "America/Mexico_City"},
    {u8" -6:00 中部標準時(米国およびｶﾅﾀﾞ)", -6, 0, "America/Chicago"},
    {u8" -5:00 ｲﾝﾃﾞｨｱﾅ東部", -5, 0, "America/Indiana/Indianapolis"},
    {u8" -5:00 ﾎﾞｺﾞﾀﾞ、ﾘﾏ", -5, 0, "America/Bogota"},
    {u8" -5:00 山地標準時(米国およびｶﾅﾀﾞ)", -5, 0, "America/New_York"},
    {u8" -4:00 ｶﾗｶｽ、ﾗﾊﾟｽ", -4, 0, "America/Caracas"},
    {u8" -4:00 大西洋標準時(ｶﾅﾀﾞ)", -4, 0, "America/Halifax"},
    {u8" -3:30 ﾆｭｰﾌｧﾝﾄﾞﾗﾝﾄﾞ", -3, -30, "America/St_Johns"},
    {u8" -3:00 ﾌﾞｴﾉｽｱｲﾚｽ、ｼﾞｮｰｼﾞﾀｳﾝ", -3, 0, "America/Argentina/Buenos_Aires"},
    {u8" -3:00 ﾌﾞﾗｼﾞﾘｱ", -3, 0, "America/Sao_Paulo"},
    {u8" -2:00 中央大西洋", -2, 0, "Atlantic/South_Georgia"},
    {u8" -1:00 ｱｿﾞﾚｽ諸島、ｶﾎﾞﾍﾞﾙﾃﾞ", -1, 0, "Atlantic/Azores"},
    {u8"  0:00 ｸﾞﾘﾆｯｼﾞ標準時；ﾀﾞﾌﾞﾘﾝ、ｴｼﾞﾝﾊﾞﾗ、ﾛﾝﾄﾞﾝ、ﾘｽﾎﾞﾝ", 0, 0, "Europe/London"},
    {u8"  0:00 ﾓﾝﾛﾋﾞｱ、ｶｻﾌﾞﾗﾝｶ", 0, 0, "Africa/Monrovia"},
    {u8"  1:00 ﾊﾟﾘ、ﾏﾄﾞﾘｰﾄﾞ", 1, 0, "Europe/Paris"},
    {u8"  1:00 ﾌﾟﾗﾊ、ﾌﾞﾗﾃｨｽﾗﾊﾞ", 1, 0, "Europe/Prague"},
    {u8"  1:00 ﾍﾞﾙﾘﾝ、ｽﾄｯｸﾎﾙﾑ、ﾛｰﾏ、ﾌﾞﾘｭｯｾﾙ、ｳｲｰﾝ、ｱﾑｽﾃﾙﾀﾞﾑ", 1, 0, "Europe/Berlin"},
    {u8"  1:00 ﾜﾙｼｬﾜ", 1, 0, "Europe/Warsaw"},
    {u8"  2:00 ｱﾃﾈ、ﾍﾙｼﾝｷ、ｲｽﾀﾝﾌﾞｰﾙ", 2, 0, "Europe/Athens"},
    {u8"  2:00 ｲｽﾗｴﾙ", 2, 0, "Asia/Jerusalem"},
    {u8"  2:00 ｶｲﾛ", 2, 0, "Africa/Cairo"},
    {u8"  2:00 ﾊﾗﾚ、ﾌﾟﾚﾄﾘｱ", 2, 0, "Africa/Johannesburg"},
    {u8"  2:00 東ﾖｰﾛｯﾊﾟ", 2, 0, "Europe/Bucharest"},
    {u8"  3:00 ﾊﾞｸﾞﾀﾞｯﾄﾞ、ｸｴｰﾄ、ﾅｲﾛﾋﾞ、ﾘｬﾄﾞ", 3, 0, "Asia/Baghdad"},
    {u8"  3:00 ﾓｽｸﾜ、ｻﾝｸﾄﾍﾟﾃﾙﾌﾞﾙｸﾞ", 3, 0, "Europe/Moscow"},
    {u8"  3:30 ﾃﾍﾗﾝ", 3, 30, "Asia/Tehran"},
    {u8"  4:00 ｱﾌﾞﾀﾞﾋﾞ、ﾏｽｶｯﾄ、ﾄﾋﾞﾘｼ、ｶｻﾞﾆ、ﾎﾞﾙｺﾞｸﾞﾗｰﾄﾞ", 4, 0, "Asia/Dubai"},
    {u8"  4:30 ｶﾌﾞｰﾙ", 4, 30, "Asia/Kabul"},
    {u8"  5:00 ｲｽﾗﾏﾊﾞｰﾄﾞ、ｶﾗﾁ、ﾀｼｹﾝﾄ", 5, 0, "Asia/Karachi"},
    {u8"  5:30 ﾎﾞﾝﾍﾞｲ、ｶﾙｶｯﾀ、ﾏﾄﾞﾗｽ、ﾆｭｰﾃﾞﾘｰ、ｺﾛﾝﾎﾞ", 5, 30, "Asia/Kolkata"},
    {u8"  6:00 ﾀﾞｯｶ", 6, 0, "Asia/Dhaka"},
    {u8"  7:00 ﾊﾞﾝｺｸ、ｼﾞｬｶﾙﾀ、ﾊﾉｲ", 7, 0, "Asia/Bangkok"},
    {u8"  8:00 香港、ﾊﾟｰｽ、ｼﾝｶﾞﾎﾟｰﾙ、台北", 8, 0, "Asia/Hong_Kong"},
    {u8"  8:00 北京、重慶､ｳﾙﾑﾁ", 8, 0, "Asia/Shanghai"},
    {u8"  9:00 東京、大阪、札幌、ｿｳﾙ、ﾔｸｰﾂｸ", 9, 0, "Asia/Tokyo"},
    {u8"  9:30 ｱﾃﾞﾚｰﾄﾞ", 9, 30, "Australia/Adelaide"},
    {u8"  9:30 ﾀﾞｰｳｨﾝ", 9, 30, "Australia/Darwin"},
    {u8" 10:00 ｷｬﾝﾍﾞﾗ、ﾒﾙﾎﾞﾙﾝ、ｼﾄﾞﾆｰ", 10, 0, "Australia/Sydney"},
    {u8" 10:00 ｸﾞｱﾑ、ﾎﾟｰﾄﾓﾚｽﾋﾞｰ、ｳﾗｼﾞｵｽﾄｯｸ", 10, 0, "Pacific/Guam"},
    {u8" 10:00 ﾌﾞﾘｽﾍﾞｰﾝ", 10, 0, "Australia/Brisbane"},
    {u8" 10:00 ﾎﾊﾞｰﾄ", 10, 0, "Australia/Hobart"},
    {u8" 11:00 ﾏｶﾞﾀﾞﾝ、ｿﾛﾓﾝ島、ﾆｭｰｶﾚﾄﾞﾆｱ", 11, 0, "Asia/Magadan"},
    {u8" 12:00 ｳｪﾘﾝﾄﾝ、ｵｰｸﾗﾝﾄﾞ", 12, 0, "Pacific/Auckland"},
    {u8" 12:00 ﾌｨｼﾞｰ、ｶﾑﾁｬｯｶ、ﾏｰｼｬﾙ諸島", 12, 0, "Pacific/Fiji"},
};

} // namespace

std::optional<qint16> roundToInt16(double value)
{
    if (std::isnan(value))
        return std::nullopt;
    const double whole = roundHalfEven(value);
    if (whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(whole);
}

ZoneTable ZoneTable::standard()
{
    ZoneTable t;
    t.fill();
    return t;
}

void ZoneTable::fill()
{
    clear();
    for (const StandardZone &z : kStandardZones) {
        setcombo(QString::fromUtf8(z.city), z.hours, z.minutes);
        m_zones[size_t(count() - 1)] = QString::fromLatin1(z.zone);
    }
}

void ZoneTable::clear()
{
    m_texts.clear();
    m_zones.fill(QString());
    m_hourOffsets.fill(0);
    m_minuteOffsets.fill(0);
}

bool ZoneTable::setcombo(const QString &city, float distance, qint16 minutes)
{
    if (count() >= kCapacity)
        return false;
    const auto hours = roundToInt16(distance);
    if (!hours)
        return false;
    m_texts.append(city);
    const int p = count() - 1;
    m_hourOffsets[size_t(p)] = *hours;
    m_minuteOffsets[size_t(p)] = minutes;
    return true;
}

QString ZoneTable::zone(int position) const
{
    return position >= 0 && position < count() ? m_zones[size_t(position)] : QString();
}

QString ZoneTable::text(int position) const
{
    if (position < 0 || position >= count())
        return QString();
    return m_texts.at(position);
}

std::optional<ZoneDifference> ZoneTable::difference(int position) const
{
    if (position < 0 || position >= count())
        return std::nullopt;
    // A row far outside ±12 hours (only a caller's own row can be) must not
    // wrap around into a plausible-looking difference.
    const int hours = int(m_hourOffsets[size_t(position)]) - kLocalHoursFromGreenwich;
    if (hours < std::numeric_limits<qint16>::min())
        return std::nullopt;
    ZoneDifference d;
    d.difTime = qint16(hours);
    d.difMinute = m_minuteOffsets[size_t(position)];
    return d;
}

} // namespace tb
