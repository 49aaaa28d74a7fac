#include "core/time/clocktable.h"

#include <QtGlobal>

namespace tb {

void ClockTable::setLastIndex(int n)
{
    m_count = qBound(0, n, kMaxClocks - 1);
}

bool ClockTable::append(const ClockEntry &entry)
{
    if (full())
        return false;
    m_entries[size_t(++m_count)] = entry;
    return true;
}

bool ClockTable::remove(int i)
{
    if (i < 0 || i > m_count || m_count == 0)
        return false;
    for (int k = i; k < m_count; ++k)
        m_entries[size_t(k)] = m_entries[size_t(k + 1)];
    --m_count;
    return true;
}

} // namespace tb
