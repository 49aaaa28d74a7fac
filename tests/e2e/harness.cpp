#include "harness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>
#include <QtMath>
#include <csignal>
#include <sys/prctl.h>

namespace e2e {

namespace {

// Children die with the test process, whatever ends it.
void dieWithParent(QProcess &p)
{
    p.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

void stopProcess(QProcess &p, int graceMs)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(graceMs)) {
        p.kill();
        p.waitForFinished(3000);
    }
}

QString envOr(const char *name, const QString &fallback = {})
{
    const QByteArray v = qgetenv(name);
    return v.isEmpty() ? fallback : QString::fromLocal8Bit(v);
}

std::optional<QRect> windowGeometry(const QString &display, const QString &id)
{
    const RunResult r = runTool("xdotool", { "getwindowgeometry", "--shell", id }, display, 5000);
    if (!r.finished || r.exitCode != 0)
        return std::nullopt;
    int x = 0, y = 0, w = 0, h = 0;
    for (const QByteArray &line : r.out.split('\n')) {
        const QList<QByteArray> kv = line.split('=');
        if (kv.size() != 2)
            continue;
        const int v = kv[1].trimmed().toInt();
        if (kv[0] == "X") x = v;
        else if (kv[0] == "Y") y = v;
        else if (kv[0] == "WIDTH") w = v;
        else if (kv[0] == "HEIGHT") h = v;
    }
    return QRect(x, y, w, h);
}

} // namespace

void sleepMs(int ms)
{
    QThread::msleep(ulong(ms));
}

RunResult runTool(const QString &program, const QStringList &args, const QString &display, int timeoutMs)
{
    RunResult r;
    QProcess p;
    dieWithParent(p);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!display.isEmpty())
        env.insert("DISPLAY", display);
    env.remove("LD_PRELOAD");
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForStarted(5000)) {
        r.err = QStringLiteral("cannot start %1").arg(program).toUtf8();
        return r;
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        stopProcess(p, 500);
        r.err = QStringLiteral("%1 did not finish in %2 ms").arg(program).arg(timeoutMs).toUtf8();
        return r;
    }
    r.finished = p.exitStatus() == QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString installedProgram()
{
    return envOr("TEMBRA_E2E_PREFIX") + QStringLiteral("/bin/tembra");
}

QString sourcePath(const QString &relative)
{
    return envOr("TEMBRA_E2E_SOURCE") + QLatin1Char('/') + relative;
}

QString artifactDir()
{
    return envOr("TEMBRA_E2E_ARTIFACTS", QDir::tempPath() + QStringLiteral("/tembra-e2e"));
}

void saveArtifact(const QImage &image, const QString &name)
{
    QDir().mkpath(artifactDir());
    image.save(artifactDir() + QLatin1Char('/') + name);
}

QString fakeTimeLibrary()
{
    const QString fromEnv = envOr("TEMBRA_E2E_FAKETIME");
    if (!fromEnv.isEmpty())
        return fromEnv;
    QStringList candidates;
    for (const QString &root : { QStringLiteral("/usr/lib"), QStringLiteral("/usr/lib64"),
                                 QStringLiteral("/usr/local/lib") }) {
        candidates << root + QStringLiteral("/faketime/libfaketimeMT.so.1");
        for (const QString &sub : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            candidates << root + QLatin1Char('/') + sub + QStringLiteral("/faketime/libfaketimeMT.so.1");
    }
    for (const QString &c : candidates)
        if (QFileInfo::exists(c))
            return c;
    return {};
}

// ------------------------------------------------------------ XServer

XServer::~XServer()
{
    stop();
}

bool XServer::start(QString *error)
{
    dieWithParent(m_proc);
    m_proc.setStandardErrorFile(QProcess::nullDevice());
    m_proc.start("Xvfb", { "-noreset", "-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp" });
    if (!m_proc.waitForStarted(5000)) {
        *error = QStringLiteral("Xvfb cannot be started (package xvfb)");
        return false;
    }
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (!got.contains('\n') && t.elapsed() < 15000 && m_proc.state() == QProcess::Running) {
        m_proc.waitForReadyRead(500);
        got += m_proc.readAllStandardOutput();
    }
    bool ok = false;
    const int number = got.trimmed().toInt(&ok);
    if (!ok) {
        *error = QStringLiteral("Xvfb gave no display number");
        stop();
        return false;
    }
    m_display = QStringLiteral(":%1").arg(number);
    return true;
}

void XServer::stop()
{
    stopProcess(m_proc, 3000);
}

// ------------------------------------------------------------ FakeClock

void FakeClock::freeze(const QDateTime &local)
{
    write(local.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toLatin1());
}

void FakeClock::runFrom(const QDateTime &local, int speed)
{
    QByteArray spec = '@' + local.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toLatin1();
    if (speed != 1)
        spec += " x" + QByteArray::number(speed);
    write(spec);
}

void FakeClock::write(const QByteArray &spec)
{
    // Replaced in one step: the program may read the file at any moment.
    QSaveFile f(m_file);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(spec + '\n');
        f.commit();
    }
}

