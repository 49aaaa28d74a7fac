#include "ui/mainwindow/placedclocks.h"

#include "core/editor/picturestore.h"
#include "core/model/worldmodel.h"
#include "core/common/sizetag.h"
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
    }
}

bool PlacedClocks::destroyLast()
{
    if (count() <= 1)
        return false;
    // The set may hold the control whose mouse press led here (a delete
    // picked by a click on its picture): it leaves the window at once and
    // is deleted once that event is done.
    for (QWidget *w : { static_cast<QWidget *>(m_pictures.back()), static_cast<QWidget *>(m_dates.back()),
                        static_cast<QWidget *>(m_times.back()), static_cast<QWidget *>(m_marks.back()) }) {
        w->hide();
        w->setParent(nullptr);
        w->deleteLater();
    }
    m_pictures.pop_back();
    m_dates.pop_back();
    m_times.pop_back();
    m_marks.pop_back();
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

void PlacedClocks::setTimes(int i, DateTime t)
{
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
