#include "ui/editor/clockeditordialog.h"

#include "ui/common/modaldriver.h"
#include "core/editor/editorrules.h"
#include "core/editor/namesort.h"
#include "ui/common/pictureframewidget.h"
#include "core/editor/picturestore.h"
#include "core/common/sizetag.h"
#include "core/face/clockface.h"
#include "ui/common/fonts.h"
#include "ui/common/messenger.h"
#include "core/settings/schema.h"
#include "core/time/clocksource.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <cmath>

namespace tb {

namespace {
int px(int twips) { return int(std::lround(twipsToPx(twips))); }
QRect twipsRect(int l, int t, int w, int h) { return QRect(px(l), px(t), px(w), px(h)); }

constexpr int kClientWidth = 5655, kClientHeight = 4950;
constexpr int kPreviewX = 800, kPreviewY = 2300;
constexpr int kDateLeft = 1530;

QLabel *headingLabel(QWidget *parent, const QString &text, const QRect &r)
{
    auto *l = new QLabel(text, parent);
    QFont f = designFont(9);
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: #008000;"));
    l->setGeometry(r);
    return l;
}
} // namespace

ClockEditorWindow::ClockEditorWindow(ClockEditorState &state, ClockEditorServices &services, QWidget *mainWindow)
    : QDialog(mainWindow), m_state(state), m_services(services)
{
    setWindowTitle(QStringLiteral("ディジタル時計の追加"));
    setFixedSize(px(kClientWidth), px(kClientHeight));
    buildControls();
    // A new window starts with the box clear, and the flag follows the box.
    m_state.summerTime = false;

    if (mainWindow)
        move(mainWindow->frameGeometry().topLeft() + QPoint(px(50), px(100)));
    fillLists();
}

ClockEditorWindow::~ClockEditorWindow() = default;

void ClockEditorWindow::buildControls()
{
    m_zoneHeading = headingLabel(this, QStringLiteral("時差を選択してください（グリニッジ標準時間との時差）"),
                            twipsRect(135, 0, 4965 + 300, 240 + 30));
    m_zoneList = new QListWidget(this);
    m_zoneList->setGeometry(twipsRect(180, 270, 5280, 1140));
    m_zoneList->setAccessibleName(m_zoneHeading->text()); // each list is named after its heading

    m_summerTimeBox = new QCheckBox(QStringLiteral("SummerTime導入地区"), this);
    const QRect ck = twipsRect(180, 1485, 2355, 195);
    const int ckH = std::max(ck.height(), m_summerTimeBox->sizeHint().height());
    m_summerTimeBox->setGeometry(ck.x(), ck.center().y() - ckH / 2, ck.width(), ckH);
    m_summerRuleNote = new QLabel(QStringLiteral("夏時間は各地の規則に従います"), this);
    m_summerRuleNote->adjustSize();
    m_summerRuleNote->move(px(2600), m_summerTimeBox->geometry().center().y() - m_summerRuleNote->height() / 2);
    m_summerRuleNote->hide();

    m_pictureFrame = new PictureFrameWidget(this);
    m_pictureFrame->moveTwips(1530, 1800);
    m_pictureFrame->setStretch(true);
    m_pictureFrame->setTwipsSize(QSize(915, 555));

    for (QLabel **l : { &m_dateLabel, &m_timeLabel }) {
        *l = new QLabel(QStringLiteral("     "), this);
        (*l)->setStyleSheet(QStringLiteral("color: #FF0000;"));
        (*l)->adjustSize();
    }

    const auto button = [this](const QString &caption, const QRect &r, void (ClockEditorWindow::*clicked)()) {
        auto *b = new QPushButton(caption, this);
        b->setGeometry(r);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, clicked);
        return b;
    };
    m_addPictureButton = button(QStringLiteral("イラスト、写真の選択"), twipsRect(3015, 2925, 2340, 435),
                                &ClockEditorWindow::addUserPicture);
    m_confirmButton = button(QStringLiteral("決定"), twipsRect(3015, 1935, 1095, 435), &ClockEditorWindow::confirm);
    m_cancelButton = button(QStringLiteral("キャンセル"), twipsRect(4140, 1935, 1185, 435), &QDialog::reject);

    m_pictureHeading = headingLabel(this, QStringLiteral("国旗、イラストを選択してください"),
                            twipsRect(135, 2880, 3015 - 135, 285));
    // The heading sits on the list it names, leaving what room there is above
    // it to the preview's date and time.
    m_pictureHeading->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_pictureNameList = new QListWidget(this);
    m_pictureNameList->setGeometry(twipsRect(180, 3150, 2220, 1680));
    m_pictureNameList->setAccessibleName(m_pictureHeading->text());

    m_removePictureButton = new QPushButton(this);
    m_removePictureButton->setGeometry(twipsRect(3015, 3555, 2355, 420));
    m_removePictureButton->setAutoDefault(false);
    m_removePictureButton->hide();