// ------------------------------------------------------------ App

App::App(const XServer &x, Options options) : m_x(x), m_o(std::move(options)) {}

App::~App()
{
    kill();
}

bool App::start(QString *error)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &k : env.keys())
        if (k.startsWith("FAKETIME") || k == "LD_PRELOAD" || k.startsWith("QT_"))
            env.remove(k);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", m_x.display());
    env.insert("XDG_CONFIG_HOME", m_o.configHome);
    env.insert("XDG_RUNTIME_DIR", m_runtime.path());
    env.insert("HOME", m_runtime.path());
    env.insert("TZ", "UTC");
    env.insert("LC_ALL", "C.UTF-8");
    if (m_o.clock) {
        const QString lib = fakeTimeLibrary();
        if (lib.isEmpty()) {
            *error = QStringLiteral("libfaketime is not installed (package libfaketime)");
            return false;
        }
        env.insert("LD_PRELOAD", lib);
        env.insert("FAKETIME_TIMESTAMP_FILE", m_o.clock->file());
        env.insert("FAKETIME_NO_CACHE", "1");
        env.insert("NO_FAKE_STAT", "1");
        if (!m_o.fakeMonotonic)
            env.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
    }
    m_proc.setProcessEnvironment(env);
    m_proc.setProcessChannelMode(QProcess::MergedChannels);
    dieWithParent(m_proc);
    m_proc.start(installedProgram(), {});
    if (!m_proc.waitForStarted(5000)) {
        *error = QStringLiteral("cannot start %1").arg(installedProgram());
        return false;
    }
    return true;
}

QByteArray App::log()
{
    m_log += m_proc.readAll();
    return m_log;
}

bool App::waitForMainWindow(int timeoutMs)
{
    return waitFor(
        [this] {
            if (!running())
                return false;
            const RunResult r = runTool("xdotool",
                                        { "search", "--all", "--onlyvisible", "--pid", QString::number(pid()),
                                          "--name", "ver 1\\.0" },
                                        m_x.display(), 5000);
            const QList<QByteArray> ids = r.out.simplified().split(' ');
            if (r.exitCode != 0 || ids.isEmpty() || ids[0].isEmpty())
                return false;
            const std::optional<QRect> g = windowGeometry(m_x.display(), QString::fromLatin1(ids[0]));
            if (!g || g->width() != kClientWidthPx)
                return false;
            m_main = { QString::fromLatin1(ids[0]), *g };
            return true;
        },
        timeoutMs, 200);
}

QList<WindowInfo> App::visibleWindows() const
{
    QList<WindowInfo> list;
    const RunResult r = runTool("xdotool", { "search", "--onlyvisible", "--pid", QString::number(pid()) },
                                m_x.display(), 5000);
    for (const QByteArray &id : r.out.simplified().split(' ')) {
        if (id.isEmpty())
            continue;
        if (const std::optional<QRect> g = windowGeometry(m_x.display(), QString::fromLatin1(id)))
            list.append({ QString::fromLatin1(id), *g });
    }
    return list;
}

std::optional<WindowInfo> App::waitForNewWindow(const QStringList &known, int timeoutMs) const
{
    std::optional<WindowInfo> found;
    waitFor(
        [&] {
            for (const WindowInfo &w : visibleWindows())
                if (!known.contains(w.id) && w.geometry.width() > 1) {
                    found = w;
                    return true;
                }
            return false;
        },
        timeoutMs, 100);
    return found;
}

