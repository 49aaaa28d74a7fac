#pragma once
#include <QIcon>

namespace tb {

// The program's icon at every size it ships, from the compiled-in pictures,
// so the window shows it even where the icon theme was not installed.
QIcon programIcon();

} // namespace tb
