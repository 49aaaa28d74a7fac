// The program over the accessibility bus of a private D-Bus session: every clock one object named as a
// sighted user reads it, Tab to a clock, an arrow to move it, Enter to edit it, new names once a minute.
#include "harness.h"

#include <QtTest>

using namespace e2e;

namespace {
// Debian's own Python, where python3-pyatspi is (another python3 may come first on the PATH).
const QString kPython = QStringLiteral("/usr/bin/python3");

// The program's objects as "role: name", " (focused)" and " (selected)" added when they are.
QStringList objects()
{
    return QString::fromUtf8(runTool(kPython, { sourcePath("tests/e2e/atspi.py"), "tree", "tembra" }, {}, 30000).out)
        .split('\n');
}
} // namespace

class E2eAccess : public QObject {
    Q_OBJECT
private slots:
    void screenReader();
};

void E2eAccess::screenReader()
{
    QVERIFY2(qEnvironmentVariableIsSet("TEMBRA_E2E_PRIVATE_BUS"),
             "no private D-Bus session: CTest runs this under dbus-run-session (package dbus), if found at configure time");
    // The screen-reader flag goes on before the program starts, as when a screen reader runs.
    const RunResult on = runTool(kPython, { sourcePath("tests/e2e/atspi.py"), "enable" }, {}, 30000);
    QVERIFY2(on.finished && on.exitCode == 0, on.err.constData());
    Scene scene;
    QString error;
    QVERIFY2(scene.setUp(&error), qPrintable(error));
    scene.clock.freeze(QDateTime(QDate(2026, 7, 15), QTime(9, 5, 30)));
    writeIni(scene.configHome() + "/TembraOG/TembraOG.ini",
             { { "UserClock/n", "1" }, { "UC000/Fname", "Japan" }, { "UC000/ClockLeft", "9950" }, { "UC000/ClockTop", "3300" },
               { "UC000/FlagLeft", "10500" }, { "UC000/FlagTop", "2900" }, { "UC001/Fname", "USA" }, { "UC001/DifTime", "-14" },
               { "UC001/ClockLeft", "3000" }, { "UC001/ClockTop", "2000" }, { "UC001/FlagLeft", "3500" },
               { "UC001/FlagTop", "2500" }, { "UC001/summertime", "True" } });
    auto app = scene.launch(&error);
    QVERIFY2(app, qPrintable(error));
    const QString id = app->mainWindow().id;

    // One named picture per clock, named as its labels read (three of the twelve band clocks checked here).
    QStringList named;
    waitFor([&] { return (named = objects().filter(QRegularExpression("^image: ."))).size() == 14; }, 15000, 500);
    QCOMPARE(named.size(), 14);
    for (const char *clock : { "Japan 7/15(水) 9:05", "USA 7/14(火) 20:05 夏時間", "グリニッジ標準時 -10 時間 7/14(火) 14:05",
                               "グリニッジ標準時 ±0 時間 7/15(水) 0:05", "グリニッジ標準時 +12 時間 7/15(水) 12:05" })
        QVERIFY2(named.contains(QStringLiteral("image: ") + QString::fromUtf8(clock)), clock);

    // Tab from the window reaches the first placed clock, with its mark round the face.
    const Circle face = MainGeometry(app->mainWindow().geometry).placedFace(9950, 3300, 440);
    QImage plain;
    QVERIFY(waitFor([&] { return near(faceFill(plain = scene.desktop.screenshot(), face), 0xFFE0E0E0, 8); }, 5000));
    QVERIFY(scene.desktop.key(id, "Tab"));
    QVERIFY2(waitFor([] { return objects().contains("image: Japan 7/15(水) 9:05 (focused)"); }, 5000, 300),
             "Tab did not reach the first clock");
    const QRect around = QRectF(face.centre - QPointF(40, 40), QSizeF(80, 80)).toRect();
    QVERIFY(countDifferences(plain, scene.desktop.screenshot(), around, { face }) > 100);

    // An arrow moves it a pixel; Enter opens the editor for it, its lists named after their headings.
    QVERIFY(scene.desktop.key(id, "Right"));
    QVERIFY(scene.desktop.key(id, "Return"));
    const auto editor = app->waitForWindowNamed("デジタル時計の編集", { id });
    QVERIFY2(editor, "Enter did not open the editor");
    const QStringList inEditor = objects();
    QVERIFY(inEditor.contains("list: 時差を選択してください（グリニッジ標準時間との時差）"));
    QVERIFY(inEditor.contains("list: 国旗、イラストを選択してください"));
    const QStringList chosen = inEditor.filter(QRegularExpression("\\(selected\\)$"));
    QVERIFY2(chosen.size() == 1 && chosen[0].startsWith("list item: Japan "), qPrintable(chosen.join(", ")));
    QVERIFY(scene.desktop.key(editor->id, "Escape"));
    QVERIFY(app->waitForOnlyMainWindow());

    // Delete asks about that clock; Tab and Shift+Tab go to the next clock and back.
    QVERIFY(scene.desktop.key(id, "Delete"));
    const auto asked = app->waitForWindowNamed("デジタル時計の削除", { id });
    QVERIFY2(asked, "Delete did not open the delete dialog");
    QVERIFY(objects().filter(QRegularExpression("\\(selected\\)$")).value(0).startsWith("list item: Japan "));
    QVERIFY(scene.desktop.key(asked->id, "Escape"));
    QVERIFY(app->waitForOnlyMainWindow());
    QVERIFY(scene.desktop.key(id, "Tab"));
    QVERIFY(waitFor([] { return objects().contains("image: USA 7/14(火) 20:05 夏時間 (focused)"); }, 5000, 300));
    QVERIFY(scene.desktop.key(id, "shift+Tab"));
    QVERIFY(waitFor([] { return objects().contains("image: Japan 7/15(水) 9:05 (focused)"); }, 5000, 300));

    // Running across a minute, each clock tells its new name once.
    QProcess listener;
    listener.start(kPython, { sourcePath("tests/e2e/atspi.py"), "names", "6" });
    QVERIFY(listener.waitForReadyRead(20000)); // "listening"
    scene.clock.runFrom(QDateTime(QDate(2026, 7, 15), QTime(9, 5, 58)));
    QVERIFY(listener.waitForFinished(20000));
    const QStringList heard = QString::fromUtf8(listener.readAllStandardOutput()).split('\n').filter("image: ");
    QCOMPARE(heard.size(), 14);
    QCOMPARE(heard.filter(":06").size(), 14);

    // Alt+X stores the move as a drag's is.
    QVERIFY(scene.desktop.key(id, "alt+x"));
    QVERIFY(app->waitForExit(10000));
    const QMap<QString, QString> ini = readIni(app->settingsFile());
    QCOMPARE(ini["UC000/ClockLeft"].toDouble(), 9965.);
    QCOMPARE(ini["UC000/FlagLeft"].toDouble(), 10515.);
    QCOMPARE(ini["UC001/ClockLeft"].toDouble(), 3000.);
}

QTEST_GUILESS_MAIN(E2eAccess)
#include "e2e_access.moc"