bool App::waitForOnlyMainWindow(int timeoutMs) const
{
    return waitFor(
        [this] {
            const QList<WindowInfo> w = visibleWindows();
            return w.size() == 1 && w[0].id == m_main.id;
        },
        timeoutMs, 100);
}

bool App::waitForExit(int timeoutMs, int *exitCode)
{
    if (running() && !m_proc.waitForFinished(timeoutMs))
        return false;
    if (exitCode)
        *exitCode = m_proc.exitStatus() == QProcess::NormalExit ? m_proc.exitCode() : -1;
    return true;
}

void App::kill()
{
    log();
    stopProcess(m_proc, 3000);
}

qint64 App::rssKiB() const
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid()));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

QString App::settingsFile() const
{
    return m_o.configHome + QStringLiteral("/TembraOG/TembraOG.ini");
}

// ------------------------------------------------------------ Desktop

QString Desktop::windowName(const QString &window) const
{
    return QString::fromUtf8(runTool("xdotool", { "getwindowname", window }, display(), 5000).out).trimmed();
}

bool Desktop::focus(const QString &window) const
{
    // Without a window manager, keys go where the input focus is set.
    return runTool("xdotool", { "windowfocus", "--sync", window }, display(), 5000).exitCode == 0;
}

bool Desktop::key(const QString &window, const QString &keys) const
{
    if (!focus(window))
        return false;
    return runTool("xdotool", { "key", "--delay", "40", keys }, display(), 5000).exitCode == 0;
}

bool Desktop::type(const QString &window, const QString &text) const
{
    if (!focus(window))
        return false;
    return runTool("xdotool", { "type", "--delay", "40", text }, display(), 20000).exitCode == 0;
}

bool Desktop::move(const QPoint &p) const
{
    return runTool("xdotool", { "mousemove", QString::number(p.x()), QString::number(p.y()) }, display(), 5000)
               .exitCode == 0;
}

bool Desktop::click(const QPoint &p) const
{
    // A pause between move and press lets the program see the pointer arrive.
    return runTool("xdotool", { "mousemove", QString::number(p.x()), QString::number(p.y()), "sleep", "0.15",
                                "click", "1" },
                   display(), 5000)
               .exitCode == 0;
}

QImage Desktop::screenshotWithMenus() const
{
    const RunResult r = runTool("import", { "-silent", "-window", "root", "png:-" }, display(), 20000);
    if (r.exitCode != 0)
        return {};
    return QImage::fromData(r.out, "PNG").convertToFormat(QImage::Format_RGB32);
}

// An XWD dump of the root window (xwd is fast; PNG through ImageMagick costs
// most of a second per screen).
QImage Desktop::screenshot() const
{
    const RunResult r = runTool("xwd", { "-root", "-silent" }, display(), 20000);
    if (r.exitCode != 0 || r.out.size() < 100)
        return {};
    const QByteArray &d = r.out;
    auto card = [&d](int i) {
        const auto *p = reinterpret_cast<const uchar *>(d.constData()) + 4 * i;
        return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
    };
    const quint32 headerSize = card(0), format = card(2), width = card(4), height = card(5),
                  byteOrder = card(7), bitsPerPixel = card(11), bytesPerLine = card(12), redMask = card(14),
                  greenMask = card(15), blueMask = card(16), colours = card(19);
    const qint64 offset = qint64(headerSize) + 12 * qint64(colours);
    // 24 bits per pixel come packed, in lines padded to 32 bits a pixel.
    const quint32 bytesPerPixel = bitsPerPixel / 8;
    if (format != 2 || bitsPerPixel < 24 || (bytesPerPixel != 3 && bytesPerPixel != 4)
        || offset + qint64(bytesPerLine) * height > d.size())
        return {};
    auto shift = [](quint32 mask) {
        int s = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++s;
        }
        return s;
    };
    const int rs = shift(redMask), gs = shift(greenMask), bs = shift(blueMask);
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (quint32 y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const uchar *>(d.constData()) + offset + qint64(y) * bytesPerLine;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (quint32 x = 0; x < width; ++x) {
            const uchar *p = line + bytesPerPixel * x;
            quint32 v = 0;
            for (quint32 b = 0; b < bytesPerPixel; ++b) // least significant byte first when byteOrder is 0
                v |= quint32(p[byteOrder == 0 ? b : bytesPerPixel - 1 - b]) << (8 * b);
            out[x] = qRgb(int((v & redMask) >> rs), int((v & greenMask) >> gs), int((v & blueMask) >> bs));
        }
    }
    return image;
}

