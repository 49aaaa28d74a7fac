#include "core/editor/builtinpictures.h"
#include "core/editor/picturestore.h"
#include "core/common/sizetag.h"
#include "fakes.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace tb;

namespace {

// Key and flag code of every built-in picture in store order, from the
// generator's key list (tools/flag-keys.tsv).
QList<QPair<QString, QString>> expectedKeys()
{
    QList<QPair<QString, QString>> out;
    QFile f(QFINDTESTDATA("../tools/flag-keys.tsv"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 1; i < lines.size(); ++i) { // line 0 is the header
        const QStringList cols = lines[i].split(QLatin1Char('\t'));
        out.append({cols.value(0), cols.value(1) == QLatin1String("-") ? QString() : cols.value(1)});
    }
    return out;
}

} // namespace

class TestPictureStore : public QObject {
    Q_OBJECT
private slots:
    void builtInKeysAndCodesInOrder();
    void builtInTags_data();
    void builtInTags();
    void builtInTagsNeverStretch();
    void builtInPictureSizes_data();
    void builtInPictureSizes();
    void unreadablePicturesGetPlaceholders();
    void decodedOnFirstUse_data();
    void decodedOnFirstUse();
    void undecodablePictureGetsPlaceholderOnFirstUse();
    void sharpPicturesTakeTheSameRoom();
    void sharpPictureChoice_data();
    void sharpPictureChoice();
    void findMissing_data();
    void findMissing();
    void addRefusals();
    void userKey_data();
    void userKey();
    void userSlotRoundTrip();
    void addUserAndReplace();
    void remove();
};

void TestPictureStore::builtInKeysAndCodesInOrder()
{
    const auto expected = expectedKeys();
    QCOMPARE(expected.size(), kBuiltInPictureCount);
    const PictureStore store = PictureStore::builtIn();
    QCOMPARE(store.count(), kBuiltInPictureCount);
    for (int i = 0; i < kBuiltInPictureCount; ++i) {
        QCOMPARE(store.at(i).key, expected[i].first);
        QCOMPARE(QString::fromLatin1(builtInPictures()[size_t(i)].iso), expected[i].second);
        QVERIFY2(!store.at(i).picture.isNull(), qPrintable(store.at(i).key));
    }
    // Keys that show the same flag share one file.
    QCOMPARE(store.find("UK")->picture, store.find("UnitedKingdom")->picture);
    QCOMPARE(store.find("Holland")->picture, store.find("Netherlands")->picture);
}

void TestPictureStore::builtInTags_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("tag");
    QTest::newRow("first") << 0 << "Afganistan" << "Afganistan";
    QTest::newRow("2nd untagged") << 1 << "Malta" << "";
    QTest::newRow("red dot") << 3 << "00RedPointer" << "";
    QTest::newRow("8th untagged") << 7 << "Indonesia" << "";
    QTest::newRow("9th") << 8 << "Albania" << "Albania";
    QTest::newRow("Algenia") << 9 << "Algenia" << "Albenia";
    QTest::newRow("Aandorra") << 10 << "Aandorra" << "Andorra";
    QTest::newRow("Angola") << 11 << "Angola" << "Angora";
    QTest::newRow("Cypros") << 43 << "Cypros" << "Cypros";
    QTest::newRow("49th") << 48 << "DominicanRep" << "DominicanRep";
    QTest::newRow("50th") << 49 << "Ecuador" << "";
    QTest::newRow("Japan") << 77 << "Japan" << "";
    QTest::newRow("last") << 162 << "Zimbabwe" << "";
}

void TestPictureStore::builtInTags()
{
    QFETCH(int, index);
    QFETCH(QString, key);
    QFETCH(QString, tag);
    const PictureStore store = PictureStore::builtIn();
    QCOMPARE(store.at(index).key, key);
    QCOMPARE(store.at(index).tag, tag);
    QCOMPARE(store.find(key)->tag, tag);
}

void TestPictureStore::builtInTagsNeverStretch()
{
    const PictureStore store = PictureStore::builtIn();
    int tagged = 0;
    for (int i = 0; i < store.count(); ++i) {
        const PictureEntry &e = store.at(i);
        if (!e.tag.isEmpty()) {
            ++tagged;
            QVERIFY2(i == 0 || (i >= 8 && i <= 48), qPrintable(e.key));
        }
        const PictureDisplay d = pictureDisplay(e.picture, e.tag);
        QVERIFY2(!d.stretched, qPrintable(e.key));
        QCOMPARE(d.twips, e.picture.size() * kTwipsPerPixel);
    }
    QCOMPARE(tagged, 42);
}

