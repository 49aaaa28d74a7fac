// The main window and its colour dialog together: the dialog opens without
// blocking the window, opening it again brings the same dialog forward, and
// registered colours appear at the window's next tick.
#include "ui/colour/colourdialog.h"
#include "fakes.h"
#include "ui/mainwindow/mainmenu.h"
#include "ui/mainwindow/mainwindow.h"
#include "core/settings/settingsstore.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace tb;

class TestColourWiring : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void registeredColoursShowAtTheNextTick();

private:
    QTemporaryDir config;
};

void TestColourWiring::initTestCase()
{
    startWindowTests(config);
    appSettings().setSettingsFile(config.filePath(QStringLiteral("TembraOG.ini")));
}

void TestColourWiring::registeredColoursShowAtTheNextTick()
{
    FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 0)));
    RecordingMessenger messages;
    tb::MainWindow window(clock, messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.tick();
    // The default clock at 9:05 is filled with the colour of hours 8 and 9.
    const QPoint face(int(9950 / 15.0 + 0.5) - 12, int(3300 / 15.0 + 0.5) + 12);
    QCOMPARE(window.clientArea()->surface().pixelColor(face), toQColor(0xE0E0E0));

    window.mainMenu()->colourAction()->trigger();
    ColourDialog *dialog = window.colourDialog();
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(!dialog->isModal());
    dialog->slider(1)->setValue(240); // pure red
    QTest::mouseClick(dialog->targetButton(0), Qt::LeftButton); // 6:00-10:00
    window.tick();
    QCOMPARE(window.clientArea()->surface().pixelColor(face), toQColor(0xE0E0E0)); // not yet registered

    window.mainMenu()->colourAction()->trigger(); // the same dialog, not loaded again
    QCOMPARE(window.colourDialog(), dialog);
    QCOMPARE(dialog->mixer().demoColours()[1], Colour(0x0000FF));

    QTest::mouseClick(dialog->registerButton(), Qt::LeftButton);
    window.tick();
    QCOMPARE(window.clientArea()->surface().pixelColor(face), toQColor(0x0000FF));
    QCOMPARE(window.model().colours().fills[8], Colour(0x0000FF));
    QSettings file(appSettings().settingsFilePath(), QSettings::IniFormat);
    QCOMPARE(file.value(QStringLiteral("Color/8")).toString(), QStringLiteral("255"));
}

QTEST_MAIN(TestColourWiring)
#include "tst_colourwiring.moc"
