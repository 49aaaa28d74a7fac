#pragma once
// A placed clock and the table of all of them.
#include "core/time/datetime.h"

#include <QString>
#include <QtGlobal>
#include <array>

namespace tb {

struct ClockEntry {
    float ClockTop = 0;   // face centre, reference twips
    float ClockLeft = 0;
    float FlagTop = 0;    // picture top-left, reference twips
    float FlagLeft = 0;
    float FlagWidth = 0;  // display size from the editor; 0 = none; never stored
    float FlagHeight = 0;
    qint16 DifTime = 0;   // hours from Japan time: the zone's offset from Greenwich − 9
    qint16 DifMinute = 0; // further minutes, with the zone's sign
    QString Fname;        // picture key; empty = no picture
    bool summertime = false;

    bool operator==(const ClockEntry &o) const
    {
        return ClockTop == o.ClockTop && ClockLeft == o.ClockLeft && FlagTop == o.FlagTop
            && FlagLeft == o.FlagLeft && FlagWidth == o.FlagWidth && FlagHeight == o.FlagHeight
            && DifTime == o.DifTime && DifMinute == o.DifMinute && Fname == o.Fname
            && summertime == o.summertime;
    }
    bool operator!=(const ClockEntry &o) const { return !(*this == o); }
};

constexpr int kMaxClocks = 21; // indices 0 … 20
using ClockEntries = std::array<ClockEntry, kMaxClocks>;

// The clock a first start places: Japan, no difference.
ClockEntry defaultClockEntry();

// `japan` is Moment::japan, Greenwich time + 9 hours.
// Time shown by a placed clock: japan + DifMinute minutes + (DifTime + summer) hours.
DateTime clockTime(const ClockEntry &entry, DateTime japan, int summer);
// Time shown by band clock k (0 … 11): japan + (2k − 19) hours, Greenwich + (2k − 10).
DateTime bandTime(int k, DateTime japan);

} // namespace tb
