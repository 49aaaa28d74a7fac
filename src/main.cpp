#include "mainwindow/fonts.h"
#include "mainwindow/messagedialog.h"
#include "mainwindow/tembrawindow.h"
#include "time/clocksource.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    tb::installFontSubstitutions();
    QApplication::setFont(tb::designFont(9));

    tb::SystemClock clock;
    tb::MessageDialog messages;
    tb::tembra window(clock, messages);
    messages.setParent(&window);
    window.show();
    return app.exec();
}