// ------------------------------------------------------------ Scene

std::unique_ptr<App> Scene::launch(QString *error, const QString &config, bool fakeMonotonic)
{
    App::Options o;
    o.configHome = config.isEmpty() ? configHome() : config;
    o.clock = &clock;
    o.fakeMonotonic = fakeMonotonic;
    auto app = std::make_unique<App>(x, o);
    if (!app->start(error))
        return nullptr;
    if (!app->waitForMainWindow()) {
        *error = QStringLiteral("no main window; program said: ") + QString::fromLocal8Bit(app->log());
        return nullptr;
    }
    return app;
}

QMap<QString, QString> readIni(const QString &path)
{
    QMap<QString, QString> values;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return values;
    QString section;
    for (QString line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        values.insert(section + QLatin1Char('/') + line.left(eq).trimmed(), value);
    }
    return values;
}

void writeIni(const QString &path, const QList<QPair<QString, QString>> &values)
{
    QMap<QString, QStringList> sections;
    for (const auto &kv : values) {
        const int slash = kv.first.indexOf(QLatin1Char('/'));
        sections[kv.first.left(slash)] << kv.first.mid(slash + 1) + QLatin1Char('=') + kv.second;
    }
    QString text;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it)
        text += QLatin1Char('[') + it.key() + QStringLiteral("]\n") + it.value().join(QLatin1Char('\n'))
            + QStringLiteral("\n\n");
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text.toUtf8());
}

// ------------------------------------------------------------ MainGeometry

QPoint MainGeometry::clientOrigin() const
{
    return m_window.topLeft() + QPoint(0, m_window.height() - kClientHeightPx);
}

QPointF MainGeometry::twipsToScreen(double x, double y) const
{
    return QPointF(clientOrigin()) + QPointF(x / 15.0, y / 15.0);
}

Circle MainGeometry::bandFace(int k) const
{
    // Map 11655 twips wide from 135; faces 1600 twips above the bottom of a
    // window whose outer height is the client height + 445.
    const double x = (k + 0.5) * 11655.0 / 12.0 + 135.0;
    const double y = kClientHeightPx * 15.0 + 445.0 - 1600.0;
    return { twipsToScreen(x, y), 440.0 / 15.0 };
}

Circle MainGeometry::placedFace(double clockLeft, double clockTop, double radius) const
{
    return { twipsToScreen(clockLeft, clockTop), radius / 15.0 };
}

QRect MainGeometry::menuBar() const
{
    return QRect(m_window.topLeft(), QSize(m_window.width(), m_window.height() - kClientHeightPx));
}

// ------------------------------------------------------------ Menus

QList<QPoint> Menus::barEntries() const
{
    if (!m_bar.isEmpty())
        return m_bar;
    m_desktop.move(QPoint(1270, 790)); // no entry under the pointer, so none is highlighted
    sleepMs(150);
    const QImage shot = m_desktop.screenshot();
    const QRect bar = MainGeometry(m_app.mainWindow().geometry).menuBar();
    const QRgb background = shot.pixel(bar.right() - 3, bar.center().y());
    QList<QPoint> entries;
    int start = -1, lastInk = -100;
    for (int x = bar.left(); x <= bar.right(); ++x) {
        bool ink = false;
        for (int y = bar.top() + 2; y < bar.bottom() - 1 && !ink; ++y)
            ink = !near(shot.pixel(x, y), background, 30);
        if (!ink)
            continue;
        if (x - lastInk > 12) { // a new run of text
            if (start >= 0)
                entries.append(QPoint((start + lastInk) / 2, bar.center().y()));
            start = x;
        }
        lastInk = x;
    }
    if (start >= 0)
        entries.append(QPoint((start + lastInk) / 2, bar.center().y()));
    m_bar = entries;
    return entries;
}

std::optional<WindowInfo> Menus::openBar(int index) const
{
    const QList<QPoint> entries = barEntries();
    if (index >= entries.size())
        return std::nullopt;
    QStringList known;
    for (const WindowInfo &w : m_app.visibleWindows())
        known << w.id;
    m_desktop.click(entries[index]);
    return m_app.waitForNewWindow(known);
}

