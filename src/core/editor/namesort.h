#pragma once
// Order of the picture-name list: ascending, letter case ignored, so that
// user pictures ("001User") come first, then "00RedPointer", then the
// countries from "Aandorra" to "Zimbabwe".
#include <QString>
#include <QStringList>

namespace tb {

// < 0, 0 or > 0. Characters are compared by their case-folded code points,
// which puts digits before letters and "&" before both; names equal but for
// case are ordered by their exact text, so the order never depends on the
// order the names arrived in.
int comparePictureNames(const QString &a, const QString &b);

inline bool pictureNameLess(const QString &a, const QString &b)
{
    return comparePictureNames(a, b) < 0;
}

void sortPictureNames(QStringList &names);

} // namespace tb
