#include "mainwindow/fonts.h"
#include "mainwindow/messagedialog.h"
#include "mainwindow/tembrawindow.h"
#include "time/clocksource.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    tembra::installFontSubstitutions();
    QApplication::setFont(tembra::designFont(9));

    tembra::SystemClock clock;
    tembra::MessageDialog messages;
    tembra::tembra window(clock, messages);
    messages.setParent(&window);
    window.show();
    return app.exec();
}
