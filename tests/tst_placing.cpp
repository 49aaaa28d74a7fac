// Placing clocks in the main window: add, edit and delete through a scripted
// editor, dragging faces and pictures with real mouse events, the bar, the
// placing reminder and a removed user picture.
#include "core/editor/clockeditor.h"
#include "fakes.h"
#include "ui/mainwindow/mainmenu.h"
#include "ui/mainwindow/picturebox.h"
#include "ui/mainwindow/placedclocks.h"
#include "ui/mainwindow/placing.h"
#include "ui/mainwindow/mainwindow.h"
#include "core/settings/settingsstore.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <memory>

using namespace tb;

namespace {
int px(double twips) { return int(std::lround(twips / 15.0)); }

const QString kReminder = QStringLiteral("左上に追加された時計とイラストを希望する位置に移動させてください"
                                         "\r\n(ドラッグ＆ドロップによって、移動が可能です)");

// Answers each showing with the next scripted answer (cancel when none is
// left) and keeps what it was shown.
class ScriptedEditor : public ClockEditor {
public:
    void showModal(EditorFields &f) override
    {
        shown.push_back(f);
        f.confirmed = false;
        if (!answers.empty()) {
            answers.front()(f);
            answers.pop_front();
        }
    }
    void confirm(std::function<void(EditorFields &)> change = {})
    {
        answers.push_back([change](EditorFields &f) {
            if (change)
                change(f);
            f.confirmed = true;
        });
    }
    std::vector<EditorFields> shown;
    std::deque<std::function<void(EditorFields &)>> answers;
};

ClockEntry clockAt(float faceX, float faceY, float flagX, float flagY, const QString &name)
{
    ClockEntry e;
    e.faceLeft = faceX;
    e.faceTop = faceY;
    e.pictureLeft = flagX;
    e.pictureTop = flagY;
    e.pictureKey = name;
    return e;
}
} // namespace

class TestPlacing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addAtTheDesignSize();
    void addAtALargerWindow();
    void cancelledAddChangesNothing();
    void twentySecondClockIsRefused();
    void withoutAnEditorTheEntriesDoNothing();
    void addedEntryHasNoPictureSizeOfItsOwn();
    void faceDrag_data();
    void faceDrag();
    void unmovedFaceKeepsItsPlace();
    void rightButton();
    void pictureDragTakesItsLabels_data();
    void pictureDragTakesItsLabels();
    void editThroughTheEditor_data();
    void editThroughTheEditor();
    void editModeIgnoresTheEmptyMap();
    void deleteTheMiddleOfThree_data();
    void deleteTheMiddleOfThree();
    void deleteKeepsTheSuccessorsStretchedPicture();
    void deleteTheLastByItsOwnLabel();
    void lastClockCannotBeDeleted();
    void escapeCancelsTheBar();
    void reminderComesBackUntilTheFaceMoves();
    void reminderOpensOnceAtATime();
    void removedPictureLeavesItsClocks();
    void circleRepaintsOnlyWhereItWas();

private:
    // Places a clock after the last one, as the start-up does.
    int place(const ClockEntry &e);
    QPoint faceCentrePx(int i) const;
    // Real mouse events, at client-area pixel positions.
    void press(QWidget *w, QPoint at, Qt::MouseButton b = Qt::LeftButton);
    void move(QWidget *w, QPoint at);
    void release(QWidget *w, QPoint at, Qt::MouseButton b = Qt::LeftButton);
    QVariant onDisk(const QString &key) const;

    std::unique_ptr<FixedClock> clock;
    std::unique_ptr<RecordingMessenger> messages;
    std::unique_ptr<ScriptedEditor> editor;
    std::unique_ptr<tb::MainWindow> window;
    QTemporaryDir config;
    QString settingsFile;
};

void TestPlacing::initTestCase()
{
    startWindowTests(config);
}

