#pragma once
// Gives the program's own widgets what a screen reader needs: a clock's spot
// is one object whose name follows its clock, a picture frame a picture.
// Installed once, by the first of them made.

namespace tb {

void installAccessibleInterfaces();

} // namespace tb
