#include "core/settings/inifile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <algorithm>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

char hexDigit(uint v)
{
    return "0123456789ABCDEF"[v & 0xF];
}

bool isAsciiAlnum(uint ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
}

// Letters, digits, '_', '-' and '.' as they are; '/' as '\'; the rest %XX or %UXXXX.
void appendKey(const QString &key, QByteArray &out)
{
    for (const QChar c : key) {
        const uint ch = c.unicode();
        if (ch == '/') {
            out += '\\';
        } else if (isAsciiAlnum(ch) || ch == '_' || ch == '-' || ch == '.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += hexDigit(ch >> 4);
            out += hexDigit(ch);
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hexDigit(ch >> shift);
        }
    }
}

// A value: control characters escaped, other text as UTF-8, in quotes when it
// holds ';', ',' or '=' or begins or ends with a space. A leading '@' is
// doubled, or QSettings would read "@ByteArray(...)" as a type; a text with
// a NUL in it is marked as one.
void appendValue(QString text, QByteArray &out)
{
    if (text.contains(QChar(0)))
        text = QStringLiteral("@String(") + text + QLatin1Char(')');
    else if (text.startsWith(QLatin1Char('@')))
        text.prepend(QLatin1Char('@'));
    const qsizetype start = out.size();
    bool quotes = false;
    bool escapeHexDigit = false; // after "\x1f" a following hex digit would join it
    for (qsizetype i = 0; i < text.size(); ++i) {
        const uint ch = text.at(i).unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            quotes = true;
        const bool hex = (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
        if (escapeHexDigit && hex) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeHexDigit = false;
        static const char named[] = "0......abtnvfr";
        if (ch == 0 || (ch >= '\a' && ch <= '\r')) {
            out += '\\';
            out += named[ch];
            escapeHexDigit = ch == 0;
        } else if (ch == '"' || ch == '\\') {
            out += '\\';
            out += char(ch);
        } else if (ch <= 0x1F) {
            out += "\\x" + QByteArray::number(ch, 16);
            escapeHexDigit = true;
        } else if (ch < 0x80) {
            out += char(ch);
        } else {
            qsizetype end = i + 1; // a run of non-ASCII, so that surrogate pairs stay together
            while (end < text.size() && text.at(end).unicode() >= 0x80)
                ++end;
            out += QStringView(text).mid(i, end - i).toUtf8();
            i = end - 1;
        }
    }
    if (quotes || (start < out.size() && (out.at(start) == ' ' || out.endsWith(' ')))) {
        out.insert(start, '"');
        out += '"';
    }
}

} // namespace

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Binary noise, or text in UTF-16: control characters no editor puts in a line.
bool hasControl(const QByteArray &d, qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to; ++i) {
        const uchar c = uchar(d.at(i));
        if (c < 0x20 && !isBlank(char(c)))
            return true;
    }
    return false;
}

// Where the line that QSettings reads from `from` ends: at a newline outside
// quotes, or at a ';' that starts a comment. A backslash joins the next
// character, a newline too. equals gets the first '=' outside quotes (-1:
// none); quoted says whether the end of the text came inside quotes.
qsizetype logicalLineEnd(const QByteArray &d, qsizetype from, qsizetype *equals, bool *quoted)
{
    *equals = -1;
    *quoted = false;
    qsizetype i = from;
    for (; i < d.size(); ++i) {
        const char c = d.at(i);
        if ((c == '\n' || c == '\r' || c == ';') && !*quoted)
            return i;
        if (c == '"') {
            *quoted = !*quoted;
        } else if (c == '=' && !*quoted && *equals < 0) {
            *equals = i;
        } else if (c == '\\' && i + 1 < d.size()) {
            ++i;
            const char next = i + 1 < d.size() ? d.at(i + 1) : 0;
            if ((d.at(i) == '\n' && next == '\r') || (d.at(i) == '\r' && next == '\n'))
                ++i;
        }
    }
    return i;
}

struct Lines {
    QByteArray text; // the sections and key=value lines, for QSettings
    bool isText = true;
    bool blank = true;
};

// Keeps what QSettings can read without complaint: every [section] and
// key=value line (a quoted value may go on over several lines). A line that
// is neither is left out alone, so that the lines after it still count.
Lines readableLines(const QByteArray &d)
{
    Lines out;
    qsizetype i = d.startsWith("\xEF\xBB\xBF") ? 3 : 0; // the byte-order mark some editors write
    while (i < d.size()) {
        const char c = d.at(i);
        if (isBlank(c)) {
            ++i;
            continue;
        }
        out.blank = false;
        qsizetype physicalEnd = i;
        while (physicalEnd < d.size() && d.at(physicalEnd) != '\n' && d.at(physicalEnd) != '\r')
            ++physicalEnd;
        qsizetype equals = -1;
        bool quoted = false;
        const qsizetype end = (c == '#' || c == ';') ? physicalEnd : logicalLineEnd(d, i, &equals, &quoted);
        bool keep = false;
        qsizetype checkedTo = physicalEnd; // control characters count everywhere but in a value
        if (c == '[') {
            keep = end <= physicalEnd;
        } else if (c != '#' && c != ';' && equals >= 0 && equals < physicalEnd) {
            // A quote left open to the end of the file would swallow every line after it.
            keep = !(quoted && end > physicalEnd)
                && !QByteArrayView(d).sliced(i, equals - i).trimmed().isEmpty();
            if (keep)
                checkedTo = equals;
        }
        if (hasControl(d, i, checkedTo))
            out.isText = false;
        if (keep) {
            out.text += QByteArrayView(d).sliced(i, end - i);
            out.text += '\n';
            i = end;
        } else {
            i = physicalEnd;
        }
    }
    return out;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            done += n;
    }
    return true;
}

