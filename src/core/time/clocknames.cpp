#include "core/time/clocknames.h"

namespace tb {

QString placedClockName(const QString &pictureName, DateTime shown, bool summerMark)
{
    QString name = formatDate(shown) + QLatin1Char(' ') + formatTime(shown);
    if (!pictureName.isEmpty())
        name = pictureName + QLatin1Char(' ') + name;
    if (summerMark)
        name += QStringLiteral(" 夏時間");
    return name;
}

QString bandClockName(int k, DateTime shown)
{
    const int hours = 2 * k - 10;
    // Greenwich itself has no sign to speak: "±0".
    const QString offset = hours > 0 ? QStringLiteral("+%1").arg(hours)
        : hours < 0                  ? QString::number(hours)
                                     : QStringLiteral("±0");
    return QStringLiteral("グリニッジ標準時 %1 時間 %2 %3").arg(offset, formatDate(shown), formatTime(shown));
}

} // namespace tb
