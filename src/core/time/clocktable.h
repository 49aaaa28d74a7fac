#pragma once
// The placed clocks: entries 0 … lastIndex of ClockEntries. There is
// always at least clock 0; entries above lastIndex hold no clock (they may
// keep a deleted clock's values).
#include "core/time/clockentry.h"

namespace tb {

class ClockTable {
public:
    // Index of the last placed clock, 0 … 20.
    int lastIndex() const { return m_count; }
    int placed() const { return m_count + 1; }
    bool full() const { return m_count + 1 >= kMaxClocks; }

    ClockEntry &operator[](int i) { return m_entries[size_t(i)]; }
    const ClockEntry &operator[](int i) const { return m_entries[size_t(i)]; }
    ClockEntries &entries() { return m_entries; }
    const ClockEntries &entries() const { return m_entries; }

    // As read at start-up; limited to 0 … 20.
    void setLastIndex(int n);
    // Places a clock after the last one; false (nothing changes) when 21 are placed.
    bool append(const ClockEntry &entry);
    // Removes clock i; later clocks move down one place. The last remaining
    // clock and indices outside 0 … lastIndex are refused (false).
    bool remove(int i);

private:
    ClockEntries m_entries{};
    int m_count = 0;
};

} // namespace tb
