#include "settings/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace tb {

namespace {

// QSettings turns some hand-written INI values into other types: an unquoted
// comma makes a list, "@ByteArray(...)" a byte array. Callers want the text.
QString textOf(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::QString:
        return v.toString();
    case QMetaType::QStringList:
        // The separators themselves are lost; ", " is the usual hand-written form.
        return v.toStringList().join(QStringLiteral(", "));
    case QMetaType::QByteArray:
        return QString::fromUtf8(v.toByteArray());
    default:
        return v.isValid() ? v.toString() : QString();
    }
}

} // namespace

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
    m_settings.reset();
}

QString Registry::settingsFilePath() const
{
    if (m_settings)
        return m_settings->fileName();
    if (!m_explicitFile.isEmpty())
        return m_explicitFile;
    if (m_appname.isEmpty())
        return QString();
    return QSettings(QSettings::IniFormat, QSettings::UserScope, m_appname, m_appname).fileName();
}

QSettings *Registry::store()
{
    if (!m_settings) {
        if (!m_explicitFile.isEmpty())
            m_settings = std::make_unique<QSettings>(m_explicitFile, QSettings::IniFormat);
        else if (!m_appname.isEmpty())
            m_settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                     m_appname, m_appname);
        else
            return nullptr;
        // QSettings parses a section only when it is first used, and only then
        // notices a damaged line; parse them all now so that damage shows up at
        // start-up. Its status never returns to NoError, so keep this one.
        const QStringList keys = m_settings->allKeys();
        m_readStatus = m_settings->status();
        // A key ending in '/' ("a/=1", "a%2F=1") reads fine but is written back
        // as "a\=1", which QSettings then rejects: the next start would lose
        // the whole file. Count it as damage now, while the file is intact.
        if (m_readStatus == QSettings::NoError
            && std::any_of(keys.begin(), keys.end(),
                           [](const QString &k) { return k.endsWith(QLatin1Char('/')); }))
            m_readStatus = QSettings::FormatError;
    }
    return m_settings.get();
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
    if (path.isEmpty() || !QFileInfo(path).exists())
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
    QSettings *s = store();
    m_setting = (s && !m_key.isEmpty()) ? textOf(s->value(storeKey())) : QString();
}

void Registry::RegSave()
{
    if (m_observer)
        m_observer(m_section, m_key, m_setting);
    QSettings *s = store();
    if (!s || m_key.isEmpty()) {
        failed();
        return;
    }
    s->setValue(storeKey(), m_setting);
    written();
}

void Registry::RegDel()
{
    QSettings *s = store();
    if (!s || m_key.isEmpty())
        return;
    // QSettings::remove would also take a whole group of that name.
    const QString k = storeKey();
    if (!s->contains(k))
        return;
    s->remove(k);
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
    if (!m_settings)
        return false;
    m_settings->sync(); // QSettings writes a temporary file and renames it over the old one
    const QSettings::Status st = m_settings->status();
    // A FormatError left over from reading the file says nothing about this
    // write; only AccessError means the file was not written.
    if (st == QSettings::AccessError) {
        // The error also sticks; start afresh so the next write is judged alone.
        m_settings.reset();
        return false;
    }
    return true;
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

void saveRegValue(const QString &key, const QString &value)
{
    Registry &r = AppRegistry();
    r.setKey(key);
    r.setSetting(value);
    r.RegSave();
}

} // namespace tb
