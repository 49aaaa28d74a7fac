// Placed clocks as a person handles them: added through the menu and the
// editor, dragged, edited, deleted, given a picture of one's own through the
// chooser, and coloured through the colour dialog; each checked on the screen
// and in the settings file, and again after a restart.
#include "harness.h"

#include <QDir>
#include <QtTest>

using namespace e2e;

namespace {

const QRgb kLightFace = qRgb(0xE0, 0xE0, 0xE0);
const QRgb kDarkFace = qRgb(0x80, 0x80, 0x80);

// Menu bar entries and their popups.
constexpr int kClockEntry = 0, kClockItems = 3; // 追加, 編集, 削除
constexpr int kOptionsEntry = 1, kOptionsItems = 7;

// Zone rows of the editor's list.
constexpr int kNewfoundlandRow = 15; // " -3:30 ﾆｭｰﾌｧﾝﾄﾞﾗﾝﾄﾞ"
constexpr int kTokyoRow = 42;        // "  9:00 東京、大阪、札幌、ｿｳﾙ、ﾔｸｰﾂｸ"

// The reminder comes when a counter of clock visits (0 … 60, one visit per
// clock per tick) is 0 at the visit of the unmoved clock: up to 61 ticks
// after the add. Scenarios that wait for it run the clock, timers included,
// this many times as fast.
constexpr int kFastTicks = 4;

// Controls of the dialogs, in pixels from the dialog's top-left corner (their
// twips / 15).
QPoint at(const WindowInfo &w, int x, int y) { return w.geometry.topLeft() + QPoint(x, y); }
// Clock editor
QPoint zoneListFirstRow(const WindowInfo &w) { return at(w, 40, 24); }
QPoint summerBox(const WindowInfo &w) { return at(w, 19, 105); }
QPoint nameListFirstRow(const WindowInfo &w) { return at(w, 40, 217); }
QPoint confirmButton(const WindowInfo &w) { return at(w, 237, 143); } // 決定 / 削除します
QPoint choosePictureButton(const WindowInfo &w) { return at(w, 279, 209); }
// Picture chooser
QPoint fileListFirstRow(const WindowInfo &w) { return at(w, 50, 227); }
QPoint chooserConfirm(const WindowInfo &w) { return at(w, 510, 18); }
// Colour dialog
QPoint blueScheme(const WindowInfo &w) { return at(w, 413, 371); }
QPoint registerButton(const WindowInfo &w) { return at(w, 432, 15); }

// The state the add scenario leaves: the default clock and a clock of
// Newfoundland with summer time, its face and picture dragged.
const double kMovedFaceLeft = 4505, kMovedFaceTop = 3485;
QList<QPair<QString, QString>> oneMovedClock()
{
    return { { "UserClock/n", "1" },          { "UC000/Fname", "Japan" },
             { "UC000/ClockLeft", "9950" },    { "UC000/ClockTop", "3300" },
             { "UC000/FlagLeft", "10500" },    { "UC000/FlagTop", "2900" },
             { "UC000/DifTime", "0" },         { "UC000/DifMinute", "0" },
             { "UC000/summertime", "False" },  { "UC001/Fname", "Canada" },
             { "UC001/ClockLeft", "4505" },    { "UC001/ClockTop", "3485" },
             { "UC001/FlagLeft", "5580" },     { "UC001/FlagTop", "4485" },
             { "UC001/DifTime", "-12" },       { "UC001/DifMinute", "-30" },
             { "UC001/summertime", "True" } };
}

QRgb fromBgr(quint32 c) { return qRgb(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff)); }

bool within(const QString &value, double want, double tolerance)
{
    bool ok = false;
    const double v = value.toDouble(&ok);
    return ok && qAbs(v - want) <= tolerance;
}

} // namespace

class E2ePlacing : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void addDragAndRestart();
    void editToAnotherZone();
    void deleteClock();
    void userPicture();
    void colourScheme();

