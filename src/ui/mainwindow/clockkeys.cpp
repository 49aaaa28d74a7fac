#include "ui/mainwindow/clockkeys.h"

#include "ui/common/clockspot.h"
#include "ui/mainwindow/placedclocks.h"
#include "ui/mainwindow/placing.h"

#include <QKeyEvent>

namespace tb {

ClockKeys::ClockKeys(Placing &placing, const PlacedClocks &placed) : m_placing(placing), m_placed(placed) {}

void ClockKeys::watch(int i)
{
    if (i >= 0 && i < m_placed.count())
        m_placed.spot(i)->installEventFilter(this); // installing twice keeps one filter
}

bool ClockKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    int i = m_placed.count() - 1;
    while (i >= 0 && m_placed.spot(i) != watched)
        --i;
    if (i < 0)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_placing.pickClock(i, m_placing.clockMode() == EditMode::Delete ? EditMode::Delete : EditMode::Edit);
        return true;
    case Qt::Key_Delete:
        m_placing.pickClock(i, EditMode::Delete);
        return true;
    default:
        break;
    }
    const QPoint step = arrowStep(key->key(), key->modifiers());
    if (step.isNull())
        return QObject::eventFilter(watched, event);
    m_placing.moveClock(i, step);
    return true;
}

} // namespace tb
