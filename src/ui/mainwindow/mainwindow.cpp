#include "ui/mainwindow/mainwindow.h"

#include "ui/colour/colourdialog.h"
#include "ui/mainwindow/bandstrip.h"
#include "ui/mainwindow/clientarea.h"
#include "ui/mainwindow/controls.h"
#include "ui/common/fonts.h"
#include "ui/mainwindow/helpwindow.h"
#include "ui/mainwindow/mainmenu.h"
#include "ui/mainwindow/optionchoices.h"
#include "core/window/maps.h"
#include "ui/mainwindow/placedclocks.h"
#include "ui/mainwindow/placing.h"
#include "core/editor/storedpictures.h"
#include "core/settings/schema.h"
#include "core/settings/settingsstore.h"

#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>

namespace tb {

MainWindow::MainWindow(ClockSource &clock, Messenger &messenger, QWidget *parent)
    : QMainWindow(parent), m_clock(clock), m_messenger(messenger)
{
    setWindowTitle(QStringLiteral("テンブラ　ver 1.0"));
    m_client = new ClientArea(this);
    m_client->setResizeHandler([this] { layOut(); });
    setCentralWidget(m_client);
    const QSizeF minTw = minimumClientSize();
    m_client->setMinimumSize(px(minTw.width()), px(minTw.height()));
    buildControls();
    m_menu = new MainMenu(menuBar(), m_model, this);
    wireMenu();
    wireModel();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        // Armed before the tick: the placing reminder's message waits inside
        // it, and the clocks must go on meanwhile.
        scheduleTick();
        tick();
    });
    load();
    resizeClientTwips();
    // The window itself holds the focus until Tab gives it to a clock: left
    // to Qt, the first clock would take it on every start and show its mark.
    // It takes no focus by a click, so a click on the map or the menu bar
    // leaves a focused clock focused, as a click on a dialog's background does.
    setFocus();
    scheduleTick();
}

MainWindow::~MainWindow() = default;


void MainWindow::buildControls()
{
    const QFont controlFont = designFont(9);
    const QFont smallFont = designFont(8.25);

    // The map's own widget takes the mouse; it lies under every picture and label.
    m_mapWidget = new QWidget(m_client);
    m_mapWidget->setAttribute(Qt::WA_TranslucentBackground);
    m_mapWidget->lower();

    m_band = std::make_unique<BandStrip>(m_client, controlFont);
    m_placed = std::make_unique<PlacedClocks>(m_client, m_model, controlFont, smallFont);

    m_legend = makeLabel(m_client, QStringLiteral("DST: Daylight Saving Time (Summer Time)"),
                         QColor(0, 0, 0), smallFont);
    moveTw(m_legend, 420, 7740);

    // The bar, the red circle and the mouse on the map and its clocks.
    m_placing = std::make_unique<Placing>(m_model, m_layout, m_client, m_mapWidget, *m_placed, m_messenger,
                                          controlFont);
    connect(m_placing.get(), &Placing::clockAdded, this, &MainWindow::addClock);
    connect(m_placing.get(), &Placing::faceMoved, this, [this](int i) { placeSummerMark(i); });
    connect(m_placing.get(), &Placing::redrawRequested, this, [this] { tick(); });
    m_keys = std::make_unique<ClockKeys>(*m_placing, *m_placed);
    m_options = std::make_unique<OptionChoices>(m_model, *m_client, m_messenger, [this] { return mapPixels(); });
}

void MainWindow::wireMenu()
{
    connect(m_menu, &MainMenu::mapChosen, this, [this](int index) { m_options->chooseMap(index); });
    connect(m_menu, &MainMenu::clockSizeChosen, this, &MainWindow::chooseClockSize);
    connect(m_menu, &MainMenu::borderChosen, &m_model, &WorldModel::setPictureBorder);
    connect(m_menu, &MainMenu::summerRuleChosen, this, [this](SummerRule rule) { m_options->chooseSummerRule(rule); });
    connect(m_menu, &MainMenu::dayNightChosen, this, [this](bool on) { m_options->chooseDayNight(on); });
    connect(m_menu->toTaskAction(), &QAction::triggered, this, &MainWindow::minimizeToTaskbar);
    connect(m_menu->colourAction(), &QAction::triggered, this, &MainWindow::openColourDialog);
    connect(m_menu->helpAction(), &QAction::triggered, this, &MainWindow::openHelp);
    connect(m_menu->endAction(), &QAction::triggered, this, &MainWindow::saveAndQuit);
    const QAction *modes[] = { m_menu->addClockAction(), m_menu->editClockAction(),
                               m_menu->deleteClockAction() };
    for (int k = 1; k <= 3; ++k)
        connect(modes[k - 1], &QAction::triggered, this, [this, k] { m_placing->chooseMode(k); });
}

