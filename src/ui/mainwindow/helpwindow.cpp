#include "ui/mainwindow/helpwindow.h"

#include "core/window/helpfile.h"
#include "ui/common/messenger.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tb {

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("テンブラ　ヘルプ"));
    setObjectName(QStringLiteral("helpWindow"));
    m_browser = new QTextBrowser(this);
    // Links to web pages go to the desktop's browser; links inside the file stay here.
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(840, 640); // the picture of the main window fits without scaling
}

void HelpWindow::open(const QString &path)
{
    // The file's suffix says nothing to the browser, so name the type; a
    // reload also makes an edited file show, and the history starts afresh.
    const QUrl url = QUrl::fromLocalFile(path);
    if (m_browser->source() == url)
        m_browser->reload();
    else
        m_browser->setSource(url, QTextDocument::HtmlResource);
    m_browser->clearHistory();
    m_browser->verticalScrollBar()->setValue(0);
    m_browser->horizontalScrollBar()->setValue(0);
}

HelpWindow *showHelp(Messenger &messenger, QWidget *parent, const QString &programDir)
{
    const HelpLookup help = findHelpFile(programDir);
    if (help.found.isEmpty()) {
        messenger.message(missingHelpMessage(help.tried));
        return nullptr;
    }
    HelpWindow *w = parent ? parent->findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly)
                           : nullptr;
    if (!w) {
        w = new HelpWindow(parent);
        if (!parent)
            w->setAttribute(Qt::WA_DeleteOnClose);
    }
    w->open(help.found);
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

} // namespace tb
