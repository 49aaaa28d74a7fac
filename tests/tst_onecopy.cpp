#include "app/onecopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tb;

// Two starts meet only when they name the same socket: the same file, however
// it is reached, and never two different files.
class TestOneCopy : public QObject {
    Q_OBJECT
private slots:
    void oneSocketPerFile_data()
    {
        QTest::addColumn<QString>("other"); // relative to the temporary folder
        QTest::addColumn<bool>("same");
        QTest::newRow("the file itself") << "real/TembraOG.ini" << true;
        QTest::newRow("a link to the file") << "link.ini" << true;
        QTest::newRow("the file in a linked folder") << "linked/TembraOG.ini" << true;
        QTest::newRow("another file beside it") << "real/Other.ini" << false;
        QTest::newRow("a dangling link") << "dangling.ini" << false;
    }
    void oneSocketPerFile()
    {
        QFETCH(QString, other);
        QFETCH(bool, same);
        QTemporaryDir dir;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        QVERIFY(QDir(dir.path()).mkpath("real"));
        const QString file = dir.filePath("real/TembraOG.ini");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(QFile::link(file, dir.filePath("link.ini")));
        QVERIFY(QFile::link(dir.filePath("real"), dir.filePath("linked")));
        QVERIFY(QFile::link(dir.filePath("gone.ini"), dir.filePath("dangling.ini")));
        const QString name = OneCopy::socketName(file);
        QVERIFY(name.startsWith(dir.path() + "/tembra-"));
        QCOMPARE(OneCopy::socketName(dir.filePath(other)) == name, same);
    }
};

QTEST_GUILESS_MAIN(TestOneCopy)
#include "tst_onecopy.moc"
