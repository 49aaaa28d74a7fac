#include "mainwindow/tembrawindow.h"

#include "editor/sizetag.h"
#include "mainwindow/fonts.h"
#include "mainwindow/maps.h"
#include "settings/registry.h"
#include "settings/schema.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindowStateChangeEvent>
#include <cmath>

namespace tb {

namespace {
int px(double twips) { return int(std::lround(twipsToPx(twips))); }
double tw(int pixels) { return pxToTwips(pixels); }

void moveTw(QWidget *w, double left, double top) { w->move(px(left), px(top)); }
double leftTw(const QWidget *w) { return tw(w->x()); }
double topTw(const QWidget *w) { return tw(w->y()); }
double heightTw(const QWidget *w) { return tw(w->height()); }

const QColor kRed(255, 0, 0);

QLabel *makeLabel(QWidget *parent, const QString &text, const QColor &colour, const QFont &font)
{
    auto *l = new QLabel(text, parent);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAutoFillBackground(false);
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    l->adjustSize();
    return l;
}

// A run-time element of a control array: a hidden copy of element 0.
QLabel *copyLabel(const QLabel *first)
{
    auto *l = new QLabel(first->text(), first->parentWidget());
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setFont(first->font());
    l->setPalette(first->palette());
    l->resize(first->size());
    l->hide();
    return l;
}
} // namespace

// ---------------------------------------------------------------- PictureBox

PictureBox::PictureBox(QWidget *parent) : QLabel(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::setStretch(bool on)
{
    m_stretch = on;
    setScaledContents(on);
    refit();
}

void PictureBox::setPicture(const QImage &image)
{
    m_image = image;
    if (image.isNull())
        clear();
    else
        setPixmap(QPixmap::fromImage(image));
    refit();
}

void PictureBox::setFrameSize(const QSize &size)
{
    resize(size);
}

void PictureBox::refit()
{
    // Without stretch the frame takes the picture's own size.
    if (!m_stretch && !m_image.isNull())
        resize(m_image.size() / m_image.devicePixelRatio());
}

// ---------------------------------------------------------------- ClientArea

ClientArea::ClientArea(tembra *owner) : QWidget(owner), m_owner(owner)
{
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_scaled = QPixmap();
    m_owner->Form_Resize();
}

void ClientArea::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const MainLayout &l = m_owner->m_layout;
    const QRect mapRect(px(l.map.left()), px(l.map.top()), px(l.map.width()), px(l.map.height()));
    const bool haveMap = !m_owner->m_map.isNull() && mapRect.isValid();
    // The map is opaque: fill only what it leaves uncovered.
    const QRegion uncovered = haveMap ? event->region().subtracted(mapRect) : event->region();
    for (const QRect &r : uncovered)
        p.fillRect(r, palette().window());
    if (haveMap) {
        const qreal dpr = devicePixelRatioF();
        const QSize want = mapRect.size() * dpr;
        if (m_scaled.isNull() || m_scaled.size() != want) {
            m_scaled = QPixmap::fromImage(m_owner->m_map.scaled(want, Qt::IgnoreAspectRatio,
                                                                Qt::SmoothTransformation));
            m_scaled.setDevicePixelRatio(dpr);
        }
        p.drawPixmap(mapRect.topLeft(), m_scaled);
    }
    if (!m_owner->m_surface.isNull())
        p.drawImage(QPoint(0, 0), m_owner->m_surface);
}

// ---------------------------------------------------------------- tembra

tembra::tembra(ClockSource &clock, Messenger &messenger, QWidget *parent)
    : QMainWindow(parent), m_clock(clock), m_messenger(messenger)
{
    setWindowTitle(QStringLiteral("テンブラ　ver 1.0"));
    m_client = new ClientArea(this);
    setCentralWidget(m_client);
    const QSizeF minTw = minimumClientSize();
    m_client->setMinimumSize(px(minTw.width()), px(minTw.height()));
    buildControls();
    buildMenus();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        Timer1_Timer();
        scheduleTick();
    });
    Form_Load();
    resizeClientTwips();
    scheduleTick();
}

