#include "core/settings/schema.h"
#include "core/settings/settingsstore.h"
#include "core/time/clocksource.h"
#include "settings_testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

using namespace tb;
using tb::testing::TempStore;

class TestSettingsStore : public QObject {
    Q_OBJECT

private slots:
    void perUserFileFollowsConfigHome();
    void missingValueStoresFallback_data();
    void missingValueStoresFallback();
    void writeGoesToTheSectionNamed();
    void textSurvivesRestart_data();
    void textSurvivesRestart();
    void handEditedValuesReadAsText_data();
    void handEditedValuesReadAsText();
    void removeTakesOnlyThatKey();
    void eachWriteReachesDiskAtOnce();
    void groupWritesFileOnceAtEnd();
    void saveIsWholeOrNothing_data();
    void saveIsWholeOrNothing();
    void storeRecoversAfterFailedWrite();
    void setAsideKeepsEveryBadFile();
    void observerSeesWritesInOrder();
};

void TestSettingsStore::perUserFileFollowsConfigHome()
{
    SettingsStore r;
    QCOMPARE(r.settingsFilePath(), QString()); // no application yet: nowhere to write
    r.setApplicationName(QStringLiteral("TembraOG"));
    const QString expected = QDir(tb::testing::redirectedConfigHome().path())
                                 .filePath(QStringLiteral("TembraOG/TembraOG.ini"));
    QCOMPARE(r.settingsFilePath(), expected);

    r.setValue(QStringLiteral("UserClock"), QStringLiteral("ClockRc"), QStringLiteral("300"));
    QVERIFY(r.lastWriteOk());
    QVERIFY(QFileInfo::exists(expected));
    QVERIFY(QFile::remove(expected));

    // An explicit file wins over the application name, and clearing it goes back.
    QTemporaryDir dir;
    const QString own = dir.filePath(QStringLiteral("own.ini"));
    r.setSettingsFile(own);
    QCOMPARE(r.settingsFilePath(), own);
    r.setSettingsFile(QString());
    QCOMPARE(r.settingsFilePath(), expected);

    // Without HOME, the home folder is the account's own, not "/".
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    qunsetenv("XDG_CONFIG_HOME");
    const QString withoutHome = r.settingsFilePath();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    QCOMPARE(withoutHome, QFile::decodeName(::getpwuid(::geteuid())->pw_dir) + "/.config/TembraOG/TembraOG.ini");
}

void TestSettingsStore::missingValueStoresFallback_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("expected");

    QTest::newRow("missing key gets default") << QByteArray() << "UserClock" << "ClockRc" << "440" << "440";
    QTest::newRow("missing key, empty default") << QByteArray() << "UserClock" << "n" << "" << "";
    QTest::newRow("stored empty text counts as missing")
        << QByteArray("[UserClock]\nClockRc=\n") << "UserClock" << "ClockRc" << "440" << "440";
    QTest::newRow("stored value wins") << QByteArray("[UserClock]\nClockRc=300\n") << "UserClock"
                                       << "ClockRc" << "440" << "300";
    QTest::newRow("other section does not count")
        << QByteArray("[Color]\nClockRc=300\n") << "UserClock" << "ClockRc" << "440" << "440";
    QTest::newRow("keys are case-sensitive")
        << QByteArray("[UserClock]\nclockrc=300\n") << "UserClock" << "ClockRc" << "440" << "440";
    QTest::newRow("blank is not empty") << QByteArray("[UserClock]\nn=\" \"\n") << "UserClock" << "n"
                                        << "" << " ";
}

void TestSettingsStore::missingValueStoresFallback()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, fallback);
    QFETCH(QString, expected);

    TempStore store;
    if (!file.isEmpty())
        store.writeRaw(file);
    QCOMPARE(valueOrStoreFallback(section, key, fallback), expected);

    // The value is now in the file itself, empty defaults included.
    const QString sk = section + QLatin1Char('/') + key;
    QVERIFY2(store.keysOnDisk().contains(sk), qPrintable(store.keysOnDisk().join(',')));
    QCOMPARE(store.onDisk(sk).toString(), expected);
}

