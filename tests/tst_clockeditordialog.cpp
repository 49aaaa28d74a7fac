// The clock editor driven as a person would: modes, zones and the summer box,
// user pictures added through a scripted chooser and removed again.
#include "core/editor/editorrules.h"
#include "ui/common/pictureframewidget.h"
#include "core/editor/picturestore.h"
#include "ui/editor/clockeditordialog.h"
#include "core/time/clocksource.h"
#include "dialogs_testsupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace tb;
using namespace tb::testing;

class TestClockEditorDialog : public QObject {
    Q_OBJECT
private:
    FixedClock clock{ QDateTime(QDate(2026, 12, 8), QTime(9, 5)) };
    RecordingMessenger messages;
    ScriptedChooser chooser;
    FaceColours colours;
    QStringList removed;
    // Each test's own settings file, built-in pictures and editor.
    std::unique_ptr<TempStore> settings;
    PictureStore store;
    std::unique_ptr<ClockEditorDialog> editor;

    static EditorFields fieldsFor(EditMode mode, const QString &pictureKey = QString())
    {
        EditorFields f;
        f.mode = mode;
        f.pictureKey = pictureKey;
        return f;
    }
    void run(EditorFields &fields, const ClockEditorDialog::Driver &act) { showDriven(*editor, fields, act); }

private slots:
    void init()
    {
        messages = RecordingMessenger();
        chooser = ScriptedChooser();
        removed.clear();
        settings = std::make_unique<TempStore>();
        store = PictureStore::builtIn();
        editor = std::make_unique<ClockEditorDialog>(store, clock, messages, colours, chooser,
                                                     [this](const QString &k) { removed << k; });
    }
    void cleanup()
    {
        editor.reset();
        settings.reset();
    }

    void modes_data()
    {
        QTest::addColumn<EditMode>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<bool>("listsShown");
        QTest::newRow("add") << EditMode::Add << "デジタル時計の追加" << "決定" << true;
        QTest::newRow("edit") << EditMode::Edit << "デジタル時計の編集" << "決定" << true;
        QTest::newRow("del") << EditMode::Delete << "デジタル時計の削除" << "削除します" << false;
        QTest::newRow("none") << EditMode::None << "ディジタル時計の追加" << "決定" << true;
    }
    void modes()
    {
        QFETCH(EditMode, mode);
        QFETCH(bool, listsShown);
        store.addUser(5, solidPicture(30, 20), "nn0450-0300");
        // A delete first: what one showing leaves must not change the next.
        EditorFields f = fieldsFor(EditMode::Delete, "005User");
        run(f, [](ClockEditorWindow &w) { w.cancelButton()->click(); });
        f.mode = mode;
        run(f, [&](ClockEditorWindow &w) {
            QTEST(w.windowTitle(), "caption");
            QTEST(w.confirmButton()->text(), "confirm");
            for (QWidget *c : { (QWidget *)w.addPictureButton(), (QWidget *)w.zoneList(),
                                (QWidget *)w.summerTimeBox(), (QWidget *)w.pictureNameList(),
                                (QWidget *)w.zoneHeading(), (QWidget *)w.pictureHeading() })
                QCOMPARE(c->isVisible(), listsShown);
            for (QWidget *c : { (QWidget *)w.confirmButton(), (QWidget *)w.cancelButton(),
                                (QWidget *)w.pictureFrame(), (QWidget *)w.dateLabel(), (QWidget *)w.timeLabel() })
                QVERIFY(c->isVisible());
            // A user picture's remove button belongs to the name list.
            QCOMPARE(w.removePictureButton()->isVisible(), mode == EditMode::Edit || mode == EditMode::None);
            QCOMPARE(w.zoneList()->count(), 52);
            QCOMPARE(w.pictureNameList()->count(), 164);
            w.confirmButton()->click();
        });
        QVERIFY(f.confirmed);
        QCOMPARE(f.pictureKey, mode == EditMode::Add ? QString() : QString("005User"));
    }

