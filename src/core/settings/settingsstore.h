#pragma once
// The one door to the per-user settings: application / section / key -> text.
// Kept in an INI file (QSettings' format); by default
// $XDG_CONFIG_HOME/<application>/<application>.ini (~/.config/TembraOG/TembraOG.ini).
// The file is read once into memory and every flush replaces it whole.
#include "core/settings/inifile.h"

#include <QDateTime>
#include <QSettings>
#include <QString>
#include <functional>
#include <optional>

namespace tb {

class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString applicationName() const { return m_applicationName; }
    void setApplicationName(const QString &name);

    // An empty section stands for the keys before any section; an empty key
    // is never read or written.
    // The value of key in section; the empty text when absent.
    QString value(const QString &section, const QString &key);
    // Writes value under section / key, creating what is missing.
    void setValue(const QString &section, const QString &key, const QString &value);
    // Removes the one key from section.
    void remove(const QString &section, const QString &key);

    // Uses this file instead of the per-user one, whatever applicationName says.
    // An empty path goes back to the per-user file.
    void setSettingsFile(const QString &path);
    // The file reads and writes go to; empty when there is none yet
    // (no explicit file and no application name).
    QString settingsFilePath() const;

    // Only a file with a value in one of these sections is taken as a
    // settings file (see readIniFile); the file is read again.
    void setOwnSections(SectionFilter ownSection);

    // How the file read: NoError, FormatError for a damaged one, AccessError
    // for one that is no file, a broken link or a file that could not be read.
    QSettings::Status readStatus();
    // The same, with why; error is the errno behind Unreadable and BrokenLink.
    ReadProblem readProblem();
    int readError() const { return m_readError; }
    // Renames the current file to "<file>.bad-yyyyMMdd-HHmmss" after the time
    // given (copying when a rename is impossible) and starts over with an
    // empty store. A link's damaged target is copied beside itself instead:
    // the next save replaces it through the link. Returns the copy's name, or
    // an empty text when the file could not be kept.
    QString setAsideFile(const QDateTime &when);

    // Writes are flushed to disk when the outermost group ends, so that a
    // step writing many keys replaces the file once. Outside a group every
    // setValue / remove reaches the disk before it returns.
    void beginWriteGroup();
    // Ends a group; true when all its writes reached the disk.
    bool endWriteGroup();
    // Whether the last flush to disk succeeded (true before any write).
    bool lastWriteOk() const { return m_lastWriteOk; }
    // Flushes that failed since the program started; a failed one left the
    // file as it was.
    int failedWrites() const { return m_failedWrites; }
    // Why the last failed flush failed.
    enum class WriteProblem { None, NotAFile, NotRead, BrokenLink, WriteFailed };
    WriteProblem lastWriteProblem() const { return m_problem; }
    // The errno behind the last BrokenLink or WriteFailed (0 when unknown).
    int lastWriteError() const { return m_writeError; }

    // Called for every setValue with section, key and value, in write order.
    using WriteObserver = std::function<void(const QString &, const QString &, const QString &)>;
    void setWriteObserver(WriteObserver observer) { m_observer = std::move(observer); }

private:
    IniValues *store();
    void closeStore();
    void written();
    void failed();
    bool flush();

    QString m_applicationName;
    QString m_explicitFile;
    std::optional<IniValues> m_values; // the file's contents with this run's writes
    QString m_openPath;                 // the file m_values came from
    ReadProblem m_readProblem = ReadProblem::None;
    int m_readError = 0;
    SectionFilter m_ownSection;
    int m_failedWrites = 0;
    WriteProblem m_problem = WriteProblem::None;
    int m_writeError = 0;
    int m_groupDepth = 0;
    bool m_groupOk = true;
    bool m_dirty = false;
    bool m_lastWriteOk = true;
    WriteObserver m_observer;
};

// What the user is told when the shared store's last flush failed: the file is
// named, with why when that is known, and said to be as it was.
QString settingsNotSavedMessage();
// The question when the save on exit failed: the file, why, and what would
// let a second try succeed.
QString exitNotSavedQuestion(const QString &file);
// Why a file could not be read or written, for the user.
QString fileErrorText(int error, bool writing);
// What is wrong with a link that cannot be followed (error as readIniFile gives it).
QString brokenLinkText(int error);

// The shared instance every part of the program uses.
SettingsStore &appSettings();

// Reads section/key from appSettings(); a missing or empty value is replaced
// by fallback, which is also written back.
QString valueOrStoreFallback(const QString &section, const QString &key, const QString &fallback);

// Keeps the shared store's writes of one step together (see beginWriteGroup).
class SettingsWriteGroup {
public:
    SettingsWriteGroup() { appSettings().beginWriteGroup(); }
    ~SettingsWriteGroup()
    {
        if (!m_ended)
            appSettings().endWriteGroup();
    }
    bool end()
    {
        m_ended = true;
        return appSettings().endWriteGroup();
    }
    SettingsWriteGroup(const SettingsWriteGroup &) = delete;
    SettingsWriteGroup &operator=(const SettingsWriteGroup &) = delete;

private:
    bool m_ended = false;
};

} // namespace tb