    setTabOrder(m_addPictureButton, m_confirmButton);
    setTabOrder(m_confirmButton, m_cancelButton);
    setTabOrder(m_cancelButton, m_summerTimeBox);
    setTabOrder(m_summerTimeBox, m_pictureNameList);
    setTabOrder(m_pictureNameList, m_zoneList);
    setTabOrder(m_zoneList, m_removePictureButton);

    connect(m_zoneList, &QListWidget::itemSelectionChanged, this, &ClockEditorWindow::zoneChosen);
    connect(m_summerTimeBox, &QCheckBox::clicked, this, &ClockEditorWindow::summerTimeToggled);
    connect(m_pictureNameList, &QListWidget::itemSelectionChanged, this, &ClockEditorWindow::pictureNameChosen);
    connect(m_removePictureButton, &QPushButton::clicked, this, &ClockEditorWindow::removePicture);
}

void ClockEditorWindow::fillLists()
{
    m_zones.fill();
    m_zoneList->addItems(m_zones.texts());
    m_names = m_services.store.keys();
    sortPictureNames(m_names);
    m_pictureNameList->addItems(m_names);
}

int ClockEditorWindow::nameRow(const QString &name) const
{
    return name.isEmpty() ? -1 : int(m_names.indexOf(name));
}

void ClockEditorWindow::setPictureKey(const QString &name)
{
    m_state.pictureKey = name;
    const int row = nameRow(name);
    if (row < 0 || !m_services.store.contains(name)) {
        // A name the list does not hold selects nothing and hands back nothing.
        m_pictureNameList->clearSelection();
        m_state.pictureKey.clear();
        clearPicture();
        return;
    }
    m_pictureNameList->setCurrentRow(row);
    nameChosen(name); // also when the row was already selected
}

void ClockEditorWindow::setSummerTime(bool on)
{
    m_summerTimeBox->setChecked(on);
    m_state.summerTime = on;
    drawPreview();
}

void ClockEditorWindow::setMode(EditMode mode)
{
    m_state.mode = mode;
    if (mode == EditMode::Add) {
        setWindowTitle(QStringLiteral("デジタル時計の追加"));
        m_confirmButton->setText(QStringLiteral("決定"));
        m_state.pictureKey.clear();
        for (QWidget *w : { static_cast<QWidget *>(m_addPictureButton), static_cast<QWidget *>(m_zoneList),
                            static_cast<QWidget *>(m_summerTimeBox), static_cast<QWidget *>(m_pictureNameList) })
            w->show();
    } else if (mode == EditMode::Edit) {
        setWindowTitle(QStringLiteral("デジタル時計の編集"));
        m_confirmButton->setText(QStringLiteral("決定"));
    } else if (mode == EditMode::Delete) {
        setWindowTitle(QStringLiteral("デジタル時計の削除"));
        m_confirmButton->setText(QStringLiteral("削除します"));
        // Only the clock itself and the two answers remain: the headings and
        // the remove button go with the lists they belong to.
        for (QWidget *w : { static_cast<QWidget *>(m_addPictureButton), static_cast<QWidget *>(m_zoneList),
                            static_cast<QWidget *>(m_summerTimeBox), static_cast<QWidget *>(m_pictureNameList),
                            static_cast<QWidget *>(m_zoneHeading), static_cast<QWidget *>(m_pictureHeading),
                            static_cast<QWidget *>(m_removePictureButton) })
            w->hide();
    }
}

void ClockEditorWindow::activate()
{
    if (!m_state.pictureKey.isEmpty()) {
        if (const PictureEntry *e = m_services.store.find(m_state.pictureKey)) {
            m_pictureFrame->setPicture(e->picture);
        } else {
            m_state.pictureKey.clear();
            clearPicture();
        }
    }
    placeDateLabels();
    updateSummerBox();
    drawPreview();
    m_state.confirmed = false;
    for (QPushButton *b : { m_addPictureButton, m_confirmButton }) {
        if (!b->isHidden()) {
            b->setFocus();
            break;
        }
    }
}

int ClockEditorWindow::headingTextTop() const
{
    return m_pictureHeading->y() + m_pictureHeading->height() - m_pictureHeading->sizeHint().height();
}

void ClockEditorWindow::placeDateLabels()
{
    const int dateTop = m_pictureFrame->topTwips() + m_pictureFrame->twipsSize().height() + 50;
    m_dateLabel->move(px(kDateLeft), px(dateTop));
    const int under = m_dateLabel->y() + m_dateLabel->height();
    if (under + m_timeLabel->height() <= headingTextTop()) {
        m_timeLabel->move(px(kDateLeft), under);
    } else {
        // A tall picture leaves no room for two lines above the name list's
        // heading: the time then goes beside the date instead of over the heading.
        m_timeLabel->move(m_dateLabel->x() + m_dateLabel->width() + px(90), m_dateLabel->y());
    }
}

std::optional<ZoneReading> ClockEditorWindow::zoneInForce(qint64 utc)
{
    if (!m_state.placeRules || m_state.zone.isEmpty())
        return std::nullopt;
    return m_services.zones.reading(m_state.zone, utc);
}

