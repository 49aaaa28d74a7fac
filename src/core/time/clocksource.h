#pragma once
// The one place the program learns the present time. The window holds a
// ClockSource; tests hand it a FixedClock.
#include "core/time/datetime.h"

#include <QDateTime>

namespace tb {

// The zone table counts every difference from Japan time.
constexpr int kJapanOffsetHours = 9;

// One reading of the present, at whole-second resolution.
struct Moment {
    DateTime japan = 0; // Greenwich time + 9 hours: what every clock counts from, and the
                        // calendar the common summer period is read on
    qint64 utc = 0;     // the same instant, seconds since 1970 UTC: what a zone is looked up at
};

class ClockSource {
public:
    virtual ~ClockSource() = default;
    // The present instant, with milliseconds (the tick aligns to them).
    virtual QDateTime now() const = 0;
    Moment moment() const;
};

class SystemClock : public ClockSource {
public:
    QDateTime now() const override;
};

class FixedClock : public ClockSource {
public:
    explicit FixedClock(QDateTime t = QDateTime(QDate(2026, 12, 8), QTime(9, 5))) : m_now(t) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &t) { m_now = t; }
    void advanceSecs(int s) { m_now = m_now.addSecs(s); }

private:
    QDateTime m_now;
};

} // namespace tb
