#pragma once
// End-to-end harness: the installed program on a private X server, driven by
// xdotool, seen through screenshots and its settings file. Every wait has a
// time limit, and every process started here dies with the test (also when
// CTest kills the test on its time-out).
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QMap>
#include <QPair>
#include <memory>
#include <optional>

namespace e2e {

struct RunResult {
    bool finished = false; // false: killed at the time limit
    int exitCode = -1;
    QByteArray out, err;
};

// Runs a short tool to its end, or kills it after timeoutMs.
RunResult runTool(const QString &program, const QStringList &args, const QString &display = {},
                  int timeoutMs = 10000);

// Set by CTest (tests/e2e/CMakeLists.txt).
QString installedProgram();                       // <prefix>/bin/tembra
QString sourcePath(const QString &relative);      // a file of the source tree
QString artifactDir();                            // screenshots of a failing scenario
void saveArtifact(const QImage &image, const QString &name);
// libfaketime (multi-threaded variant); empty when it is not installed.
QString fakeTimeLibrary();

// Xvfb with -noreset (a server that resets when its last client leaves drops
// a client connecting in that moment) and -displayfd (it picks a free display).
class XServer {
public:
    XServer() = default;
    ~XServer();
    bool start(QString *error);
    void stop();
    QString display() const { return m_display; }

private:
    QProcess m_proc;
    QString m_display;
};

// The timestamp file that libfaketime reads at every clock call.
class FakeClock {
public:
    explicit FakeClock(const QString &file) : m_file(file) {}
    // The computer's clock stands at `local` until changed.
    void freeze(const QDateTime &local);
    // The clock runs from `local` on, `speed` times as fast as real time.
    void runFrom(const QDateTime &local, int speed = 1);
    QString file() const { return m_file; }

private:
    void write(const QByteArray &spec);
    QString m_file;
};

struct WindowInfo {
    QString id;
    QRect geometry; // on the screen
};

// One run of the installed program.
class App {
public:
    struct Options {
        QString configHome;           // XDG_CONFIG_HOME of the program
        const FakeClock *clock = nullptr;
        // With a fake clock: false keeps the monotonic clock real, so that
        // timers go on as on a real machine whose clock is set; true lets the
        // timers run at the fake clock's speed (fast motion).
        bool fakeMonotonic = false;
        QString workingDir;           // the program's current folder; the test's when empty
        QByteArray zone = "Asia/Tokyo"; // the computer's time zone (TZ)
        QString runtimeDir;           // XDG_RUNTIME_DIR (and HOME); one of its own when empty
    };
    App(const XServer &x, Options options);
    ~App();
    bool start(QString *error);
    bool waitForMainWindow(int timeoutMs = 20000);
    WindowInfo mainWindow() const { return m_main; }
    QList<WindowInfo> visibleWindows() const;
    // A visible window of this process that is not among `known`.
    std::optional<WindowInfo> waitForNewWindow(const QStringList &known, int timeoutMs = 5000) const;
    // A visible window titled `title` that is not among `known`.
    std::optional<WindowInfo> waitForWindowNamed(const QString &title, const QStringList &known = {},
                                                 int timeoutMs = 5000) const;
    // Waits until only the main window is left (menus closed).
    bool waitForOnlyMainWindow(int timeoutMs = 5000) const;
    bool waitForExit(int timeoutMs, int *exitCode = nullptr);
    void kill();
    bool running() const { return m_proc.state() != QProcess::NotRunning; }
    qint64 pid() const { return m_proc.processId(); }
    qint64 rssKiB() const;         // resident set size from /proc
    QString settingsFile() const;  // $XDG_CONFIG_HOME/TembraOG/TembraOG.ini
    QByteArray log();              // what the program printed so far

private:
    const XServer &m_x;
    Options m_o;
    QProcess m_proc;
    QTemporaryDir m_runtime;
    WindowInfo m_main;
    QByteArray m_log;
};

// Input and output on one X server.
class Desktop {
public:
    explicit Desktop(const XServer &x) : m_x(x) {}
    bool focus(const QString &window) const;      // input focus without a window manager
    bool key(const QString &window, const QString &keys) const; // "alt+x", "Return", "ctrl+c"
    bool key(const QString &window, const QString &keys, int repeat) const;
    bool type(const QString &window, const QString &text, int delayMs = 40) const;
    bool click(const QPoint &screen) const;
    // Presses the left button at `from`, moves in steps to `to` and releases there.
    bool drag(const QPoint &from, const QPoint &to) const;
    bool move(const QPoint &screen) const;
    // The whole screen, RGB32. Popup menus have a visual of their own, which
    // a plain dump of the screen leaves black: screenshotWithMenus() takes
    // each window as it is (slower).
    QImage screenshot() const;
    QImage screenshotWithMenus() const;
    QString display() const { return m_x.display(); }
    QString windowName(const QString &window) const;
    QString focusedWindow() const;

private:
    const XServer &m_x;
};

// One scenario's world: a private X server, settings folder and clock file.
class Scene {
public:
    Scene() : clock(dir.filePath(QStringLiteral("faketime.rc"))), desktop(x) {}
    bool setUp(QString *error) { return dir.isValid() && x.start(error); }
    // A settings folder of its own for each name.
    QString configHome(const QString &name = QStringLiteral("config")) const { return dir.filePath(name); }
    // Starts the program with this scene's clock and waits for its main window.
    std::unique_ptr<App> launch(QString *error, const QString &config = {}, bool fakeMonotonic = false,
                                const QString &workingDir = {});

