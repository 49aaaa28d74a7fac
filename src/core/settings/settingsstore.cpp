#include "core/settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tb {

namespace {

// Qt's per-user config folder, except that without HOME Qt would take "/"
// as the home folder: the home folder is then the user's own, as the
// password database gives it.
QString configFolder()
{
    if (!qEnvironmentVariableIsEmpty("HOME") || !qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"))
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const passwd *user = ::getpwuid(::geteuid());
    const QString home = user && user->pw_dir && *user->pw_dir ? QFile::decodeName(user->pw_dir) : QStringLiteral("/");
    return QDir::cleanPath(home + QStringLiteral("/.config"));
}

// Whether anything, even a broken link, stands at path.
bool somethingAt(const QString &path)
{
    struct stat st = {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

} // namespace

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
    return configFolder() + QLatin1Char('/') + m_applicationName + QLatin1Char('/') + m_applicationName + QStringLiteral(".ini");
}

IniValues *SettingsStore::store()
{
    if (!m_values) {
        m_openPath = settingsFilePath();
        if (m_openPath.isEmpty())
            return nullptr;
        removeLeftoverSaves(m_openPath);
        IniRead read = readIniFile(m_openPath, m_ownSection);
        m_values = std::move(read.values);
        m_readProblem = read.problem;
        m_readError = read.error;
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

void SettingsStore::setOwnSections(SectionFilter ownSection)
{
    closeStore();
    m_ownSection = std::move(ownSection);
}

ReadProblem SettingsStore::readProblem()
{
    return store() ? m_readProblem : ReadProblem::None;
}

QSettings::Status SettingsStore::readStatus()
{
    switch (readProblem()) {
    case ReadProblem::None:
        return QSettings::NoError;
    case ReadProblem::Damaged:
        return QSettings::FormatError;
    default:
        return QSettings::AccessError;
    }
}

QString SettingsStore::setAsideFile(const QDateTime &when)
{
    const QString path = settingsFilePath();
    closeStore();
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        return QString();
    // A link to a file stays, so that the user's own file is saved to again;
    // anything else at the path (a pipe, a folder) goes aside, never a link's target.
    const bool throughLink = info.isSymLink() && info.isFile();
    const QString damaged = throughLink ? info.canonicalFilePath() : path;

    const QString stem = damaged + QStringLiteral(".bad-")
        + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString bad = stem;
    for (int n = 2; QFileInfo::exists(bad) || QFileInfo(bad).isSymLink(); ++n) {
        if (n > 99)
            return QString();
        bad = stem + QLatin1Char('-') + QString::number(n);
    }
    // A rename can fail where a copy works (for example across a bind mount).
    const bool kept = throughLink
        ? QFile::copy(damaged, bad)
        : (QDir().rename(path, bad) || (QFileInfo(path).isFile() && QFile::copy(path, bad) && QFile::remove(path)));
    if (!kept)
        return QString();
    // From the defaults, as a first start; the damaged file is not read again.
    m_openPath = path;
    m_values.emplace();
    m_readProblem = ReadProblem::None;
    m_readError = 0;
    return bad;
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
    // would be lost. (A damaged file is normally set aside first.) Mending a
    // link or a permission while the program runs does not change that.
    m_writeError = 0;
    if (m_readProblem != ReadProblem::None && somethingAt(m_openPath)) {
        m_problem = WriteProblem::NotRead;
    } else {
        switch (replaceFileWhole(m_openPath, iniText(*m_values), &m_writeError)) {
        case SaveError::None:
            return true;
        case SaveError::NotAFile:
            m_problem = WriteProblem::NotAFile;
            break;
        case SaveError::BrokenLink:
            m_problem = WriteProblem::BrokenLink;
            break;
        case SaveError::WriteFailed:
            m_problem = WriteProblem::WriteFailed;
            break;
        }
    }
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

QString fileErrorText(int error, bool writing)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクがいっぱいです。");
    case EACCES:
    case EPERM:
        return writing ? QStringLiteral("書き込みの許可がありません。") : QStringLiteral("読み込みの許可がありません。");
    case EROFS:
        return QStringLiteral("読み取り専用のディスクです。");
    case ENOENT:
        return QStringLiteral("保存先のフォルダーがありません。");
    case ENOTDIR:
        return QStringLiteral("保存先のフォルダーの代わりに、フォルダーではないものがあります。");
    case ELOOP:
        return QStringLiteral("リンクが循環しています。");
    case EIO:
        return QStringLiteral("ディスクの読み書きでエラーが起きました。");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString brokenLinkText(int error)
{
    switch (error) {
    case 0:
        return QStringLiteral("リンク先が普通のファイルではありません。");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("リンク先がありません。");
    default:
        return fileErrorText(error, false);
    }
}

namespace {

// The line that says why the shared store's last flush failed.
QString whyNotSaved()
{
    SettingsStore &r = appSettings();
    switch (r.lastWriteProblem()) {
    case SettingsStore::WriteProblem::NotAFile:
        return QStringLiteral("この名前のものは普通のファイルではない（フォルダーなど）ため、書き込みません。\r\n");
    case SettingsStore::WriteProblem::NotRead:
        // What the start said, again: the file stays as it was found.
        if (r.readProblem() == ReadProblem::BrokenLink)
            return QStringLiteral("起動時に設定ファイルのリンクをたどれなかったため、上書きしません。")
                + brokenLinkText(r.readError()) + QStringLiteral("\r\n");
        if (r.readProblem() == ReadProblem::Unreadable)
            return QStringLiteral("読み込めなかったファイルなので、上書きしません。")
                + fileErrorText(r.readError(), false) + QStringLiteral("\r\n");
        return QStringLiteral("読み込めなかったファイルなので、上書きしません。\r\n");
    case SettingsStore::WriteProblem::BrokenLink:
        return QStringLiteral("設定ファイルのリンクをたどれません。") + brokenLinkText(r.lastWriteError())
            + QStringLiteral("\r\n");
    case SettingsStore::WriteProblem::WriteFailed:
        if (r.lastWriteError() == 0)
            return QStringLiteral("ディスクの空きと、フォルダーに書き込めるかを確かめてください。\r\n");
        return fileErrorText(r.lastWriteError(), true) + QStringLiteral("\r\n");
    case SettingsStore::WriteProblem::None:
        break;
    }
    return QString();
}

} // namespace

QString settingsNotSavedMessage()
{
    return QStringLiteral("設定を保存できませんでした。\r\n") + appSettings().settingsFilePath() + QStringLiteral("\r\n")
        + whyNotSaved() + QStringLiteral("設定ファイルは変更されていません。");
}

QString exitNotSavedQuestion(const QString &file)
{
    SettingsStore &r = appSettings();
    QString remedy = QStringLiteral("書き込みできる状態にしてから、");
    switch (r.lastWriteProblem()) {
    case SettingsStore::WriteProblem::NotRead:
        remedy = r.readProblem() == ReadProblem::BrokenLink ? QStringLiteral("リンクを直して、")
            : r.readProblem() == ReadProblem::Unreadable    ? QStringLiteral("読み込めるようにして、")
                                                            : QStringLiteral("このファイルを取り除いて、");
        remedy += QStringLiteral("起動し直してください");
        break;
    case SettingsStore::WriteProblem::BrokenLink:
        remedy = QStringLiteral("リンクを直してから、");
        break;
    case SettingsStore::WriteProblem::NotAFile:
        remedy = QStringLiteral("その名前のものを取り除いてから、");
        break;
    default:
        if (r.lastWriteError() == ENOSPC || r.lastWriteError() == EDQUOT)
            remedy = QStringLiteral("ディスクに空きを作ってから、");
        break;
    }
    if (remedy.endsWith(QStringLiteral("、")))
        remedy += QStringLiteral("もう一度「終了」を選んでください");
    return QStringLiteral("設定を保存できませんでした。\r\n") + file + QStringLiteral("\r\n") + whyNotSaved()
        + QStringLiteral("保存せずに終了しますか？\r\n（「キャンセル」で終了せずに戻ります。") + remedy
        + QStringLiteral("）");
}

} // namespace tb
