#include "core/settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tb {

SettingsStore::SettingsStore() = default;

SettingsStore::~SettingsStore()
{
    closeStore();
}

void SettingsStore::setApplicationName(const QString &name)
{
    if (name != m_applicationName && m_explicitFile.isEmpty())
        closeStore();
    m_applicationName = name;
}

void SettingsStore::setSettingsFile(const QString &path)
{
    closeStore();
    m_explicitFile = path;
}

void SettingsStore::closeStore()
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

QString SettingsStore::settingsFilePath() const
{
    if (m_values)
        return m_openPath;
    if (!m_explicitFile.isEmpty())
        return m_explicitFile;
    if (m_applicationName.isEmpty())
        return QString();
    // Where QSettings keeps a per-user INI file; asking QSettings itself would
    // open the file, which must not happen before it is known to be a file.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + m_applicationName + QLatin1Char('/') + m_applicationName + QStringLiteral(".ini");
}

IniValues *SettingsStore::store()
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

namespace {
// How the in-memory store names a key: "section/key", or the key alone.
QString storeKey(const QString &section, const QString &key)
{
    return section.isEmpty() ? key : section + QLatin1Char('/') + key;
}
} // namespace

QSettings::Status SettingsStore::readStatus()
{
    return store() ? m_readStatus : QSettings::NoError;
}

QString SettingsStore::setAsideFile(const QDateTime &when)
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

QString SettingsStore::value(const QString &section, const QString &key)
{
    IniValues *s = store();
    return (s && !key.isEmpty()) ? s->value(storeKey(section, key)) : QString();
}

void SettingsStore::setValue(const QString &section, const QString &key, const QString &value)
{
    if (m_observer)
        m_observer(section, key, value);
    IniValues *s = store();
    if (!s || key.isEmpty()) {
        failed();
        return;
    }
    s->insert(storeKey(section, key), value);
    written();
}

void SettingsStore::remove(const QString &section, const QString &key)
{
    IniValues *s = store();
    if (!s || key.isEmpty() || s->remove(storeKey(section, key)) == 0)
        return;
    written();
}

void SettingsStore::failed()
{
    if (m_groupDepth > 0)
        m_groupOk = false;
    else
        m_lastWriteOk = false;
}

void SettingsStore::written()
{
    m_dirty = true;
    if (m_groupDepth == 0)
        m_lastWriteOk = flush();
}

bool SettingsStore::flush()
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

void SettingsStore::beginWriteGroup()
{
    if (m_groupDepth++ == 0)
        m_groupOk = true;
}

bool SettingsStore::endWriteGroup()
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

SettingsStore &appSettings()
{
    static SettingsStore instance;
    return instance;
}

QString valueOrStoreFallback(const QString &section, const QString &key, const QString &fallback)
{
    SettingsStore &store = appSettings();
    const QString stored = store.value(section, key);
    if (!stored.isEmpty())
        return stored;
    store.setValue(section, key, fallback);
    return fallback;
}

QString settingsNotSavedMessage()
{
    const SettingsStore &r = appSettings();
    QString why;
    switch (r.lastWriteProblem()) {
    case SettingsStore::WriteProblem::NotAFile:
        why = QStringLiteral("この名前のものは普通のファイルではない（リンクなど）ため、書き込みません。\r\n");
        break;
    case SettingsStore::WriteProblem::NotRead:
        why = QStringLiteral("読み込めなかったファイルなので、上書きしません。\r\n");
        break;
    case SettingsStore::WriteProblem::WriteFailed:
        why = QStringLiteral("ディスクの空きと、フォルダーに書き込めるかを確かめてください。\r\n");
        break;
    case SettingsStore::WriteProblem::None:
        break;
    }
    return QStringLiteral("設定を保存できませんでした。\r\n") + r.settingsFilePath() + QStringLiteral("\r\n")
        + why + QStringLiteral("設定ファイルは変更されていません。");
}

} // namespace tb