private:
    // Opens "    時計の設定    " → "  追加     "; the editor's window.
    std::optional<WindowInfo> openAddEditor(const App &app);
    // Waits for the placing reminder and answers it.
    void answerReminder(const App &app);
    // Edit or delete: the menu entry, then a click on the clock's face; the editor.
    std::optional<WindowInfo> pickForEditor(const App &app, int item, const QPointF &face);
    void chooseZone(const WindowInfo &editor, int row);
    QImage waitForScreen(const std::function<bool(const QImage &)> &condition, int timeoutMs = 5000);

    std::unique_ptr<Scene> scene;
    const QDateTime summerMorning{ QDate(2026, 7, 15), QTime(9, 5, 30) }; // a Wednesday in summer
};

void E2ePlacing::init()
{
    scene = std::make_unique<Scene>();
    QString error;
    QVERIFY2(scene->setUp(&error), qPrintable(error));
    scene->clock.freeze(summerMorning);
}

void E2ePlacing::cleanup()
{
    if (QTest::currentTestFailed())
        saveArtifact(scene->desktop.screenshot(), QStringLiteral("last-screen.png"));
    scene.reset();
}

QImage E2ePlacing::waitForScreen(const std::function<bool(const QImage &)> &condition, int timeoutMs)
{
    QImage shot;
    waitFor(
        [&] {
            shot = scene->desktop.screenshot();
            return !shot.isNull() && condition(shot);
        },
        timeoutMs, 200);
    return shot;
}

std::optional<WindowInfo> E2ePlacing::openAddEditor(const App &app)
{
    const Menus menus(scene->desktop, app);
    const std::optional<WindowInfo> popup = menus.openBar(kClockEntry);
    if (!popup)
        return std::nullopt;
    const std::optional<WindowInfo> editor = menus.openItem(*popup, 0, kClockItems);
    if (!editor || scene->desktop.windowName(editor->id) != QStringLiteral("デジタル時計の追加"))
        return std::nullopt;
    return editor;
}

void E2ePlacing::answerReminder(const App &app)
{
    const std::optional<WindowInfo> box =
        app.waitForWindowNamed(QStringLiteral("テンブラ"), { app.mainWindow().id }, 30000);
    QVERIFY2(box, "no placing reminder");
    saveArtifact(scene->desktop.screenshotWithMenus(), "reminder.png");
    QVERIFY(scene->desktop.key(box->id, "Return"));
    QVERIFY2(app.waitForOnlyMainWindow(), "the reminder stayed open");
}

std::optional<WindowInfo> E2ePlacing::pickForEditor(const App &app, int item, const QPointF &face)
{
    const Menus menus(scene->desktop, app);
    const std::optional<WindowInfo> popup = menus.openBar(kClockEntry);
    if (!popup || !menus.chooseItem(*popup, item, kClockItems))
        return std::nullopt;
    // The bar asks for a clock; a click on its face opens the editor.
    scene->desktop.click(face.toPoint());
    return app.waitForNewWindow({ app.mainWindow().id });
}

void E2ePlacing::chooseZone(const WindowInfo &editor, int row)
{
    // A click gives the list the keyboard; the row is then reached by keys.
    QVERIFY(scene->desktop.click(zoneListFirstRow(editor)));
    QVERIFY(scene->desktop.key(editor.id, "Home"));
    if (row > 0)
        QVERIFY(scene->desktop.key(editor.id, "Down", row));
}