void ClockEditorWindow::updateSummerBox()
{
    // The box keeps its tick for the common rule, but has no say meanwhile.
    const bool byZone = zoneInForce(m_services.clock.moment().utc).has_value();
    m_summerTimeBox->setEnabled(!byZone);
    m_summerRuleNote->setVisible(byZone && !m_summerTimeBox->isHidden());
}

void ClockEditorWindow::drawPreview()
{
    const Moment now = m_services.clock.moment();
    if (const std::optional<ZoneReading> zone = zoneInForce(now.utc))
        m_previewTime = zoneTime(now.japan, *zone);
    else
        m_previewTime = tb::previewTime(now.japan, m_state.hours, m_state.minutes, m_summerTimeBox->isChecked());
    m_dateLabel->setText(formatDate(m_previewTime));
    m_dateLabel->adjustSize();
    m_timeLabel->setText(formatTime(m_previewTime));
    m_timeLabel->adjustSize();
    placeDateLabels();
    update();
}

void ClockEditorWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintFace(p, editorFace(kPreviewX, kPreviewY, m_previewTime, m_services.colours),
              palette().color(QPalette::WindowText));
}

void ClockEditorWindow::zoneChosen()
{
    const QList<QListWidgetItem *> sel = m_zoneList->selectedItems();
    if (sel.isEmpty())
        return;
    const std::optional<ZoneDifference> d = m_zones.difference(m_zoneList->row(sel.first()));
    if (!d)
        return;
    m_state.hours = d->difTime;
    m_state.minutes = d->difMinute;
    m_state.zone = m_zones.zone(m_zoneList->row(sel.first()));
    updateSummerBox();
    drawPreview();
}

void ClockEditorWindow::summerTimeToggled()
{
    m_state.summerTime = m_summerTimeBox->isChecked();
    drawPreview();
}

void ClockEditorWindow::pictureNameChosen()
{
    const QList<QListWidgetItem *> sel = m_pictureNameList->selectedItems();
    if (!sel.isEmpty())
        nameChosen(sel.first()->text());
}

void ClockEditorWindow::nameChosen(const QString &name)
{
    const PictureEntry *e = m_services.store.find(name);
    if (!e) {
        m_state.pictureKey.clear();
        clearPicture();
        return;
    }
    m_pictureFrame->hide();
    if (const std::optional<QSize> s = stretchedSize(e->tag)) {
        m_pictureFrame->setPicture(e->picture);
        m_pictureFrame->setStretch(true);
        m_pictureFrame->setTwipsSize(*s);
    } else {
        m_pictureFrame->setStretch(false);
        m_pictureFrame->setPicture(e->picture);
    }
    m_pictureFrame->show();
    m_pictureFrame->setAccessibleName(name); // what the preview shows
    placeDateLabels();
    m_state.pictureKey = name;
    if (isUserPictureName(name)) {
        m_removePictureButton->setText(removeButtonCaption(name));
        m_removePictureButton->show();
    } else {
        m_removePictureButton->hide();
    }
}

void ClockEditorWindow::clearPicture()
{
    m_pictureFrame->setPicture(QImage());
    m_pictureFrame->setAccessibleName(QString());
    m_removePictureButton->hide();
    placeDateLabels();
}

void ClockEditorWindow::confirm()
{
    m_state.confirmed = true;
    accept();
}

void ClockEditorWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        QWidget *f = focusWidget();
        if (auto *b = qobject_cast<QPushButton *>(f))
            b->click();
        else if (f == m_pictureNameList)
            confirm(); // Enter in the name list confirms like the button
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

ClockEditorDialog::ClockEditorDialog(PictureStore &store, ClockSource &clock, Messenger &messenger,
                 const FaceColours &colours, PictureChooser &chooser,
                 std::function<void(const QString &)> pictureRemoved, QWidget *mainWindow)
    : m_services{ store, clock, messenger, colours, chooser, m_zoneRules, std::move(pictureRemoved) },
      m_mainWindow(mainWindow)
{
}

void ClockEditorDialog::showModal(EditorFields &fields)
{
    ClockEditorWindow window(m_state, m_services, m_mainWindow);
    // The main window writes the clock's values for edit and delete only; an
    // add starts from what the editor last held.
    if (fields.mode != EditMode::Add) {
        window.setClockIndex(fields.clockIndex);
        window.setPictureKey(fields.pictureKey);
        window.setHours(fields.hours);
        window.setMinutes(fields.minutes);
        window.setSummerTime(fields.summerTime);
        window.setZone(fields.zone);
    }
    window.setPlaceRules(fields.placeRules);
    window.setMode(fields.mode);
    window.activate();
    runModal(window, m_driver);
    fields.confirmed = m_state.confirmed;
    fields.clockIndex = m_state.clockIndex;
    fields.pictureKey = m_state.pictureKey;
    fields.hours = m_state.hours;
    fields.minutes = m_state.minutes;
    fields.summerTime = m_state.summerTime;
    fields.zone = m_state.zone;
    fields.pictureTwips = window.pictureFrame()->twipsSize();
}

} // namespace tb