    void zones_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("boxBefore");
        QTest::addColumn<bool>("boxAfter");
        QTest::addColumn<int>("difTime");
        QTest::addColumn<int>("difMinute");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("date");
        QTest::newRow("Tokyo") << 42 << false << false << 0 << 0 << "9:05" << "12/8(火)";
        QTest::newRow("Tokyo, box before") << 42 << true << false << 0 << 0 << "10:05" << "12/8(火)";
        QTest::newRow("Tokyo, box after") << 42 << false << true << 0 << 0 << "10:05" << "12/8(火)";
        QTest::newRow("Newfoundland") << 15 << false << false << -12 << -30 << "20:35" << "12/7(月)";
        QTest::newRow("Adelaide") << 43 << false << false << 0 << 30 << "9:35" << "12/8(火)";
        QTest::newRow("first row") << 0 << false << false << -21 << 0 << "12:05" << "12/7(月)";
        QTest::newRow("last row, box") << 51 << true << false << 3 << 0 << "13:05" << "12/8(火)";
    }
    void zones()
    {
        QFETCH(int, row);
        QFETCH(bool, boxBefore);
        QFETCH(bool, boxAfter);
        EditorFields f = fieldsFor(EditMode::Add);
        run(f, [&](ClockEditorWindow &w) {
            if (boxBefore)
                w.summerTimeBox()->click();
            w.zoneList()->setCurrentRow(row);
            if (boxAfter)
                w.summerTimeBox()->click();
            QTEST(w.timeLabel()->text(), "time");
            QTEST(w.dateLabel()->text(), "date");
            QTEST(formatTime(w.shownTime()), "time");
            w.confirmButton()->click();
        });
        QTEST(int(f.hours), "difTime");
        QTEST(int(f.minutes), "difMinute");
        QCOMPARE(f.summerTime, boxBefore || boxAfter);
    }

    // The zone both ways; under the place rules a known zone, not the box, gives the time.
    void placeRules_data()
    {
        QTest::addColumn<QString>("held");
        QTest::addColumn<bool>("chooseNewYork");
        QTest::addColumn<bool>("placeRules");
        QTest::addColumn<QString>("time"); // the summer box ticked
        QTest::addColumn<bool>("boxEnabled");
        QTest::newRow("older clock") << "" << false << true << "20:05" << true;
        QTest::newRow("Brisbane kept") << "Australia/Brisbane" << false << true << "10:05" << false;
        QTest::newRow("New York chosen") << "" << true << true << "19:05" << false;
    }
    void placeRules()
    {
        QFETCH(QString, held);
        QFETCH(bool, chooseNewYork);
        QFETCH(bool, boxEnabled);
        EditorFields f = fieldsFor(EditMode::Edit, "USA");
        f.hours = -14;
        f.summerTime = true;
        f.zone = held;
        QFETCH(bool, placeRules);
        f.placeRules = placeRules;
        run(f, [&](ClockEditorWindow &w) {
            if (chooseNewYork)
                w.zoneList()->setCurrentRow(12);
            QTEST(w.timeLabel()->text(), "time");
            QCOMPARE(w.summerTimeBox()->isEnabled(), boxEnabled);
            QCOMPARE(w.summerRuleNote()->isVisible(), !boxEnabled);
            w.confirmButton()->click();
        });
        QCOMPARE(f.zone, chooseNewYork ? QStringLiteral("America/New_York") : held);
        QVERIFY(f.summerTime); // kept for the common rule
    }

    // An add without a zone keeps what the editor last held, even from a
    // cancelled showing; a new window starts with the box clear.
    void addKeepsLastDifference()
    {
        EditorFields f = fieldsFor(EditMode::Add);
        f.hours = 5; // not written by the window for an add
        run(f, [](ClockEditorWindow &w) { w.confirmButton()->click(); });
        QCOMPARE(f.hours, qint16(0));
        QCOMPARE(f.minutes, qint16(0));
        run(f, [](ClockEditorWindow &w) {
            w.summerTimeBox()->click();
            w.zoneList()->setCurrentRow(15);
            w.cancelButton()->click();
        });
        QVERIFY(!f.confirmed);
        run(f, [](ClockEditorWindow &w) {
            QVERIFY(!w.summerTimeBox()->isChecked());
            QCOMPARE(w.timeLabel()->text(), QString("20:35"));
            w.confirmButton()->click();
        });
        QCOMPARE(f.hours, qint16(-12));
        QCOMPARE(f.minutes, qint16(-30));
        QVERIFY(!f.summerTime);
        QVERIFY(f.pictureKey.isEmpty());
    }

    void summerProperty()
    {
        EditorFields f = fieldsFor(EditMode::Edit, "Japan");
        f.summerTime = true;
        run(f, [](ClockEditorWindow &w) {
            QVERIFY(w.summerTimeBox()->isChecked());
            QCOMPARE(w.timeLabel()->text(), QString("10:05"));
            w.confirmButton()->click();
        });
        QVERIFY(f.summerTime);
        run(f, [](ClockEditorWindow &w) {
            w.summerTimeBox()->click();
            w.confirmButton()->click();
        });
        QVERIFY(!f.summerTime);
    }

    void names()
    {
        QImage sharp = solidPicture(40, 40); // an "@2x" picture of 20 × 20
        sharp.setDevicePixelRatio(2);
        store.addUser(3, sharp, "nn0300-0300");
        store.addUser(12, solidPicture(400, 200), "st1200-0840");
        EditorFields f = fieldsFor(EditMode::Edit, "Japan");
        run(f, [&](ClockEditorWindow &w) {
            QListWidget *l = w.pictureNameList();
            QCOMPARE(l->item(0)->text(), QString("003User"));
            QCOMPARE(l->item(1)->text(), QString("00RedPointer"));
            QCOMPARE(l->item(2)->text(), QString("012User"));
            QCOMPARE(l->item(3)->text(), QString("Aandorra"));
            QCOMPARE(l->item(l->count() - 1)->text(), QString("Zimbabwe"));
            QCOMPARE(l->currentItem()->text(), QString("Japan"));
            QVERIFY(!w.removePictureButton()->isVisible());
            l->setCurrentRow(2);
            QVERIFY(w.removePictureButton()->isVisible());
            QCOMPARE(w.removePictureButton()->text(), QString("[012User]をリストから削除"));
            QCOMPARE(w.pictureFrame()->twipsSize(), QSize(1200, 840));
            QVERIFY(w.pictureFrame()->stretch());
            // The date sits 50 twips under the picture.
            QCOMPARE(w.dateLabel()->y(), qRound((1800 + 840 + 50) / 15.0));
            // Date and time never run into the heading of the name list.
            for (QLabel *label : { w.dateLabel(), w.timeLabel() })
                QVERIFY(label->y() + label->height()
                        <= w.pictureHeading()->y() + w.pictureHeading()->height() - w.pictureHeading()->sizeHint().height());
            l->setCurrentRow(1);
            QVERIFY(!w.removePictureButton()->isVisible());
            QCOMPARE(w.timeLabel()->pos(), QPoint(w.dateLabel()->x(), w.dateLabel()->y() + w.dateLabel()->height()));
            QCOMPARE(w.pictureFrame()->twipsSize(), QSize(16 * 15, 16 * 15));
            l->setCurrentRow(0);
            QCOMPARE(w.pictureFrame()->twipsSize(), QSize(300, 300));
            l->setCurrentRow(2);
            w.confirmButton()->click();
        });
        QCOMPARE(f.pictureKey, QString("012User"));
        QCOMPARE(f.pictureTwips, QSize(1200, 840));
    }

    void unknownName()
    {
        EditorFields f = fieldsFor(EditMode::Edit, "007User"); // its file was missing at start
        run(f, [](ClockEditorWindow &w) {
            QVERIFY(w.pictureNameList()->selectedItems().isEmpty());
            QVERIFY(!w.pictureFrame()->hasPicture());
            w.confirmButton()->click();
        });
        QVERIFY(f.confirmed);
        QVERIFY(f.pictureKey.isEmpty());
    }

    void enterKeys()
    {
        EditorFields f = fieldsFor(EditMode::Add);
        QString fifth;
        run(f, [&](ClockEditorWindow &w) {
            fifth = w.pictureNameList()->item(5)->text();
            w.zoneList()->setFocus();
            w.zoneList()->setCurrentRow(3);
            QTest::keyClick(w.zoneList(), Qt::Key_Return);
            QVERIFY(w.isVisible());
            QVERIFY(chooser.purposes.isEmpty());
            w.pictureNameList()->setFocus();
            w.pictureNameList()->setCurrentRow(5);
            QTest::keyClick(w.pictureNameList(), Qt::Key_Return);
            QVERIFY(!w.isVisible());
        });
        QVERIFY(f.confirmed);
        QCOMPARE(f.hours, qint16(-18));
        QCOMPARE(f.pictureKey, fifth);
    }

    void focusOrderAndPlace()
    {
        QWidget mainWindow;
        mainWindow.setGeometry(200, 100, 400, 300);
        mainWindow.show();
        editor->setMainWindow(&mainWindow);
        EditorFields f = fieldsFor(EditMode::Edit, "001User");
        run(f, [&](ClockEditorWindow &w) {
            QCOMPARE(w.pos(), mainWindow.frameGeometry().topLeft() + QPoint(3, 7));
            const QList<QWidget *> order = { w.addPictureButton(), w.confirmButton(), w.cancelButton(), w.summerTimeBox(),
                                             w.pictureNameList(), w.zoneList(), w.removePictureButton() };
            for (int i = 0; i + 1 < order.size(); ++i) {
                QWidget *next = order[i]->nextInFocusChain();
                while (next->focusPolicy() == Qt::NoFocus)
                    next = next->nextInFocusChain();
                QCOMPARE(next, order[i + 1]);
            }
            QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget() : w.focusWidget(),
                     (QWidget *)w.addPictureButton());
            w.cancelButton()->click();
        });
    }

    void addUserPicture()
    {
        settings->writeRaw("[UserImg]\nUserImgCount=3\n001FileName=/a.jpg\n002FileName=\n003FileName=/c.jpg\n");
        const QString file = settings->dir() + QStringLiteral("/写真 'x'.png");
        QVERIFY(solidPicture(120, 60).save(file, "PNG"));
        chooser.file = file;
        chooser.tag = "st1200-0600";
        EditorFields f = fieldsFor(EditMode::Add);
        run(f, [&](ClockEditorWindow &w) {
            w.addPictureButton()->click();
            QCOMPARE(chooser.purposes, QList<ChooserPurpose>{ ChooserPurpose::ClockPicture });
            QCOMPARE(w.pictureNameList()->currentItem()->text(), QString("002User"));
            QCOMPARE(w.pictureNameList()->item(0)->text(), QString("002User"));
            QVERIFY(w.removePictureButton()->isVisible());
            QCOMPARE(w.pictureFrame()->twipsSize(), QSize(1200, 600));
            w.confirmButton()->click();
        });
        QVERIFY(messages.texts.isEmpty());
        QVERIFY(store.contains("002User"));
        QCOMPARE(store.find("002User")->tag, QString("st1200-0600"));
        QCOMPARE(f.pictureKey, QString("002User"));
        QCOMPARE(f.pictureTwips, QSize(1200, 600));
        settings->restart();
        QCOMPARE(settings->onDisk("UserImg/UserImgCount").toString(), QString("3"));
        QCOMPARE(settings->onDisk("UserImg/002FileName").toString(), file);
        QCOMPARE(settings->onDisk("UserImg/002Size").toString(), QString("st1200-0600"));
    }

    // The real chooser behind the editor: what it confirms is what is stored.
    void addThroughChooser()
    {
        QImage photo(900, 600, QImage::Format_RGB32); // 13500 × 9000 twips
        photo.fill(Qt::darkRed);
        QVERIFY(photo.save(settings->dir() + "/PHOTO.JPG", "JPEG"));
        PictureChooserDialog realChooser = chooserIn(settings->dir());
        realChooser.setDriver([](PictureChooserWindow &w) {
            QVERIFY(w.shownSizeFrame()->isVisible()); // a clock's picture, not the map
            w.fileChosen("PHOTO.JPG");
            w.confirm();
        });
        ClockEditorDialog withRealChooser(store, clock, messages, colours, realChooser);
        EditorFields f = fieldsFor(EditMode::Add);
        showDriven(withRealChooser, f, [](ClockEditorWindow &w) {
            w.addPictureButton()->click();
            w.confirmButton()->click();
        });
        QCOMPARE(f.pictureKey, QString("001User"));
        QCOMPARE(f.pictureTwips, QSize(1200, 800));
        QCOMPARE(withRealChooser.state().userPictureFile, QDir::cleanPath(settings->dir()) + "/PHOTO.JPG");
        settings->restart();
        QCOMPARE(settings->onDisk("UserImg/001Size").toString(), QString("st1200-0800"));
        QCOMPARE(settings->onDisk("UserImg/001FileName").toString(), withRealChooser.state().userPictureFile);
    }

    void addFails_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("message");
        QTest::newRow("chooser cancelled") << "cancel" << "";
        QTest::newRow("not a picture") << "text" << "画像ファイルではありません";
        QTest::newRow("all slots in use") << "full" << "登録できる画像は999枚までです。これ以上追加できません。";
    }
    void addFails()
    {
        QFETCH(QString, what);
        QFETCH(QString, message);
        settings->writeRaw("[UserImg]\n" + (what == "full" ? allUserSlotsInUse() : QByteArray()));
        const QString good = settings->dir() + "/good.png";
        const QString text = settings->dir() + "/text.jpg";
        QVERIFY(solidPicture(10, 10).save(good, "PNG"));
        QVERIFY(writeFile(text, "no picture here"));
        chooser.file = what == "cancel" ? QString() : what == "text" ? text : good;
        chooser.tag = "nn0150-0150";
        const int before = store.count();
        EditorFields f = fieldsFor(EditMode::Add);
        run(f, [&](ClockEditorWindow &w) {
            w.addPictureButton()->click();
            QCOMPARE(w.pictureNameList()->count(), before);
            w.confirmButton()->click();
        });
        QCOMPARE(store.count(), before);
        QCOMPARE(messages.texts, message.isEmpty() ? QStringList() : QStringList{ message });
        if (what == "full")
            QCOMPARE(messages.titles, QStringList{ "テンブラ" });
        settings->restart();
        if (what != "full") {
            QVERIFY(settings->onDisk("UserImg/001FileName").toString().isEmpty());
            QVERIFY(settings->onDisk("UserImg/UserImgCount").toString() != "1");
        }
    }

    void removeUserPicture()
    {
        settings->writeRaw("[UserImg]\nUserImgCount=3\n001FileName=/a.jpg\n001Size=nn0300-0300\n"
                          "002FileName=/b.jpg\n002Size=nn0300-0300\n003FileName=/c.jpg\n003Size=nn0300-0300\n");
        for (int n = 1; n <= 3; ++n)
            store.addUser(n, solidPicture(20, 20), "nn0300-0300");
        ClockEntries placed{};
        placed[0].pictureKey = "002User";
        placed[1].pictureKey = "Japan";
        placed[2].pictureKey = "002User";
        placed[2].hourOffset = 4;
        EditorFields f = fieldsFor(EditMode::Edit, "002User");
        messages.answer = Messenger::Answer::Cancel;
        run(f, [&](ClockEditorWindow &w) {
            w.removePictureButton()->click();
            QCOMPARE(messages.texts, QStringList{ "[002User]をリストから削除します" });
            QCOMPARE(messages.lastButtons, Messenger::Buttons::OkCancel);
            QVERIFY(store.contains("002User"));
            messages.answer = Messenger::Answer::Ok;
            w.removePictureButton()->click();
            QVERIFY(!store.contains("002User"));
            QVERIFY(w.pictureNameList()->findItems("002User", Qt::MatchExactly).isEmpty());
            QVERIFY(w.pictureNameList()->selectedItems().isEmpty());
            QVERIFY(!w.removePictureButton()->isVisible());
            QVERIFY(!w.pictureFrame()->hasPicture());
            w.confirmButton()->click();
        });
        QCOMPARE(removed, QStringList{ "002User" });
        dropRemovedPicture(placed, 2, removed.first()); // as the main window does when told
        QVERIFY(f.pictureKey.isEmpty());
        QVERIFY(placed[0].pictureKey.isEmpty());
        QCOMPARE(placed[1].pictureKey, QString("Japan"));
        QVERIFY(placed[2].pictureKey.isEmpty());
        QCOMPARE(placed[2].hourOffset, qint16(4));
        settings->restart();
        QCOMPARE(settings->onDisk("UserImg/UserImgCount").toString(), QString("3"));
        QVERIFY(settings->onDisk("UserImg/002FileName").toString().isEmpty());
        QVERIFY(settings->onDisk("UserImg/002Size").toString().isEmpty());
        QCOMPARE(settings->onDisk("UserImg/003FileName").toString(), QString("/c.jpg"));

        // The freed slot is the next one handed out.
        const QString file = settings->dir() + "/new.png";
        QVERIFY(solidPicture(10, 10).save(file, "PNG"));
        chooser.file = file;
        chooser.tag = "nn0150-0150";
        f.mode = EditMode::Add;
        run(f, [](ClockEditorWindow &w) {
            w.addPictureButton()->click();
            w.confirmButton()->click();
        });
        QCOMPARE(f.pictureKey, QString("002User"));
        QVERIFY(store.contains("002User"));
    }
};

TEMBRA_WIDGETS_SETTINGS_TEST_MAIN(TestClockEditorDialog)
#include "tst_clockeditordialog.moc"
