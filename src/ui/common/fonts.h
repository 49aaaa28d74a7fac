#pragma once
// The controls are designed for "ＭＳ Ｐゴシック", which Linux does not have;
// the name is mapped to the Japanese proportional Gothic fonts that are.
#include <QFont>
#include <QStringList>
#include <thread>

namespace tb {

QString designFontFamily();          // "ＭＳ Ｐゴシック"
QStringList designFontSubstitutes();  // in order of preference
void installFontSubstitutions();
// Reads the system's font configuration (some thirty files and the font
// caches) on a thread of its own, while the application connects to the
// display; the first label would otherwise wait for it. Join the thread
// before any text is measured.
std::thread loadFontConfigurationAhead();
QFont designFont(double pointSize);  // the design family at a point size

} // namespace tb