void TestPictureStore::builtInPictureSizes_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QSize>("size");
    QTest::newRow("Japan") << "Japan" << QSize(42, 28);
    QTest::newRow("Nepal") << "Nepal" << QSize(28, 35);
    QTest::newRow("red dot") << "00RedPointer" << QSize(16, 16);
}

void TestPictureStore::builtInPictureSizes()
{
    if (!QFile::exists(QStringLiteral(":/flags/jp.png")))
        QSKIP("flag pictures are not compiled in");
    QFETCH(QString, key);
    QFETCH(QSize, size);
    const PictureStore store = PictureStore::builtIn();
    QCOMPARE(store.find(key)->picture.size(), size);
    for (int i = 0; i < store.count(); ++i) {
        const QImage &p = store.at(i).picture;
        if (store.at(i).key == QLatin1String("00RedPointer"))
            continue;
        QVERIFY2(p.height() == 28 || store.at(i).key == QLatin1String("Nepal"), qPrintable(store.at(i).key));
        QVERIFY2(p.width() >= 28 && p.width() <= 75, qPrintable(store.at(i).key));
    }
}

void TestPictureStore::unreadablePicturesGetPlaceholders()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(solidPicture(30, 20).save(dir.filePath("jp.png")));
    QFile broken(dir.filePath("np.png"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("missing(?!.*jp\\.png)(?=.*np\\.png)(?=.*redpointer\\.png)"));
    const PictureStore store = PictureStore::builtIn(dir.path());
    QCOMPARE(store.count(), kBuiltInPictureCount);
    QCOMPARE(store.find("Japan")->picture.size(), QSize(30, 20));
    QCOMPARE(store.find("Japan")->picture.pixelColor(0, 0), QColor(Qt::red));
    const QImage &nepal = store.find("Nepal")->picture;
    QCOMPARE(nepal.size(), QSize(42, 28));
    QCOMPARE(nepal.pixelColor(5, 5).alpha(), 0);
    QCOMPARE(store.find("00RedPointer")->picture.size(), QSize(16, 16));
}

// Pictures are decoded when first asked for: what find() and at() hand out
// must be the very picture an eager load gives, whichever key of a shared
// file comes first, and keys that show one file share its data.
void TestPictureStore::decodedOnFirstUse_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("plain") << 1.0 << QStringList{"UK", "UnitedKingdom", "Japan", "00RedPointer", "Nepal"};
    QTest::newRow("second key of a file first") << 1.0 << QStringList{"UnitedKingdom", "Netherlands", "UK", "Holland"};
    QTest::newRow("sharp") << 2.0 << QStringList{"Holland", "Japan", "Netherlands", "00RedPointer"};
}

void TestPictureStore::decodedOnFirstUse()
{
    if (!QFile::exists(QStringLiteral(":/flags/jp.png")))
        QSKIP("flag pictures are not compiled in");
    QFETCH(qreal, ratio);
    QFETCH(QStringList, order);
    const QString folder = QString::fromLatin1(PictureStore::kBuiltInFolder);
    const PictureStore store = PictureStore::builtIn(folder, ratio);
    QHash<QString, qint64> dataOfFile;
    for (const QString &key : order) {
        const auto &all = builtInPictures();
        const auto b = std::find_if(all.begin(), all.end(),
                                    [&](const BuiltInPicture &p) { return key == QLatin1String(p.key); });
        QVERIFY(b != all.end());
        const QString file = builtInPictureFile(*b);
        const QImage eager = loadBuiltInPicture(folder + QLatin1Char('/') + file, ratio);
        const PictureEntry *e = store.find(key);
        QVERIFY(e);
        QCOMPARE(e->picture, eager);
        QCOMPARE(e->picture.devicePixelRatio(), eager.devicePixelRatio());
        QCOMPARE(&store.at(int(b - all.begin())), e);
        if (dataOfFile.contains(file))
            QCOMPARE(e->picture.cacheKey(), dataOfFile.value(file));
        dataOfFile.insert(file, e->picture.cacheKey());
    }
}