void E2ePlacing::addDragAndRestart()
{
    scene->clock.runFrom(summerMorning, kFastTicks);
    QString error;
    auto app = scene->launch(&error, {}, true);
    QVERIFY2(app, qPrintable(error));
    const MainGeometry g(app->mainWindow().geometry);
    Desktop &d = scene->desktop;

    const std::optional<WindowInfo> editor = openAddEditor(*app);
    QVERIFY2(editor, "the editor did not open for an add");
    chooseZone(*editor, kNewfoundlandRow);
    QVERIFY(d.click(summerBox(*editor)));
    // The list finds a name as it is typed, if the keys come quicker than its
    // search interval (which runs fast with the clock): typed at once, and
    // typed again when the preview does not show the flag.
    const QImage canada = QImage(sourcePath("resources/flags/ca.png")).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!canada.isNull());
    const QRect preview(at(*editor, 102, 120), canada.size());
    bool chosen = false;
    for (int attempt = 0; attempt < 3 && !chosen; ++attempt) {
        QVERIFY(d.click(nameListFirstRow(*editor)));
        QVERIFY(d.type(editor->id, "Canada", 0));
        chosen = waitFor(
            [&] {
                const QImage s = d.screenshotWithMenus();
                return !s.isNull() && countDifferences(s.copy(preview), canada, canada.rect(), {}, 24) < 60;
            },
            3000, 200);
    }
    saveArtifact(d.screenshotWithMenus(), "editor.png");
    QVERIFY2(chosen, "the editor does not show the flag of Canada");
    QVERIFY(d.click(confirmButton(*editor)));

    // The add is stored at once, with the face in the map's corner and the
    // picture at (1000, 300).
    QVERIFY2(waitFor([&] { return readIni(app->settingsFile()).value("UserClock/n") == "1"; }, 5000),
             "the added clock was not stored at once");
    QMap<QString, QString> ini = readIni(app->settingsFile());
    QCOMPARE(ini.value("UserClock/n"), QStringLiteral("1"));
    QCOMPARE(ini.value("UC001/DifTime"), QStringLiteral("-12"));
    QCOMPARE(ini.value("UC001/DifMinute"), QStringLiteral("-30"));
    QCOMPARE(ini.value("UC001/summertime"), QStringLiteral("True"));
    QCOMPARE(ini.value("UC001/Fname"), QStringLiteral("Canada"));
    QCOMPARE(ini.value("UC001/ClockLeft"), QStringLiteral("575"));
    QCOMPARE(ini.value("UC001/ClockTop"), QStringLiteral("440"));
    QCOMPARE(ini.value("UC001/FlagLeft"), QStringLiteral("1000"));
    QCOMPARE(ini.value("UC001/FlagTop"), QStringLiteral("300"));

    // 9:05 − 12:30 + 1 hour of summer time: 21:35, a dark face in the corner
    // (the reminder, if it is up already, stands in the middle of the window).
    const Circle added = g.placedFace(575, 440, 440);
    QImage shot = waitForScreen([&](const QImage &s) { return faceFill(s, added) == kDarkFace; });
    QCOMPARE(faceFill(shot, added), kDarkFace);
    // The picture as shown, to be found again where it is dragged.
    const QRect flagAt(g.twipsToScreen(1000, 300).toPoint() + QPoint(1, 1), QSize(50, 24));
    const QImage flag = shot.copy(flagAt);
    QVERIFY2(redPixels(flag, flag.rect()) > 200, "no flag of Canada at the added clock");

    // The face is dragged as soon as the reminder is answered: it comes back
    // 61 clock visits later while the face stays in the corner.
    answerReminder(*app);
    if (QTest::currentTestFailed())
        return;
    // Drag the face by (262, 203) pixels and the picture by (320, 300).
    const QPoint faceShift(262, 203), flagShift(320, 300);
    QVERIFY(d.drag(added.centre.toPoint(), added.centre.toPoint() + faceShift));
    const Circle moved = g.placedFace(575 + 15 * faceShift.x(), 440 + 15 * faceShift.y(), 440);
    shot = waitForScreen([&](const QImage &s) {
        return faceFill(s, moved) == kDarkFace && faceFill(s, added) != kDarkFace;
    });
    QVERIFY2(faceFill(shot, moved) == kDarkFace, "the face was not drawn where it was dropped");
    QVERIFY2(faceFill(shot, added) != kDarkFace, "the face is still in the corner");
    QVERIFY(d.drag(flagAt.center(), flagAt.center() + flagShift));
    const QRect flagMoved = flagAt.translated(flagShift);
    shot = waitForScreen([&](const QImage &s) {
        return countDifferences(s.copy(flagMoved), flag, flag.rect(), {}, 24) < 40;
    });
    QVERIFY2(countDifferences(shot.copy(flagMoved), flag, flag.rect(), {}, 24) < 40,
             "the picture is not where it was dropped");
    saveArtifact(shot, "dragged.png");

    // Positions reach the file only by the exit menu entry.
    ini = readIni(app->settingsFile());
    QCOMPARE(ini.value("UC001/ClockLeft"), QStringLiteral("575"));
    QVERIFY(d.key(app->mainWindow().id, "alt+x"));
    int code = -1;
    QVERIFY2(app->waitForExit(10000, &code), "Alt+X did not end the program");
    QCOMPARE(code, 0);
    ini = readIni(app->settingsFile());
    QVERIFY2(within(ini.value("UC001/ClockLeft"), 575 + 15 * faceShift.x(), 15), qPrintable(ini.value("UC001/ClockLeft")));
    QVERIFY2(within(ini.value("UC001/ClockTop"), 440 + 15 * faceShift.y(), 15), qPrintable(ini.value("UC001/ClockTop")));
    QVERIFY2(within(ini.value("UC001/FlagLeft"), 1000 + 15 * flagShift.x(), 15), qPrintable(ini.value("UC001/FlagLeft")));
    QVERIFY2(within(ini.value("UC001/FlagTop"), 300 + 15 * flagShift.y(), 15), qPrintable(ini.value("UC001/FlagTop")));

    // Started again, both stand where they were left; the face has its "DST" mark.
    app = scene->launch(&error, {}, true);
    QVERIFY2(app, qPrintable(error));
    const Circle stored = g.placedFace(ini.value("UC001/ClockLeft").toDouble(),
                                       ini.value("UC001/ClockTop").toDouble(), 440);
    const QRect flagStored(g.twipsToScreen(ini.value("UC001/FlagLeft").toDouble(),
                                           ini.value("UC001/FlagTop").toDouble()).toPoint() + QPoint(1, 1),
                           flag.size());
    shot = waitForScreen([&](const QImage &s) {
        return faceFill(s, stored) == kDarkFace
            && countDifferences(s.copy(flagStored), flag, flag.rect(), {}, 24) < 40;
    });
    saveArtifact(shot, "restarted.png");
    QVERIFY2(faceFill(shot, stored) == kDarkFace, "the face is not where it was left");
    QVERIFY2(qAbs(stored.centre.x() - moved.centre.x()) <= 1.5 && qAbs(stored.centre.y() - moved.centre.y()) <= 1.5,
             "the stored face is not where it was dropped");
    QVERIFY2(countDifferences(shot.copy(flagStored), flag, flag.rect(), {}, 24) < 40,
             "the picture is not where it was left");
    QVERIFY2(flagStored.topLeft() - flagMoved.topLeft() == QPoint(0, 0)
                 || (flagStored.topLeft() - flagMoved.topLeft()).manhattanLength() <= 2,
             "the stored picture is not where it was dropped");
    QVERIFY2(faceFill(shot, added) != kDarkFace, "a face in the corner after the restart");
    const QPointF mark = g.twipsToScreen(ini.value("UC001/ClockLeft").toDouble() + 0.6 * 440,
                                         ini.value("UC001/ClockTop").toDouble() + 0.9 * 440);
    QVERIFY2(redPixels(shot, QRect(mark.toPoint(), QSize(24, 14))) > 5, "no DST mark at the moved face");
}

