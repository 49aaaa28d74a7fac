#pragma once
// The program's own help viewer: the help file (HTML) in a text browser.
#include <QCoreApplication>
#include <QWidget>

class QTextBrowser;

namespace tb {

class Messenger;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);
    // Shows the file from its beginning (also when it was open before).
    void open(const QString &path);
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

// Opens the help file in the help window of `parent` (one per parent, reused).
// A help file found nowhere is reported through `messenger` with the paths
// tried, and nothing else happens (nullptr is returned).
HelpWindow *showHelp(Messenger &messenger, QWidget *parent,
                     const QString &programDir = QCoreApplication::applicationDirPath());

} // namespace tb
