#pragma once
// The editor's time-zone list: 52 fixed rows, each a display text with the
// zone's offset from Greenwich time in hours and minutes and the time-zone
// database's id of its place.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <optional>

namespace tb {

// What a zone row gives a placed clock: hours and minutes from local time.
struct ZoneDifference {
    qint16 difTime = 0;
    qint16 difMinute = 0;

    bool operator==(const ZoneDifference &o) const
    {
        return difTime == o.difTime && difMinute == o.difMinute;
    }
    bool operator!=(const ZoneDifference &o) const { return !(*this == o); }
};

// Rounds to the nearest whole number, halves to the even neighbour (2.5 → 2,
// 3.5 → 4, −0.5 → 0); nullopt for NaN or a result outside the 16-bit range.
std::optional<qint16> roundToInt16(double value);

class ZoneTable {
public:
    static constexpr int kCapacity = 61;
    static constexpr int kStandardRowCount = 52;
    // The local clock is taken to run at Greenwich time + 9 hours.
    static constexpr int kLocalHoursFromGreenwich = 9;

    ZoneTable() = default;
    // A table filled with the 52 standard rows.
    static ZoneTable standard();

    // Clears the table and adds the 52 standard rows in order.
    void fill();
    void clear();

    // Appends a row: the text, `distance` hours rounded to a whole number and
    // `minutes`. Refused (false, nothing stored) when the table already holds
    // kCapacity rows or the hours do not fit 16 bits.
    bool setcombo(const QString &city, float distance, qint16 minutes);

    int count() const { return int(m_texts.size()); }
    const QStringList &texts() const { return m_texts; }
    // Empty text for a position that holds no row.
    QString text(int position) const;
    // The row's zone id ("America/New_York"); empty for rows added by setcombo.
    QString zone(int position) const;

    // Hours and minutes from Greenwich time, by list position; positions that
    // hold no row are 0.
    const std::array<qint16, kCapacity> &hourOffsets() const { return m_hourOffsets; }
    const std::array<qint16, kCapacity> &minuteOffsets() const { return m_minuteOffsets; }

    // The clock difference the row at `position` gives; nullopt when no row
    // is there (no row selected, or past the end) or the difference would
    // not fit 16 bits.
    std::optional<ZoneDifference> difference(int position) const;

private:
    QStringList m_texts;
    std::array<QString, kCapacity> m_zones;
    std::array<qint16, kCapacity> m_hourOffsets{};
    std::array<qint16, kCapacity> m_minuteOffsets{};
};

} // namespace tb
