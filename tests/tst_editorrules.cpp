// The editor's rules: user-picture slots in the settings, the preview's time,
// and what placed clocks keep when a picture is removed.
#include "core/editor/editorrules.h"
#include "settings_testsupport.h"

using namespace tb;
using tb::testing::TempStore;

class TestEditorRules : public QObject {
    Q_OBJECT
private slots:
    void slotChoice_data()
    {
        QTest::addColumn<QByteArray>("userImg"); // the [UserImg] section as stored
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("count");
        QTest::newRow("count missing") << QByteArray() << 1 << 1;
        QTest::newRow("count zero") << QByteArray("UserImgCount=0\n") << 1 << 1;
        QTest::newRow("count not a number") << QByteArray("UserImgCount=abc\n") << 1 << 1;
        QTest::newRow("all in use") << QByteArray("UserImgCount=3\n001FileName=/a.jpg\n002FileName=/b.jpg\n003FileName=/c.jpg\n")
                                    << 4 << 4;
        QTest::newRow("lowest free") << QByteArray("UserImgCount=3\n001FileName=/a.jpg\n002FileName=\n003FileName=\n")
                                     << 2 << 3;
        QTest::newRow("last slot free") << QByteArray("UserImgCount=3\n001FileName=/a.jpg\n002FileName=/b.jpg\n003FileName=\n")
                                        << 3 << 3;
        QTest::newRow("free slot without keys") << QByteArray("UserImgCount=2\n002FileName=/b.jpg\n") << 1 << 2;
    }
    void slotChoice()
    {
        QFETCH(QByteArray, userImg);
        TempStore store;
        store.writeRaw("[UserImg]\n" + userImg);
        const std::optional<UserSlotChoice> c = chooseUserSlot();
        QVERIFY(c);
        QTEST(c->slot, "slot");
        QTEST(c->count, "count");
    }

    void allSlotsInUse()
    {
        TempStore store;
        store.writeRaw("[UserImg]\n" + tb::testing::allUserSlotsInUse());
        QVERIFY(!chooseUserSlot());
        // One freed slot among them is handed out again.
        freeUserSlot(500);
        const std::optional<UserSlotChoice> c = chooseUserSlot();
        QVERIFY(c);
        QCOMPARE(c->slot, 500);
        QCOMPARE(c->count, 999);
    }

    void storeAndFree()
    {
        TempStore store;
        QStringList writes;
        appSettings().setWriteObserver([&](const QString &s, const QString &k, const QString &v) {
            writes << s + "/" + k + "=" + v;
        });
        const QString file = QStringLiteral("/home/me/写真 \"旅\".jpg");
        QVERIFY(storeUserSlot({ 2, 3 }, file, "st1200-0600"));
        QCOMPARE(writes, QStringList({ "UserImg/UserImgCount=3", "UserImg/002FileName=" + file,
                                       "UserImg/002Size=st1200-0600" }));
        writes.clear();
        QVERIFY(freeUserSlot(2));
        QCOMPARE(writes, QStringList({ "UserImg/002FileName=", "UserImg/002Size=" }));
        store.restart();
        QCOMPARE(store.onDisk("UserImg/UserImgCount").toString(), QString("3"));
        QCOMPARE(chooseUserSlot()->slot, 1);
    }

    void pathRoundTrip()
    {
        TempStore store;
        const QString file = QStringLiteral("/home/me/写真 'a' \"b\";c=d.jpg");
        storeUserSlot({ 1, 1 }, file, "nn0900-0450");
        store.restart();
        QCOMPARE(valueOrStoreFallback("UserImg", "001FileName", QString()), file);
    }