QPoint Menus::itemCentre(const WindowInfo &popup, int index, int count) const
{
    const QRect g = popup.geometry;
    return QPoint(g.left() + g.width() / 2, g.top() + int((index + 0.5) * g.height() / count));
}

std::optional<WindowInfo> Menus::openItem(const WindowInfo &popup, int index, int count) const
{
    QStringList known;
    for (const WindowInfo &w : m_app.visibleWindows())
        known << w.id;
    m_desktop.click(itemCentre(popup, index, count));
    return m_app.waitForNewWindow(known);
}

bool Menus::chooseItem(const WindowInfo &popup, int index, int count) const
{
    m_desktop.click(itemCentre(popup, index, count));
    return m_app.waitForOnlyMainWindow();
}

QList<int> Menus::checkedItems(const WindowInfo &popup, int count) const
{
    // A popup is mapped before it is painted: wait for its light background.
    QImage shot;
    const QRect g = popup.geometry;
    waitFor(
        [&] {
            shot = m_desktop.screenshotWithMenus();
            return !shot.isNull() && qGray(shot.pixel(g.right() - 4, g.top() + 4)) > 150
                && qGray(shot.pixel(g.right() - 4, g.bottom() - 4)) > 150;
        },
        3000, 50);
    QList<int> checked;
    for (int i = 0; i < count; ++i) {
        const int cy = itemCentre(popup, i, count).y();
        // The check box sits at the left of the item; only a tick is near black.
        int dark = 0;
        for (int y = cy - 7; y <= cy + 7; ++y)
            for (int x = popup.geometry.left() + 3; x < popup.geometry.left() + 26; ++x)
                if (qGray(shot.pixel(x, y)) < 70)
                    ++dark;
        if (dark >= 6)
            checked << i;
    }
    return checked;
}

void Menus::closeAll() const
{
    for (int i = 0; i < 4 && !m_app.waitForOnlyMainWindow(300); ++i)
        runTool("xdotool", { "key", "Escape" }, m_desktop.display(), 5000);
}

// ------------------------------------------------------------ pictures

bool near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
        && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

int countDifferences(const QImage &a, const QImage &b, const QRect &area, const QList<Circle> &rims,
                     int tolerance, QImage *diff)
{
    if (a.size() != b.size())
        return area.width() * area.height();
    if (diff) {
        *diff = a.copy();
        diff->fill(Qt::black);
    }
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (near(a.pixel(x, y), b.pixel(x, y), tolerance))
                continue;
            bool onRim = false;
            for (const Circle &c : rims) {
                const double d = std::hypot(x + 0.5 - c.centre.x(), y + 0.5 - c.centre.y());
                if (qAbs(d - c.radius) <= 2.5) {
                    onRim = true;
                    break;
                }
            }
            if (onRim)
                continue;
            ++count;
            if (diff)
                diff->setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    return count;
}

double extentOf(const QImage &screen, const Circle &face, double degrees, QRgb fill, int tolerance)
{
    const double a = qDegreesToRadians(degrees);
    const double dx = std::sin(a), dy = -std::cos(a);
    for (double t = 6; t < 200; t += 0.5) {
        const int x = int(std::floor(face.centre.x() + t * dx));
        const int y = int(std::floor(face.centre.y() + t * dy));
        if (!screen.rect().contains(x, y) || !near(screen.pixel(x, y), fill, tolerance))
            return t;
    }
    return 200;
}

QRgb faceFill(const QImage &screen, const Circle &face, double fraction)
{
    QMap<QRgb, int> seen;
    for (int i = 0; i < 48; ++i) {
        const double a = i * 2 * M_PI / 48;
        const int x = int(std::floor(face.centre.x() + fraction * face.radius * std::sin(a)));
        const int y = int(std::floor(face.centre.y() - fraction * face.radius * std::cos(a)));
        if (screen.rect().contains(x, y))
            ++seen[screen.pixel(x, y) | 0xff000000];
    }
    QRgb best = 0;
    int most = -1;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    return best;
}

int redPixels(const QImage &screen, const QRect &box)
{
    int n = 0;
    const QRect r = box.intersected(screen.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = screen.pixel(x, y);
            if (qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110)
                ++n;
        }
    return n;
}

} // namespace e2e
