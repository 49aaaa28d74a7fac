#include "app/onecopy.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace tb {

namespace {

// Two starts at the same moment must not both find no copy and both go on:
// the look and the start of answering happen under a lock on the runtime
// folder. It is the kernel's (flock), gone with the process that held it, so
// a crash can never leave it behind. A holder that does not let go in time
// (stopped in a debugger, say) is not waited for any longer.
int lockFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    for (int tries = 0; tries < 1000; ++tries) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        QThread::msleep(10);
    }
    ::close(fd);
    return -1;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return a;
}

// The launch notice's time ("…_TIME<n>"): when the user asked.
xcb_timestamp_t launchTime(const QByteArray &startupId)
{
    const int at = startupId.lastIndexOf("_TIME");
    bool ok = false;
    const uint time = at < 0 ? 0 : startupId.mid(at + 5).toUInt(&ok);
    return ok ? time : XCB_CURRENT_TIME;
}

bool windowManagerRuns(xcb_connection_t *c, xcb_window_t root)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool runs = reply && xcb_get_property_value_length(reply) > 0;
    free(reply);
    return runs;
}

// Ends the desktop's launch notice (its busy pointer) for the start that
// handed over: startup-notification "remove", in 20-byte pieces.
void endLaunchNotice(xcb_connection_t *c, xcb_window_t root, xcb_window_t window, const QByteArray &startupId)
{
    QByteArray id = startupId;
    id.replace('\\', "\\\\").replace('"', "\\\"");
    const QByteArray text = "remove: ID=\"" + id + "\"";
    const xcb_atom_t begin = atom(c, "_NET_STARTUP_INFO_BEGIN"), more = atom(c, "_NET_STARTUP_INFO");
    for (int at = 0; at <= text.size(); at += 20) { // the last piece carries the closing nul
        xcb_client_message_event_t event = {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = window;
        event.type = at == 0 ? begin : more;
        std::memcpy(event.data.data8, text.constData() + at, size_t(qMin(20, int(text.size()) - at)));
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char *>(&event));
    }
}

// Activation as the user's own request. Qt's own asks with the time of the
// last event the program saw, which a window manager (or, without one, the
// X server) refuses once another window took the focus after it.
bool activateOnX11(QWidget *front, const QByteArray &startupId)
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return false;
    xcb_connection_t *c = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_window_t window = xcb_window_t(front->winId());
    if (windowManagerRuns(c, root)) {
        // Source 2: the request of a pager, that is, of the user.
        xcb_client_message_event_t event = {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom(c, "_NET_ACTIVE_WINDOW");
        event.data.data32[0] = 2;
        event.data.data32[1] = launchTime(startupId);
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&event));
    } else {
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    }
    if (!startupId.isEmpty())
        endLaunchNotice(c, root, window, startupId);
    xcb_flush(c);
    return true;
}

} // namespace

QString OneCopy::socketName(const QString &settingsFile)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    // The same file reached through a link, or a linked folder, is the same
    // file: saves follow a link to its target, so the copies must meet there.
    const QFileInfo file(settingsFile);
    const QString target = file.canonicalFilePath();
    const QString folder = file.dir().canonicalPath();
    const QString path = !target.isEmpty() ? target
        : folder.isEmpty()                 ? QDir::cleanPath(file.absoluteFilePath())
                                           : folder + QLatin1Char('/') + file.fileName();
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return runtime + QStringLiteral("/tembra-") + QString::fromLatin1(hash);
}

OneCopy::OneCopy(const QString &settingsFile) : m_name(socketName(settingsFile))
{
    if (m_name.isEmpty())
        return; // nowhere to meet: every start goes on
    m_lock = lockFolder(QFileInfo(m_name).path());
    m_handedOver = askRunningCopy();
}

OneCopy::~OneCopy()
{
    if (m_lock >= 0)
        ::close(m_lock);
}

bool OneCopy::askRunningCopy()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(2000))
        // Not there, or refused: the socket file of a crashed copy. A copy
        // whose queue of calls is full still runs.
        return socket.error() == QLocalSocket::SocketTimeoutError;
    // Taken by the running copy whenever it gets to it, also after this
    // start has left. No application object yet: the launch notice is still
    // in the environment.
    socket.write(qgetenv("DESKTOP_STARTUP_ID") + '\n');
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

void OneCopy::setWindow(QWidget *window)
{
    m_window = window;
}

void OneCopy::answerLaterStarts()
{
    if (m_name.isEmpty() || m_handedOver || m_server)
        return;
    // Nobody answered under the lock: a socket file here is a crashed copy's.
    QLocalServer::removeServer(m_name);
    // Closed (and its socket file removed) with the application object.
    m_server = new QLocalServer(qApp);
    if (!m_server->listen(m_name))
        qWarning("tembra: later starts cannot find this one (%s)", qPrintable(m_server->errorString()));
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
                socket->deleteLater();
                bringToFront(m_window, socket->readAll().left(512).trimmed());
            });
        }
    });
    if (m_lock >= 0) {
        ::close(m_lock);
        m_lock = -1;
    }
}

void bringToFront(QWidget *window, const QByteArray &startupId)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (window && window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    QWidget *front = modal ? modal : window;
    if (!front || !front->isVisible())
        return; // still being built: it comes up on its own
    if (window && window->isVisible())
        window->raise();
    front->raise();
    if (!activateOnX11(front, startupId))
        front->activateWindow();
}

} // namespace tb
