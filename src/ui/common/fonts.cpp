#include "ui/common/fonts.h"

#include <fontconfig/fontconfig.h>

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

std::thread loadFontConfigurationAhead()
{
    return std::thread([] { FcInit(); });
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