void TestPlacing::init()
{
    settingsFile = freshSettingsFile(config);
    clock = std::make_unique<FixedClock>(QDateTime(QDate(2026, 7, 8), QTime(9, 5, 0)));
    messages = std::make_unique<RecordingMessenger>();
    editor = std::make_unique<ScriptedEditor>();
    window = std::make_unique<tb::MainWindow>(*clock, *messages);
    window->setClockEditor(editor.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestPlacing::cleanup()
{
    window.reset();
}

int TestPlacing::place(const ClockEntry &e)
{
    window->model().clocks().append(e);
    window->addClock(window->model().lastClock());
    return window->model().lastClock();
}

QPoint TestPlacing::faceCentrePx(int i) const
{
    const ClockEntry &e = window->model().clock(i);
    return QPoint(px(window->layout().windowX(e.faceLeft)), px(window->layout().windowY(e.faceTop)));
}

void TestPlacing::press(QWidget *w, QPoint at, Qt::MouseButton b)
{
    QTest::mousePress(w, b, {}, w->mapFrom(window->clientArea(), at));
}

void TestPlacing::move(QWidget *w, QPoint at)
{
    QTest::mouseMove(w, w->mapFrom(window->clientArea(), at));
}

void TestPlacing::release(QWidget *w, QPoint at, Qt::MouseButton b)
{
    QTest::mouseRelease(w, b, {}, w->mapFrom(window->clientArea(), at));
}

QVariant TestPlacing::onDisk(const QString &key) const
{
    QSettings s(settingsFile, QSettings::IniFormat);
    return s.value(key);
}

void TestPlacing::addAtTheDesignSize()
{
    QVERIFY(window->mainMenu()->addClockAction()->isEnabled());
    editor->confirm([](EditorFields &f) {
        f.hours = -17;
        f.minutes = 0;
        f.pictureKey = QStringLiteral("France");
        f.summerTime = true;
    });
    window->mainMenu()->addClockAction()->trigger();

    QCOMPARE(int(editor->shown.size()), 1);
    QCOMPARE(editor->shown[0].mode, EditMode::Add);
    QCOMPARE(window->placing()->clockMode(), EditMode::None);
    QCOMPARE(window->model().lastClock(), 1);
    const ClockEntry &e = window->model().clock(1);
    QCOMPARE(e.faceLeft, 575.f);
    QCOMPARE(e.faceTop, 440.f);
    QCOMPARE(e.pictureLeft, 1000.f);
    QCOMPARE(e.pictureTop, 300.f);
    QCOMPARE(e.hourOffset, qint16(-17));
    QVERIFY(e.summerTime);
    // Stored at once: the count and the entry.
    QCOMPARE(onDisk("UserClock/n").toString(), QStringLiteral("1"));
    QCOMPARE(onDisk("UC001/Fname").toString(), QStringLiteral("France"));
    QCOMPARE(onDisk("UC001/ClockLeft").toString(), QStringLiteral("575"));
    QCOMPARE(onDisk("UC001/summertime").toString(), QStringLiteral("True"));

    PictureBox *flag = window->placedClocks()->picture(1);
    QVERIFY(flag->isVisible());
    QCOMPARE(flag->picture(), window->model().pictures().find("France")->picture);
    QCOMPARE(flag->pos(), QPoint(px(1000), px(300)));
    QCOMPARE(window->placedClocks()->dateLabel(1)->pos(), QPoint(flag->x(), flag->y() + flag->height() + px(50)));
    QVERIFY(window->placedClocks()->timeLabel(1)->isVisible());

    // The next tick draws the face in the map's top-left corner and shows its mark.
    window->tick();
    QCOMPARE(window->clientArea()->surface().pixelColor(px(575) - 5, px(440) + 5).alpha(), 255);
    QCOMPARE(window->placedClocks()->timeLabel(1)->text(), QStringLiteral("17:05"));
    QVERIFY(window->placedClocks()->mark(1)->isVisible());
    // The editor is told which summer rule is in force.
    window->model().setSummerRule(SummerRule::Zone);
    window->mainMenu()->addClockAction()->trigger();
    QVERIFY(!editor->shown[0].placeRules && editor->shown[1].placeRules);
}

void TestPlacing::addAtALargerWindow()
{
    window->resizeClientTwips(QSizeF(11880 + 11655, 7965 + 6645)); // the map doubled
    QCoreApplication::processEvents();
    QCOMPARE(window->layout().mapScaleX, 2.f);
    editor->confirm([](EditorFields &f) { f.pictureKey = QStringLiteral("France"); });
    window->placing()->chooseMode(1);
    QCOMPARE(window->model().clock(1).faceLeft, 575.f);
    // The picture first stands where the add put it, the face at its converted place.
    PictureBox *flag = window->placedClocks()->picture(1);
    QCOMPARE(flag->pos(), QPoint(px(1000), px(300)));
    window->tick();
    QCOMPARE(window->clientArea()->surface().pixelColor(px(1015) - 5, px(880) + 5).alpha(), 255);
    QCOMPARE(window->clientArea()->surface().pixelColor(px(575), px(440)).alpha(), 0);
    // The next layout step converts the picture's place too.
    window->layOut();
    QCOMPARE(flag->pos(), QPoint(px(1865), px(600)));
}

void TestPlacing::cancelledAddChangesNothing()
{
    window->placing()->chooseMode(2);
    QVERIFY(window->placing()->modeBar()->isVisible());
    window->placing()->chooseMode(1); // add leaves the bar
    QVERIFY(!window->placing()->modeBar()->isVisible());
    QCOMPARE(int(editor->shown.size()), 1);
    QCOMPARE(window->model().lastClock(), 0);
    QCOMPARE(window->placedClocks()->count(), 1);
    QVERIFY(onDisk("UserClock/n").toString().isEmpty());
    QVERIFY(!onDisk("UC001/Fname").isValid());
    QCOMPARE(window->placing()->clockMode(), EditMode::None);
}

void TestPlacing::twentySecondClockIsRefused()
{
    for (int i = 1; i <= 20; ++i)
        place(clockAt(500 + 500 * i, 1000, 500 + 500 * i, 2000, QStringLiteral("Japan")));
    QCOMPARE(window->model().lastClock(), 20);
    window->placing()->chooseMode(2); // the bar stays as it was
    editor->confirm();
    window->mainMenu()->addClockAction()->trigger();
    QVERIFY(editor->shown.empty());
    QCOMPARE(messages->texts, QStringList{ QStringLiteral("配置できる時計は21個までです。これ以上は追加できません") });
    QCOMPARE(messages->titles, QStringList{ QString() }); // the program's own title
    QCOMPARE(window->model().lastClock(), 20);
    QCOMPARE(window->placedClocks()->count(), 21);
    QCOMPARE(window->placing()->clockMode(), EditMode::Edit);
    QVERIFY(window->placing()->modeBar()->isVisible());
}

void TestPlacing::withoutAnEditorTheEntriesDoNothing()
{
    window->setClockEditor(nullptr);
    MainMenu *menu = window->mainMenu();
    for (QAction *a : { menu->addClockAction(), menu->editClockAction(), menu->deleteClockAction() })
        QVERIFY(!a->isEnabled());
    for (int k = 1; k <= 3; ++k)
        window->placing()->chooseMode(k);
    QCOMPARE(window->placing()->clockMode(), EditMode::None);
    QVERIFY(!window->placing()->modeBar()->isVisible());
    QCOMPARE(window->model().lastClock(), 0);
    QVERIFY(editor->shown.empty());
    window->setClockEditor(editor.get());
    QVERIFY(menu->deleteClockAction()->isEnabled());
}

void TestPlacing::addedEntryHasNoPictureSizeOfItsOwn()
{
    place(clockAt(3000, 2000, 3500, 2000, QStringLiteral("Japan")));
    Placing *p = window->placing();
    // Clock 1 gets a stretched picture, then goes; its entry keeps that size.
    p->chooseMode(2);
    editor->confirm([](EditorFields &f) { f.pictureTwips = QSize(1500, 900); });
    p->editOrDelete(1);
    QCOMPARE(window->model().clock(1).pictureWidth, 1500.f);
    p->chooseMode(3);
    editor->confirm();
    p->editOrDelete(1);
    QCOMPARE(window->model().lastClock(), 0);
    QCOMPARE(window->model().clock(1).pictureWidth, 1500.f);

    editor->confirm([](EditorFields &f) { f.pictureKey = QStringLiteral("Japan"); });
    p->chooseMode(1);
    QCOMPARE(window->model().clock(1).pictureWidth, 0.f);
    QCOMPARE(window->model().clock(1).pictureHeight, 0.f);
    QVERIFY(!window->placedClocks()->picture(1)->stretch());
    QCOMPARE(window->placedClocks()->picture(1)->size(), window->model().pictures().find("Japan")->picture.size());
}

void TestPlacing::faceDrag_data()
{
    QTest::addColumn<QSizeF>("client");
    QTest::newRow("design") << QSizeF(11880, 7965);
    QTest::newRow("wide and tall") << QSizeF(21000, 12000);
    QTest::newRow("small") << QSizeF(7000, 5000);
}

void TestPlacing::faceDrag()
{
    QFETCH(QSizeF, client);
    window->resizeClientTwips(client);
    QCoreApplication::processEvents();
    window->layOut();
    const int i = place(clockAt(3000, 2000, 4000, 1500, QStringLiteral("France")));
    window->model().clocks()[i].summerTime = true;
    window->tick();
    const MainLayout l = window->layout();
    const double r = window->model().clockRadius();
    const QPointF c(window->layout().windowX(3000), window->layout().windowY(2000));
    const QPoint from = faceCentrePx(i) + QPoint(3, -2);
    QWidget *map = window->mapWidget();

    press(map, from);
    QCOMPARE(window->placing()->pickedClock().value_or(-1), i);
    QVERIFY(window->placing()->dragging());
    QWidget *circle = window->placing()->redCircle();
    QVERIFY(circle->isVisible());
    QCOMPARE(circle->geometry(), QRect(px(c.x() - r), px(c.y() - r), px(2 * r), px(2 * r)));
    const QPoint shift(37, 23);
    move(map, from + QPoint(10, 5));
    move(map, from + shift);
    QCOMPARE(circle->pos(), QPoint(px(c.x() - r) + shift.x(), px(c.y() - r) + shift.y()));
    // The face itself stays where it is drawn until the release.
    QCOMPARE(window->model().clock(i).faceLeft, 3000.f);
    release(map, from + shift);

    QVERIFY(!window->placing()->dragging());
    QVERIFY(circle->isHidden());
    // The new centre is the old one moved as far as the pointer, in reference twips.
    const ClockEntry &e = window->model().clock(i);
    QVERIFY(std::abs(l.windowX(e.faceLeft) - (c.x() + 15 * shift.x())) <= 0.5);
    QVERIFY(std::abs(l.windowY(e.faceTop) - (c.y() + 15 * shift.y())) <= 0.5);
    // Redrawn at once at the new place; the mark stands by the new face.
    const QPoint now = faceCentrePx(i);
    QCOMPARE(now, QPoint(px(c.x()) + shift.x(), px(c.y()) + shift.y()));
    QCOMPARE(window->clientArea()->surface().pixelColor(now + QPoint(-3, 3)).alpha(), 255);
    QCOMPARE(window->clientArea()->surface().pixelColor(QPoint(px(c.x() - r) + 2, px(c.y() + r) - 2)).alpha(), 0);
    QVERIFY(window->placedClocks()->mark(i)->isVisible());
    QCOMPARE(window->placedClocks()->mark(i)->pos(), QPoint(px(l.windowX(e.faceLeft) + 0.6 * r), px(l.windowY(e.faceTop) + 0.9 * r)));
    // The next layout puts the face where it was dropped; nothing was stored.
    window->layOut();
    window->tick();
    QCOMPARE(faceCentrePx(i), now);
    QCOMPARE(window->clientArea()->surface().pixelColor(now + QPoint(-3, 3)).alpha(), 255);
    QVERIFY(!onDisk("UC001/ClockLeft").isValid());
}

void TestPlacing::unmovedFaceKeepsItsPlace()
{
    // At this scale the way there and back in singles misses (2000.3, 1000.3)
    // by a few millionths: an unmoved face must not drift by them.
    window->resizeClientTwips(QSizeF(467 * 15, 334 * 15));
    QCoreApplication::processEvents();
    const int i = place(clockAt(2000.3f, 1000.3f, 4000, 1500, QStringLiteral("France")));
    window->layOut(); // clears the surface: no face is drawn
    QCOMPARE(window->clientArea()->surface().pixelColor(faceCentrePx(i) + QPoint(-3, 3)).alpha(), 0);
    QWidget *map = window->mapWidget();
    press(map, faceCentrePx(i));
    release(map, faceCentrePx(i));
    QVERIFY(window->model().clock(i).faceLeft == 2000.3f); // exactly: QCOMPARE would forgive the drift
    QVERIFY(window->model().clock(i).faceTop == 1000.3f);
    QVERIFY(window->placing()->redCircle()->isHidden());
    // Every face is drawn again at once.
    QCOMPARE(window->clientArea()->surface().pixelColor(faceCentrePx(i) + QPoint(-3, 3)).alpha(), 255);
    QCOMPARE(window->clientArea()->surface().pixelColor(faceCentrePx(0) + QPoint(-3, 3)).alpha(), 255);
}

void TestPlacing::rightButton()
{
    QWidget *map = window->mapWidget();
    const QPoint face = faceCentrePx(0);
    press(map, face, Qt::RightButton);
    QVERIFY(!window->placing()->dragging());
    QVERIFY(window->placing()->redCircle()->isHidden());
    move(map, face + QPoint(30, 30));
    release(map, face + QPoint(30, 30), Qt::RightButton);
    QCOMPARE(window->model().clock(0).faceLeft, 9950.f);

    // The right button drags a picture as the left one does.
    PictureBox *flag = window->placedClocks()->picture(0);
    const QPoint at = flag->geometry().center();
    press(flag, at, Qt::RightButton);
    QVERIFY(window->placing()->dragging());
    move(flag, at + QPoint(-40, 20));
    release(flag, at + QPoint(-40, 20), Qt::RightButton);
    QCOMPARE(flag->pos(), QPoint(px(10500) - 40, px(2900) + 20));
    // The picture's place on the pixel grid, back in reference twips.
    QCOMPARE(window->model().clock(0).pictureLeft, float((px(10500) - 40) * 15));
    QCOMPARE(window->model().clock(0).pictureTop, float((px(2900) + 20) * 15));
}

void TestPlacing::pictureDragTakesItsLabels_data()
{
    QTest::addColumn<QSizeF>("client");
    QTest::addColumn<int>("grab"); // 0 picture, 1 date label, 2 time label
    QTest::newRow("design, by the picture") << QSizeF(11880, 7965) << 0;
    QTest::newRow("wide, by the date label") << QSizeF(21000, 12000) << 1;
    QTest::newRow("small, by the time label") << QSizeF(7000, 5000) << 2;
}

void TestPlacing::pictureDragTakesItsLabels()
{
    QFETCH(QSizeF, client);
    QFETCH(int, grab);
    window->resizeClientTwips(client);
    QCoreApplication::processEvents();
    window->layOut();
    window->model().clocks()[0].summerTime = true;
    window->tick();
    PictureBox *flag = window->placedClocks()->picture(0);
    QLabel *date = window->placedClocks()->dateLabel(0);
    QLabel *time = window->placedClocks()->timeLabel(0);
    const QPoint flagAt = flag->pos(), dateAt = date->pos(), timeAt = time->pos();
    const QPoint markAt = window->placedClocks()->mark(0)->pos();
    QWidget *handle = grab == 0 ? static_cast<QWidget *>(flag) : grab == 1 ? date : time;
    const QPoint start = handle->geometry().center();
    const QPoint shift(-55, 31);
    press(handle, start);
    move(handle, start + QPoint(-20, 10));
    move(handle, start + shift);
    release(handle, start + shift);
    QVERIFY(!window->placing()->dragging());
    QCOMPARE(flag->pos(), flagAt + shift);
    QCOMPARE(date->pos(), dateAt + shift);
    QCOMPARE(time->pos(), timeAt + shift);
    // The face and its mark stay.
    QCOMPARE(window->placedClocks()->mark(0)->pos(), markAt);
    QCOMPARE(window->model().clock(0).faceLeft, 9950.f);
    // The recorded place is the inverse of the layout: the next layout keeps it.
    window->layOut();
    QCOMPARE(flag->pos(), flagAt + shift);
    QCOMPARE(date->pos(), dateAt + shift);
}

void TestPlacing::editThroughTheEditor_data()
{
    QTest::addColumn<int>("target"); // 0 face, 1 picture, 2 time label
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("face") << 0 << true;
    QTest::newRow("picture") << 1 << true;
    QTest::newRow("time label") << 2 << true;
    QTest::newRow("cancelled") << 1 << false;
}

void TestPlacing::editThroughTheEditor()
{
    QFETCH(int, target);
    QFETCH(bool, confirmed);
    ClockEntry c = clockAt(3000, 2000, 4000, 1500, QStringLiteral("France"));
    c.hourOffset = -8;
    c.minuteOffset = 0;
    const int i = place(c);
    window->tick();
    window->mainMenu()->editClockAction()->trigger();
    QCOMPARE(window->placing()->clockMode(), EditMode::Edit);
    QFrame *bar = window->placing()->modeBar();
    QVERIFY(bar->isVisible());
    QCOMPARE(window->placing()->modeHint()->text(), QStringLiteral("対象となる時計、イラストをクリックしてください"));
    QCOMPARE(window->placing()->cancelModeButton()->text(), QStringLiteral("キャンセル"));
    // Right-aligned with the map.
    QCOMPARE(bar->geometry().right() + 1, px(135 + window->layout().map.width()));

    if (confirmed)
        editor->confirm([](EditorFields &f) {
            f.hours = 3;
            f.minutes = 30;
            f.pictureKey = QStringLiteral("Japan");
            f.pictureTwips = QSize(1200, 600);
        });
    PictureBox *flag = window->placedClocks()->picture(i);
    const QPoint flagAt = flag->pos();
    const QPoint dateAt = window->placedClocks()->dateLabel(i)->pos();
    if (target == 0)
        press(window->mapWidget(), faceCentrePx(i));
    else if (target == 1)
        press(flag, flag->geometry().center());
    else
        press(window->placedClocks()->timeLabel(i), window->placedClocks()->timeLabel(i)->geometry().center());

    QCOMPARE(int(editor->shown.size()), 1);
    const EditorFields &shown = editor->shown[0];
    QCOMPARE(shown.mode, EditMode::Edit);
    QCOMPARE(shown.clockIndex, qint16(i));
    QCOMPARE(shown.pictureKey, QStringLiteral("France"));
    QCOMPARE(shown.hours, qint16(-8));
    QVERIFY(!window->placing()->dragging());
    QCOMPARE(window->placing()->clockMode(), EditMode::None);
    QVERIFY(!bar->isVisible());
    QVERIFY(window->placing()->redCircle()->isHidden());
    const ClockEntry &e = window->model().clock(i);
    if (confirmed) {
        QCOMPARE(e.hourOffset, qint16(3));
        QCOMPARE(e.minuteOffset, qint16(30));
        QCOMPARE(e.pictureKey, QStringLiteral("Japan"));
        QVERIFY(flag->stretch());
        QCOMPARE(flag->size(), QSize(px(1200), px(600)));
        QCOMPARE(flag->picture(), window->model().pictures().find("Japan")->picture);
    } else {
        QCOMPARE(e.hourOffset, qint16(-8));
        QCOMPARE(e.pictureKey, QStringLiteral("France"));
        QVERIFY(!flag->stretch());
    }
    // Neither the picture nor its labels move; nothing is stored.
    QCOMPARE(flag->pos(), flagAt);
    QCOMPARE(window->placedClocks()->dateLabel(i)->pos(), dateAt);
    QCOMPARE(e.faceLeft, 3000.f);
    QVERIFY(!onDisk("UC001/DifTime").isValid());
    release(window->mapWidget(), QPoint(1, 1));
    QCOMPARE(flag->pos(), flagAt);
}

void TestPlacing::editModeIgnoresTheEmptyMap()
{
    window->placing()->chooseMode(3);
    QWidget *map = window->mapWidget();
    press(map, QPoint(100, 100));
    release(map, QPoint(100, 100));
    // A right press on a face picks nothing either.
    press(map, faceCentrePx(0), Qt::RightButton);
    release(map, faceCentrePx(0), Qt::RightButton);
    QVERIFY(editor->shown.empty());
    QVERIFY(messages->texts.isEmpty());
    QCOMPARE(window->placing()->clockMode(), EditMode::Delete);
    QVERIFY(window->placing()->modeBar()->isVisible());
    // Choosing edit switches the bar's mode; cancel leaves it.
    window->placing()->chooseMode(2);
    QCOMPARE(window->placing()->clockMode(), EditMode::Edit);
    QTest::mouseClick(window->placing()->cancelModeButton(), Qt::LeftButton);
    QCOMPARE(window->placing()->clockMode(), EditMode::None);
    QVERIFY(!window->placing()->modeBar()->isVisible());
}

void TestPlacing::deleteTheMiddleOfThree_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("confirmed") << true;
    QTest::newRow("cancelled at the question") << false;
}

void TestPlacing::deleteTheMiddleOfThree()
{
    QFETCH(bool, ok);
    ClockEntry one = clockAt(3000, 2000, 4000, 1500, QStringLiteral("France"));
    ClockEntry two = clockAt(6000, 4000, 7000, 3500, QStringLiteral("USA"));
    two.summerTime = true;
    two.hourOffset = -13;
    place(one);
    place(two);
    window->tick();
    QVERIFY(window->placedClocks()->mark(2)->isVisible());
    QVERIFY(!window->placedClocks()->mark(1)->isVisible());
    const ClockEntry before1 = window->model().clock(1);
    const ClockEntry before2 = window->model().clock(2);
    const QRect flag2 = window->placedClocks()->picture(2)->geometry();
    const QPoint date2 = window->placedClocks()->dateLabel(2)->pos(), time2 = window->placedClocks()->timeLabel(2)->pos();
    const QPoint mark2 = window->placedClocks()->mark(2)->pos();
    const QString text2 = window->placedClocks()->timeLabel(2)->text();
    QPointer<QWidget> lastFlag = window->placedClocks()->picture(2);

    window->mainMenu()->deleteClockAction()->trigger();
    QCOMPARE(window->placing()->clockMode(), EditMode::Delete);
    editor->confirm();
    messages->answer = ok ? Messenger::Answer::Ok : Messenger::Answer::Cancel;
    press(window->placedClocks()->picture(1), window->placedClocks()->picture(1)->geometry().center());
    QCOMPARE(int(editor->shown.size()), 1);
    QCOMPARE(editor->shown[0].mode, EditMode::Delete);
    QCOMPARE(editor->shown[0].clockIndex, qint16(1));
    QCOMPARE(messages->texts, QStringList{ QStringLiteral("削除してもよろしいですか") });
    QCOMPARE(messages->titles, QStringList{ QStringLiteral("時計の削除") });
    QVERIFY(messages->lastButtons == Messenger::Buttons::OkCancel);
    QCOMPARE(window->placing()->clockMode(), EditMode::None);
    QVERIFY(!window->placing()->modeBar()->isVisible());

    if (!ok) {
        QCOMPARE(window->model().lastClock(), 2);
        QCOMPARE(window->model().clock(1), before1);
        QCOMPARE(window->placedClocks()->picture(2)->geometry(), flag2);
        QCOMPARE(window->placedClocks()->count(), 3);
        return;
    }
    QCOMPARE(window->model().lastClock(), 1);
    QCOMPARE(window->model().clock(1), before2);
    QCOMPARE(window->model().clock(0).pictureKey, QStringLiteral("Japan"));
    // Clock 2's controls now serve as clock 1, at clock 2's places.
    PictureBox *flag = window->placedClocks()->picture(1);
    QCOMPARE(flag->geometry(), flag2);
    QCOMPARE(flag->picture(), window->model().pictures().find("USA")->picture);
    QCOMPARE(window->placedClocks()->dateLabel(1)->pos(), date2);
    QCOMPARE(window->placedClocks()->timeLabel(1)->pos(), time2);
    QCOMPARE(window->placedClocks()->timeLabel(1)->text(), text2);
    QVERIFY(window->placedClocks()->mark(1)->isVisible());
    QCOMPARE(window->placedClocks()->mark(1)->pos(), mark2);
    // The controls of index 2 are gone.
    QCOMPARE(window->placedClocks()->count(), 2);
    QVERIFY(lastFlag.isNull() || lastFlag->isHidden());
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(lastFlag.isNull());
    // The surface is cleared; the next tick draws the two faces left.
    QCOMPARE(window->clientArea()->surface().pixelColor(faceCentrePx(0) + QPoint(-3, 3)).alpha(), 0);
    window->tick();
    QCOMPARE(window->clientArea()->surface().pixelColor(faceCentrePx(1) + QPoint(-3, 3)).alpha(), 255);
    QCOMPARE(window->clientArea()->surface().pixelColor(QPoint(px(3000) - 3, px(2000) + 3)).alpha(), 0);
    QCOMPARE(window->placedClocks()->timeLabel(1)->text(), QStringLiteral("21:05"));
}

void TestPlacing::deleteKeepsTheSuccessorsStretchedPicture()
{
    QImage user(40, 20, QImage::Format_RGB32);
    user.fill(Qt::magenta);
    QVERIFY(window->model().pictures().addUser(3, user, QStringLiteral("st1200-0600")));
    place(clockAt(3000, 2000, 4000, 1500, QStringLiteral("France")));
    place(clockAt(6000, 4000, 7000, 3500, QStringLiteral("003User")));
    QVERIFY(window->placedClocks()->picture(2)->stretch());
    QCOMPARE(window->placedClocks()->picture(2)->size(), QSize(px(1200), px(600)));
    QVERIFY(!window->placedClocks()->picture(1)->stretch());

    window->placing()->chooseMode(3);
    editor->confirm();
    press(window->mapWidget(), faceCentrePx(1));
    QCOMPARE(window->model().lastClock(), 1);
    PictureBox *flag = window->placedClocks()->picture(1);
    QVERIFY(flag->stretch());
    QCOMPARE(flag->size(), QSize(px(1200), px(600)));
    QCOMPARE(flag->pos(), QPoint(px(7000), px(3500)));
    QCOMPARE(flag->picture(), user);
}

void TestPlacing::deleteTheLastByItsOwnLabel()
{
    // The pressed label is one of the controls the delete removes.
    place(clockAt(3000, 2000, 4000, 1500, QStringLiteral("France")));
    window->placing()->chooseMode(3);
    editor->confirm();
    QPointer<QLabel> date = window->placedClocks()->dateLabel(1);
    const QPoint at = date->geometry().center();
    press(date, at);
    QCOMPARE(window->model().lastClock(), 0);
    QCOMPARE(window->placedClocks()->count(), 1);
    QVERIFY(date.isNull() || date->isHidden());
    QTest::mouseRelease(window->mapWidget(), Qt::LeftButton, {}, window->mapWidget()->mapFrom(window->clientArea(), at));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(date.isNull());
    QVERIFY(window->placedClocks()->picture(0)->isVisible());
}

void TestPlacing::lastClockCannotBeDeleted()
{
    editor->confirm();
    window->placing()->chooseMode(3);
    press(window->placedClocks()->picture(0), window->placedClocks()->picture(0)->geometry().center());
    QVERIFY(editor->shown.empty());
    QCOMPARE(messages->texts, QStringList{ QStringLiteral("削除はできません") });
    QCOMPARE(messages->titles, QStringList{ QString() });
    QVERIFY(messages->lastButtons == Messenger::Buttons::Ok);
    QCOMPARE(window->model().lastClock(), 0);
    QVERIFY(window->placedClocks()->picture(0)->isVisible());
    QVERIFY(!window->placing()->modeBar()->isVisible());
    QCOMPARE(window->placing()->clockMode(), EditMode::None);
}

void TestPlacing::escapeCancelsTheBar()
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_Escape); // nothing to cancel
    window->placing()->chooseMode(2);
    QVERIFY(window->placing()->modeBar()->isVisible());
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QVERIFY(!window->placing()->modeBar()->isVisible());
    QCOMPARE(window->placing()->clockMode(), EditMode::None);
    // A pick after that starts a drag again, not the editor.
    press(window->mapWidget(), faceCentrePx(0));
    QVERIFY(editor->shown.empty());
    QVERIFY(window->placing()->dragging());
    release(window->mapWidget(), faceCentrePx(0));
}

