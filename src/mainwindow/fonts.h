#pragma once
// The controls are designed for "ＭＳ Ｐゴシック", which Linux does not have;
// the name is mapped to the Japanese proportional Gothic fonts that are.
#include <QFont>
#include <QStringList>

namespace tb {

QString designFontFamily();          // "ＭＳ Ｐゴシック"
QStringList designFontSubstitutes();  // in order of preference
void installFontSubstitutions();
QFont designFont(double pointSize);  // the design family at a point size

} // namespace tb
