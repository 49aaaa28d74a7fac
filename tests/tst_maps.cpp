// The built-in maps share one size (clock positions are fractions of the map).
#include "mainwindow/maps.h"

#include <QtTest>

using namespace tb;

class TestMaps : public QObject {
    Q_OBJECT
private slots:
    void everyMapLoadsAtTheSameSize()
    {
        QCOMPARE(mapKeys(), QStringList({ "defolt", "hwite", "gray", "bluegreen", "dust", "dark", "timezone" }));
        const QImage start = startMap();
        QCOMPARE(start.size(), QSize(1554, 886));
        for (int k = 1; k <= 7; ++k) {
            const QImage map = builtInMap(k);
            QVERIFY2(!map.isNull(), qPrintable(mapKeys()[k - 1]));
            QCOMPARE(map.size(), start.size());
            QVERIFY(map != builtInMap(k == 7 ? 1 : k + 1)); // seven different styles
        }
        QVERIFY(builtInMap(0).isNull());
        QVERIFY(builtInMap(8).isNull());
    }
};

QTEST_APPLESS_MAIN(TestMaps)
#include "tst_maps.moc"