void TestSettingsStore::writeGoesToTheSectionNamed()
{
    TempStore store;
    appSettings().setValue(QStringLiteral("Color"), QStringLiteral("6"), QStringLiteral("14737632"));
    QCOMPARE(store.onDisk(QStringLiteral("Color/6")).toString(), QStringLiteral("14737632"));

    // A write after a read of another section goes where it names, not to the last section used.
    QCOMPARE(valueOrStoreFallback(QStringLiteral("UserImg"), QStringLiteral("UserImgCount"), QStringLiteral("0")),
             QStringLiteral("0"));
    appSettings().setValue(QStringLiteral("UserImg"), QStringLiteral("001FileName"), QStringLiteral("a.bmp"));
    QCOMPARE(store.onDisk(QStringLiteral("UserImg/001FileName")).toString(), QStringLiteral("a.bmp"));
    QVERIFY(!store.keysOnDisk().contains(QStringLiteral("Color/001FileName")));
}

void TestSettingsStore::textSurvivesRestart_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("japanese") << QStringLiteral("日本（東京）ﾃﾝﾌﾞﾗ");
    QTest::newRow("comma") << QStringLiteral("London, Paris");
    QTest::newRow("comma no space") << QStringLiteral("a,b,,c,");
    QTest::newRow("quotes") << QStringLiteral("\"quoted\" and 'single'");
    QTest::newRow("windows path") << QStringLiteral("C:\\Users\\ｔａｒｏ\\My Pictures\\flag.bmp");
    QTest::newRow("trailing backslash") << QStringLiteral("D:\\maps\\");
    QTest::newRow("spaces around") << QStringLiteral("  padded  ");
    QTest::newRow("only spaces") << QStringLiteral("   ");
    QTest::newRow("at sign") << QStringLiteral("@Invalid()");
    QTest::newRow("at byte array") << QStringLiteral("@ByteArray(x)");
    QTest::newRow("lone at") << QStringLiteral("@");
    QTest::newRow("equals and semicolon") << QStringLiteral("a=b; c#d");
    QTest::newRow("line breaks") << QStringLiteral("one\r\ntwo\tthree");
    QTest::newRow("percent and brackets") << QStringLiteral("[UC000] 100%");
    QTest::newRow("long") << QString(5000, QChar(0x6642));
}

void TestSettingsStore::textSurvivesRestart()
{
    QFETCH(QString, value);
    TempStore store;
    appSettings().setValue(QStringLiteral("UC000"), QStringLiteral("Fname"), value);
    QVERIFY(appSettings().lastWriteOk());

    store.restart();
    QCOMPARE(valueOrStoreFallback(QStringLiteral("UC000"), QStringLiteral("Fname"), QStringLiteral("default")), value);
    // Any other reader of the file sees the same text, as a text.
    const QVariant v = store.onDisk(QStringLiteral("UC000/Fname"));
    QCOMPARE(v.typeId(), int(QMetaType::QString));
    QCOMPARE(v.toString(), value);
}

void TestSettingsStore::handEditedValuesReadAsText_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unquoted comma list") << QByteArray("Fname=London, Paris") << "London, Paris";
    QTest::newRow("quoted comma") << QByteArray("Fname=\"London, Paris\"") << "London, Paris";
    QTest::newRow("utf-8") << QByteArray("Fname=日本") << "日本";
    QTest::newRow("escaped unicode") << QByteArray("Fname=\\x65e5\\x672c") << "日本";
    QTest::newRow("byte array") << QByteArray("Fname=@ByteArray(abc)") << "abc";
    QTest::newRow("invalid marker") << QByteArray("Fname=@Invalid()") << "";
    QTest::newRow("unknown variant") << QByteArray("Fname=@Variant(\\0\\0\\0\\x7f\\0)") << "";
    QTest::newRow("spaces trimmed by the format") << QByteArray("Fname=   x   ") << "x";
    QTest::newRow("CRLF file") << QByteArray("Fname=abc\r") << "abc";
}

void TestSettingsStore::handEditedValuesReadAsText()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);
    TempStore store;
    store.writeRaw("[UC000]\r\n" + line + "\nOther=1\n");
    SettingsStore &r = appSettings();
    QCOMPARE(r.value(QStringLiteral("UC000"), QStringLiteral("Fname")), expected);
    QCOMPARE(QSettings::Status(r.readStatus()), QSettings::NoError);
}