tembra::~tembra() = default;

QWidget *tembra::clientArea() const
{
    return m_client;
}

void tembra::buildControls()
{
    const QFont controlFont = designFont(9);
    const QFont smallFont = designFont(8.25);

    // The map's own widget takes the mouse; it lies under every picture and label.
    m_image1 = new QWidget(m_client);
    m_image1->setAttribute(Qt::WA_TranslucentBackground);
    m_image1->lower();

    m_label1[0] = makeLabel(m_client, QStringLiteral("Label1"), QColor(0, 0, 0), controlFont);
    moveTw(m_label1[0], 630, 6390);

    m_labelDate.push_back(makeLabel(m_client, QStringLiteral("Label2"), kRed, controlFont));
    moveTw(m_labelDate[0], 8415, 4905);
    m_labelTime.push_back(makeLabel(m_client, QStringLiteral("Label2"), kRed, controlFont));
    moveTw(m_labelTime[0], 8415, 5265);
    auto *box = new PictureBox(m_client);
    box->setGeometry(px(6435), px(7245), px(480), px(480));
    m_imgBox.push_back(box);
    auto *dst = makeLabel(m_client, QStringLiteral("DST"), kRed, smallFont);
    dst->resize(std::max(dst->width(), px(315)), std::max(dst->height(), px(195)));
    moveTw(dst, 1800, 5160);
    dst->hide();
    m_dst.push_back(dst);

    m_label3 = makeLabel(m_client, QStringLiteral("DST: Daylight Saving Time (Summer Time)"),
                         QColor(0, 0, 0), smallFont);
    moveTw(m_label3, 420, 7740);

    m_frame1 = new QFrame(m_client);
    m_frame1->setFrameShape(QFrame::Panel);
    m_frame1->setGeometry(px(6975), px(0), px(4845), px(390));
    m_frame1->setAutoFillBackground(true);
    m_comFrame = new QPushButton(QStringLiteral("キャンセル"), m_frame1);
    m_comFrame->setFont(controlFont);
    m_comFrame->setGeometry(px(3690), px(45), px(1095), px(285));
    m_labelCoution = makeLabel(m_frame1, QStringLiteral("対象となる時計、イラストをクリックしてください"),
                               kRed, controlFont);
    moveTw(m_labelCoution, 45, 90);
    m_frame1->hide();
}

