// Finding the help file, the message when it is missing, the help window, and
// the help text itself (it has to speak of every menu entry).
#include "fakes.h"
#include "core/window/helpfile.h"
#include "ui/mainwindow/helpwindow.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

using namespace tb;

namespace {

QString helpText(const QString &marker)
{
    QString body;
    for (int i = 0; i < 200; ++i)
        body += QStringLiteral("<p>行 %1</p>\n").arg(i);
    return QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><h1>%1</h1>%2</body></html>")
        .arg(marker, body);
}

} // namespace

class TestHelpFile : public QObject {
    Q_OBJECT
private slots:
    void candidatesFollowTheProgram();
    void lookup_data();
    void lookup();
    void missingMessageNamesEveryPath();
    void showHelpReportsAMissingFile();
    void showHelpOpensAtTheBeginning();
    void helpTextSpeaksOfEveryMenuEntry();
};

void TestHelpFile::candidatesFollowTheProgram()
{
    const QStringList c = helpFileCandidates(QStringLiteral("/opt/tembra/bin"));
    QCOMPARE(c, QStringList({ "/opt/tembra/bin/tembra.hlp", "/opt/tembra/share/tembra/tembra.hlp" }));
    // A trailing separator changes nothing.
    QCOMPARE(helpFileCandidates(QStringLiteral("/usr/bin/")),
             QStringList({ "/usr/bin/tembra.hlp", "/usr/share/tembra/tembra.hlp" }));
}

void TestHelpFile::lookup_data()
{
    QTest::addColumn<bool>("inOwnFolder");
    QTest::addColumn<bool>("ownIsAFolder");
    QTest::addColumn<bool>("inDataFolder");
    QTest::addColumn<int>("expected"); // index into the candidates; -1 for none
    QTest::addColumn<int>("triedCount");
    QTest::newRow("own folder only") << true << false << false << 0 << 1;
    QTest::newRow("own folder wins") << true << false << true << 0 << 1;
    QTest::newRow("installed data folder") << false << false << true << 1 << 2;
    QTest::newRow("a folder of that name is skipped") << false << true << true << 1 << 2;
    QTest::newRow("neither") << false << false << false << -1 << 2;
}

void TestHelpFile::lookup()
{
    QFETCH(bool, inOwnFolder);
    QFETCH(bool, ownIsAFolder);
    QFETCH(bool, inDataFolder);
    QFETCH(int, expected);
    QFETCH(int, triedCount);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString bin = root.filePath("bin");
    QVERIFY(QDir().mkpath(bin));
    if (inOwnFolder)
        QVERIFY(writeFile(bin + "/tembra.hlp", "own"));
    if (ownIsAFolder)
        QVERIFY(QDir().mkpath(bin + "/tembra.hlp"));
    if (inDataFolder)
        QVERIFY(writeFile(root.filePath("share/tembra/tembra.hlp"), "installed"));

    const QStringList candidates = helpFileCandidates(bin);
    const HelpLookup found = findHelpFile(bin);
    QCOMPARE(found.found, expected < 0 ? QString() : candidates[expected]);
    QCOMPARE(found.tried, candidates.mid(0, triedCount));
}

void TestHelpFile::missingMessageNamesEveryPath()
{
    const QStringList tried = { "/a/bin/tembra.hlp", "/a/share/tembra/tembra.hlp" };
    const QString text = missingHelpMessage(tried);
    QVERIFY(text.contains(QStringLiteral("tembra.hlp")));
    QVERIFY(text.contains(QStringLiteral("見つかりません")));
    for (const QString &p : tried)
        QVERIFY2(text.contains(QLatin1Char('\n') + p), qPrintable(p));
}

void TestHelpFile::showHelpReportsAMissingFile()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QWidget parent;
    RecordingMessenger messages;
    const QString bin = root.filePath("bin");
    QCOMPARE(showHelp(messages, &parent, bin), nullptr);
    QCOMPARE(messages.texts.size(), 1);
    QCOMPARE(messages.texts[0], missingHelpMessage(helpFileCandidates(bin)));
    QCOMPARE(messages.lastButtons, Messenger::Buttons::Ok);
    QVERIFY(parent.findChildren<HelpWindow *>().isEmpty()); // and nothing else happened
}

void TestHelpFile::showHelpOpensAtTheBeginning()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString bin = root.filePath("bin");
    const QString file = bin + "/tembra.hlp";
    QVERIFY(writeFile(file, helpText(QStringLiteral("はじめ")).toUtf8()));
    QWidget parent;
    RecordingMessenger messages;

    HelpWindow *w = showHelp(messages, &parent, bin);
    QVERIFY(w);
    QVERIFY(messages.texts.isEmpty());
    QVERIFY(w->isVisible());
    QCOMPARE(w->browser()->source(), QUrl::fromLocalFile(file));
    // Shown as HTML although the name does not say so: no tags in the text.
    QVERIFY(w->browser()->toPlainText().startsWith(QStringLiteral("はじめ")));
    QVERIFY(!w->browser()->toPlainText().contains(QStringLiteral("<h1>")));

    // Scrolled away and opened again: the same window, at the top, with the file as it is now.
    w->resize(300, 200);
    QScrollBar *bar = w->browser()->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum());
    QVERIFY(writeFile(file, helpText(QStringLiteral("あらため")).toUtf8()));
    QCOMPARE(showHelp(messages, &parent, bin), w);
    QCOMPARE(parent.findChildren<HelpWindow *>().size(), 1);
    QCOMPARE(bar->value(), 0);
    QVERIFY(w->browser()->toPlainText().startsWith(QStringLiteral("あらため")));
}

void TestHelpFile::helpTextSpeaksOfEveryMenuEntry()
{
    const QString path = QFINDTESTDATA("../resources/help/tembra.hlp");
    QVERIFY(!path.isEmpty());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(f.readAll()));
    const QString text = doc.toPlainText();
    // Captions as the menu shows them (without their padding, and "&X"
    // shown as the underlined letter it makes).
    const QStringList captions = {
        "時計の設定", "追加", "編集", "削除", "オプション", "色の変更", "世界地図の変更",
        "デフォルト", "白地図", "グレイ", "ブルー", "デザート", "ダーク", "タイムゾーン",
        "画像ファイルから", "時計のサイズ", "特 600", "大 440", "中 300", "小 250", "微 180",
        "イラストの境界線", "あり", "なし", "夏時間：共通の規則（4月第1日曜～10月最終日曜）", "夏時間：各地の規則", "昼と夜を表示",
        "タスクバーへ(T)", "終了(X)", "ヘルプ",
        // the editor, the chooser and the colour dialog by their own captions
        "デジタル時計の追加", "SummerTime導入地区", "イラスト、写真の選択", "決定", "キャンセル",
        "画像ファイルの選択", "ファイルの種類", "表示色の選択", "登録", "配色例", "長針、短針", "目盛",
        "色相", "彩度", "光度" };
    for (const QString &c : captions)
        QVERIFY2(text.contains(c), qPrintable(c));
    // Every picture it shows is shipped beside it.
    const QRegularExpression img(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
    f.seek(0);
    const QString html = QString::fromUtf8(f.readAll());
    int pictures = 0;
    for (auto it = img.globalMatch(html); it.hasNext(); ++pictures) {
        const QString src = it.next().captured(1);
        QVERIFY2(QFileInfo::exists(QFileInfo(path).dir().filePath(src)), qPrintable(src));
    }
    QVERIFY(pictures >= 1);
}

QTEST_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
