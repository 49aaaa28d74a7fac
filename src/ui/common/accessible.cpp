#include "ui/common/accessible.h"

#include "ui/common/clockspot.h"
#include "ui/common/pictureframewidget.h"

#include <QAccessibleWidget>

namespace tb {

namespace {

// AT-SPI knows no clock: Qt's clock role reaches a screen reader as "unknown".
// A picture that speaks its time is the nearest it knows.
class ClockSpotInterface : public QAccessibleWidget {
public:
    explicit ClockSpotInterface(ClockSpot *spot) : QAccessibleWidget(spot, QAccessible::Graphic) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const ClockSpot *>(widget())->name();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *interfaceFor(const QString &, QObject *object)
{
    if (auto *spot = qobject_cast<ClockSpot *>(object))
        return new ClockSpotInterface(spot);
    if (auto *frame = qobject_cast<PictureFrameWidget *>(object))
        return new QAccessibleWidget(frame, QAccessible::Graphic);
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace tb