void TestSettingsStore::removeTakesOnlyThatKey()
{
    TempStore store;
    store.writeRaw("[UserImg]\n001FileName=a.bmp\n001Size=st0100-0100\n[UC000]\nFname=x\n");
    SettingsStore &r = appSettings();
    r.remove(QStringLiteral("UserImg"), QStringLiteral("001FileName"));
    QVERIFY(r.lastWriteOk());
    QStringList keys = store.keysOnDisk();
    QVERIFY(!keys.contains(QStringLiteral("UserImg/001FileName")));
    QVERIFY(keys.contains(QStringLiteral("UserImg/001Size")));

    // A key spelled like a section never takes the whole section with it.
    r.remove(QString(), QStringLiteral("UC000"));
    QVERIFY(store.keysOnDisk().contains(QStringLiteral("UC000/Fname")));
}

void TestSettingsStore::eachWriteReachesDiskAtOnce()
{
    TempStore store;
    appSettings().setValue(QStringLiteral("UserClock"), QStringLiteral("n"), QStringLiteral("3"));
    QVERIFY(store.raw().contains("n=3"));
    valueOrStoreFallback(QStringLiteral("UserClock"), QStringLiteral("ClockRc"), QStringLiteral("440"));
    QVERIFY(store.raw().contains("ClockRc=440"));
}

void TestSettingsStore::groupWritesFileOnceAtEnd()
{
    TempStore store;
    {
        SettingsWriteGroup group;
        appSettings().setValue(QStringLiteral("Color"), QStringLiteral("0"), QStringLiteral("1"));
        {
            SettingsWriteGroup inner;
            appSettings().setValue(QStringLiteral("Color"), QStringLiteral("2"), QStringLiteral("2"));
            QVERIFY(inner.end());
        }
        QVERIFY(!store.raw().contains("0=1")); // inner groups do not flush
        // Reads inside the group see the pending values.
        QCOMPARE(valueOrStoreFallback(QStringLiteral("Color"), QStringLiteral("2"), QStringLiteral("x")),
                 QStringLiteral("2"));
        QVERIFY(group.end());
    }
    const QByteArray raw = store.raw();
    QVERIFY(raw.contains("0=1"));
    QVERIFY(raw.contains("2=2"));
}

void TestSettingsStore::saveIsWholeOrNothing_data()
{
    QTest::addColumn<QString>("setup"); // what stands at and beside the settings file
    QTest::addColumn<bool>("sound");    // read as a sound file
    QTest::addColumn<bool>("writes");   // a save replaces the file
    // What the start-up check does first: nothing ("" skips it), "quiet",
    // "aside" (keeps a .bad- copy) or "told" (says why, renames nothing).
    QTest::addColumn<QString>("start");
    QTest::newRow("folder is a regular file") << "parent-file" << true << false << "";
    QTest::newRow("settings file is a folder") << "file-dir" << false << false << "";
    QTest::newRow("pipe") << "fifo" << false << false << "";
    QTest::newRow("symlink loop") << "loop" << false << false << "told";
    QTest::newRow("link to a file") << "link" << true << true << "quiet";
    QTest::newRow("dangling link") << "dangling-link" << false << false << "told";
    QTest::newRow("link to a folder") << "link-dir" << false << false << "told";
    QTest::newRow("unreadable file") << "unreadable" << false << false << "told";
    QTest::newRow("lock is a folder") << "lock-dir" << true << true << "";
    QTest::newRow("empty lock") << "lock-empty" << true << true << "";
    QTest::newRow("lock of another host") << "lock-host" << true << true << "";
    QTest::newRow("full disk, 20 KB free") << "full" << true << false << "";
    QTest::newRow("stale lock, read-only folder") << "stale-ro" << true << false << "";
    QTest::newRow("byte-order mark") << "bom" << true << true << "quiet";
    QTest::newRow("comment lines") << "comments" << true << true << "quiet";
    QTest::newRow("lines without =") << "junk" << true << true << "quiet";
    QTest::newRow("binary noise") << "noise" << false << true << "aside";
    QTest::newRow("over 16 MB") << "huge" << false << true << "aside";
    QTest::newRow("left-over temporary files") << "leftover" << true << true << "quiet";
}

