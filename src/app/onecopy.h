#pragma once
// One running copy per settings file. A later start asks the running copy to
// come to the front and leaves without reading or writing the file: two
// copies saving the same file would undo each other's changes.
//
// The copies meet at a local socket in the user's runtime folder, named after
// the settings file. A crashed copy leaves its socket file behind, but nobody
// answers there, so the next start takes the name over.
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QWidget;

namespace tb {

class OneCopy : public QObject {
    Q_OBJECT
public:
    // Looks for a copy running on settingsFile and, if there is one, asks it to
    // come to the front. Needs no application object, so that a later start
    // leaves before it opens the display.
    explicit OneCopy(const QString &settingsFile);
    ~OneCopy() override;

    // True when another copy runs: this one has nothing more to do.
    bool handedOver() const { return m_handedOver; }
    // From now on later starts are answered (needs the application object).
    void answerLaterStarts();
    // The window that comes to the front; until it is set, the message in
    // front of it, if any.
    void setWindow(QWidget *window);

    // The socket for settingsFile: a name derived from the file's path, in the
    // user's runtime folder. Empty when there is no runtime folder.
    static QString socketName(const QString &settingsFile);

private:
    bool askRunningCopy();

    QString m_name;
    bool m_handedOver = false;
    int m_lock = -1; // held from the look for a running copy until this one answers
    QPointer<QLocalServer> m_server;
    QPointer<QWidget> m_window;
};

// Raises and activates window (from minimised too), or the modal dialog in
// front of it. startupId is the desktop's launch notice of the start that
// asked: it dates the request and is ended here, since that start shows no
// window of its own.
void bringToFront(QWidget *window, const QByteArray &startupId);

} // namespace tb