void E2ePlacing::editToAnotherZone()
{
    writeIni(scene->configHome() + "/TembraOG/TembraOG.ini", oneMovedClock());
    QString error;
    auto app = scene->launch(&error);
    QVERIFY2(app, qPrintable(error));
    const MainGeometry g(app->mainWindow().geometry);
    const Circle face = g.placedFace(kMovedFaceLeft, kMovedFaceTop, 440);
    QImage shot = waitForScreen([&](const QImage &s) { return faceFill(s, face) == kDarkFace; });
    QCOMPARE(faceFill(shot, face), kDarkFace); // 21:35

    const std::optional<WindowInfo> editor = pickForEditor(*app, 1, face.centre);
    QVERIFY2(editor, "the editor did not open for the picked clock");
    QCOMPARE(scene->desktop.windowName(editor->id), QStringLiteral("デジタル時計の編集"));
    chooseZone(*editor, kTokyoRow);
    sleepMs(200);
    saveArtifact(scene->desktop.screenshotWithMenus(), "editor.png");
    QVERIFY(scene->desktop.click(confirmButton(*editor)));
    QVERIFY2(app->waitForOnlyMainWindow(), "the editor stayed open");

    // Tokyo with summer time: 10:05, a light face from the next tick on.
    shot = waitForScreen([&](const QImage &s) { return faceFill(s, face) == kLightFace; });
    saveArtifact(shot, "edited.png");
    QCOMPARE(faceFill(shot, face), kLightFace);
    // An edit reaches the file only by the exit menu entry.
    QCOMPARE(readIni(app->settingsFile()).value("UC001/DifTime"), QStringLiteral("-12"));
    QVERIFY(scene->desktop.key(app->mainWindow().id, "alt+x"));
    QVERIFY2(app->waitForExit(10000), "Alt+X did not end the program");
    const QMap<QString, QString> ini = readIni(app->settingsFile());
    QCOMPARE(ini.value("UserClock/n"), QStringLiteral("1"));
    QCOMPARE(ini.value("UC001/DifTime"), QStringLiteral("0"));
    QCOMPARE(ini.value("UC001/DifMinute"), QStringLiteral("0"));
    QCOMPARE(ini.value("UC001/summertime"), QStringLiteral("True"));
    QCOMPARE(ini.value("UC001/Fname"), QStringLiteral("Canada"));
    QCOMPARE(ini.value("UC001/ClockLeft"), QStringLiteral("4505"));
    QCOMPARE(ini.value("UC001/ClockTop"), QStringLiteral("3485"));
}

