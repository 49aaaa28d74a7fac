#include "core/editor/namesort.h"

#include <algorithm>

namespace tb {

namespace {

// Code points rather than UTF-16 units: units would put characters beyond
// U+FFFF (surrogates, 0xD800…) before U+E000 … U+FFFF.
int compareCodePoints(const QList<uint> &a, const QList<uint> &b)
{
    const auto n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

} // namespace

int comparePictureNames(const QString &a, const QString &b)
{
    if (const int folded = compareCodePoints(a.toCaseFolded().toUcs4(), b.toCaseFolded().toUcs4()))
        return folded;
    return compareCodePoints(a.toUcs4(), b.toUcs4());
}

void sortPictureNames(QStringList &names)
{
    std::sort(names.begin(), names.end(), pictureNameLess);
}

} // namespace tb
