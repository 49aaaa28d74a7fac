#include "settings/valuetext.h"

#include <QByteArray>
#include <cmath>

namespace tembra {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Scans a decimal number at the start of s: [sign] digits [. digits]
// [e|d [sign] digits]. Returns the characters used (0 = no number) and the
// number in ASCII form for the conversion.
qsizetype scanNumber(QStringView s, QByteArray &ascii)
{
    ascii.clear();
    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        ascii += char(s[i++].unicode());
    qsizetype digits = 0;
    while (i < n && isDigit(s[i])) {
        ascii += char(s[i++].unicode());
        ++digits;
    }
    if (i < n && s[i] == QLatin1Char('.')) {
        ascii += '.';
        ++i;
        while (i < n && isDigit(s[i])) {
            ascii += char(s[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0) {
        ascii.clear();
        return 0;
    }
    // An exponent counts only when digits follow it; "1e" is the number 1.
    if (i < n) {
        const QChar e = s[i].toLower();
        if (e == QLatin1Char('e') || e == QLatin1Char('d')) {
            qsizetype j = i + 1;
            QByteArray exp = "e";
            if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
                exp += char(s[j++].unicode());
            const qsizetype expStart = j;
            while (j < n && isDigit(s[j]))
                exp += char(s[j++].unicode());
            if (j > expStart) {
                ascii += exp;
                i = j;
            }
        }
    }
    return i;
}

double asciiToDouble(const QByteArray &ascii)
{
    bool ok = false;
    const double v = ascii.toDouble(&ok);
    // Overflow comes back as an infinity with ok false, underflow as 0.
    if (!ok && !std::isinf(v))
        return 0.0;
    return v;
}

} // namespace

QString singleText(float v)
{
    if (!std::isfinite(v))
        return QStringLiteral("0");
    QString s = QString::number(double(v), 'g', 7);
    if (s.contains(QLatin1Char('e'))) {
        // Keep the seven digits, but spell them out without an exponent.
        const double r = s.toDouble();
        const int exponent = int(std::floor(std::log10(std::fabs(r))));
        s = QString::number(r, 'f', qMax(0, 6 - exponent));
        if (s.contains(QLatin1Char('.'))) {
            while (s.endsWith(QLatin1Char('0')))
                s.chop(1);
            if (s.endsWith(QLatin1Char('.')))
                s.chop(1);
        }
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

std::optional<double> numericValue(const QString &text)
{
    const QString t = text.trimmed();
    QByteArray ascii;
    if (t.isEmpty() || scanNumber(t, ascii) != t.size())
        return std::nullopt;
    return asciiToDouble(ascii);
}

double leadingNumber(const QString &text)
{
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            compact += c;
    }
    QByteArray ascii;
    return scanNumber(compact, ascii) > 0 ? asciiToDouble(ascii) : 0.0;
}

double roundHalfEven(double v)
{
    if (!std::isfinite(v))
        return v;
    if (std::fabs(v - std::trunc(v)) == 0.5)
        return 2.0 * std::round(v / 2.0);
    return std::round(v);
}

qint64 roundedClamp(double v, qint64 lo, qint64 hi)
{
    if (std::isnan(v))
        v = 0.0;
    v = roundHalfEven(v);
    if (v <= double(lo))
        return lo;
    if (v >= double(hi))
        return hi;
    return qint64(v);
}

bool boolValue(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> n = numericValue(t);
    return n && *n != 0.0;
}

} // namespace tembra
