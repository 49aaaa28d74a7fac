#pragma once
// A placed clock and the table of all of them.
#include "core/time/datetime.h"

#include <QString>
#include <QtGlobal>
#include <array>

namespace tb {

struct ClockEntry {
    // Keys "ClockTop", "ClockLeft", "FlagTop", … "Fname", "summertime", "Zone".
    float faceTop = 0;        // face centre, reference twips
    float faceLeft = 0;
    float pictureTop = 0;     // picture top-left, reference twips
    float pictureLeft = 0;
    float pictureWidth = 0;   // display size from the editor; 0 = none; never stored
    float pictureHeight = 0;
    qint16 hourOffset = 0;    // hours from Japan time: the zone's offset from Greenwich − 9
    qint16 minuteOffset = 0;  // further minutes, with the zone's sign
    QString pictureKey;       // empty = no picture
    bool summerTime = false;  // the clock keeps the summer hour
    QString zone;             // "Zone": the place's time-zone database id; empty = none

    bool operator==(const ClockEntry &o) const
    {
        return faceTop == o.faceTop && faceLeft == o.faceLeft && pictureTop == o.pictureTop
            && pictureLeft == o.pictureLeft && pictureWidth == o.pictureWidth && pictureHeight == o.pictureHeight
            && hourOffset == o.hourOffset && minuteOffset == o.minuteOffset && pictureKey == o.pictureKey
            && summerTime == o.summerTime && zone == o.zone;
    }
    bool operator!=(const ClockEntry &o) const { return !(*this == o); }
};

constexpr int kMaxClocks = 21; // indices 0 … 20
using ClockEntries = std::array<ClockEntry, kMaxClocks>;

// The clock a first start places: Japan, no difference.
ClockEntry defaultClockEntry();

// `japan` is Moment::japan, Greenwich time + 9 hours.
// Time shown by a placed clock: japan + minuteOffset minutes + (hourOffset + summer) hours.
DateTime clockTime(const ClockEntry &entry, DateTime japan, int summer);
// Time shown by band clock k (0 … 11): japan + (2k − 19) hours, Greenwich + (2k − 10).
DateTime bandTime(int k, DateTime japan);

} // namespace tb