// A file whose header reads but whose data is cut off passes the start-up
// check; it must still give its blank stand-in, when first asked for.
void TestPictureStore::undecodablePictureGetsPlaceholderOnFirstUse()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(solidPicture(30, 20).save(&buffer, "PNG"));
    QFile cut(dir.filePath("jp.png"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(png.left(png.size() / 2));
    cut.close();

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("missing from(?!.*jp\\.png)"));
    const PictureStore store = PictureStore::builtIn(dir.path());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("jp\\.png missing"));
    const QImage &japan = store.find("Japan")->picture;
    QCOMPARE(japan.size(), QSize(42, 28));
    QCOMPARE(japan.pixelColor(5, 5).alpha(), 0);
}

// At a device pixel ratio of 2 every built-in picture comes from its "@2x"
// file: twice the pixels, the same room on screen and in twips.
void TestPictureStore::sharpPicturesTakeTheSameRoom()
{
    if (!QFile::exists(QStringLiteral(":/flags/jp.png")))
        QSKIP("flag pictures are not compiled in");
    const PictureStore plain = PictureStore::builtIn(QString::fromLatin1(PictureStore::kBuiltInFolder), 1.0);
    const PictureStore sharp = PictureStore::builtIn(QString::fromLatin1(PictureStore::kBuiltInFolder), 2.0);
    QCOMPARE(sharp.keys(), plain.keys());
    for (int i = 0; i < sharp.count(); ++i) {
        const QImage &p = plain.at(i).picture;
        const QImage &s = sharp.at(i).picture;
        const QByteArray key = sharp.at(i).key.toUtf8();
        QCOMPARE(p.devicePixelRatio(), 1.0);
        QVERIFY2(s.devicePixelRatio() == 2.0, key);
        QVERIFY2(s.size() == p.size() * 2, key);
        QVERIFY2(s.deviceIndependentSize() == QSizeF(p.size()), key);
        QVERIFY2(pictureDisplay(s, sharp.at(i).tag).twips == pictureDisplay(p, plain.at(i).tag).twips, key);
    }
    QCOMPARE(sharp.find("Japan")->picture.size(), QSize(84, 56));
    // Same picture, only finer: the middle of Japan's flag is red in both.
    const QColor mid = sharp.find("Japan")->picture.pixelColor(42, 28);
    QVERIFY(mid.red() > 150 && mid.green() < 60);
}

void TestPictureStore::sharpPictureChoice_data()
{
    QTest::addColumn<bool>("withBig");
    QTest::addColumn<bool>("bigBroken");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("expectedRatio");
    QTest::newRow("ratio 1 ignores @2x") << true << false << 1.0 << QSize(30, 20) << 1.0;
    QTest::newRow("ratio 2 takes @2x") << true << false << 2.0 << QSize(60, 40) << 2.0;
    QTest::newRow("ratio 1.5 takes @2x") << true << false << 1.5 << QSize(60, 40) << 2.0;
    QTest::newRow("no @2x: the ordinary one") << false << false << 2.0 << QSize(30, 20) << 1.0;
    QTest::newRow("broken @2x: the ordinary one") << true << true << 2.0 << QSize(30, 20) << 1.0;
}

