#include "ui/mainwindow/placing.h"

#include "core/editor/clockeditor.h"
#include "core/editor/picturestore.h"
#include "ui/mainwindow/clientarea.h"
#include "ui/mainwindow/controls.h"
#include "ui/common/messenger.h"
#include "ui/mainwindow/picturebox.h"
#include "ui/mainwindow/placedclocks.h"
#include "core/model/worldmodel.h"
#include "core/settings/schema.h"
#include "core/settings/settingsstore.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>

namespace tb {

namespace {

// The drag feedback: a red circle outline. It never takes the mouse, and as
// it has no background of its own, moving it repaints only the rectangles it
// leaves and enters.
class RedCircle : public QWidget {
public:
    explicit RedCircle(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(255, 0, 0), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
};

QPointF twipsOf(const QMouseEvent *e)
{
    return QPointF(pxToTwips(e->position().x()), pxToTwips(e->position().y()));
}

} // namespace

Placing::Placing(WorldModel &model, const MainLayout &layout, ClientArea *area, QWidget *mapWidget,
                 PlacedClocks &placed, Messenger &messenger, const QFont &font)
    : m_model(model), m_layout(layout), m_area(area), m_mapWidget(mapWidget), m_placed(placed),
      m_messenger(messenger)
{
    m_mapWidget->installEventFilter(this);

    m_redCircle = new RedCircle(area);
    m_redCircle->setGeometry(px(4950), px(6975), px(880), px(880));
    m_redCircle->hide();

    m_modeBar = new QFrame(area);
    m_modeBar->setFrameShape(QFrame::Panel);
    m_modeBar->setGeometry(px(6975), px(0), px(4845), px(390));
    m_modeBar->setAutoFillBackground(true);
    m_cancelModeButton = new QPushButton(QStringLiteral("キャンセル"), m_modeBar);
    m_cancelModeButton->setFont(font);
    m_cancelModeButton->setGeometry(px(3690), px(45), px(1095), px(285));
    m_modeHint = makeLabel(m_modeBar, QStringLiteral("対象となる時計、イラストをクリックしてください"),
                               QColor(255, 0, 0), font);
    moveTw(m_modeHint, 45, 90);
    m_modeBar->hide();
    connect(m_cancelModeButton, &QPushButton::clicked, this, &Placing::cancelMode);

    // Esc does what the bar's cancel button does, only while the bar is shown.
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), area->window()); // the main window
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &Placing::cancelMode);
}

Placing::~Placing() = default;

void Placing::watch(int i)
{
    if (i < 0 || i >= m_placed.count())
        return;
    for (QWidget *w : { static_cast<QWidget *>(m_placed.picture(i)),
                        static_cast<QWidget *>(m_placed.dateLabel(i)),
                        static_cast<QWidget *>(m_placed.timeLabel(i)) })
        w->installEventFilter(this); // installing twice keeps one filter
    m_redCircle->raise();
}

void Placing::placeBar(const MainLayout &layout)
{
    const bool shown = m_modeBar->isVisible();
    if (shown)
        m_modeBar->hide();
    moveTw(m_modeBar, layout.map.left() + layout.map.width() - tw(m_modeBar->width()), topTw(m_modeBar));
    if (shown)
        m_modeBar->show();
}

void Placing::showBar(bool on)
{
    if (on)
        m_modeBar->raise();
    m_modeBar->setVisible(on);
    m_escape->setEnabled(on);
}

int Placing::ownerOf(const QObject *control) const
{
    for (int i = 0; i < m_placed.count(); ++i)
        if (control == m_placed.picture(i) || control == m_placed.dateLabel(i)
            || control == m_placed.timeLabel(i))
            return i;
    return -1;
}

bool Placing::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // A quick second press arrives as a double click: it presses all the same.
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (!press && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    const auto *e = static_cast<QMouseEvent *>(event);
    const QPointF p = twipsOf(e);
    if (watched == m_mapWidget) {
        if (press)
            mapPressed(e->button(), e->modifiers(), p.x(), p.y());
        else if (type == QEvent::MouseMove)
            mapMoved(e->buttons(), e->modifiers(), p.x(), p.y());
        else
            mapReleased(e->button(), e->modifiers(), p.x(), p.y());
        return true;
    }
    // A date or time label behaves exactly like its clock's picture: its
    // events go to the picture's handlers with the label's own position.
    const int i = ownerOf(watched);
    if (i < 0)
        return QObject::eventFilter(watched, event);
    if (press)
        picturePressed(i, e->button(), e->modifiers(), p.x(), p.y());
    else if (type == QEvent::MouseMove)
        pictureMoved(i, e->buttons(), e->modifiers(), p.x(), p.y());
    else
        pictureReleased(i, e->button(), e->modifiers(), p.x(), p.y());
    return true;
}