void MainWindow::wireModel()
{
    connect(&m_model, &WorldModel::pictureBorderChanged, this, [this] { m_placed->applyBorder(); });
    connect(&m_model, &WorldModel::pictureDropped, this,
            [this](int i) { m_placed->picture(i)->setPicture(QImage()); });
    // Another rule moves clocks by hours: shown at once, not at the next second.
    connect(&m_model, &WorldModel::summerRuleChanged, this, [this] {
        if (m_loaded)
            tick();
    });
    connect(&m_model, &WorldModel::dayNightChanged, this, [this] { followSun(m_clock.moment().japan); });
}

void MainWindow::setPictureChooser(PictureChooser *chooser)
{
    m_options->setPictureChooser(chooser);
}

void MainWindow::setClockEditor(ClockEditor *editor)
{
    m_placing->setClockEditor(editor);
    for (QAction *a : { m_menu->addClockAction(), m_menu->editClockAction(), m_menu->deleteClockAction() })
        a->setEnabled(editor != nullptr);
}

QSizeF MainWindow::clientTwips() const
{
    return QSizeF(tw(m_client->width()), tw(m_client->height()));
}

void MainWindow::resizeClientTwips(const QSizeF &twips)
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

void MainWindow::load()
{
    m_band->createLabels();
    m_model.pictures() = PictureStore::builtIn();
    m_client->setMapPicture(startMap());
    loadSettings();

    const Moment now = m_clock.moment();
    m_band->setTimes(now.japan, true);
    for (int i = 0; i <= m_model.lastClock(); ++i) {
        const ShownTime shown = m_model.shownTime(i, now);
        m_placed->setTimes(i, shown.time);
        updateSummerMark(i, shown.summer);
    }
    m_loaded = true;
}

void MainWindow::loadSettings()
{
    openSettings([this](const QString &text) { m_messenger.message(text); }, m_clock);
    const int failedBefore = appSettings().failedWrites();
    m_layout.bandRadius = m_model.loadDisplay();
    updateSummerPeriod();
    const MapChoice map = loadStoredPictures(
        [this](int slot, const QImage &picture, const QString &tag) {
            m_model.pictures().addUser(slot, picture, tag);
        },
        [this](const QString &text) { m_messenger.message(text); });
    m_model.setMapChoice(map.worldMap);
    m_model.setMapFile(map.file);
    if (map.builtInIndex >= 2 && map.builtInIndex <= 7)
        m_client->setMapPicture(builtInMap(map.builtInIndex));
    else if (!map.fileImage.isNull())
        m_client->setMapPicture(map.fileImage);

    m_model.loadClocks();
    for (int i = 0; i <= m_model.lastClock(); ++i)
        addClock(i);
    // Start-up writes the defaults it read; said once if they could not be
    // kept, unless the start already said that saves are refused.
    const ReadProblem read = appSettings().readProblem();
    if (appSettings().failedWrites() != failedBefore && read != ReadProblem::Unreadable
        && read != ReadProblem::BrokenLink)
        m_messenger.message(settingsNotSavedMessage());
}

void MainWindow::updateSummerPeriod()
{
    m_model.setSummerPeriod(makeSummerPeriod(split(m_clock.moment().japan).year));
}

void MainWindow::addClock(int i)
{
    if (i < 0 || i >= kMaxClocks)
        return;
    m_placed->create(i);
    m_placing->watch(i);
    m_keys->watch(i);
    placeSpot(i);
    m_placed->applyPicture(i, m_model.clocks()[i], m_model.pictures());
    m_placed->picture(i)->show();
    m_placed->placeLabels(i);
    m_placed->show(i);
    m_mapWidget->lower();
}

qint16 MainWindow::faceRadius() const
{
    return m_model.faceRadius(m_layout.bandRadius);
}

void MainWindow::placeSummerMark(int i, bool summer)
{
    const ClockEntry &e = m_model.clocks()[i];
    const double r = faceRadius();
    m_placed->placeMark(i, m_layout.windowX(e.faceLeft) + 0.6 * r, m_layout.windowY(e.faceTop) + 0.9 * r, summer);
    placeSpot(i);
}

void MainWindow::placeSpot(int i)
{
    const ClockEntry &e = m_model.clocks()[i];
    m_placed->placeSpot(i, QPointF(m_layout.windowX(e.faceLeft), m_layout.windowY(e.faceTop)), faceRadius());
}

QRect MainWindow::mapPixels() const
{
    return QRect(px(m_layout.map.left()), px(m_layout.map.top()), px(m_layout.map.width()), px(m_layout.map.height()));
}

void MainWindow::placeSummerMark(int i) { placeSummerMark(i, m_model.shownTime(i, m_clock.moment()).summer); }

void MainWindow::updateSummerMark(int i, bool summer)
{
    QLabel *mark = m_placed->mark(i);
    if (summer && mark->isHidden())
        placeSummerMark(i, true);
    else if (!summer && !mark->isHidden())
        mark->hide();
}