void TestPlacing::reminderComesBackUntilTheFaceMoves()
{
    editor->confirm([](EditorFields &f) { f.pictureKey = QStringLiteral("France"); });
    window->placing()->chooseMode(1);
    // Two clocks: the counter goes round every 61 visits, and its zero falls
    // on clock 1 every other round: twice in 122 ticks, whatever its start.
    auto ticks = [this](int n) {
        messages->texts.clear();
        for (int k = 0; k < n; ++k) {
            clock->advanceSecs(1);
            window->tick();
        }
        return messages->texts;
    };
    QCOMPARE(ticks(122), (QStringList{ kReminder, kReminder }));
    QCOMPARE(messages->titles.last(), QString());

    // Dragging the picture alone does not stop it.
    PictureBox *flag = window->placedClocks()->picture(1);
    press(flag, flag->geometry().center());
    move(flag, flag->geometry().center() + QPoint(100, 100));
    release(flag, flag->geometry().center());
    QCOMPARE(window->model().clock(1).pictureLeft, float((px(1000) + 100) * 15));
    QCOMPARE(ticks(122).size(), 2);

    // Dragging the face does.
    QWidget *map = window->mapWidget();
    const QPoint face = faceCentrePx(1);
    press(map, face);
    move(map, face + QPoint(200, 150));
    release(map, face + QPoint(200, 150));
    QCOMPARE(ticks(244), QStringList());
}

