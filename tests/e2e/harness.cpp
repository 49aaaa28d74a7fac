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
    const QString runtime = m_o.runtimeDir.isEmpty() ? m_runtime.path() : m_o.runtimeDir;
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("HOME", runtime);
    env.insert("XDG_CACHE_HOME", runtime + "/cache");
    env.insert("TZ", m_o.zone);
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
    if (!m_o.workingDir.isEmpty())
        m_proc.setWorkingDirectory(m_o.workingDir);
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

std::optional<WindowInfo> App::waitForWindowNamed(const QString &title, const QStringList &known,
                                                  int timeoutMs) const
{
    std::optional<WindowInfo> found;
    waitFor(
        [&] {
            for (const WindowInfo &w : visibleWindows()) {
                if (known.contains(w.id) || w.geometry.width() <= 1)
                    continue;
                const RunResult r = runTool("xdotool", { "getwindowname", w.id }, m_x.display(), 5000);
                if (QString::fromUtf8(r.out).trimmed() == title) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs, 150);
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

// ------------------------------------------------------------ Scene

std::unique_ptr<App> Scene::launch(QString *error, const QString &config, bool fakeMonotonic,
                                   const QString &workingDir)
{
    App::Options o;
    o.workingDir = workingDir;
    o.configHome = config.isEmpty() ? configHome() : config;
    o.clock = &clock;
    o.fakeMonotonic = fakeMonotonic;
    o.zone = zone;
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

} // namespace e2e