    QTemporaryDir dir;
    XServer x;
    FakeClock clock; // read in `zone`
    QByteArray zone = "Asia/Tokyo";
    Desktop desktop;
};

// "Section/key" -> value, read straight from the INI text (QSettings would
// cache the file between the program's writes).
QMap<QString, QString> readIni(const QString &path);
void writeIni(const QString &path, const QList<QPair<QString, QString>> &values);

// ------------------------------------------------------------ the main window

// Client area of the main window at its design size: 11880 × 7965 twips.
constexpr int kClientWidthPx = 792;
constexpr int kClientHeightPx = 531;

struct Circle {
    QPointF centre; // screen pixels
    double radius = 0;
};

// Where things stand in a main window of design size, from the window's
// geometry (the menu bar is the part above the client area).
class MainGeometry {
public:
    explicit MainGeometry(const QRect &window) : m_window(window) {}
    QPoint clientOrigin() const;
    QPointF twipsToScreen(double x, double y) const;
    // Band face k (0 … 11) and a placed face at reference twips with radius r.
    Circle bandFace(int k) const;
    Circle placedFace(double clockLeft, double clockTop, double radius) const;
    QRect menuBar() const;

private:
    QRect m_window;
};

// Menus of the main window, worked with the mouse.
class Menus {
public:
    Menus(const Desktop &desktop, const App &app) : m_desktop(desktop), m_app(app) {}
    // Centres of the entries of the menu bar, found as runs of text.
    QList<QPoint> barEntries() const;
    // Opens entry `index` of the menu bar; the popup that opened.
    std::optional<WindowInfo> openBar(int index) const;
    // Clicks item `index` of a popup of `count` items that opens a submenu; its popup.
    std::optional<WindowInfo> openItem(const WindowInfo &popup, int index, int count) const;
    // Clicks an item that acts; true when every menu closed after it.
    bool chooseItem(const WindowInfo &popup, int index, int count) const;
    // Items of a popup of `count` items that show a check mark.
    QList<int> checkedItems(const WindowInfo &popup, int count) const;
    // Closes every open menu.
    void closeAll() const;

private:
    QPoint itemCentre(const WindowInfo &popup, int index, int count) const;
    const Desktop &m_desktop;
    const App &m_app;
    mutable QList<QPoint> m_bar; // found once: the bar does not change
};

// ------------------------------------------------------------ pictures

// Pixels that differ by more than `tolerance` in a channel, leaving out the
// rims of the given faces (antialiased rims darken as every tick draws the
// face again, so a running program and a fresh one differ there).
int countDifferences(const QImage &a, const QImage &b, const QRect &area, const QList<Circle> &rims,
                     int tolerance = 8, QImage *diff = nullptr);
bool near(QRgb a, QRgb b, int tolerance);
// Distance from the centre, along the ray at `degrees` clockwise from 12
// o'clock, to the first pixel that is not `fill`.
double extentOf(const QImage &screen, const Circle &face, double degrees, QRgb fill, int tolerance = 10);
// The most frequent colour on a ring at `fraction` of the face's radius: its fill.
QRgb faceFill(const QImage &screen, const Circle &face, double fraction = 0.6);
// Pixels in `box` that are mostly red (the "DST" mark, the red labels).
int redPixels(const QImage &screen, const QRect &box);

void sleepMs(int ms);

// Polls `condition` every `stepMs` until it is true or timeoutMs pass.
template <typename F>
bool waitFor(F condition, int timeoutMs, int stepMs = 100)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        if (condition())
            return true;
        if (t.elapsed() > timeoutMs)
            return false;
        sleepMs(stepMs);
    }
}

} // namespace e2e
