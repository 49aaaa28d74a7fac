#include "core/common/valuetext.h"

#include <QByteArray>
#include <cmath>

namespace tb {

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

// Only called for text scanNumber accepted, so a failed conversion means the
// number is out of range. Qt does not say which way, so work out whether it
// was too large (an infinity) or too small (0) from its decimal exponent.
double asciiToDouble(const QByteArray &ascii)
{
    bool ok = false;
    const double v = ascii.toDouble(&ok);
    if (ok)
        return v;
    const bool negative = ascii.startsWith('-');
    auto digitAt = [&ascii](qsizetype k) { return k < ascii.size() && ascii[k] >= '0' && ascii[k] <= '9'; };
    // The number is 0.ddd × 10^(scale + exponent).
    qsizetype i = (negative || ascii.startsWith('+')) ? 1 : 0;
    qint64 scale = 0;
    for (; digitAt(i); ++i) {
        if (scale > 0 || ascii[i] != '0')
            ++scale;
    }
    if (scale == 0) {
        if (i < ascii.size() && ascii[i] == '.')
            ++i;
        for (; i < ascii.size() && ascii[i] == '0'; ++i)
            --scale;
        if (!digitAt(i))
            return 0.0; // all zeros
    }
    qint64 exponent = 0;
    const qsizetype e = ascii.indexOf('e');
    if (e >= 0) {
        qsizetype j = e + 1;
        const bool expNegative = j < ascii.size() && ascii[j] == '-';
        if (j < ascii.size() && (ascii[j] == '-' || ascii[j] == '+'))
            ++j;
        for (; j < ascii.size() && exponent < 100000000; ++j)
            exponent = exponent * 10 + (ascii[j] - '0');
        if (expNegative)
            exponent = -exponent;
    }
    if (scale + exponent > 0)
        return negative ? -HUGE_VAL : HUGE_VAL;
    return negative ? -0.0 : 0.0;
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

} // namespace tb