void tembra::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setFont(designFont(9));

    QMenu *editadd = bar->addMenu(QStringLiteral("    時計の設定    "));
    // Adding, editing and deleting clocks come with the clock editor.
    for (const QString &caption : { QStringLiteral("  追加     "), QStringLiteral("  編集"),
                                    QStringLiteral("  削除") })
        editadd->addAction(caption)->setEnabled(false);

    QMenu *setoption = bar->addMenu(QStringLiteral("    オプション   "));
    connect(setoption, &QMenu::aboutToShow, this, &tembra::Setoption_Click);
    setoption->addAction(QStringLiteral("色の変更"))->setEnabled(false);
    QMenu *changeMap = setoption->addMenu(QStringLiteral("世界地図の変更"));
    const QStringList mapCaptions = { QStringLiteral("デフォルト"), QStringLiteral("白地図"),
                                      QStringLiteral("グレイ"), QStringLiteral("ブルー"),
                                      QStringLiteral("デザート"), QStringLiteral("ダーク"),
                                      QStringLiteral("タイムゾーン"), QStringLiteral("画像ファイルから") };
    for (int k = 1; k <= 8; ++k) {
        QAction *a = changeMap->addAction(mapCaptions[k - 1]);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, k] { wMap_Click(k); });
        m_wMap[size_t(k)] = a;
    }
    m_wMap[8]->setEnabled(false); // a picture file as map comes with the picture chooser
    QMenu *sizeMenu = setoption->addMenu(QStringLiteral("時計のサイズ   "));
    const QStringList sizeCaptions = { QStringLiteral("特 600"), QStringLiteral("大 440"),
                                       QStringLiteral("中 300"), QStringLiteral("小 250"),
                                       QStringLiteral("微 180") };
    for (int k = 1; k <= 5; ++k) {
        QAction *a = sizeMenu->addAction(sizeCaptions[k - 1]);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, k] { ccsize_Click(k); });
        m_ccsize[size_t(k)] = a;
    }
    QMenu *border = setoption->addMenu(QStringLiteral("イラストの境界線"));
    m_borderYes = border->addAction(QStringLiteral("あり"));
    m_borderYes->setCheckable(true);
    m_borderNo = border->addAction(QStringLiteral("なし"));
    m_borderNo->setCheckable(true);
    m_borderNo->setChecked(true);
    connect(m_borderYes, &QAction::triggered, this, [this] {
        m_borderYes->setChecked(false); // the check marks of this pair never change
        BorderStyleYes_Click();
    });
    connect(m_borderNo, &QAction::triggered, this, [this] {
        m_borderNo->setChecked(true);
        BorderStyleNo_Click();
    });

    QAction *toTask = bar->addAction(QStringLiteral("   タスクバーへ(&T)   "));
    connect(toTask, &QAction::triggered, this, &tembra::toTask_Click);
    m_endMenu = bar->addAction(QStringLiteral("     終了(&X)    "));
    connect(m_endMenu, &QAction::triggered, this, &tembra::endMenu_Click);
    QAction *help = bar->addAction(QStringLiteral("　　ヘルプ　　"));
    help->setEnabled(false); // no help file ships yet
}

QSizeF tembra::clientTwips() const
{
    return QSizeF(tw(m_client->width()), tw(m_client->height()));
}

void tembra::resizeClientTwips(const QSizeF &twips)
{
    const QSize want(px(twips.width()), px(twips.height()));
    const QSize extra = size() - m_client->size();
    // Before the first show the central widget has no size of its own yet.
    if (!isVisible() || m_client->size().isEmpty())
        resize(want + QSize(0, menuBar()->sizeHint().height()));
    else
        resize(want + extra);
    if (m_client->size() != want)
        m_client->resize(want);
}

void tembra::Form_Load()
{
    for (int i = 1; i < 24; ++i) {
        m_label1[size_t(i)] = copyLabel(m_label1[0]);
        m_label1[size_t(i)]->raise();
    }
    m_pictures = PictureStore::builtIn();
    setMapPicture(startMap());
    loadSettings();

    for (int k = 0; k < 12; ++k) {
        const DateTime t = bandTime(k);
        setLabelText(m_label1[size_t(k)], formatDate(t));
        moveTw(m_label1[size_t(k)], 980.0 * k + 400, 7550);
        m_label1[size_t(k)]->show();
        setLabelText(m_label1[size_t(k + 12)], formatTime(t));
        moveTw(m_label1[size_t(k + 12)], 980.0 * k + 400, 6350);
        m_label1[size_t(k + 12)]->show();
    }
    for (int i = 0; i <= m_countryCount; ++i) {
        const DateTime t = clockTime(i);
        setLabelText(m_labelDate[size_t(i)], formatDate(t));
        setLabelText(m_labelTime[size_t(i)], formatTime(t));
        DSTCheck(i);
    }
    m_loaded = true;
}

