#pragma once
// The placed clocks from the keyboard. Tab and Shift+Tab go through the
// clocks' spots in their order; on a focused clock Enter opens the editor for
// it (while the bar asks for a clock to delete, the delete dialog, as a click
// would), Delete the delete dialog, and the arrow keys move it, face and
// picture together, one pixel a step or ten with Shift.
#include <QObject>

namespace tb {

class Placing;
class PlacedClocks;

class ClockKeys : public QObject {
    Q_OBJECT
public:
    ClockKeys(Placing &placing, const PlacedClocks &placed);
    // Clock i's spot takes its keys here (once it exists).
    void watch(int i);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Placing &m_placing;
    const PlacedClocks &m_placed;
};

} // namespace tb
