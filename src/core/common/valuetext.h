#pragma once
// Text forms of numbers and flags in the settings, both ways. Anything the
// program did not write itself (a hand-edited or damaged file) still gives a
// defined value: these never fail.
#include "core/common/rounding.h"

#include <QString>
#include <QtGlobal>
#include <optional>

namespace tb {

// "-5", "14737632": plain decimal.
inline QString intText(qint64 v) { return QString::number(v); }
// "1234.5", "9950", "0.00001": at most seven significant digits, '.' as the
// point, never an exponent, no point for whole values.
QString singleText(float v);
// "True" / "False".
inline QString boolText(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }

// The whole text (blanks around it allowed) as a decimal number
// ("12", "-3.5", "1e3"); nullopt for anything else, "nan" and "inf" included.
// Too large a number gives an infinity, too small a one 0.
std::optional<double> numericValue(const QString &text);
// The number the text starts with, 0 when it starts with none ("12abc" -> 12,
// "abc" -> 0). Spaces, tabs and line feeds are ignored wherever they are
// ("1 2" -> 12), as the old BASIC Val did.
double leadingNumber(const QString &text);
// "True"/"False" in any letter case; a number is true when not 0; else false.
bool boolValue(const QString &text);

} // namespace tb