void E2ePlacing::deleteClock()
{
    writeIni(scene->configHome() + "/TembraOG/TembraOG.ini", oneMovedClock());
    QString error;
    auto app = scene->launch(&error);
    QVERIFY2(app, qPrintable(error));
    const MainGeometry g(app->mainWindow().geometry);
    const Circle face = g.placedFace(kMovedFaceLeft, kMovedFaceTop, 440);
    const QRect flagAt(g.twipsToScreen(5580, 4485).toPoint() + QPoint(1, 1), QSize(50, 24));
    QImage shot = waitForScreen([&](const QImage &s) { return faceFill(s, face) == kDarkFace; });
    QCOMPARE(faceFill(shot, face), kDarkFace);
    QVERIFY2(redPixels(shot, flagAt) > 200, "no flag of Canada");

    const std::optional<WindowInfo> editor = pickForEditor(*app, 2, face.centre);
    QVERIFY2(editor, "the editor did not open for the picked clock");
    QCOMPARE(scene->desktop.windowName(editor->id), QStringLiteral("デジタル時計の削除"));
    saveArtifact(scene->desktop.screenshotWithMenus(), "editor.png");
    QVERIFY(scene->desktop.click(confirmButton(*editor))); // 削除します
    const std::optional<WindowInfo> question =
        app->waitForWindowNamed(QStringLiteral("時計の削除"), { app->mainWindow().id, editor->id });
    QVERIFY2(question, "no question before the delete");
    saveArtifact(scene->desktop.screenshotWithMenus(), "question.png");
    QVERIFY(scene->desktop.key(question->id, "Return")); // OK
    QVERIFY2(app->waitForOnlyMainWindow(), "the question stayed open");

    shot = waitForScreen([&](const QImage &s) { return faceFill(s, face) != kDarkFace && redPixels(s, flagAt) < 20; });
    saveArtifact(shot, "deleted.png");
    QVERIFY2(faceFill(shot, face) != kDarkFace, "the face is still shown");
    QVERIFY2(redPixels(shot, flagAt) < 20, "the picture is still shown");
    // A delete reaches the file only by the exit menu entry.
    QCOMPARE(readIni(app->settingsFile()).value("UserClock/n"), QStringLiteral("1"));
    QVERIFY(scene->desktop.key(app->mainWindow().id, "alt+x"));
    QVERIFY2(app->waitForExit(10000), "Alt+X did not end the program");
    const QMap<QString, QString> ini = readIni(app->settingsFile());
    QCOMPARE(ini.value("UserClock/n"), QStringLiteral("0"));
    QCOMPARE(ini.value("UC000/Fname"), QStringLiteral("Japan"));
}

