#include "core/common/sizetag.h"

#include <QtTest>

using namespace tb;

class TestSizeTag : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void make_data();
    void make();
    void display_data();
    void display();
};

void TestSizeTag::parse_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("stretched") << "st1200-0600" << true << true << 1200 << 600;
    QTest::newRow("own size") << "nn0840-0420" << true << false << 840 << 420;
    QTest::newRow("zero") << "st0000-0000" << true << true << 0 << 0;
    QTest::newRow("largest") << "nn9999-9999" << true << false << 9999 << 9999;
    QTest::newRow("built-in name") << "Andorra" << false << false << 0 << 0;
    QTest::newRow("empty") << "" << false << false << 0 << 0;
    QTest::newRow("null") << QString() << false << false << 0 << 0;
    QTest::newRow("short") << "st12" << false << false << 0 << 0;
    QTest::newRow("one short") << "st1200-060" << false << false << 0 << 0;
    QTest::newRow("one long") << "st1200-06000" << false << false << 0 << 0;
    QTest::newRow("letters") << "stABCD-0600" << false << false << 0 << 0;
    QTest::newRow("separator") << "st1200_0600" << false << false << 0 << 0;
    QTest::newRow("upper case") << "ST1200-0600" << false << false << 0 << 0;
    QTest::newRow("other mode") << "xx1200-0600" << false << false << 0 << 0;
    QTest::newRow("blank") << "st 120-0600" << false << false << 0 << 0;
    QTest::newRow("sign") << "st-120-0600" << false << false << 0 << 0;
    QTest::newRow("full-width digits") << QString::fromUtf8("st\uff11200-0600") << false << false << 0 << 0;
}

void TestSizeTag::parse()
{
    QFETCH(QString, tag);
    QFETCH(bool, valid);
    QFETCH(bool, stretch);
    QFETCH(int, width);
    QFETCH(int, height);
    const auto t = parseSizeTag(tag);
    QCOMPARE(t.has_value(), valid);
    if (valid) {
        QCOMPARE(t->stretch, stretch);
        QCOMPARE(t->width, width);
        QCOMPARE(t->height, height);
        QCOMPARE(makeSizeTag(*t), tag);
    }
    if (valid)
        QCOMPARE(stretchedSize(tag).has_value(), stretch); // laxer tags: see display()
}

void TestSizeTag::make_data()
{
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("tag");
    QTest::newRow("reduced") << true << 1200 << 600 << "st1200-0600";
    QTest::newRow("own size") << false << 840 << 420 << "nn0840-0420";
    QTest::newRow("one digit") << false << 7 << 3 << "nn0007-0003";
    QTest::newRow("too wide") << true << 12000 << 600 << "st9999-0600";
    QTest::newRow("negative") << true << -15 << 600 << "st0000-0600";
    QTest::newRow("both out") << false << 100000 << -1 << "nn9999-0000";
}

void TestSizeTag::make()
{
    QFETCH(bool, stretch);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, tag);
    const QString made = makeSizeTag(stretch, width, height);
    QCOMPARE(made, tag);
    QCOMPARE(made.size(), kSizeTagLength);
    QVERIFY(parseSizeTag(made).has_value());
}

void TestSizeTag::display_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("stretched");
    QTest::addColumn<QSize>("twips");
    // The picture is 42 × 28 pixels: 630 × 420 twips at its own size.
    QTest::newRow("st1200-0600") << "st1200-0600" << true << QSize(1200, 600);
    QTest::newRow("st0900-0450") << "st0900-0450" << true << QSize(900, 450);
    QTest::newRow("nn0900-0450") << "nn0900-0450" << false << QSize(630, 420);
    QTest::newRow("nn0840-0420") << "nn0840-0420" << false << QSize(630, 420);
    QTest::newRow("Andorra") << "Andorra" << false << QSize(630, 420);
    QTest::newRow("empty") << "" << false << QSize(630, 420);
    QTest::newRow("st12") << "st12" << false << QSize(630, 420);
    QTest::newRow("stABCD-0600") << "stABCD-0600" << false << QSize(630, 420);
    QTest::newRow("starts with st") << "stretch" << false << QSize(630, 420);
    // Hand-edited tags: the numbers as written.
    QTest::newRow("st1200-600") << "st1200-600" << true << QSize(1200, 600);
    QTest::newRow("st1200-06000") << "st1200-06000" << true << QSize(1200, 6000);
    QTest::newRow("st 120-0600") << "st 120-0600" << true << QSize(120, 600);
    QTest::newRow("st12ab-0600") << "st12ab-0600" << true << QSize(12, 600);
    QTest::newRow("st1200-0600 x") << "st1200-0600 x" << true << QSize(1200, 600);
    QTest::newRow("no height") << "st1200-" << false << QSize(630, 420);
    QTest::newRow("sign") << "st-120-0600" << false << QSize(630, 420);
    QTest::newRow("upper case") << "ST1200-0600" << false << QSize(630, 420);
    QTest::newRow("full-width digit") << QString::fromUtf8("st\uff11200-0600") << false << QSize(630, 420);
}

void TestSizeTag::display()
{
    QFETCH(QString, tag);
    QFETCH(bool, stretched);
    QFETCH(QSize, twips);
    const QImage picture(42, 28, QImage::Format_RGB32);
    const PictureDisplay d = pictureDisplay(picture, tag);
    QCOMPARE(d.stretched, stretched);
    QCOMPARE(d.twips, twips);
}

QTEST_GUILESS_MAIN(TestSizeTag)
#include "tst_sizetag.moc"
