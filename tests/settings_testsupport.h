#pragma once
// Shared by the settings tests: every test gets its own settings file in a
// temporary folder, and the per-user folder itself is redirected before Qt
// starts, so nothing can reach the real ~/.config.
#include "fakes.h"
#include "core/settings/settingsstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace tb::testing {

using ::tb::RecordingMessenger;

// A fresh settings file for one test, the shared settings store pointed at it.
class TempStore {
public:
    TempStore()
    {
        appSettings().setWriteObserver(nullptr);
        appSettings().setApplicationName(QStringLiteral("TembraOG"));
        appSettings().setSettingsFile(file());
    }
    ~TempStore()
    {
        appSettings().setWriteObserver(nullptr);
        // Back to the redirected per-user file, never this test's folder.
        appSettings().setSettingsFile(QString());
    }
    QString dir() const { return m_dir.path(); }
    QString file() const { return m_dir.filePath(QStringLiteral("TembraOG.ini")); }

    // Puts text in the file as if the user had edited it, and makes the store
    // read it as it would at start-up.
    void writeRaw(const QByteArray &content) const
    {
        QFile f(file());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        restart();
    }
    QByteArray raw() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // What a later run of the program would find: the store reopens the file.
    void restart() const { appSettings().setSettingsFile(file()); }

    // Reads "section/key" straight from the file, bypassing the settings store.
    QVariant onDisk(const QString &sectionKey) const
    {
        QSettings s(file(), QSettings::IniFormat);
        return s.value(sectionKey);
    }
    QStringList keysOnDisk() const
    {
        QSettings s(file(), QSettings::IniFormat);
        return s.allKeys();
    }

private:
    QTemporaryDir m_dir;
};

// The [UserImg] keys of a user who has taken all 999 picture slots.
inline QByteArray allUserSlotsInUse()
{
    QByteArray raw = "UserImgCount=999\n";
    for (int n = 1; n <= 999; ++n)
        raw += QString::asprintf("%03dFileName=/p%d.jpg\n", n, n).toUtf8();
    return raw;
}

inline QTemporaryDir &redirectedConfigHome()
{
    static QTemporaryDir home;
    return home;
}

} // namespace tb::testing

// Like QTEST_GUILESS_MAIN, but the per-user config and cache folders are temporary ones
// before anything in Qt can look it up.
// The application class is a parameter so that window tests can share it.
#define TEMBRA_TEST_MAIN_WITH(AppClass, TestClass)                                                \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QTemporaryDir &home = tb::testing::redirectedConfigHome();                                 \
        if (!home.isValid())                                                                       \
            return 1;                                                                              \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));                                \
        qputenv("HOME", QFile::encodeName(home.path()));                                           \
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path() + "/cache"));                      \
        AppClass app(argc, argv);                                                                  \
        TestClass tc;                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
#define TEMBRA_SETTINGS_TEST_MAIN(TestClass) TEMBRA_TEST_MAIN_WITH(QCoreApplication, TestClass)