void tembra::loadSettings()
{
    openSettings(m_messenger, m_clock);
    DisplaySettings display;
    iniset(display);
    m_colours = display.colours;
    m_layout.BandRadius = display.BandRadius;
    m_clockRadius = display.ClockRadius;
    MakeSummerStartEndDate();
    const MapChoice map = setsetreg(
        [this](int slot, const QImage &picture, const QString &tag) {
            m_pictures.addUser(slot, picture, tag);
        },
        m_messenger);
    if (map.builtInIndex >= 2 && map.builtInIndex <= 7)
        setMapPicture(builtInMap(map.builtInIndex));
    else if (!map.fileImage.isNull())
        setMapPicture(map.fileImage);

    if (const std::optional<int> n = readClockCount()) {
        m_countryCount = *n;
    } else {
        m_countryCount = 0;
        m_entries[0] = defaultClockEntry();
        setRegData(0, m_entries[0]);
    }
    for (int i = 0; i <= m_countryCount; ++i) {
        getRegData(i, m_entries[size_t(i)]);
        addClock(i);
    }
}

void tembra::setMapPicture(const QImage &image)
{
    m_map = image;
    m_client->invalidateMap();
    m_client->update();
}

void tembra::MakeSummerStartEndDate()
{
    m_summer = makeSummerPeriod(split(m_clock.nowValue()).year);
}

int tembra::summer(int i) const
{
    return ::tb::summer(m_summer, m_entries[size_t(i)].summertime, m_clock.nowValue());
}

DateTime tembra::clockTime(int i) const
{
    return ::tb::clockTime(m_entries[size_t(i)], m_clock.nowValue(), summer(i));
}

DateTime tembra::bandTime(int k) const
{
    return ::tb::bandTime(k, m_clock.nowValue());
}

void tembra::addClock(int i)
{
    if (i < 0 || i >= kMaxClocks)
        return;
    if (i > 0) {
        while (int(m_imgBox.size()) <= i) {
            auto *box = new PictureBox(m_client);
            box->resize(m_imgBox[0]->size());
            box->hide();
            m_imgBox.push_back(box);
            m_labelDate.push_back(copyLabel(m_labelDate[0]));
            m_labelTime.push_back(copyLabel(m_labelTime[0]));
            m_dst.push_back(copyLabel(m_dst[0]));
        }
    }
    ClockEntry &e = m_entries[size_t(i)];
    PictureBox *p = m_imgBox[size_t(i)];
    p->setStretch(false);
    moveTw(p, e.FlagLeft, e.FlagTop);
    if (e.FlagWidth > 0) {
        p->setStretch(true);
        p->setFrameSize(QSize(px(e.FlagWidth), px(e.FlagHeight)));
    }
    if (e.Fname.isEmpty()) {
        p->setPicture(QImage());
    } else if (const PictureEntry *pic = m_pictures.find(e.Fname)) {
        if (const std::optional<QSize> size = stretchedSize(pic->tag)) {
            p->hide();
            p->setStretch(true);
            p->setFrameSize(QSize(px(size->width()), px(size->height())));
            p->show();
        }
        p->setPicture(pic->picture);
    } else {
        // The picture is gone (a user file that was not found): keep the clock without it.
        e.Fname.clear();
        p->setPicture(QImage());
    }
    p->show();
    placeLabelUnderPicture(i);
    m_labelDate[size_t(i)]->show();
    m_labelTime[size_t(i)]->show();
    m_image1->lower();
}

void tembra::placeLabelUnderPicture(int i)
{
    const PictureBox *p = m_imgBox[size_t(i)];
    QLabel *date = m_labelDate[size_t(i)];
    QLabel *time = m_labelTime[size_t(i)];
    moveTw(date, leftTw(p), topTw(p) + heightTw(p) + 50);
    moveTw(time, leftTw(p), topTw(date) + heightTw(date));
}

void tembra::setDSTpos(int i)
{
    QLabel *mark = m_dst[size_t(i)];
    const ClockEntry &e = m_entries[size_t(i)];
    mark->hide();
    moveTw(mark, cxByR(e.ClockLeft) + 0.6 * m_clockRadius, cyByR(e.ClockTop) + 0.9 * m_clockRadius);
    if (summer(i) == 1)
        mark->show();
}

void tembra::DSTCheck(int i)
{
    const int s = summer(i);
    QLabel *mark = m_dst[size_t(i)];
    if (s == 1 && mark->isHidden())
        setDSTpos(i);
    else if (s == 0 && !mark->isHidden())
        mark->hide();
}

