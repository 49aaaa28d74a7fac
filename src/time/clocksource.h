#pragma once
// The one place the program learns the present local time. The window holds
// a ClockSource; tests hand it a FixedClock.
#include "time/datetime.h"

#include <QDateTime>

namespace tb {

class ClockSource {
public:
    virtual ~ClockSource() = default;
    // Present local date and time, with milliseconds (the tick aligns to them).
    virtual QDateTime now() const = 0;
    // Present local time as a date-time value at whole-second resolution.
    DateTime nowValue() const { return toDateTime(now()); }
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
