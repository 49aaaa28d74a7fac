#include "mainwindow/fonts.h"

namespace tb {

QString designFontFamily()
{
    return QStringLiteral("ＭＳ Ｐゴシック");
}

QStringList designFontSubstitutes()
{
    return { QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
             QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
             QStringLiteral("IPAGothic") };
}

void installFontSubstitutions()
{
    QFont::insertSubstitutions(designFontFamily(), designFontSubstitutes());
}

QFont designFont(double pointSize)
{
    QFont f(designFontFamily());
    f.setPointSizeF(pointSize);
    return f;
}

} // namespace tb