void E2ePlacing::userPicture()
{
    // A picture of the user's: magenta above, green below, 40 × 30 pixels.
    QTemporaryDir pictures;
    QVERIFY(pictures.isValid());
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));
    for (int y = 15; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            picture.setPixel(x, y, qRgb(0, 200, 0));
    const QString file = pictures.filePath("mine.jpg");
    QVERIFY(picture.save(file, "JPG", 95));

    scene->clock.runFrom(summerMorning, kFastTicks);
    QString error;
    // The chooser's lists start at the program's current folder.
    auto app = scene->launch(&error, {}, true, pictures.path());
    QVERIFY2(app, qPrintable(error));
    const MainGeometry g(app->mainWindow().geometry);
    Desktop &d = scene->desktop;

    const std::optional<WindowInfo> editor = openAddEditor(*app);
    QVERIFY2(editor, "the editor did not open for an add");
    QVERIFY(d.click(choosePictureButton(*editor)));
    const std::optional<WindowInfo> chooser = app->waitForWindowNamed(
        QStringLiteral("画像ファイルの選択"), { app->mainWindow().id, editor->id });
    QVERIFY2(chooser, "the picture chooser did not open");
    // The file list fills in the background: the file is clicked until the
    // large preview shows it.
    const QPoint preview = at(*chooser, 192 + 20, 168 + 6);
    const bool previewed = waitFor(
        [&] {
            d.click(fileListFirstRow(*chooser));
            sleepMs(300);
            const QImage s = d.screenshotWithMenus();
            return !s.isNull() && near(s.pixel(preview), qRgb(255, 0, 255), 40);
        },
        10000, 200);
    saveArtifact(d.screenshotWithMenus(), "chooser.png");
    QVERIFY2(previewed, "the chooser does not show the picture");
    QVERIFY(d.click(chooserConfirm(*chooser)));
    QVERIFY2(waitFor([&] { return app->visibleWindows().size() == 2; }, 5000), "the chooser stayed open");

    // The picture is stored at once in slot 1, with its size, and selected.
    QVERIFY2(waitFor([&] { return readIni(app->settingsFile()).value("UserImg/UserImgCount") == "1"; }, 5000),
             "the picture was not stored at once");
    QMap<QString, QString> ini = readIni(app->settingsFile());
    QCOMPARE(ini.value("UserImg/UserImgCount"), QStringLiteral("1"));
    QCOMPARE(ini.value("UserImg/001FileName"), file);
    QCOMPARE(ini.value("UserImg/001Size"), QStringLiteral("nn0600-0450"));
    saveArtifact(d.screenshotWithMenus(), "editor.png");
    QVERIFY(d.click(confirmButton(*editor)));
    QVERIFY2(waitFor([&] { return readIni(app->settingsFile()).value("UserClock/n") == "1"; }, 5000),
             "the added clock was not stored at once");
    ini = readIni(app->settingsFile());
    QCOMPARE(ini.value("UC001/Fname"), QStringLiteral("001User"));
    answerReminder(*app);
    if (QTest::currentTestFailed())
        return;
    // Out of the corner, so that the reminder does not come back.
    const Circle added = g.placedFace(575, 440, 440);
    QVERIFY(d.drag(added.centre.toPoint(), added.centre.toPoint() + QPoint(250, 250)));

    // The picture stands at (1000, 300), at its own size.
    const QPoint corner = g.twipsToScreen(1000, 300).toPoint() + QPoint(1, 0);
    auto shown = [&](const QImage &s) {
        return near(s.pixel(corner + QPoint(20, 6)), qRgb(255, 0, 255), 40)
            && near(s.pixel(corner + QPoint(20, 23)), qRgb(0, 200, 0), 40)
            && near(s.pixel(corner + QPoint(5, 8)), qRgb(255, 0, 255), 40)
            && near(s.pixel(corner + QPoint(34, 25)), qRgb(0, 200, 0), 40);
    };
    QImage shot = waitForScreen(shown);
    saveArtifact(shot, "added.png");
    QVERIFY2(shown(shot), "the picture is not shown on the map");
    QVERIFY(d.key(app->mainWindow().id, "alt+x"));
    QVERIFY2(app->waitForExit(10000), "Alt+X did not end the program");

    // Kept after a restart.
    app = scene->launch(&error, {}, true, pictures.path());
    QVERIFY2(app, qPrintable(error));
    shot = waitForScreen(shown);
    saveArtifact(shot, "restarted.png");
    QVERIFY2(shown(shot), "the picture is not shown after a restart");
    ini = readIni(app->settingsFile());
    QCOMPARE(ini.value("UserImg/001FileName"), file);
    QCOMPARE(ini.value("UC001/Fname"), QStringLiteral("001User"));
}

