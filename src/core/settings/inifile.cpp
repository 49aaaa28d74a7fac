#include "core/settings/inifile.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <algorithm>

#include <cerrno>
#include <ctime>
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

} // namespace

IniRead readIniFile(const QString &path, const SectionFilter &ownSection)
{
    QByteArray bytes;
    if (const FileRead file = readWholeFile(path, kMaxIniBytes, &bytes); file.problem != ReadProblem::None)
        return failedRead(file.problem, file.error);
    IniRead result;
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

} // namespace tb