void TestPictureStore::sharpPictureChoice()
{
    QFETCH(bool, withBig);
    QFETCH(bool, bigBroken);
    QFETCH(qreal, ratio);
    QFETCH(QSize, size);
    QFETCH(qreal, expectedRatio);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(solidPicture(30, 20).save(dir.filePath("jp.png")));
    if (withBig) {
        QFile big(dir.filePath("jp@2x.png"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        if (bigBroken)
            big.write("not a picture");
        else
            QVERIFY(solidPicture(60, 40).save(&big, "PNG"));
    }
    const QImage img = loadBuiltInPicture(dir.filePath("jp.png"), ratio);
    QCOMPARE(img.size(), size);
    QCOMPARE(img.devicePixelRatio(), expectedRatio);
    QCOMPARE(img.deviceIndependentSize(), QSizeF(30, 20));
}

void TestPictureStore::findMissing_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("unknown") << "Atlantis";
    QTest::newRow("empty") << "";
    QTest::newRow("null") << QString();
    QTest::newRow("other case") << "japan";
    QTest::newRow("corrected spelling") << "Vietnam";
    QTest::newRow("user slot not added") << "001User";
}

void TestPictureStore::findMissing()
{
    QFETCH(QString, key);
    const PictureStore store = PictureStore::builtIn();
    QVERIFY(store.find(key) == nullptr);
    QVERIFY(!store.contains(key));
}

void TestPictureStore::addRefusals()
{
    PictureStore store;
    QVERIFY(!store.add(QString(), solidPicture(4, 4)));
    QVERIFY(!store.add("Pic", QImage()));
    QCOMPARE(store.count(), 0);
    QVERIFY(store.add("Pic", solidPicture(4, 4), "nn0060-0060"));
    QVERIFY(!store.add("Pic", solidPicture(8, 8), "other"));
    QCOMPARE(store.count(), 1);
    QCOMPARE(store.find("Pic")->picture.size(), QSize(4, 4));
    QCOMPARE(store.find("Pic")->tag, QString("nn0060-0060"));
}

void TestPictureStore::userKey_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("key");
    QTest::newRow("0") << 0 << "";
    QTest::newRow("1") << 1 << "001User";
    QTest::newRow("7") << 7 << "007User";
    QTest::newRow("12") << 12 << "012User";
    QTest::newRow("999") << 999 << "999User";
    QTest::newRow("1000") << 1000 << "";
    QTest::newRow("-1") << -1 << "";
}

void TestPictureStore::userKey()
{
    QFETCH(int, slot);
    QFETCH(QString, key);
    QCOMPARE(PictureStore::userKey(slot), key);

    PictureStore store;
    QCOMPARE(store.addUser(slot, solidPicture(2, 2), "nn0030-0030"), !key.isEmpty());
    QCOMPARE(store.count(), key.isEmpty() ? 0 : 1);
    if (!key.isEmpty())
        QCOMPARE(store.at(0).key, key);
}

void TestPictureStore::userSlotRoundTrip()
{
    for (int slot = 1; slot <= PictureStore::kMaxUserSlot; ++slot)
        QCOMPARE(PictureStore::userSlot(PictureStore::userKey(slot)), slot);
    for (const char *key : {"000User", "7User", "1007User", "007user", "00RedPointer", "12xUser", ""})
        QCOMPARE(PictureStore::userSlot(QString::fromLatin1(key)), 0);
}

void TestPictureStore::addUserAndReplace()
{
    PictureStore store = PictureStore::builtIn();
    QVERIFY(!store.addUser(3, QImage(), "nn0030-0030"));
    QVERIFY(store.addUser(3, solidPicture(10, 10), "nn0150-0150"));
    QVERIFY(store.addUser(5, solidPicture(20, 20), "st1200-0600"));
    QCOMPARE(store.count(), kBuiltInPictureCount + 2);
    QCOMPARE(store.at(kBuiltInPictureCount).key, QString("003User"));

    // The slot handed out again: same place, new picture and tag.
    QVERIFY(store.addUser(3, solidPicture(30, 15), "st0900-0450"));
    QCOMPARE(store.count(), kBuiltInPictureCount + 2);
    QCOMPARE(store.at(kBuiltInPictureCount).key, QString("003User"));
    QCOMPARE(store.find("003User")->picture.size(), QSize(30, 15));
    QCOMPARE(store.find("003User")->tag, QString("st0900-0450"));
    // A plain add of an existing key still refuses.
    QVERIFY(!store.add("005User", solidPicture(1, 1)));
    QCOMPARE(store.find("005User")->picture.size(), QSize(20, 20));
}

void TestPictureStore::remove()
{
    PictureStore store = PictureStore::builtIn();
    QVERIFY(store.addUser(1, solidPicture(2, 2), QString()));
    QVERIFY(store.remove("001User"));
    QVERIFY(!store.remove("001User"));
    QVERIFY(store.remove("Malta"));
    QCOMPARE(store.count(), kBuiltInPictureCount - 1);
    QVERIFY(store.find("Malta") == nullptr);
    QCOMPARE(store.at(1).key, QString("Mauritania"));
    QVERIFY(!store.remove(QString()));
}

QTEST_GUILESS_MAIN(TestPictureStore)
#include "tst_picturestore.moc"