void Placing::chooseMode(int index)
{
    if (!m_editor)
        return;
    switch (index) {
    case 1: {
        if (m_model.clocks().full()) {
            m_messenger.message(QStringLiteral("配置できる時計は21個までです。これ以上は追加できません"));
            return;
        }
        m_clockMode = EditMode::Add;
        showBar(false);
        EditorFields f;
        f.mode = EditMode::Add;
        showEditor(f);
        if (f.confirmed) {
            const ClockEntry e = addedEntry(f, m_layout);
            m_model.clocks().append(e);
            const int n = m_model.lastClock();
            // The clock stays on the map; the exit save tries again.
            if (!saveAddedClock(n, e))
                m_messenger.message(settingsNotSavedMessage());
            emit clockAdded(n);
        }
        m_clockMode = EditMode::None;
        break;
    }
    case 2:
        m_clockMode = EditMode::Edit;
        showBar(true);
        break;
    case 3:
        m_clockMode = EditMode::Delete;
        showBar(true);
        break;
    default:
        break;
    }
}

void Placing::cancelMode()
{
    m_clockMode = EditMode::None;
    showBar(false);
}

void Placing::mapPressed(Qt::MouseButton button, Qt::KeyboardModifiers, double x, double y)
{
    if (button != Qt::LeftButton)
        return;
    m_pickedClock.reset();
    const MainLayout &l = m_layout;
    const double r = m_model.faceRadius(m_layout.bandRadius);
    std::vector<QPointF> centres;
    for (int i = 0; i <= m_model.lastClock(); ++i) {
        const ClockEntry &e = m_model.clock(i);
        centres.emplace_back(m_layout.windowX(e.faceLeft), m_layout.windowY(e.faceTop));
    }
    const int i = pickFace(centres, r, QPointF(l.map.left() + x, l.map.top() + y));
    if (i < 0)
        return;
    m_pickedClock = i;
    if (m_clockMode != EditMode::None) {
        if (m_clockMode == EditMode::Edit || m_clockMode == EditMode::Delete)
            editOrDelete(i);
        return;
    }
    m_faceDrag.press(QPointF(x, y), centres[size_t(i)], r);
    m_redCircle->setGeometry(px(m_faceDrag.left), px(m_faceDrag.top), px(2 * r), px(2 * r));
    m_redCircle->raise();
    m_redCircle->show();
    m_dragging = true;
}

void Placing::mapMoved(Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y)
{
    if (!m_dragging)
        return;
    m_faceDrag.move(QPointF(x, y));
    // Moving the circle repaints just its old and new rectangles.
    m_redCircle->move(px(m_faceDrag.left), px(m_faceDrag.top));
}

void Placing::mapReleased(Qt::MouseButton, Qt::KeyboardModifiers, double, double)
{
    m_dragging = false;
    if (m_redCircle->isHidden())
        return;
    // A drag cut short (a message took the mouse) may leave the circle up
    // with no face picked: then there is nothing to move.
    if (m_pickedClock && *m_pickedClock <= m_model.lastClock()) {
        const int i = *m_pickedClock;
        // An unmoved circle keeps the stored position exactly.
        if (m_faceDrag.moved) {
            ClockEntry &e = m_model.clocks()[i];
            const QPointF c = m_faceDrag.centre();
            e.faceLeft = refX(m_layout, c.x());
            e.faceTop = refY(m_layout, c.y());
        }
        emit faceMoved(i);
    }
    m_redCircle->hide();
    redrawFaces();
}

void Placing::redrawFaces()
{
    m_area->clearSurface();
    emit redrawRequested();
}

void Placing::picturePressed(int index, Qt::MouseButton, Qt::KeyboardModifiers, double x, double y)
{
    m_dragging = true;
    m_pictureDrag.press(QPointF(x, y));
    if (m_clockMode == EditMode::Delete || m_clockMode == EditMode::Edit) {
        m_dragging = false;
        editOrDelete(index);
    }
}

void Placing::pictureMoved(int index, Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y)
{
    if (!m_dragging || index < 0 || index > m_model.lastClock() || index >= m_placed.count())
        return;
    // The face and its mark stay; the picture carries the grab point along.
    const QPointF d = m_pictureDrag.step(QPointF(x, y));
    if (d.isNull())
        return; // an unmoved picture keeps the stored position exactly
    // The entry takes the picture's next place on the pixel grid, and the
    // picture goes where the entry says (its labels along with it).
    const PictureBox *box = m_placed.picture(index);
    ClockEntry &e = m_model.clocks()[index];
    e.pictureLeft = refX(m_layout, leftTw(box) + tw(px(d.x())));
    e.pictureTop = refY(m_layout, topTw(box) + tw(px(d.y())));
    const QPoint to(px(m_layout.windowX(e.pictureLeft)), px(m_layout.windowY(e.pictureTop)));
    m_placed.shiftGroup(index, to - box->pos());
}