void tembra::clearSurface()
{
    const qreal dpr = m_client->devicePixelRatioF();
    const QSize want = m_client->size() * dpr;
    if (m_surface.size() != want) {
        m_surface = QImage(want, QImage::Format_ARGB32_Premultiplied);
        m_surface.setDevicePixelRatio(dpr);
    }
    m_surface.fill(Qt::transparent);
    m_client->update();
}

void tembra::Form_Resize()
{
    // Sizes can arrive while the controls are still being built.
    if (isMinimized() || !m_loaded)
        return;
    const QSizeF client = clientTwips();
    m_layout = computeLayout(client.width(), client.height());
    m_image1->setGeometry(px(m_layout.map.left()), px(m_layout.map.top()), px(m_layout.map.width()),
                          px(m_layout.map.height()));
    for (int i = 0; i <= m_countryCount; ++i) {
        const ClockEntry &e = m_entries[size_t(i)];
        PictureBox *p = m_imgBox[size_t(i)];
        p->hide();
        moveTw(p, cxByR(e.FlagLeft), cyByR(e.FlagTop));
        p->show();
    }
    for (int i = 0; i <= m_countryCount; ++i) {
        m_labelDate[size_t(i)]->hide();
        m_labelTime[size_t(i)]->hide();
        placeLabelUnderPicture(i);
        m_labelDate[size_t(i)]->show();
        m_labelTime[size_t(i)]->show();
        setDSTpos(i);
    }
    clearSurface();
    for (int k = 0; k < 12; ++k) {
        QLabel *date = m_label1[size_t(k)];
        QLabel *time = m_label1[size_t(k + 12)];
        date->hide();
        moveTw(date, m_layout.bandLabelLeft(k), m_layout.bandDateTop());
        date->show();
        time->hide();
        moveTw(time, m_layout.bandLabelLeft(k), m_layout.bandTimeTop());
        time->show();
    }
    moveTw(m_label3, leftTw(m_label3), topTw(m_label1[1]) + 1.5 * heightTw(m_label3));
    const bool frameShown = m_frame1->isVisible();
    if (frameShown)
        m_frame1->hide();
    moveTw(m_frame1, m_layout.map.left() + m_layout.map.width() - tw(m_frame1->width()),
           topTw(m_frame1));
    if (frameShown)
        m_frame1->show();
}

void tembra::setLabelText(QLabel *label, const QString &text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    label->adjustSize();
}

void tembra::drawFace(QPainter &painter, double x, double y, DateTime p, qint16 ccR,
                      QRegion &dirty)
{
    const FaceDrawing face = mainFace(x, y, p, ccR, m_layout.BandRadius, m_colours);
    paintFace(painter, face, Qt::black);
    dirty += faceBounds(face).toAlignedRect();
}

void tembra::Timer1_Timer()
{
    // A program left running over New Year takes the new year's summer period.
    const DateTime now = m_clock.nowValue();
    if (split(now).year != m_summer.year)
        MakeSummerStartEndDate();

    if (m_surface.isNull())
        clearSurface();
    QRegion dirty;
    QPainter painter(&m_surface);
    // One reading of the clock serves the whole tick, so every face shows the same second.
    for (int k = 0; k < 12; ++k) {
        const DateTime t = ::tb::bandTime(k, now);
        setLabelText(m_label1[size_t(k)], formatDate(t));
        setLabelText(m_label1[size_t(k + 12)], formatTime(t));
        drawFace(painter, m_layout.bandFaceX(k), m_layout.bandFaceY(), t, 0, dirty);
    }
    for (int i = 0; i <= m_countryCount; ++i) {
        const ClockEntry &e = m_entries[size_t(i)];
        const DateTime t = ::tb::clockTime(e, now, ::tb::summer(m_summer, e.summertime, now));
        setLabelText(m_labelDate[size_t(i)], formatDate(t));
        setLabelText(m_labelTime[size_t(i)], formatTime(t));
        drawFace(painter, cxByR(e.ClockLeft), cyByR(e.ClockTop), t, m_clockRadius, dirty);
        DSTCheck(i);
    }
    painter.end();
    m_client->update(dirty);
    // The reminder may open a modal message, whose event loop can resize the
    // window and replace the surface: run it only once the painter is done.
    for (int i = 0; i <= m_countryCount; ++i)
        placingReminder(i);
}

