#include "ui/chooser/picturechooserdialog.h"
#include "ui/editor/clockeditordialog.h"
#include "ui/common/fonts.h"
#include "core/window/maps.h"
#include "ui/common/messagedialog.h"
#include "core/window/programicon.h"
#include "ui/mainwindow/mainwindow.h"
#include "core/time/clocksource.h"
#include "core/settings/schema.h"
#include "app/onecopy.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    tb::OneCopy oneCopy(tb::settingsFileLocation());
    if (oneCopy.handedOver())
        return 0;
    // Each second sends a few small rectangles to the X server. Through
    // shared memory every paint would first wait for the server to finish
    // reading the last one (a round trip that wakes two threads a second);
    // sent in the request itself, a tick is one write and nothing to wait for.
    const bool setNoShm = !qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM");
    if (setNoShm)
        qputenv("QT_XCB_NO_MITSHM", "1");
    std::thread fontConfiguration = tb::loadFontConfigurationAhead();
    QApplication app(argc, argv);
    oneCopy.answerLaterStarts();
    tb::installQtTranslation(app);
    fontConfiguration.join();
    if (setNoShm) // read when the display was opened; nothing started from here inherits it
        qunsetenv("QT_XCB_NO_MITSHM");
    tb::prefetchStartMap();
    // Lets the desktop match the window to its menu entry (tembra.desktop).
    QGuiApplication::setDesktopFileName(QStringLiteral("tembra"));
    tb::installFontSubstitutions();
    QApplication::setFont(tb::designFont(9));

    tb::SystemClock clock;
    tb::MessageDialog messages;
    tb::PictureChooserDialog chooser; // outlives the window, which only borrows it
    tb::MainWindow window(clock, messages);
    messages.setParent(&window);
    chooser.setParent(&window);
    window.setPictureChooser(&chooser);
    tb::ClockEditorDialog editor(window.model().pictures(), clock, messages, window.model().colours(), chooser,
                       [&window](const QString &key) { window.model().dropPicture(key); }, &window);
    window.setClockEditor(&editor);
    oneCopy.setWindow(&window);
    window.show();
    // Every size of the icon is decoded when it is set: done once the window
    // is on its way to the screen, it no longer holds the window back.
    QApplication::setWindowIcon(tb::programIcon());
    return app.exec();
}