void TestPlacing::reminderOpensOnceAtATime()
{
    // The window's own timer opens the reminder in the middle of a face drag.
    // The clocks go on while it is open (a minute of ticks comes round to the
    // counter's zero again before it is answered), and the drag ends.
    class TickingMessenger : public RecordingMessenger {
    public:
        Answer message(const QString &text, Buttons b, const QString &title) override
        {
            RecordingMessenger::message(text, b, title);
            if (!inside && window) {
                inside = true;
                circleGone = window->placing()->redCircle()->isHidden();
                const int count = window->placing()->reminder().count();
                ticked = QTest::qWaitFor([&] { return window->placing()->reminder().count() != count; }, 3000);
                for (int k = 0; k < 61; ++k)
                    window->tick();
                inside = false;
            }
            return Answer::Ok;
        }
        tb::MainWindow *window = nullptr;
        bool inside = false, circleGone = false, ticked = false;
    } ticking;
    window.reset();
    window = std::make_unique<tb::MainWindow>(*clock, ticking);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    ticking.window = window.get();
    window->model().clocks()[0] = tb::addedEntry(EditorFields(), window->layout());
    const EditMode mode = window->placing()->clockMode();
    press(window->mapWidget(), faceCentrePx(0));
    QTRY_COMPARE_WITH_TIMEOUT(ticking.texts, QStringList{ kReminder }, 3000);
    QVERIFY(ticking.ticked);
    QVERIFY(ticking.circleGone);
    move(window->mapWidget(), faceCentrePx(0) + QPoint(40, 30)); // the release went to the message
    QVERIFY(window->placing()->redCircle()->isHidden());
    QCOMPARE(window->placing()->clockMode(), mode);
    ticking.window = nullptr;
    window.reset();
}