void MainWindow::layOut()
{
    // Sizes can arrive while the controls are still being built.
    if (isMinimized() || !m_loaded)
        return;
    const QSizeF client = clientTwips();
    m_layout = computeLayout(client.width(), client.height());
    const QRect mapPx = mapPixels();
    m_mapWidget->setGeometry(mapPx);
    m_client->setMapRect(mapPx);
    for (int i = 0; i <= m_model.lastClock(); ++i)
        m_placed->placePicture(i, m_layout.windowX(m_model.clocks()[i].pictureLeft), m_layout.windowY(m_model.clocks()[i].pictureTop));
    const Moment now = m_clock.moment();
    for (int i = 0; i <= m_model.lastClock(); ++i) {
        m_placed->dateLabel(i)->hide();
        m_placed->timeLabel(i)->hide();
        m_placed->placeLabels(i);
        m_placed->show(i);
        placeSummerMark(i, m_model.shownTime(i, now).summer);
    }
    m_client->clearSurface();
    m_band->place(m_layout);
    moveTw(m_legend, leftTw(m_legend), topTw(m_band->label(1)) + 1.5 * heightTw(m_legend));
    m_placing->placeBar(m_layout);
}

void MainWindow::tick()
{
    // One reading of the clock serves the whole tick, so every face, label
    // and mark shows the same second.
    const Moment now = m_clock.moment();
    // A program left running over New Year takes the new year's summer period.
    if (split(now.japan).year != m_model.summerPeriod().year)
        updateSummerPeriod();

    m_band->setTimes(now.japan);
    m_faces.clear();
    m_band->appendFaces(m_faces, m_layout, m_model.colours(), now.japan);
    for (int i = 0; i <= m_model.lastClock(); ++i) {
        const ClockEntry &e = m_model.clocks()[i];
        const ShownTime shown = m_model.shownTime(i, now);
        const DateTime t = shown.time;
        m_placed->setTimes(i, t);
        // A radius of 0 becomes the band radius here, for good.
        qint16 radius = m_model.clockRadius();
        m_faces.push_back(mainFace(m_layout.windowX(e.faceLeft), m_layout.windowY(e.faceTop), t, radius, m_layout.bandRadius,
                                   m_model.colours()));
        m_model.setClockRadius(radius);
        updateSummerMark(i, shown.summer);
    }
    followSun(now.japan);
    // Every face is drawn whole over the last tick's drawing, in this order;
    // the surface touches only the pixels that this changes.
    m_client->drawFaces(m_faces);
    // New names are told only to a screen reader that listens.
    if (QAccessible::isActive()) {
        m_band->announce();
        m_placed->announce();
    }
    // The reminder may open a modal message, whose event loop can resize the
    // window and replace the surface: run it only once the painter is done.
    for (int i = 0; i <= m_model.lastClock(); ++i)
        remindToPlace(i);
    // Said once per zone and run; the clocks meanwhile keep their stored difference.
    if (const QStringList unknown = m_model.takeUnknownZones(); !unknown.isEmpty())
        m_messenger.message(unknownZonesMessage(unknown));
}

void MainWindow::remindToPlace(int i) { m_placing->remindToPlace(i); }

void MainWindow::followSun(DateTime japan)
{
    m_client->setNightAt(m_model.dayNight() ? std::optional(addHours(japan, -kJapanOffsetHours)) : std::nullopt);
}

void MainWindow::scheduleTick()
{
    // Fire just after the start of the next local second, so that labels
    // change with the real minute, not up to a second late.
    const int ms = m_clock.now().time().msec();
    m_timer.start(1000 - ms + 2);
}

void MainWindow::chooseClockSize(int index)
{
    const int r = MainMenu::sizeRadius(index);
    if (r == 0)
        return;
    m_model.setClockRadius(qint16(r));
    layOut();
}

void MainWindow::openColourDialog()
{
    // Not modal: the window keeps ticking; a second choice brings the open dialog forward.
    if (!m_colourDialog)
        m_colourDialog = new ColourDialog(m_model, m_messenger, this);
    m_colourDialog->showModeless();
}

void MainWindow::openHelp()
{
    showHelp(m_messenger, this);
}

void MainWindow::minimizeToTaskbar() { showMinimized(); }

void MainWindow::saveAndQuit()
{
    QString file;
    if (!m_model.saveOnExit(m_layout.bandRadius, &file)) {
        // Never close as if all were well, but never trap the user either: a
        // folder that can never be written must not keep the program open.
        const Messenger::Answer a
            = m_messenger.message(exitNotSavedQuestion(file), Messenger::Buttons::OkCancel);
        if (a == Messenger::Answer::Ok)
            close();
        return;
    }
    m_saved = true;
    close();
}

void MainWindow::stopTicking()
{
    m_timer.stop();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    stopTicking();
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Restoring from the task bar lays the window out again.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && m_loaded)
        layOut();
}

} // namespace tb