// QSettings reads only named files: the text goes to an anonymous file in
// memory, which it opens by its name under /proc.
bool parseIni(const QByteArray &text, IniValues *values, int *error)
{
    const int fd = ::memfd_create("tembra-settings", MFD_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return false;
    }
    // QSettings takes its last reading of a name again while the file's size
    // and time are unchanged: each reading here gets a time of its own.
    static time_t stamp = 0;
    const timespec times[2] = { { 0, UTIME_OMIT }, { ++stamp, 0 } };
    bool ok = writeAll(fd, text) && ::futimens(fd, times) == 0;
    *error = ok ? 0 : errno;
    if (ok) {
        QSettings file(QStringLiteral("/proc/self/fd/%1").arg(fd), QSettings::IniFormat);
        // QSettings parses a section only when it is first used; allKeys parses them all.
        const QStringList keys = file.allKeys();
        // A format complaint is about lines it read through; only a file it
        // could not open is a failure.
        ok = file.status() != QSettings::AccessError;
        *error = ok ? 0 : EIO;
        for (const QString &k : keys)
            values->insert(k, textOf(file.value(k)));
    }
    ::close(fd);
    return ok;
}

IniRead failedRead(ReadProblem problem, int error = 0)
{
    IniRead r;
    r.problem = problem;
    r.error = error;
    r.blank = false;
    return r;
}

// The file's bytes, at most kMaxIniBytes of them; problem says why there are none.
IniRead readBytes(const QString &path, QByteArray *bytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st = {};
    if (::lstat(name.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return IniRead(); // nothing there: a first start
        return failedRead(ReadProblem::Unreadable, errno);
    }
    if (S_ISLNK(st.st_mode)) {
        if (::stat(name.constData(), &st) != 0)
            return failedRead(errno == EACCES ? ReadProblem::Unreadable : ReadProblem::BrokenLink, errno);
        if (!S_ISREG(st.st_mode))
            return failedRead(ReadProblem::BrokenLink);
    } else if (!S_ISREG(st.st_mode)) {
        return failedRead(ReadProblem::NotAFile);
    }
    // Should a pipe take the file's place meanwhile, opening it does not wait.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failedRead(ReadProblem::Unreadable, errno);
    IniRead r;
    if (::fstat(fd, &st) != 0) {
        r = failedRead(ReadProblem::Unreadable, errno);
    } else if (!S_ISREG(st.st_mode)) {
        r = failedRead(ReadProblem::NotAFile);
    } else if (st.st_size > kMaxIniBytes) {
        r = failedRead(ReadProblem::Damaged); // never read whole
    } else {
        bytes->resize(qsizetype(st.st_size) + 1);
        qsizetype got = 0;
        // One byte more than the file said it had tells that it grew meanwhile.
        while (got < bytes->size()) {
            const ssize_t n = ::read(fd, bytes->data() + got, size_t(bytes->size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                r = failedRead(ReadProblem::Unreadable, errno);
                break;
            }
            if (n == 0)
                break;
            got += n;
            if (got == bytes->size() && got <= kMaxIniBytes)
                bytes->resize(std::min<qsizetype>(got * 2, kMaxIniBytes + 1));
        }
        if (got > kMaxIniBytes)
            r = failedRead(ReadProblem::Damaged);
        bytes->truncate(got);
    }
    ::close(fd);
    return r;
}

} // namespace

IniRead readIniFile(const QString &path, const SectionFilter &ownSection)
{
    QByteArray bytes;
    IniRead result = readBytes(path, &bytes);
    if (result.problem != ReadProblem::None)
        return result;
    const Lines lines = readableLines(bytes);
    result.blank = lines.blank;
    if (lines.blank)
        return result;
    if (!lines.isText)
        return failedRead(ReadProblem::Damaged);
    if (!lines.text.isEmpty() && !parseIni(lines.text, &result.values, &result.error))
        return failedRead(ReadProblem::Unreadable, result.error);
    const QStringList keys = result.values.keys();
    // A key ending in '/' ("a/=1", "a%2F=1") reads fine but cannot be written
    // back so that it reads the same: count it as damage while the file is intact.
    const bool unwritable
        = std::any_of(keys.begin(), keys.end(), [](const QString &k) { return k.endsWith(QLatin1Char('/')); });
    const bool ours = std::any_of(keys.begin(), keys.end(), [&ownSection](const QString &k) {
        const qsizetype slash = k.indexOf(QLatin1Char('/'));
        return !ownSection || (slash > 0 && ownSection(k.left(slash)));
    });
    if (unwritable || !ours)
        return failedRead(ReadProblem::Damaged);
    return result;
}

QByteArray iniText(const IniValues &values)
{
    // Section -> its keys, both in QString order, as QSettings writes new keys.
    QMap<QString, QMap<QString, QString>> sections;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        if (slash < 0)
            sections[QString()].insert(it.key(), it.value());
        else
            sections[it.key().left(slash)].insert(it.key().mid(slash + 1), it.value());
    }
    QByteArray out;
    for (auto s = sections.cbegin(); s != sections.cend(); ++s) {
        if (s != sections.cbegin())
            out += '\n';
        QByteArray name;
        appendKey(s.key(), name);
        if (name.isEmpty())
            name = "General";
        else if (name.compare("general", Qt::CaseInsensitive) == 0)
            name = "%General";
        out += '[' + name + "]\n";
        for (auto k = s->cbegin(); k != s->cend(); ++k) {
            appendKey(k.key(), out);
            out += '=';
            appendValue(k.value(), out);
            out += '\n';
        }
    }
    return out;
}

