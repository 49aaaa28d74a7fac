#include "core/settings/inifile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QVariant>
#include <algorithm>

#include <fcntl.h>
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

IniRead readIniFile(const QString &path)
{
    IniRead result;
    const QFileInfo info(path); // follows links; a loop or a dangling link does not exist
    if (!info.exists() && !info.isSymLink())
        return result;
    if (!info.isFile()) {
        result.status = QSettings::AccessError;
        return result;
    }
    QSettings file(path, QSettings::IniFormat);
    // QSettings parses a section only when it is first used, and only then
    // notices a damaged line; allKeys parses them all.
    const QStringList keys = file.allKeys();
    result.status = file.status();
    for (const QString &k : keys)
        result.values.insert(k, textOf(file.value(k)));
    // A key ending in '/' ("a/=1", "a%2F=1") reads fine but cannot be written
    // back so that it reads the same: count it as damage while the file is intact.
    if (result.status == QSettings::NoError
        && std::any_of(keys.begin(), keys.end(), [](const QString &k) { return k.endsWith(QLatin1Char('/')); }))
        result.status = QSettings::FormatError;
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

SaveError replaceFileWhole(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    // QSaveFile would write to a link's target, and a device or a pipe must
    // not be replaced by a file: anything but a regular file is left alone.
    if (info.isSymLink() || (info.exists() && !info.isFile()))
        return SaveError::NotAFile;
    if (!QDir().mkpath(info.absolutePath()))
        return SaveError::WriteFailed;
    QSaveFile file(path);
    file.setDirectWriteFallback(false); // never write into the old file itself
    if (!file.open(QIODevice::WriteOnly))
        return SaveError::WriteFailed;
    // QSaveFile::commit does not notice a write that failed while it flushed
    // its buffer, nor a failed fsync: check both here, before the rename.
    struct stat st = {};
    const bool written = file.write(bytes) == bytes.size() && file.flush() && ::fsync(file.handle()) == 0
        && ::fstat(file.handle(), &st) == 0 && st.st_size == bytes.size();
    if (!written) {
        file.cancelWriting();
        return SaveError::WriteFailed;
    }
    if (!file.commit())
        return SaveError::WriteFailed;
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return SaveError::None;
}

} // namespace tb
