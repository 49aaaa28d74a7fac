#include "ui/mainwindow/placedclocks.h"

#include "core/editor/picturestore.h"
#include "core/model/worldmodel.h"
#include "core/common/sizetag.h"
#include "core/time/clocknames.h"
#include "ui/common/clockspot.h"
#include "ui/mainwindow/controls.h"
#include "ui/mainwindow/picturebox.h"

#include <algorithm>

namespace tb {

namespace {
const QColor kRed(255, 0, 0);
}

PlacedClocks::PlacedClocks(QWidget *parent, const WorldModel &model, const QFont &font, const QFont &smallFont)
    : m_model(model)
{
    m_dates.push_back(makeLabel(parent, QStringLiteral("Label2"), kRed, font));
    moveTw(m_dates[0], 8415, 4905);
    m_times.push_back(makeLabel(parent, QStringLiteral("Label2"), kRed, font));
    moveTw(m_times[0], 8415, 5265);
    auto *box = new PictureBox(parent);
    box->setGeometry(px(6435), px(7245), px(480), px(480));
    m_pictures.push_back(box);
    auto *dst = makeLabel(parent, QStringLiteral("DST"), kRed, smallFont);
    dst->resize(std::max(dst->width(), px(315)), std::max(dst->height(), px(195)));
    moveTw(dst, 1800, 5160);
    dst->hide();
    m_marks.push_back(dst);
    makeSpot(parent);
}

void PlacedClocks::makeSpot(QWidget *parent)
{
    const int i = int(m_spots.size());
    auto *spot = new ClockSpot(
        parent,
        [this, i] {
            return placedClockName(m_model.clock(i).pictureKey, m_shown[size_t(i)], !mark(i)->isHidden());
        },
        true);
    spot->setAccessibleDescription(QStringLiteral("Enterで編集、Deleteで削除、矢印キーで移動（Shiftで10ピクセルずつ）"));
    // Tab goes through the clocks in their order.
    if (i > 0)
        QWidget::setTabOrder(m_spots.back(), spot);
    m_spots.push_back(spot);
    m_shown.push_back(0);
}

void PlacedClocks::create(int i)
{
    i = std::min(i, kMaxClocks - 1);
    while (count() <= i) {
        auto *box = new PictureBox(m_pictures[0]->parentWidget());
        box->resize(m_pictures[0]->size());
        box->setBorder(m_model.pictureBorder());
        box->hide();
        m_pictures.push_back(box);
        m_dates.push_back(copyLabel(m_dates[0]));
        m_times.push_back(copyLabel(m_times[0]));
        m_marks.push_back(copyLabel(m_marks[0]));
        makeSpot(m_pictures[0]->parentWidget());
    }
}

bool PlacedClocks::destroyLast()
{
    if (count() <= 1)
        return false;
    // The set may hold the control whose mouse press led here (a delete
    // picked by a click on its picture): it leaves the window at once and
    // is deleted once that event is done.
    // A focused clock that goes leaves the focus to the clock before it.
    if (m_spots.back()->window()->focusWidget() == m_spots.back())
        m_spots[m_spots.size() - 2]->setFocus(Qt::OtherFocusReason);
    for (QWidget *w : { static_cast<QWidget *>(m_pictures.back()), static_cast<QWidget *>(m_dates.back()),
                        static_cast<QWidget *>(m_times.back()), static_cast<QWidget *>(m_marks.back()),
                        static_cast<QWidget *>(m_spots.back()) }) {
        w->hide();
        w->setParent(nullptr);
        w->deleteLater();
    }
    m_pictures.pop_back();
    m_dates.pop_back();
    m_times.pop_back();
    m_marks.pop_back();
    m_spots.pop_back();
    m_shown.pop_back();
    return true;
}

void PlacedClocks::copyDown(int from, int to)
{
    PictureBox *src = picture(from);
    PictureBox *dst = picture(to);
    dst->setStretch(src->stretch());
    dst->setPicture(src->picture());
    dst->setBorder(src->border());
    dst->setGeometry(src->geometry());
    dst->setVisible(src->isVisible());
    const auto copy = [](const QLabel *s, QLabel *d) {
        setLabelText(d, s->text());
        d->move(s->pos());
        d->setVisible(s->isVisible());
    };
    copy(dateLabel(from), dateLabel(to));
    copy(timeLabel(from), timeLabel(to));
    copy(mark(from), mark(to));
    m_shown[size_t(to)] = m_shown[size_t(from)];
}

void PlacedClocks::applyPicture(int i, ClockEntry &e, const PictureStore &pictures)
{
    PictureBox *p = picture(i);
    p->setStretch(false);
    moveTw(p, e.pictureLeft, e.pictureTop);
    if (e.pictureWidth > 0) {
        p->setStretch(true);
        p->setFrameSize(QSize(px(e.pictureWidth), px(e.pictureHeight)));
    }
    if (e.pictureKey.isEmpty()) {
        p->setPicture(QImage());
    } else if (const PictureEntry *pic = pictures.find(e.pictureKey)) {
        if (const std::optional<QSize> size = stretchedSize(pic->tag)) {
            p->hide();
            p->setStretch(true);
            p->setFrameSize(QSize(px(size->width()), px(size->height())));
            p->show();
        }
        p->setPicture(pic->picture);
    } else {
        // The picture is gone (a user file that was not found): keep the clock without it.
        e.pictureKey.clear();
        p->setPicture(QImage());
    }
}

void PlacedClocks::placePicture(int i, double left, double top)
{
    PictureBox *p = picture(i);
    p->hide();
    moveTw(p, left, top);
    p->show();
}

void PlacedClocks::placeLabels(int i)
{
    const PictureBox *p = picture(i);
    QLabel *date = dateLabel(i);
    QLabel *time = timeLabel(i);
    moveTw(date, leftTw(p), topTw(p) + heightTw(p) + 50);
    moveTw(time, leftTw(p), topTw(date) + heightTw(date));
}

void PlacedClocks::placeMark(int i, double left, double top, bool show)
{
    QLabel *m = mark(i);
    m->hide();
    moveTw(m, left, top);
    if (show)
        m->show();
}

void PlacedClocks::placeSpot(int i, QPointF centre, double radius)
{
    spot(i)->cover(QPointF(twipsToPx(centre.x()), twipsToPx(centre.y())), twipsToPx(radius));
}

void PlacedClocks::shiftGroup(int i, QPoint shift)
{
    // Moved in place rather than hidden and shown again: the widgets repaint
    // once per move anyway, and a pressed one keeps the mouse.
    if (shift.isNull())
        return;
    for (QWidget *w : { static_cast<QWidget *>(picture(i)), static_cast<QWidget *>(timeLabel(i)),
                        static_cast<QWidget *>(dateLabel(i)) })
        w->move(w->pos() + shift);
}

void PlacedClocks::announce()
{
    for (int i = 0; i <= m_model.lastClock() && i < count(); ++i)
        spot(i)->announce();
}

void PlacedClocks::setTimes(int i, DateTime t)
{
    m_shown[size_t(i)] = t;
    setLabelText(dateLabel(i), formatDate(t));
    setLabelText(timeLabel(i), formatTime(t));
}

void PlacedClocks::applyBorder()
{
    for (int i = 0; i <= m_model.lastClock() && i < count(); ++i)
        picture(i)->setBorder(m_model.pictureBorder());
}

void PlacedClocks::show(int i)
{
    picture(i)->show();
    dateLabel(i)->show();
    timeLabel(i)->show();
}

} // namespace tb
