#pragma once
// The band strip under the map: twelve faces, each with its date label below
// and its time label above (24 labels, a control array of element 0), and
// over each face a spot that names the band's clock to a screen reader.
#include "core/face/clockface.h"
#include "core/face/facecolours.h"
#include "core/layout/layout.h"
#include "core/time/datetime.h"

#include <array>
#include <vector>

class QFont;
class QLabel;
class QWidget;

namespace tb {

class ClockSpot;

class BandStrip {
public:
    static constexpr int kClocks = 12;

    // Creates label 0 at its design place.
    BandStrip(QWidget *parent, const QFont &font);

    // Labels 1 … 23 as copies of label 0 (the load step), and the spots.
    void createLabels();
    // Date labels 0 … 11, time labels 12 … 23.
    QLabel *label(int index) const { return m_labels[size_t(index)]; }

    // Writes the texts of every band clock for `japan` (Moment::japan); `first`
    // shows them too.
    void setTimes(DateTime japan, bool first = false);
    // Places the labels and the spots for the layout.
    void place(const MainLayout &layout);
    // Each spot tells a listening screen reader of a new name.
    void announce();
    ClockSpot *spot(int k) const { return m_spots[size_t(k)]; }
    // The twelve faces for `japan`, added to `faces` in drawing order.
    void appendFaces(std::vector<FaceDrawing> &faces, const MainLayout &layout,
                     const FaceColours &colours, DateTime japan) const;

private:
    // Date label k at its place, or as far left as keeps it whole inside the window.
    void keepWhole(int k);

    std::array<QLabel *, 2 * kClocks> m_labels{};
    std::array<ClockSpot *, kClocks> m_spots{};
    DateTime m_japan = 0; // the time the labels show
    std::array<int, kClocks> m_dateLeft{}; // pixels, once laid out
    bool m_laidOut = false;
};

} // namespace tb