void Placing::pictureReleased(int, Qt::MouseButton, Qt::KeyboardModifiers, double, double)
{
    m_dragging = false;
}

void Placing::pickClock(int i, EditMode mode)
{
    if (m_dragging)
        return;
    m_clockMode = mode;
    editOrDelete(i);
}

void Placing::moveClock(int i, QPoint step)
{
    if (m_dragging || i < 0 || i > m_model.lastClock() || i >= m_placed.count())
        return;
    ClockEntry &e = m_model.clocks()[i];
    const PictureBox *box = m_placed.picture(i);
    const double r = m_model.faceRadius(m_layout.bandRadius);
    const QPointF centre(m_layout.windowX(e.faceLeft), m_layout.windowY(e.faceTop));
    const QRectF face(twipsToPx(centre.x() - r), twipsToPx(centre.y() - r), twipsToPx(2 * r), twipsToPx(2 * r));
    const QRectF map(twipsToPx(m_layout.map.left()), twipsToPx(m_layout.map.top()), twipsToPx(m_layout.map.width()),
                     twipsToPx(m_layout.map.height()));
    step = keepOnMap(step, map, face.united(QRectF(box->geometry())));
    if (step.isNull())
        return;
    // Kept as a drag keeps them: the face's centre and the picture's corner
    // in reference twips, stored on exit.
    e.faceLeft = refX(m_layout, centre.x() + tw(step.x()));
    e.faceTop = refY(m_layout, centre.y() + tw(step.y()));
    e.pictureLeft = refX(m_layout, leftTw(box) + tw(step.x()));
    e.pictureTop = refY(m_layout, topTw(box) + tw(step.y()));
    const QPoint to(px(m_layout.windowX(e.pictureLeft)), px(m_layout.windowY(e.pictureTop)));
    m_placed.shiftGroup(i, to - box->pos());
    emit faceMoved(i);
    redrawFaces();
}

void Placing::showEditor(EditorFields &f)
{
    // The summer box has no say while each place keeps its own rules.
    f.placeRules = m_model.summerRule() == SummerRule::Zone;
    m_editor->showModal(f);
}

void Placing::editOrDelete(int i)
{
    if (i < 0 || i > m_model.lastClock())
        return;
    if (m_clockMode == EditMode::Edit) {
        m_dragging = false;
        if (m_editor) {
            EditorFields f = editorFieldsFor(m_model.clock(i), i, EditMode::Edit);
            showEditor(f);
            if (f.confirmed) {
                ClockEntry &e = m_model.clocks()[i];
                applyEdit(e, f);
                PictureBox *box = m_placed.picture(i);
                box->setStretch(false);
                if (e.pictureWidth > 0) {
                    box->setStretch(true);
                    box->setFrameSize(QSize(px(e.pictureWidth), px(e.pictureHeight)));
                }
                const PictureEntry *pic = m_model.pictures().find(e.pictureKey);
                box->setPicture(pic ? pic->picture : QImage());
                box->show();
            }
        }
    } else if (m_clockMode == EditMode::Delete) {
        if (m_model.lastClock() == 0) {
            m_messenger.message(QStringLiteral("削除はできません"));
        } else if (m_editor) {
            EditorFields f = editorFieldsFor(m_model.clock(i), i, EditMode::Delete);
            showEditor(f);
            if (f.confirmed)
                deleteClock(i);
        }
    } else {
        return;
    }
    m_clockMode = EditMode::None;
    showBar(false);
}

void Placing::deleteClock(int i)
{
    const int last = m_model.lastClock();
    if (i < 0 || i > last || last == 0)
        return;
    if (m_messenger.message(QStringLiteral("削除してもよろしいですか"), Messenger::Buttons::OkCancel,
                            QStringLiteral("時計の削除"))
        != Messenger::Answer::Ok)
        return;
    m_model.clocks().remove(i);
    for (int j = i; j < last; ++j)
        m_placed.copyDown(j + 1, j);
    m_placed.destroyLast();
    for (int j = i; j <= m_model.lastClock(); ++j)
        emit faceMoved(j);
    // The next tick draws the remaining faces.
    m_area->clearSurface();
}

void Placing::endDragForMessage()
{
    // A message takes the mouse, so the release never comes here: the face
    // stays where it was drawn (the circle goes), a picture stays where it
    // was carried (its entry went with it).
    m_dragging = false;
    m_redCircle->hide();
}

void Placing::remindToPlace(int i)
{
    if (!m_reminder.visit(m_model.clock(i), m_layout) || m_reminderShowing)
        return;
    m_reminderShowing = true;
    endDragForMessage();
    m_messenger.message(QStringLiteral("左上に追加された時計とイラストを希望する位置に移動させてください"
                                       "\r\n(ドラッグ＆ドロップによって、移動が可能です)"));
    m_reminderShowing = false;
}

} // namespace tb