    void preview_data()
    {
        QTest::addColumn<int>("difTime");
        QTest::addColumn<int>("difMinute");
        QTest::addColumn<bool>("summer");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        // Local time 2026-12-08 (Tue) 09:05.
        QTest::newRow("Tokyo") << 0 << 0 << false << "12/8(火)" << "9:05";
        QTest::newRow("Tokyo, summer box") << 0 << 0 << true << "12/8(火)" << "10:05";
        QTest::newRow("Newfoundland") << -12 << -30 << false << "12/7(月)" << "20:35";
        QTest::newRow("Adelaide") << 0 << 30 << false << "12/8(火)" << "9:35";
        QTest::newRow("Fiji, summer") << 3 << 0 << true << "12/8(火)" << "13:05";
        QTest::newRow("dateline") << -21 << 0 << false << "12/7(月)" << "12:05";
    }
    void preview()
    {
        QFETCH(int, difTime);
        QFETCH(int, difMinute);
        QFETCH(bool, summer);
        const DateTime t = previewTime(makeDateTime(2026, 12, 8, 9, 5), qint16(difTime), qint16(difMinute), summer);
        QTEST(formatDate(t), "date");
        QTEST(formatTime(t), "time");
    }

    void dropPicture()
    {
        ClockEntries e{};
        e[0].pictureKey = "003User";
        e[0].hourOffset = 4;
        e[1].pictureKey = "Japan";
        e[2].pictureKey = "003User";
        e[5].pictureKey = "003User"; // beyond the placed clocks
        const ClockEntry before2 = e[2];
        QCOMPARE(dropRemovedPicture(e, 2, "003User"), QList<int>({ 0, 2 }));
        QVERIFY(e[0].pictureKey.isEmpty());
        QCOMPARE(e[0].hourOffset, qint16(4));
        QCOMPARE(e[1].pictureKey, QString("Japan"));
        ClockEntry expected2 = before2;
        expected2.pictureKey.clear();
        QVERIFY(e[2] == expected2);
        QCOMPARE(e[5].pictureKey, QString("003User"));
    }

    void userPictureSize_data()
    {
        QTest::addColumn<QSize>("own");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QSize>("loaded");
        QTest::newRow("large photo, stretched") << QSize(3000, 2000) << "st1200-0800" << QSize(319, 213);
        QTest::newRow("within the headroom") << QSize(300, 200) << "st1200-0800" << QSize(300, 200);
        QTest::newRow("own size") << QSize(60, 40) << "nn0900-0600" << QSize(60, 40);
        QTest::newRow("no tag") << QSize(500, 100) << "" << QSize(500, 100);
    }
    void userPictureSize()
    {
        QFETCH(QSize, own);
        QFETCH(QString, tag);
        QTemporaryDir dir;
        QImage img(own, QImage::Format_RGB32);
        img.fill(Qt::red);
        QVERIFY(img.save(dir.filePath("p.jpg"), "JPEG"));
        const PictureFile f = loadUserPicture(dir.filePath("p.jpg"), tag);
        QCOMPARE(f.status, PictureFile::Status::Loaded);
        QTEST(f.image.size(), "loaded");
        QCOMPARE(loadUserPicture(dir.path(), tag).status, PictureFile::Status::Unreadable);
        QCOMPARE(loadUserPicture(dir.filePath("gone.jpg"), tag).status, PictureFile::Status::Missing);
    }

    void names()
    {
        QVERIFY(isUserPictureName("005User"));
        QVERIFY(!isUserPictureName("Japan"));
        QCOMPARE(removeButtonCaption("005User"), QString("[005User]をリストから削除"));
        QCOMPARE(removeQuestion("005User"), QString("[005User]をリストから削除します"));
        const QStringList sorted = { "001User", "003User", "00RedPointer", "Aandorra", "Iarael", "Iceland" };
        QCOMPARE(sortedInsertPosition(sorted, "002User"), 1);
        QCOMPARE(sortedInsertPosition(sorted, "004User"), 2);
        QCOMPARE(sortedInsertPosition(sorted, "ibm"), 5);
    }
};

TEMBRA_SETTINGS_TEST_MAIN(TestEditorRules)
#include "tst_editorrules.moc"
