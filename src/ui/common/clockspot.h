#pragma once
// A clock as the keyboard and a screen reader know it: a widget over its
// face that lets the mouse through and paints nothing, but for a mark round
// the face while it has the keyboard's focus. Its name is made only when a
// screen reader asks for it.
#include <QPointF>
#include <QString>
#include <QWidget>
#include <functional>

namespace tb {

class ClockSpot : public QWidget {
    Q_OBJECT
public:
    // `name` says what the clock shows now; a `focusable` spot is reached by Tab.
    ClockSpot(QWidget *parent, std::function<QString()> name, bool focusable);

    QString name() const { return m_name(); }
    // Lies over the face centred at `centre` with radius `radius` (pixels),
    // with room for the focus mark round it.
    void cover(QPointF centre, double radius);
    // Tells the screen reader when the name changed since it last heard it.
    // Called only while one listens (QAccessible::isActive()).
    void announce();

protected:
    void paintEvent(QPaintEvent *) override;
    void focusInEvent(QFocusEvent *) override;
    void focusOutEvent(QFocusEvent *) override;

private:
    std::function<QString()> m_name;
    QString m_heard; // null until the first announce
    QPointF m_centre; // the face's centre within the spot
    double m_radius = 0;
};

} // namespace tb
