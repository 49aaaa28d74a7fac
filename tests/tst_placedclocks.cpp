// The placed clocks' controls: sets made as copies of set 0, destroyed from
// the end, and copied down when a clock is deleted.
#include "core/editor/picturestore.h"
#include "core/model/worldmodel.h"
#include "ui/mainwindow/picturebox.h"
#include "ui/mainwindow/placedclocks.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

using namespace tb;

class TestPlacedClocks : public QObject {
    Q_OBJECT
private slots:
    void setsAreMadeAndDestroyedFromTheEnd();
    void copyDownTakesEverythingShown();
    void applyPicture_data();
    void applyPicture();

private:
    WorldModel model;
};

void TestPlacedClocks::setsAreMadeAndDestroyedFromTheEnd()
{
    QWidget area;
    PlacedClocks c(&area, model, QFont(), QFont());
    QCOMPARE(c.count(), 1);
    c.create(3);
    QCOMPARE(c.count(), 4);
    for (int i = 1; i < 4; ++i) {
        QVERIFY(c.picture(i) != c.picture(0));
        QCOMPARE(c.picture(i)->parentWidget(), &area);
        QVERIFY(c.picture(i)->isHidden());
        QVERIFY(c.mark(i)->isHidden());
        QCOMPARE(c.mark(i)->text(), QStringLiteral("DST"));
        QCOMPARE(c.dateLabel(i)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
    c.create(2); // already there: nothing changes
    QCOMPARE(c.count(), 4);
    c.create(40); // never more than 21
    QCOMPARE(c.count(), kMaxClocks);
    const int children = area.children().size();
    QVERIFY(c.destroyLast());
    QCOMPARE(c.count(), kMaxClocks - 1);
    QCOMPARE(area.children().size(), children - 5); // picture, two labels, mark and spot
    while (c.count() > 1)
        QVERIFY(c.destroyLast());
    QVERIFY(!c.destroyLast()); // set 0 always stays
    QCOMPARE(c.count(), 1);
}

void TestPlacedClocks::copyDownTakesEverythingShown()
{
    QWidget area;
    area.resize(800, 600);
    area.show();
    PlacedClocks c(&area, model, QFont(), QFont());
    c.create(1);
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::green);
    c.picture(1)->setStretch(true);
    c.picture(1)->setPicture(picture);
    c.picture(1)->setGeometry(100, 50, 60, 30);
    c.show(1);
    c.placeLabels(1);
    c.setTimes(1, toDateTime(QDateTime(QDate(2026, 7, 1), QTime(13, 4))));
    c.placeMark(1, 3000, 1500, true);

    c.copyDown(1, 0);
    QVERIFY(c.picture(0)->stretch());
    QCOMPARE(c.picture(0)->picture(), picture);
    QCOMPARE(c.picture(0)->geometry(), QRect(100, 50, 60, 30));
    QVERIFY(c.picture(0)->isVisible());
    QCOMPARE(c.dateLabel(0)->text(), c.dateLabel(1)->text());
    QCOMPARE(c.timeLabel(0)->text(), QStringLiteral("13:04"));
    QCOMPARE(c.timeLabel(0)->pos(), c.timeLabel(1)->pos());
    QCOMPARE(c.mark(0)->pos(), QPoint(200, 100));
    QVERIFY(c.mark(0)->isVisible());
}

void TestPlacedClocks::applyPicture_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<float>("flagWidth");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("keptKey");
    // The user picture is 300 × 200 pixels, tagged st0900-0600 (60 × 40 pixels).
    QTest::newRow("user picture, st tag") << "001User" << 0.f << true << QSize(60, 40) << "001User";
    QTest::newRow("editor size wins over own size") << "Japan" << 900.f << true << QSize(60, 30) << "Japan";
    QTest::newRow("unknown key is cleared") << "gone" << 0.f << false << QSize(7, 7) << "";
    QTest::newRow("no picture") << "" << 0.f << false << QSize(7, 7) << "";
}

void TestPlacedClocks::applyPicture()
{
    QFETCH(QString, key);
    QFETCH(float, flagWidth);
    QFETCH(bool, stretch);
    QFETCH(QSize, size);
    QFETCH(QString, keptKey);
    PictureStore store = PictureStore::builtIn();
    QImage user(300, 200, QImage::Format_RGB32);
    user.fill(Qt::blue);
    store.addUser(1, user, QStringLiteral("st0900-0600"));
    QWidget area;
    PlacedClocks c(&area, model, QFont(), QFont());
    c.picture(0)->resize(7, 7);
    ClockEntry e;
    e.pictureKey = key;
    e.pictureLeft = 1500;
    e.pictureTop = 750;
    e.pictureWidth = flagWidth;
    e.pictureHeight = flagWidth / 2;
    c.applyPicture(0, e, store);
    QCOMPARE(c.picture(0)->stretch(), stretch);
    QCOMPARE(c.picture(0)->size(), size);
    QCOMPARE(c.picture(0)->pos(), QPoint(100, 50)); // as stored, not converted
    QCOMPARE(e.pictureKey, keptKey);
    QCOMPARE(c.picture(0)->hasPicture(), !keptKey.isEmpty());
}

QTEST_MAIN(TestPlacedClocks)
#include "tst_placedclocks.moc"