void E2ePlacing::colourScheme()
{
    scene->clock.freeze(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 30)));
    QString error;
    auto app = scene->launch(&error);
    QVERIFY2(app, qPrintable(error));
    const MainGeometry g(app->mainWindow().geometry);
    const Circle japan = g.placedFace(9950, 3300, 440);
    QImage shot = waitForScreen([&](const QImage &s) { return faceFill(s, japan) == kLightFace; });
    QCOMPARE(faceFill(shot, japan), kLightFace);

    const Menus menus(scene->desktop, *app);
    const std::optional<WindowInfo> options = menus.openBar(kOptionsEntry);
    QVERIFY(options);
    const std::optional<WindowInfo> dialog = menus.openItem(*options, 0, kOptionsItems);
    QVERIFY2(dialog, "the colour dialog did not open");
    QCOMPARE(scene->desktop.windowName(dialog->id), QStringLiteral("表示色の選択"));

    // "青": 6:00-10:00 … 2:00-6:00 as 0x00BBGGRR.
    const quint32 blue[6] = { 0xC5CA00, 0xFEFFB9, 0xC5CA00, 0x779935, 0x5A5B28, 0x779935 };
    auto bandOf = [](int hour) { return ((hour - 6 + 24) % 24) / 4; };
    QVERIFY(scene->desktop.click(blueScheme(*dialog)));
    // The main window sees nothing before "登録": a tick later it is unchanged.
    sleepMs(1500);
    QCOMPARE(faceFill(scene->desktop.screenshot(), japan), kLightFace);
    QVERIFY(scene->desktop.click(registerButton(*dialog)));
    const QRgb morning = fromBgr(blue[bandOf(9)]);
    shot = waitForScreen([&](const QImage &s) { return near(faceFill(s, japan), morning, 2); }, 3000);
    saveArtifact(shot, "registered.png");
    QVERIFY2(near(faceFill(shot, japan), morning, 2), "the registered colour is not shown at the next tick");
    auto bandsFollow = [&](const QImage &s) {
        for (int k = 0; k < 12; ++k) {
            const int hour = ((9 + 2 * k - 19) % 24 + 24) % 24;
            if (!near(faceFill(s, g.bandFace(k)), fromBgr(blue[bandOf(hour)]), 2))
                return false;
        }
        return true;
    };
    QVERIFY2(bandsFollow(shot), "a band face does not show its registered colour");

    // Stored at once, every even hour of the day.
    const QMap<QString, QString> ini = readIni(app->settingsFile());
    for (int h = 0; h < 24; h += 2)
        QCOMPARE(ini.value(QStringLiteral("Color/%1").arg(h)), QString::number(blue[bandOf(h)]));

    // Kept after a restart, even without the exit menu entry.
    app->kill();
    app = scene->launch(&error);
    QVERIFY2(app, qPrintable(error));
    shot = waitForScreen([&](const QImage &s) { return near(faceFill(s, japan), morning, 2) && bandsFollow(s); });
    saveArtifact(shot, "restarted.png");
    QVERIFY2(near(faceFill(shot, japan), morning, 2), "the colour is not kept after a restart");
    QVERIFY(bandsFollow(shot));
}

QTEST_GUILESS_MAIN(E2ePlacing)
#include "e2e_placing.moc"
