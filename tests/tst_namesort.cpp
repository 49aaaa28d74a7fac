#include "core/editor/namesort.h"
#include "core/editor/picturestore.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>

using namespace tb;

class TestNameSort : public QObject {
    Q_OBJECT
private slots:
    void order_data();
    void order();
    void pictureList();
    void independentOfArrivalOrder();
};

void TestNameSort::order_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("user before red dot") << "003User" << "00RedPointer";
    QTest::newRow("red dot before countries") << "00RedPointer" << "Aandorra";
    QTest::newRow("user slots by number") << "009User" << "010User";
    QTest::newRow("Iarael") << "Iarael" << "Iceland";
    QTest::newRow("case ignored") << "Uganda" << "USA";
    QTest::newRow("case ignored 2") << "NewZealand" << "Nicaragua";
    QTest::newRow("prefix first") << "UK" << "Ukraine";
    QTest::newRow("ampersand before letters") << "Trinidad&Tobago" << "TrinidadAndTobago";
    QTest::newRow("ampersand before digits") << "Trinidad&Tobago" << "Trinidad2";
    QTest::newRow("digits before letters") << "999User" << "Aandorra";
    QTest::newRow("equal but case") << "Japan" << "japan";
}

void TestNameSort::order()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QVERIFY(comparePictureNames(before, after) < 0);
    QVERIFY(comparePictureNames(after, before) > 0);
    QCOMPARE(comparePictureNames(before, before), 0);
    QVERIFY(pictureNameLess(before, after));
    QVERIFY(!pictureNameLess(after, before));
}

void TestNameSort::pictureList()
{
    PictureStore store = PictureStore::builtIn();
    QImage pic(2, 2, QImage::Format_RGB32);
    for (int slot : {12, 3, 1})
        QVERIFY(store.addUser(slot, pic, QString()));
    QStringList names = store.keys();
    sortPictureNames(names);
    QCOMPARE(names.size(), store.count());
    // Character by character: "012User" differs from "00RedPointer" at its
    // second character, so only slots 1 … 9 stand before the red dot.
    const QStringList head = {"001User", "003User", "00RedPointer", "012User", "Aandorra", "Afganistan", "Albania", "Algenia", "Angola"};
    QCOMPARE(names.mid(0, head.size()), head);
    QCOMPARE(names.last(), QString("Zimbabwe"));
    QVERIFY(names.indexOf("Iarael") < names.indexOf("Iceland"));
    QVERIFY(names.indexOf("Uganda") < names.indexOf("UK"));
    QVERIFY(names.indexOf("UK") < names.indexOf("USA"));
    QVERIFY(names.indexOf("Trinidad&Tobago") < names.indexOf("Tunisia"));
}

void TestNameSort::independentOfArrivalOrder()
{
    QStringList names = PictureStore::builtIn().keys();
    names << "aandorra" << "AANDORRA" << "007User" << "Zimbabwe2";
    QStringList sorted = names;
    sortPictureNames(sorted);
    QRandomGenerator rng(20240601);
    for (int round = 0; round < 5; ++round) {
        QStringList shuffled = names;
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        sortPictureNames(shuffled);
        QCOMPARE(shuffled, sorted);
    }
    const int i = int(sorted.indexOf("AANDORRA"));
    QCOMPARE(sorted.mid(i, 3), QStringList({"AANDORRA", "Aandorra", "aandorra"}));
}

QTEST_GUILESS_MAIN(TestNameSort)
#include "tst_namesort.moc"