namespace {

// Saves write to "<file>.saving-XXXXXX" beside the file they replace.
const QString kSavingInfix = QStringLiteral(".saving-");

QString randomSuffix()
{
    static const char chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString s;
    for (int i = 0; i < 6; ++i)
        s += QLatin1Char(chars[QRandomGenerator::global()->bounded(62)]);
    return s;
}

// Creates the folders missing on the way to folder, but never one at the
// root: a home folder that is "/" or missing must not leave "/.config" behind.
bool makeFolders(const QString &folder, int *error)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(folder).constData(), &st) == 0) {
        *error = S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        return *error == 0;
    }
    *error = errno;
    const QString parent = QFileInfo(folder).absolutePath();
    if (*error != ENOENT || parent == QLatin1String("/") || parent == folder)
        return false;
    if (!makeFolders(parent, error))
        return false;
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0 && errno != EEXIST) {
        *error = errno;
        return false;
    }
    return true;
}

} // namespace

SaveError replaceFileWhole(const QString &path, const QByteArray &bytes, int *error)
{
    int ignored = 0;
    int &err = error ? *error : ignored;
    err = 0;
    QString target = path;
    struct stat st = {};
    const bool exists = ::lstat(QFile::encodeName(path).constData(), &st) == 0;
    if (!exists && errno != ENOENT) {
        err = errno;
        return SaveError::WriteFailed;
    }
    if (exists && S_ISLNK(st.st_mode)) {
        char *real = ::realpath(QFile::encodeName(path).constData(), nullptr);
        if (!real) {
            err = errno;
            return SaveError::BrokenLink;
        }
        target = QFile::decodeName(real);
        ::free(real);
        if (::stat(QFile::encodeName(target).constData(), &st) != 0) {
            err = errno;
            return SaveError::BrokenLink;
        }
        if (!S_ISREG(st.st_mode))
            return SaveError::BrokenLink;
    } else if (exists && !S_ISREG(st.st_mode)) {
        // A device or a pipe must not be replaced by a file.
        return SaveError::NotAFile;
    }
    const QString folder = QFileInfo(target).absolutePath();
    if (!exists && !makeFolders(folder, &err))
        return SaveError::WriteFailed;

    // Our own temporary name, not QSaveFile's: left over after a crash, it
    // can be told from the user's own files and removed.
    QString temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + kSavingInfix + randomSuffix();
        fd = ::open(QFile::encodeName(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        err = errno;
        return SaveError::WriteFailed;
    }
    if (exists)
        ::fchmod(fd, st.st_mode & 07777); // the replaced file's permissions stay
    // Every write checked, and the data on disk before the rename.
    struct stat written = {};
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0 && ::fstat(fd, &written) == 0;
    if (ok && written.st_size != bytes.size()) {
        ok = false;
        errno = EIO;
    }
    err = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(QFile::encodeName(temp).constData());
        return SaveError::WriteFailed;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return SaveError::None;
}

void removeLeftoverSaves(const QString &path)
{
    QStringList files{ path };
    const QFileInfo info(path);
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty())
        files << info.canonicalFilePath();
    const time_t minuteAgo = ::time(nullptr) - 60;
    for (const QString &file : files) {
        const QFileInfo f(file);
        const QRegularExpression ours(QLatin1Char('^') + QRegularExpression::escape(f.fileName() + kSavingInfix)
                                      + QStringLiteral("[A-Za-z0-9]{6}$"));
        const QDir dir = f.absoluteDir();
        const QStringList names = dir.entryList({ f.fileName() + kSavingInfix + QLatin1Char('*') },
                                                QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : names) {
            const QByteArray leftover = QFile::encodeName(dir.filePath(name));
            struct stat st = {};
            if (ours.match(name).hasMatch() && ::lstat(leftover.constData(), &st) == 0 && S_ISREG(st.st_mode)
                && st.st_uid == ::geteuid() && st.st_mtime < minuteAgo)
                ::unlink(leftover.constData());
        }
    }
}

} // namespace tb
