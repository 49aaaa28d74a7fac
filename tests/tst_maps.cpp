// The built-in maps share one size (clock positions are fractions of the map).
#include "core/window/maps.h"

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

    // The window scales the map to its size; the soft map colours must come
    // through, not a dithered web palette.
    void mapColoursSurviveScaling()
    {
        for (const QImage &map : { startMap(1.0), builtInMap(1, 1.0), builtInMap(1, 2.0) }) {
            const QImage shown = scaledMap(map, QSize(1100, 600));
            // Open Pacific, top left of the map: the default ocean colour #a9cfea.
            const QColor sea = shown.pixelColor(30, 300);
            QVERIFY2(qAbs(sea.red() - 0xa9) <= 3 && qAbs(sea.green() - 0xcf) <= 3 && qAbs(sea.blue() - 0xea) <= 3,
                     qPrintable(sea.name()));
        }
    }

    // For a device pixel ratio of 2: twice the pixels, the same drawing, the
    // same logical size, so the map is as sharp as the faces drawn over it.
    void sharpMapsAtRatioTwo()
    {
        QCOMPARE(builtInPictureRatio(), 1.0); // no GUI here: ordinary pictures
        const QImage start = startMap(2.0);
        QCOMPARE(start.size(), QSize(3108, 1772));
        QCOMPARE(start.devicePixelRatio(), 2.0);
        QCOMPARE(start.deviceIndependentSize(), QSizeF(1554, 886));
        for (int k = 1; k <= 7; ++k) {
            const QImage plain = builtInMap(k, 1.0);
            const QImage sharp = builtInMap(k, 2.0);
            QVERIFY2(sharp.size() == plain.size() * 2, qPrintable(mapKeys()[k - 1]));
            QCOMPARE(sharp.devicePixelRatio(), 2.0);
            QCOMPARE(plain.devicePixelRatio(), 1.0);
            // Reduced to the ordinary size, it is the ordinary map give or take antialiasing.
            const QImage small = scaledMap(sharp, plain.size()).convertToFormat(QImage::Format_RGB32);
            const QImage ref = plain.convertToFormat(QImage::Format_RGB32);
            qint64 diff = 0;
            for (int y = 0; y < ref.height(); y += 7)
                for (int x = 0; x < ref.width(); x += 7) {
                    const QRgb a = small.pixel(x, y), b = ref.pixel(x, y);
                    diff += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
                }
            const double mean = double(diff) / ((ref.height() / 7 + 1) * (ref.width() / 7 + 1) * 3);
            QVERIFY2(mean < 4.0, qPrintable(QStringLiteral("%1: mean difference %2").arg(mapKeys()[k - 1]).arg(mean)));
        }
    }

    // The start map decoded ahead on another thread is the same picture, is
    // only taken at the ratio it was decoded for, and is taken only once.
    void prefetchedStartMap_data()
    {
        QTest::addColumn<qreal>("prefetchRatio");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("same ratio") << 1.0 << 1.0;
        QTest::newRow("sharp") << 2.0 << 2.0;
        QTest::newRow("ratio changed since") << 2.0 << 1.0;
    }
    void prefetchedStartMap()
    {
        QFETCH(qreal, prefetchRatio);
        QFETCH(qreal, ratio);
        const QImage expected = startMap(ratio);
        prefetchStartMap(prefetchRatio);
        const QImage first = startMap(ratio);
        QCOMPARE(first.devicePixelRatio(), ratio);
        QCOMPARE(first.format(), expected.format());
        QCOMPARE(first, expected);
        QCOMPARE(startMap(ratio), expected); // after the prefetch is used up
    }
};

QTEST_APPLESS_MAIN(TestMaps)
#include "tst_maps.moc"
