#include "core/settings/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tb {

Registry::Registry() = default;

Registry::~Registry()
{
    closeStore();
}

void Registry::setAppname(const QString &strAppName)
{
    if (strAppName != m_appname && m_explicitFile.isEmpty())
        closeStore();
    m_appname = strAppName;
}

void Registry::setSettingsFile(const QString &path)
{
    closeStore();
    m_explicitFile = path;
}

void Registry::closeStore()
{
    // Writes still held back by a group go to the file they were meant for.
    if (m_dirty) {
        const bool ok = flush();
        if (m_groupDepth > 0)
            m_groupOk = m_groupOk && ok;
        else
            m_lastWriteOk = ok;
    }
    m_values.reset();
}

QString Registry::settingsFilePath() const
{
    if (m_values)
        return m_openPath;
    if (!m_explicitFile.isEmpty())
        return m_explicitFile;
    if (m_appname.isEmpty())
        return QString();
    // Where QSettings keeps a per-user INI file; asking QSettings itself would
    // open the file, which must not happen before it is known to be a file.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + m_appname + QLatin1Char('/') + m_appname + QStringLiteral(".ini");
}

IniValues *Registry::store()
{
    if (!m_values) {
        m_openPath = settingsFilePath();
        if (m_openPath.isEmpty())
            return nullptr;
        IniRead read = readIniFile(m_openPath);
        m_values = std::move(read.values);
        m_readStatus = read.status;
    }
    return &*m_values;
}

QString Registry::storeKey() const
{
    return m_section.isEmpty() ? m_key : m_section + QLatin1Char('/') + m_key;
}

QSettings::Status Registry::readStatus()
{
    return store() ? m_readStatus : QSettings::NoError;
}

QString Registry::setAsideFile(const QDateTime &when)
{
    const QString path = settingsFilePath();
    closeStore();
    // Also a broken link or a pipe: whatever stands there goes aside, never its target.
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        return QString();

    const QString stem = path + QStringLiteral(".bad-")
        + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString bad = stem;
    for (int n = 2; QFileInfo::exists(bad) || QFileInfo(bad).isSymLink(); ++n) {
        if (n > 99)
            return QString();
        bad = stem + QLatin1Char('-') + QString::number(n);
    }
    if (QDir().rename(path, bad))
        return bad;
    // A rename can fail where a copy works (for example across a bind mount).
    if (QFileInfo(path).isFile() && QFile::copy(path, bad) && QFile::remove(path))
        return bad;
    return QString();
}

void Registry::RegGet()
{
    IniValues *s = store();
    m_setting = (s && !m_key.isEmpty()) ? s->value(storeKey()) : QString();
}

void Registry::RegSave()
{
    if (m_observer)
        m_observer(m_section, m_key, m_setting);
    IniValues *s = store();
    if (!s || m_key.isEmpty()) {
        failed();
        return;
    }
    s->insert(storeKey(), m_setting);
    written();
}

void Registry::RegDel()
{
    IniValues *s = store();
    if (!s || m_key.isEmpty() || s->remove(storeKey()) == 0)
        return;
    written();
}

void Registry::failed()
{
    if (m_groupDepth > 0)
        m_groupOk = false;
    else
        m_lastWriteOk = false;
}

void Registry::written()
{
    m_dirty = true;
    if (m_groupDepth == 0)
        m_lastWriteOk = flush();
}

bool Registry::flush()
{
    m_dirty = false;
    if (!m_values)
        return false;
    // A file that could not be read is never written over: what it holds
    // would be lost. (A damaged file is normally set aside first.)
    const QFileInfo info(m_openPath);
    if (m_readStatus != QSettings::NoError && (info.exists() || info.isSymLink()))
        m_problem = WriteProblem::NotRead;
    else if (const SaveError e = replaceFileWhole(m_openPath, iniText(*m_values)); e != SaveError::None)
        m_problem = e == SaveError::NotAFile ? WriteProblem::NotAFile : WriteProblem::WriteFailed;
    else
        return true;
    ++m_failedWrites;
    return false;
}

void Registry::beginWriteGroup()
{
    if (m_groupDepth++ == 0)
        m_groupOk = true;
}

bool Registry::endWriteGroup()
{
    if (m_groupDepth == 0)
        return m_lastWriteOk;
    if (--m_groupDepth > 0)
        return m_groupOk;
    bool ok = m_groupOk;
    if (m_dirty)
        ok = flush() && ok;
    m_lastWriteOk = ok;
    return ok;
}

Registry &AppRegistry()
{
    static Registry instance;
    return instance;
}

QString getRegValue(const QString &section, const QString &key, const QString &def)
{
    Registry &r = AppRegistry();
    r.setSection(section);
    r.setKey(key);
    r.RegGet();
    if (r.Setting().isEmpty()) {
        r.setSetting(def);
        r.RegSave();
    }
    return r.Setting();
}

QString settingsNotSavedMessage()
{
    const Registry &r = AppRegistry();
    QString why;
    switch (r.lastWriteProblem()) {
    case Registry::WriteProblem::NotAFile:
        why = QStringLiteral("この名前のものは普通のファイルではない（リンクなど）ため、書き込みません。\r\n");
        break;
    case Registry::WriteProblem::NotRead:
        why = QStringLiteral("読み込めなかったファイルなので、上書きしません。\r\n");
        break;
    case Registry::WriteProblem::WriteFailed:
        why = QStringLiteral("ディスクの空きと、フォルダーに書き込めるかを確かめてください。\r\n");
        break;
    case Registry::WriteProblem::None:
        break;
    }
    return QStringLiteral("設定を保存できませんでした。\r\n") + r.settingsFilePath() + QStringLiteral("\r\n")
        + why + QStringLiteral("設定ファイルは変更されていません。");
}

void saveRegValue(const QString &key, const QString &value)
{
    Registry &r = AppRegistry();
    r.setKey(key);
    r.setSetting(value);
    r.RegSave();
}

} // namespace tb
