// The design font name resolves to an installed Japanese font that has every
// glyph the program shows, half-width katakana and full-width spaces included.
#include "ui/common/fonts.h"
#include "ui/common/messagedialog.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QtTest>

using namespace tb;

class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }
    void resolvesToJapaneseGothic();
    void hasEveryGlyph_data();
    void hasEveryGlyph();
    void qtsOwnButtonsSpeakJapanese();
};

void TestFonts::resolvesToJapaneseGothic()
{
    const QFontInfo info(designFont(9));
    QVERIFY2(designFontSubstitutes().contains(info.family()), qPrintable(info.family()));
}

void TestFonts::hasEveryGlyph_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("caption with full-width space") << QStringLiteral("テンブラ　ver 1.0");
    QTest::newRow("weekdays") << QStringLiteral("12/8(日月火水木金土)");
    QTest::newRow("half-width katakana") << QStringLiteral("-12:00 ｴﾆｳｪﾄｸ、ｸｴｼﾞｪﾘﾝ ﾆｭｰﾌｧﾝﾄﾞﾗﾝﾄﾞ");
    QTest::newRow("odd punctuation") << QStringLiteral("ｸﾞﾘﾆｯｼﾞ標準時；ﾀﾞﾌﾞﾘﾝ 北京、重慶､ｳﾙﾑﾁ");
    QTest::newRow("menus") << QStringLiteral("時計の設定 追加 編集 削除 オプション 色の変更 世界地図の変更 "
                                             "デフォルト 白地図 グレイ ブルー デザート ダーク タイムゾーン "
                                             "画像ファイルから 時計のサイズ 特大中小微 イラストの境界線 あり なし "
                                             "タスクバーへ(&T) 終了(&X)　　ヘルプ　　");
    QTest::newRow("messages") << QStringLiteral("対象となる時計、イラストをクリックしてください キャンセル "
                                                "の画像ファイルが見つかりません「時計の設定」、「編集」により、再び設定してください "
                                                "左上に追加された時計とイラストを希望する位置に移動させてください"
                                                "(ドラッグ＆ドロップによって、移動が可能です)");
}

void TestFonts::hasEveryGlyph()
{
    QFETCH(QString, text);
    const QRawFont raw = QRawFont::fromFont(designFont(9));
    QVERIFY(raw.isValid());
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    QCOMPARE(glyphs.size(), text.size());
    for (int i = 0; i < text.size(); ++i)
        QVERIFY2(glyphs[i] != 0, qPrintable(QStringLiteral("missing glyph for '%1' (U+%2)")
                                            .arg(text[i]).arg(text[i].unicode(), 4, 16, QLatin1Char('0'))));
}

void TestFonts::qtsOwnButtonsSpeakJapanese()
{
    QVERIFY(installQtTranslation(*QCoreApplication::instance()));
    QMessageBox box;
    QCOMPARE(box.addButton(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
