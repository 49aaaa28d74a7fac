#include "ui/common/clockspot.h"

#include "ui/common/accessible.h"

#include <QAccessible>
#include <QPainter>

namespace tb {

namespace {

// The focus mark: a ring in the highlight colour just outside the face's
// rim, on a white ring that keeps it seen on a dark map or face.
constexpr double kGap = 2, kRing = 3;

} // namespace

ClockSpot::ClockSpot(QWidget *parent, std::function<QString()> name, bool focusable)
    : QWidget(parent), m_name(std::move(name))
{
    installAccessibleInterfaces();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(focusable ? Qt::TabFocus : Qt::NoFocus);
}

void ClockSpot::cover(QPointF centre, double radius)
{
    const double reach = radius + kGap + 2 * kRing + 1;
    const QRect r = QRectF(centre.x() - reach, centre.y() - reach, 2 * reach, 2 * reach).toAlignedRect();
    m_centre = centre - QPointF(r.topLeft());
    m_radius = radius;
    setGeometry(r);
    if (hasFocus())
        update();
}

void ClockSpot::announce()
{
    const QString now = name();
    if (now == m_heard)
        return;
    const bool first = m_heard.isNull();
    m_heard = now;
    // A screen reader that just came asks for every name itself.
    if (first)
        return;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void ClockSpot::paintEvent(QPaintEvent *)
{
    // Without the focus the spot leaves every pixel as it is.
    if (!hasFocus())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    const double r = m_radius + kGap + kRing;
    p.setPen(QPen(Qt::white, 2 * kRing));
    p.drawEllipse(m_centre, r, r);
    p.setPen(QPen(palette().color(QPalette::Highlight), kRing));
    p.drawEllipse(m_centre, r, r);
}

void ClockSpot::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    update();
}

void ClockSpot::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    update();
}

} // namespace tb
