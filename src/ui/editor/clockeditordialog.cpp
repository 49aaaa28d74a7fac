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
    m_state.summer = false;

    // Form_Load
    if (mainWindow)
        move(mainWindow->frameGeometry().topLeft() + QPoint(px(50), px(100)));
    fillLists();
}

ClockEditorWindow::~ClockEditorWindow() = default;

void ClockEditorWindow::buildControls()
{
    m_label1 = headingLabel(this, QStringLiteral("時差を選択してください（グリニッジ標準時間との時差）"),
                            twipsRect(135, 0, 4965 + 300, 240 + 30));
    m_listcountry = new QListWidget(this);
    m_listcountry->setGeometry(twipsRect(180, 270, 5280, 1140));

    m_summerTimeCK = new QCheckBox(QStringLiteral("SummerTime導入地区"), this);
    const QRect ck = twipsRect(180, 1485, 2355, 195);
    const int ckH = std::max(ck.height(), m_summerTimeCK->sizeHint().height());
    m_summerTimeCK->setGeometry(ck.x(), ck.center().y() - ckH / 2, ck.width(), ckH);

    m_imgFlag = new PictureFrameWidget(this);
    m_imgFlag->moveTwips(1530, 1800);
    m_imgFlag->setStretch(true);
    m_imgFlag->setTwipsSize(QSize(915, 555));

    for (QLabel **l : { &m_labelDate, &m_labelTime }) {
        *l = new QLabel(QStringLiteral("     "), this);
        (*l)->setStyleSheet(QStringLiteral("color: #FF0000;"));
        (*l)->adjustSize();
    }

    const char *captions[3] = { "イラスト、写真の選択", "決定", "キャンセル" };
    const QRect rects[3] = { twipsRect(3015, 2925, 2340, 435), twipsRect(3015, 1935, 1095, 435),
                             twipsRect(4140, 1935, 1185, 435) };
    for (int i = 0; i < 3; ++i) {
        m_comSelect[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        m_comSelect[i]->setGeometry(rects[i]);
        m_comSelect[i]->setAutoDefault(false);
        connect(m_comSelect[i], &QPushButton::clicked, this, [this, i] { ComSelect_Click(i); });
    }

    m_label2 = headingLabel(this, QStringLiteral("国旗、イラストを選択してください"),
                            twipsRect(135, 2880, 3015 - 135, 285));
    // The heading sits on the list it names, leaving what room there is above
    // it to the preview's date and time.
    m_label2->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_listCName = new QListWidget(this);
    m_listCName->setGeometry(twipsRect(180, 3150, 2220, 1680));

    m_comDel = new QPushButton(this);
    m_comDel->setGeometry(twipsRect(3015, 3555, 2355, 420));
    m_comDel->setAutoDefault(false);
    m_comDel->hide();

    setTabOrder(m_comSelect[0], m_comSelect[1]);
    setTabOrder(m_comSelect[1], m_comSelect[2]);
    setTabOrder(m_comSelect[2], m_summerTimeCK);
    setTabOrder(m_summerTimeCK, m_listCName);
    setTabOrder(m_listCName, m_listcountry);
    setTabOrder(m_listcountry, m_comDel);

    connect(m_listcountry, &QListWidget::itemSelectionChanged, this, &ClockEditorWindow::Listcountry_Click);
    connect(m_summerTimeCK, &QCheckBox::clicked, this, &ClockEditorWindow::SummerTimeCK_Click);
    connect(m_listCName, &QListWidget::itemSelectionChanged, this, &ClockEditorWindow::ListCName_Click);
    connect(m_comDel, &QPushButton::clicked, this, &ClockEditorWindow::ComDel_Click);
}

void ClockEditorWindow::fillLists()
{
    m_zones.fill();
    m_listcountry->addItems(m_zones.texts());
    m_names = m_services.store.keys();
    sortPictureNames(m_names);
    m_listCName->addItems(m_names);
}

int ClockEditorWindow::nameRow(const QString &name) const
{
    return name.isEmpty() ? -1 : int(m_names.indexOf(name));
}

void ClockEditorWindow::setPselectKeyCode(const QString &name)
{
    m_state.pselectKeyCode = name;
    const int row = nameRow(name);
    if (row < 0 || !m_services.store.contains(name)) {
        // A name the list does not hold selects nothing and hands back nothing.
        m_listCName->clearSelection();
        m_state.pselectKeyCode.clear();
        clearPicture();
        return;
    }
    m_listCName->setCurrentRow(row);
    nameChosen(name); // also when the row was already selected
}

void ClockEditorWindow::setPSummertimeck(bool on)
{
    m_summerTimeCK->setChecked(on);
    m_state.summer = on;
    drawpreview();
}

void ClockEditorWindow::setPEditMode(EditMode mode)
{
    m_state.editMode = mode;
    if (mode == EditMode::Add) {
        setWindowTitle(QStringLiteral("デジタル時計の追加"));
        m_comSelect[1]->setText(QStringLiteral("決定"));
        m_state.pselectKeyCode.clear();
        for (QWidget *w : { static_cast<QWidget *>(m_comSelect[0]), static_cast<QWidget *>(m_listcountry),
                            static_cast<QWidget *>(m_summerTimeCK), static_cast<QWidget *>(m_listCName) })
            w->show();
    } else if (mode == EditMode::Edit) {
        setWindowTitle(QStringLiteral("デジタル時計の編集"));
        m_comSelect[1]->setText(QStringLiteral("決定"));
    } else if (mode == EditMode::Delete) {
        setWindowTitle(QStringLiteral("デジタル時計の削除"));
        m_comSelect[1]->setText(QStringLiteral("削除します"));
        // Only the clock itself and the two answers remain: the headings and
        // the remove button go with the lists they belong to.
        for (QWidget *w : { static_cast<QWidget *>(m_comSelect[0]), static_cast<QWidget *>(m_listcountry),
                            static_cast<QWidget *>(m_summerTimeCK), static_cast<QWidget *>(m_listCName),
                            static_cast<QWidget *>(m_label1), static_cast<QWidget *>(m_label2),
                            static_cast<QWidget *>(m_comDel) })
            w->hide();
    }
}

void ClockEditorWindow::Form_Activate()
{
    if (!m_state.pselectKeyCode.isEmpty()) {
        if (const PictureEntry *e = m_services.store.find(m_state.pselectKeyCode)) {
            m_imgFlag->setPicture(e->picture);
        } else {
            m_state.pselectKeyCode.clear();
            clearPicture();
        }
    }
    placeDateLabels();
    drawpreview();
    m_state.pUpdated = false;
    for (QPushButton *b : { m_comSelect[0], m_comSelect[1] }) {
        if (!b->isHidden()) {
            b->setFocus();
            break;
        }
    }
}

int ClockEditorWindow::headingTextTop() const
{
    return m_label2->y() + m_label2->height() - m_label2->sizeHint().height();
}

void ClockEditorWindow::placeDateLabels()
{
    const int dateTop = m_imgFlag->topTwips() + m_imgFlag->twipsSize().height() + 50;
    m_labelDate->move(px(kDateLeft), px(dateTop));
    const int under = m_labelDate->y() + m_labelDate->height();
    if (under + m_labelTime->height() <= headingTextTop()) {
        m_labelTime->move(px(kDateLeft), under);
    } else {
        // A tall picture leaves no room for two lines above the name list's
        // heading: the time then goes beside the date instead of over the heading.
        m_labelTime->move(m_labelDate->x() + m_labelDate->width() + px(90), m_labelDate->y());
    }
}

void ClockEditorWindow::drawpreview()
{
    m_previewTime = tb::previewTime(m_services.clock.moment().japan, m_state.pDifTime, m_state.pDifMinute,
                                m_summerTimeCK->isChecked());
    m_labelDate->setText(formatDate(m_previewTime));
    m_labelDate->adjustSize();
    m_labelTime->setText(formatTime(m_previewTime));
    m_labelTime->adjustSize();
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

void ClockEditorWindow::Listcountry_Click()
{
    const QList<QListWidgetItem *> sel = m_listcountry->selectedItems();
    if (sel.isEmpty())
        return;
    const std::optional<ZoneDifference> d = m_zones.difference(m_listcountry->row(sel.first()));
    if (!d)
        return;
    m_state.pDifTime = d->difTime;
    m_state.pDifMinute = d->difMinute;
    drawpreview();
}

void ClockEditorWindow::SummerTimeCK_Click()
{
    m_state.summer = m_summerTimeCK->isChecked();
    drawpreview();
}

void ClockEditorWindow::ListCName_Click()
{
    const QList<QListWidgetItem *> sel = m_listCName->selectedItems();
    if (!sel.isEmpty())
        nameChosen(sel.first()->text());
}

void ClockEditorWindow::nameChosen(const QString &name)
{
    const PictureEntry *e = m_services.store.find(name);
    if (!e) {
        m_state.pselectKeyCode.clear();
        clearPicture();
        return;
    }
    m_imgFlag->hide();
    if (const std::optional<QSize> s = stretchedSize(e->tag)) {
        m_imgFlag->setPicture(e->picture);
        m_imgFlag->setStretch(true);
        m_imgFlag->setTwipsSize(*s);
    } else {
        m_imgFlag->setStretch(false);
        m_imgFlag->setPicture(e->picture);
    }
    m_imgFlag->show();
    placeDateLabels();
    m_state.pselectKeyCode = name;
    if (isUserPictureName(name)) {
        m_comDel->setText(removeButtonCaption(name));
        m_comDel->show();
    } else {
        m_comDel->hide();
    }
}

void ClockEditorWindow::clearPicture()
{
    m_imgFlag->setPicture(QImage());
    m_comDel->hide();
    placeDateLabels();
}

void ClockEditorWindow::ComSelect_Click(int index)
{
    switch (index) {
    case 0:
        addUserPicture();
        break;
    case 1:
        m_state.pUpdated = true;
        accept();
        break;
    case 2:
        reject();
        break;
    default:
        break;
    }
}

void ClockEditorWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        QWidget *f = focusWidget();
        if (auto *b = qobject_cast<QPushButton *>(f))
            b->click();
        else if (f == m_listCName)
            ComSelect_Click(1); // Enter in the name list confirms like the button
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

ClockEditorDialog::ClockEditorDialog(PictureStore &store, ClockSource &clock, Messenger &messenger,
                 const FaceColours &colours, PictureChooser &chooser,
                 std::function<void(const QString &)> pictureRemoved, QWidget *mainWindow)
    : m_services{ store, clock, messenger, colours, chooser, std::move(pictureRemoved) },
      m_mainWindow(mainWindow)
{
}

void ClockEditorDialog::showModal(EditorFields &fields)
{
    ClockEditorWindow window(m_state, m_services, m_mainWindow);
    // The main window writes the clock's values for edit and delete only; an
    // add starts from what the editor last held.
    if (fields.pEditMode != EditMode::Add) {
        window.setPEditIndex(fields.pEditIndex);
        window.setPselectKeyCode(fields.pselectKeyCode);
        window.setPDifTime(fields.pDifTime);
        window.setPDifMinute(fields.pDifMinute);
        window.setPSummertimeck(fields.pSummertimeck);
    }
    window.setPEditMode(fields.pEditMode);
    window.Form_Activate();
    runModal(window, m_driver);
    fields.pUpdated = m_state.pUpdated;
    fields.pEditIndex = m_state.pEditIndex;
    fields.pselectKeyCode = m_state.pselectKeyCode;
    fields.pDifTime = m_state.pDifTime;
    fields.pDifMinute = m_state.pDifMinute;
    fields.pSummertimeck = m_state.summer;
    fields.imgFlagTwips = window.ImgFlag()->twipsSize();
}

} // namespace tb