void tembra::placingReminder(int i)
{
    const ClockEntry &e = m_entries[size_t(i)];
    const float mapLeft = float(m_layout.map.left());
    const float mapTop = float(m_layout.map.top());
    if (m_reminderCount == 0 && e.ClockTop == mapTop + m_layout.BandRadius
        && e.ClockLeft == mapLeft + m_layout.BandRadius) {
        m_messenger.message(QStringLiteral("左上に追加された時計とイラストを希望する位置に移動させてください"
                                           "\r\n(ドラッグ＆ドロップによって、移動が可能です)"));
    }
    if (++m_reminderCount > 60)
        m_reminderCount = 0;
}

void tembra::scheduleTick()
{
    // Fire just after the start of the next local second, so that labels
    // change with the real minute, not up to a second late.
    const int ms = m_clock.now().time().msec();
    m_timer.start(1000 - ms + 2);
}

void tembra::Setoption_Click()
{
    static const int sizes[] = { 0, 600, 440, 300, 250, 180 };
    for (int k = 1; k <= 5; ++k)
        m_ccsize[size_t(k)]->setChecked(sizes[k] == m_clockRadius);
    for (int k = 1; k <= 8; ++k)
        m_wMap[size_t(k)]->setChecked(false);
    const int m = readWorldMap(); // 0 when nothing was chosen yet
    if (m >= 1 && m <= 8)
        m_wMap[size_t(m)]->setChecked(true);
}

void tembra::ccsize_Click(int index)
{
    static const qint16 sizes[] = { 0, 600, 440, 300, 250, 180 };
    if (index < 1 || index > 5)
        return;
    m_clockRadius = sizes[index];
    Form_Resize();
}

void tembra::wMap_Click(int index)
{
    if (index < 1 || index > 7)
        return;
    setMapPicture(builtInMap(index));
    AppRegistry().setSection(QStringLiteral("UserImg"));
    saveRegValue(QStringLiteral("WorldMap"), QString::number(index));
}

void tembra::BorderStyleYes_Click()
{
    for (int i = 0; i <= m_countryCount; ++i) {
        m_imgBox[size_t(i)]->setFrameShape(QFrame::Box);
        m_imgBox[size_t(i)]->setLineWidth(1);
    }
}

void tembra::BorderStyleNo_Click()
{
    for (int i = 0; i <= m_countryCount; ++i)
        m_imgBox[size_t(i)]->setFrameShape(QFrame::NoFrame);
}

void tembra::toTask_Click()
{
    showMinimized();
}

void tembra::endMenu_Click()
{
    DisplaySettings display;
    display.colours = m_colours;
    display.BandRadius = m_layout.BandRadius;
    display.ClockRadius = m_clockRadius;
    QString file;
    if (!exitSave(m_entries, m_countryCount, display, &file)) {
        // Never close as if all were well: what the user set would be lost.
        m_messenger.message(QStringLiteral("設定を保存できませんでした。") + QStringLiteral("\r\n") + file
                            + QStringLiteral("\r\n") + QStringLiteral("書き込みできる状態にしてから、もう一度「終了」を選んでください"));
        return;
    }
    m_saved = true;
    close();
}

void tembra::Form_Unload()
{
    m_timer.stop();
}

void tembra::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void tembra::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Restoring from the task bar lays the window out again.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && m_loaded)
        Form_Resize();
}

} // namespace tb