// Each row runs in a child process, so that a hang fails the row instead of
// stopping the test; the last two get a 64 KB tmpfs of their own.
void TestSettingsStore::saveIsWholeOrNothing()
{
    QFETCH(QString, setup);
    QFETCH(bool, sound);
    QFETCH(bool, writes);
    QFETCH(QString, start);
    const QString dir = qEnvironmentVariable("TEMBRA_CHILD_DIR");
    if (dir.isEmpty()) {
        QTemporaryDir folder;
        QStringList args{ QCoreApplication::applicationFilePath(),
                          QStringLiteral("saveIsWholeOrNothing:") + QTest::currentDataTag(), "-silent" };
        if (setup == "full" || setup == "stale-ro") {
            if (QProcess::execute("unshare", { "--user", "--map-root-user", "--mount", "true" }) != 0)
                QSKIP("user namespaces are refused here, so there is no small file system to fill");
            args = QStringList{ "--user", "--map-root-user", "--mount", "sh", "-c",
                                "mount -t tmpfs -o size=64k tmpfs \"$TEMBRA_CHILD_DIR\" && exec \"$@\"", "sh" } + args;
            args.prepend("unshare");
        }
        // Mode 000 keeps out anyone but root: as root, the row runs as nobody.
        if (setup == "unreadable" && ::geteuid() == 0) {
            const QStringList nobody{ "--reuid=65534", "--regid=65534", "--clear-groups", "--" };
            if (QProcess::execute("setpriv", nobody + QStringList{ "test", "-x", args.first() }) != 0)
                QSKIP("running as root, and the test cannot run as nobody (setpriv, or the build's folder)");
            QVERIFY(QFile::setPermissions(folder.path(), QFileDevice::Permissions(0x7777)));
            args = QStringList{ "setpriv" } + nobody + args;
        }
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TEMBRA_CHILD_DIR", folder.path());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(args.takeFirst(), args);
        QVERIFY2(child.waitForFinished(8000), "the program hung");
        QCOMPARE(child.exitCode(), 0);
        return;
    }
    const QString ini = dir + "/TembraOG.ini", other = dir + "/repo/elsewhere.ini";
    QByteArray before("[UserImg]\n"); // 600 picture slots, about 24 KB
    for (int slot = 1; slot <= 600; ++slot)
        before += QByteArray::number(1000 + slot).mid(1) + "FileName=/home/user/pictures/photo.jpg\n";
    const auto put = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && f.write(bytes) == bytes.size();
    };
    const QString host = QSysInfo::machineHostName();
    if (setup == "parent-file")
        QVERIFY(put(dir + "/plain", "not a folder"));
    QByteArray edited = before; // by hand, in an editor
    if (setup == "bom")
        edited.prepend("\xEF\xBB\xBF");
    if (setup == "comments")
        edited.prepend("# mine\n; note\n").insert(edited.indexOf("300FileName"), "# old=1\n  ; two\n");
    if (setup == "junk")
        edited.insert(edited.indexOf("300FileName"), "no equals sign\nsaid \"hi\n=3\n");
    if (setup == "noise")
        for (int i = 0; i < edited.size(); ++i)
            edited[i] = char(i * 7919 % 251);
    if (setup == "huge")
        edited += "; " + QByteArray(16 << 20, 'x') + "\n";
    const bool linked = setup == "loop" || setup.contains("link");
    QVERIFY(!linked || QDir().mkpath(dir + "/repo"));
    QVERIFY(put(setup == "link" ? other : ini, edited));
    if (setup == "unreadable")
        QVERIFY(QFile::setPermissions(ini, {}));
    if (setup == "leftover") // only the first two are named as ours; all but the second are a day old
        for (const char *name : { ".saving-Ab12Cd", ".saving-Zz99Yy", ".saving-toolong1", ".backup" }) {
            QVERIFY(put(ini + name, "[UserClock]\nn=9\n"));
            const utimbuf old{ ::time(nullptr) - 86400, ::time(nullptr) - 86400 };
            QVERIFY(QByteArray(name).contains("Zz") || ::utime(QFile::encodeName(ini + name).constData(), &old) == 0);
        }
    if (setup == "file-dir" || setup == "fifo" || (linked && setup != "link"))
        QVERIFY(QFile::remove(ini));
    if (setup == "file-dir" || setup == "lock-dir")
        QVERIFY(QDir().mkpath(setup == "file-dir" ? ini : ini + ".lock"));
    if (setup == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
    if (setup == "loop" || setup == "link")
        QVERIFY(QFile::link(setup == "loop" ? ini : "repo/elsewhere.ini", ini));
    if (setup == "dangling-link" || setup == "link-dir")
        QVERIFY(QFile::link(setup == "link-dir" ? dir + "/repo" : dir + "/gone/TembraOG.ini", ini));
    if (setup.startsWith("lock-") && setup != "lock-dir")
        QVERIFY(put(ini + ".lock", setup == "lock-empty" ? "" : "4242\ntembra\nanother-host\n"));
    if (setup == "full") { // room for the first 16 KB but not for the rest
        QVERIFY(put(dir + "/spare", QByteArray(5 * 4096, 's')));
        QVERIFY(!put(dir + "/filler", QByteArray(64 * 1024, 'f')));
        QVERIFY(QFile::remove(dir + "/spare"));
    }
    if (setup == "stale-ro") {
        QVERIFY(put(ini + ".lock", "99999999\ntst_settingsstore\n" + host.toUtf8() + "\n"));
        // The folder read-only, the file itself still writable.
        QCOMPARE(QProcess::execute("mount", { "--bind", ini, ini }), 0);
        QCOMPARE(QProcess::execute("mount", { "-o", "remount,bind,ro", dir }), 0);
    }
    const QString path = setup == "parent-file" ? dir + "/plain/TembraOG.ini" : ini;
    appSettings().setSettingsFile(path);
    QElapsedTimer took;
    took.start();
    QCOMPARE(appSettings().readStatus() == QSettings::NoError, sound);
    if (!start.isEmpty()) {
        RecordingMessenger told;
        openSettings(told.report(), FixedClock());
        QCOMPARE(told.texts.size(), start == "quiet" ? 0 : 1);
        QCOMPARE(QDir(dir).entryList({ "*.bad-*" }, QDir::AllEntries | QDir::System).size(), start == "aside" ? 1 : 0);
        if (start == "told") // which file, and why
            QVERIFY2(told.texts[0].contains(ini) && told.texts[0].contains(setup == "unreadable" ? "許可" : "リンク"),
                     qPrintable(told.texts[0]));
    }
    appSettings().setValue(QStringLiteral("UserClock"), QStringLiteral("n"), QStringLiteral("1"));
    QCOMPARE(appSettings().lastWriteOk(), writes);
    SettingsWriteGroup group;
    appSettings().setValue(QStringLiteral("UserClock"), QStringLiteral("n"), QStringLiteral("2"));
    appSettings().setValue(QStringLiteral("UserClock"), QStringLiteral("ClockRc"), QStringLiteral("300"));
    QCOMPARE(group.end(), writes);
    QVERIFY2(took.elapsed() < 1500, qPrintable(QString::number(took.elapsed())));
    if (writes) {
        const QSettings saved(path, QSettings::IniFormat);
        QCOMPARE(saved.value("UserClock/n").toString(), QStringLiteral("2"));
        if (sound) // every slot read, around what was skipped
            QCOMPARE(saved.value("UserImg/600FileName").toString(), QStringLiteral("/home/user/pictures/photo.jpg"));
        QCOMPARE(QFileInfo(ini).isSymLink(), setup == "link");
        QStringList left = QDir(dir).entryList({ "*.saving-*", "*.backup" }, QDir::AllEntries | QDir::System)
            + QDir(dir + "/repo").entryList({ "*.saving-*" });
        left.sort();
        const QStringList notOursOrNew{ "TembraOG.ini.backup", "TembraOG.ini.saving-Zz99Yy",
                                        "TembraOG.ini.saving-toolong1" };
        QCOMPARE(left, setup == "leftover" ? notOursOrNew : QStringList());
        return;
    }
    // Why the save failed, as the user is told.
    const QMap<QString, QString> why{ { "full", "ディスクがいっぱい" }, { "stale-ro", "読み取り専用" },
                                      { "parent-file", "フォルダーではないもの" } };
    QVERIFY2(settingsNotSavedMessage().contains(why.value(setup, "。")), qPrintable(settingsNotSavedMessage()));
    if (setup == "unreadable") { // left exactly as it was
        QCOMPARE(QFile::permissions(ini), QFileDevice::Permissions());
        QVERIFY(QFile::setPermissions(ini, QFileDevice::ReadOwner));
    }
    QFile kept(path); // never a pipe
    if (QFileInfo(kept).isFile()) {
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), before);
    }
    QCOMPARE(QFileInfo(path).isFile(), setup == "unreadable" || setup == "full" || setup == "stale-ro");
    QCOMPARE(QFileInfo(ini).isSymLink(), linked);
}