void TestPlacing::removedPictureLeavesItsClocks()
{
    QImage user(30, 30, QImage::Format_RGB32);
    user.fill(Qt::cyan);
    PictureStore &store = window->model().pictures();
    QVERIFY(store.addUser(1, user, QStringLiteral("nn0450-0450")));
    QVERIFY(store.addUser(2, user, QStringLiteral("nn0450-0450")));
    place(clockAt(2000, 2000, 2500, 1500, QStringLiteral("001User")));
    place(clockAt(4000, 2000, 4500, 1500, QStringLiteral("002User")));
    place(clockAt(6000, 2000, 6500, 1500, QStringLiteral("001User")));
    const QPoint at3 = window->placedClocks()->picture(3)->pos();
    QVERIFY(window->placedClocks()->picture(1)->hasPicture());

    window->model().dropPicture(QStringLiteral("001User"));
    QCOMPARE(window->model().clock(1).pictureKey, QString());
    QCOMPARE(window->model().clock(3).pictureKey, QString());
    QVERIFY(!window->placedClocks()->picture(1)->hasPicture());
    QVERIFY(!window->placedClocks()->picture(3)->hasPicture());
    QCOMPARE(window->placedClocks()->picture(3)->pos(), at3);
    QCOMPARE(window->model().clock(2).pictureKey, QStringLiteral("002User"));
    QVERIFY(window->placedClocks()->picture(2)->hasPicture());
    QCOMPARE(window->model().clock(0).pictureKey, QStringLiteral("Japan"));
    QVERIFY(window->placedClocks()->picture(0)->hasPicture());
    // Nothing else: the store is the editor's, the count stays.
    QVERIFY(store.contains(QStringLiteral("001User")));
    QCOMPARE(window->model().lastClock(), 3);
}

void TestPlacing::circleRepaintsOnlyWhereItWas()
{
    class PaintRecorder : public QObject {
    public:
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent *>(e)->region();
            return false;
        }
        QRegion painted;
    } recorder;
    for (int i = 1; i <= 20; ++i)
        place(clockAt(500 + 500 * i, 1000 + 200 * (i % 5), 400 + 500 * i, 4000, QStringLiteral("Japan")));
    window->tick();
    QWidget *map = window->mapWidget();
    const QPoint face = faceCentrePx(0);
    press(map, face);
    QCoreApplication::processEvents();
    window->clientArea()->installEventFilter(&recorder);
    QWidget *circle = window->placing()->redCircle();
    const QRect before = circle->geometry();
    move(map, face + QPoint(7, -4));
    QCoreApplication::processEvents();
    const QRect after = circle->geometry();
    QCOMPARE(after, before.translated(7, -4));
    QVERIFY(!recorder.painted.isEmpty());
    QCOMPARE(recorder.painted.subtracted(QRegion(before) + QRegion(after)), QRegion());
    window->clientArea()->removeEventFilter(&recorder);
    release(map, face + QPoint(7, -4));
}

QTEST_MAIN(TestPlacing)
#include "tst_placing.moc"
