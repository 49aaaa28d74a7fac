#pragma once
// The one door to the per-user settings: application / section / key -> text.
// Kept in an INI file (QSettings' format); by default
// $XDG_CONFIG_HOME/<Appname>/<Appname>.ini (~/.config/TembraOG/TembraOG.ini).
// The file is read once into memory and every flush replaces it whole.
#include "core/settings/inifile.h"

#include <QDateTime>
#include <QSettings>
#include <QString>
#include <functional>
#include <optional>

namespace tb {

class Registry {
public:
    Registry();
    ~Registry();
    Registry(const Registry &) = delete;
    Registry &operator=(const Registry &) = delete;

    QString Appname() const { return m_appname; }
    void setAppname(const QString &strAppName);
    QString Section() const { return m_section; }
    void setSection(const QString &strSection) { m_section = strSection; }
    QString Key() const { return m_key; }
    void setKey(const QString &strKey) { m_key = strKey; }
    QString Setting() const { return m_setting; }
    void setSetting(const QString &strSetting) { m_setting = strSetting; }

    // Setting = value of Key in Section; the empty text when absent.
    void RegGet();
    // Writes Setting under Section / Key, creating what is missing.
    void RegSave();
    // Removes the one key Key from Section.
    void RegDel();

    // Uses this file instead of the per-user one, whatever Appname says.
    // An empty path goes back to the per-user file.
    void setSettingsFile(const QString &path);
    // The file reads and writes go to; empty when there is none yet
    // (no explicit file and no Appname).
    QString settingsFilePath() const;

    // What QSettings reported when it read the file: NoError, or FormatError /
    // AccessError for a file it could not parse or open.
    QSettings::Status readStatus();
    // Renames the current file to "<file>.bad-yyyyMMdd-HHmmss" after the time
    // given (copying when a rename is impossible) and starts over with an
    // empty store. Returns the new name, or an empty text when the file could
    // not be kept.
    QString setAsideFile(const QDateTime &when);

    // Writes are flushed to disk when the outermost group ends, so that a
    // step writing many keys replaces the file once. Outside a group every
    // RegSave / RegDel reaches the disk before it returns.
    void beginWriteGroup();
    // Ends a group; true when all its writes reached the disk.
    bool endWriteGroup();
    // Whether the last flush to disk succeeded (true before any write).
    bool lastWriteOk() const { return m_lastWriteOk; }
    // Flushes that failed since the program started; a failed one left the
    // file as it was.
    int failedWrites() const { return m_failedWrites; }
    // Why the last failed flush failed.
    enum class WriteProblem { None, NotAFile, NotRead, WriteFailed };
    WriteProblem lastWriteProblem() const { return m_problem; }

    // Called for every RegSave with section, key and value, in write order.
    using WriteObserver = std::function<void(const QString &, const QString &, const QString &)>;
    void setWriteObserver(WriteObserver observer) { m_observer = std::move(observer); }

private:
    IniValues *store();
    void closeStore();
    QString storeKey() const;
    void written();
    void failed();
    bool flush();

    QString m_appname, m_section, m_key, m_setting;
    QString m_explicitFile;
    std::optional<IniValues> m_values; // the file's contents with this run's writes
    QString m_openPath;                 // the file m_values came from
    QSettings::Status m_readStatus = QSettings::NoError;
    int m_failedWrites = 0;
    WriteProblem m_problem = WriteProblem::None;
    int m_groupDepth = 0;
    bool m_groupOk = true;
    bool m_dirty = false;
    bool m_lastWriteOk = true;
    WriteObserver m_observer;
};

// What the user is told when AppRegistry's last flush failed: the file is
// named, with why when that is known, and said to be as it was.
QString settingsNotSavedMessage();

// The shared instance every part of the program uses.
Registry &AppRegistry();

// Reads section/key; a missing or empty value is replaced by def, which is
// also written back. Leaves AppRegistry's current section and key there.
QString getRegValue(const QString &section, const QString &key, const QString &def);
// Writes value under key in AppRegistry's current section.
void saveRegValue(const QString &key, const QString &value);

// Keeps AppRegistry's writes of one step together (see beginWriteGroup).
class RegWriteGroup {
public:
    RegWriteGroup() { AppRegistry().beginWriteGroup(); }
    ~RegWriteGroup()
    {
        if (!m_ended)
            AppRegistry().endWriteGroup();
    }
    bool end()
    {
        m_ended = true;
        return AppRegistry().endWriteGroup();
    }
    RegWriteGroup(const RegWriteGroup &) = delete;
    RegWriteGroup &operator=(const RegWriteGroup &) = delete;

private:
    bool m_ended = false;
};

} // namespace tb