void TestSettingsStore::storeRecoversAfterFailedWrite()
{
    TempStore store;
    const QString folder = store.dir() + QStringLiteral("/later");
    {
        QFile f(folder);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const QString path = folder + QStringLiteral("/TembraOG.ini");
    appSettings().setSettingsFile(path);
    appSettings().setValue(QStringLiteral("UserClock"), QStringLiteral("n"), QStringLiteral("1"));
    QVERIFY(!appSettings().lastWriteOk());

    // Once the obstacle is gone the same store writes again, and says so.
    QVERIFY(QFile::remove(folder));
    QVERIFY(QDir().mkpath(folder));
    appSettings().setValue(QStringLiteral("UserClock"), QStringLiteral("n"), QStringLiteral("2"));
    QVERIFY(appSettings().lastWriteOk());
    QSettings check(path, QSettings::IniFormat);
    QCOMPARE(check.value(QStringLiteral("UserClock/n")).toString(), QStringLiteral("2"));
}

void TestSettingsStore::setAsideKeepsEveryBadFile()
{
    TempStore store;
    const QDateTime when(QDate(2026, 12, 8), QTime(9, 5, 7));
    const QByteArray first("[broken\nfirst\n");
    store.writeRaw(first);
    QCOMPARE(QSettings::Status(appSettings().readStatus()), QSettings::FormatError);
    const QString kept1 = appSettings().setAsideFile(when);
    QCOMPARE(kept1, store.file() + QStringLiteral(".bad-20261208-090507"));
    QVERIFY(!QFileInfo::exists(store.file()));
    QCOMPARE(QSettings::Status(appSettings().readStatus()), QSettings::NoError);
    QCOMPARE(valueOrStoreFallback(QStringLiteral("UserClock"), QStringLiteral("ClockRc"), QStringLiteral("440")),
             QStringLiteral("440"));

    // A second bad file within the same second must not overwrite the first copy.
    const QByteArray second("[broken\nsecond\n");
    store.writeRaw(second);
    const QString kept2 = appSettings().setAsideFile(when);
    QCOMPARE(kept2, kept1 + QStringLiteral("-2"));
    QFile f1(kept1), f2(kept2);
    QVERIFY(f1.open(QIODevice::ReadOnly) && f2.open(QIODevice::ReadOnly));
    QCOMPARE(f1.readAll(), first);
    QCOMPARE(f2.readAll(), second);

    // Nothing to set aside: nothing happens.
    appSettings().setSettingsFile(store.dir() + QStringLiteral("/none.ini"));
    QCOMPARE(appSettings().setAsideFile(when), QString());
}

void TestSettingsStore::observerSeesWritesInOrder()
{
    TempStore store;
    QStringList seen;
    appSettings().setWriteObserver([&seen](const QString &s, const QString &k, const QString &v) {
        seen << s + QLatin1Char('/') + k + QLatin1Char('=') + v;
    });
    valueOrStoreFallback(QStringLiteral("UserClock"), QStringLiteral("n"), QString());
    valueOrStoreFallback(QStringLiteral("UserClock"), QStringLiteral("n"), QStringLiteral("5")); // "" counts as missing
    appSettings().setValue(QStringLiteral("UserClock"), QStringLiteral("ClockRc"), QStringLiteral("600"));
    valueOrStoreFallback(QStringLiteral("UserClock"), QStringLiteral("ClockRc"), QStringLiteral("440")); // present: no write
    QCOMPARE(seen, (QStringList{QStringLiteral("UserClock/n="), QStringLiteral("UserClock/n=5"),
                                QStringLiteral("UserClock/ClockRc=600")}));
}

TEMBRA_SETTINGS_TEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
