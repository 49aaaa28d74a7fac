#include "core/common/sizetag.h"

#include "core/common/rounding.h"
#include "core/common/valuetext.h"

#include <algorithm>

namespace tb {

namespace {

// Reads exactly `len` ASCII digits; anything else (a sign, a blank, a
// full-width digit) makes the field invalid. QString::toInt would accept
// " 12" or "+12", which no tag the chooser writes ever contains.
std::optional<int> digits(const QString &s, int from, int len)
{
    int value = 0;
    for (int i = from; i < from + len; ++i) {
        const char16_t c = s.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + int(c - u'0');
    }
    return value;
}

// The numeric value of a tag field as BASIC's Val reads it (blanks ignored,
// trailing text dropped), or nullopt when the field starts with no number. A
// sign gives no size either: a frame cannot be negative.
std::optional<int> fieldValue(const QString &field)
{
    QString compact = field;
    compact.remove(QLatin1Char(' ')).remove(QLatin1Char('\t')).remove(QLatin1Char('\n'));
    const auto digit = [&compact](int i) {
        return i < compact.size() && compact.at(i) >= QLatin1Char('0') && compact.at(i) <= QLatin1Char('9');
    };
    if (!digit(0) && !(compact.startsWith(QLatin1Char('.')) && digit(1)))
        return std::nullopt;
    return int(roundedClamp(leadingNumber(field), 0, 32767));
}

} // namespace

std::optional<SizeTag> parseSizeTag(const QString &tag)
{
    // Only the exact form is trusted: the settings can hold anything, and a
    // half-read tag would give a picture some arbitrary size.
    if (tag.size() != kSizeTagLength || tag.at(6) != QLatin1Char('-'))
        return std::nullopt;
    const QStringView mode = QStringView(tag).left(2);
    SizeTag t;
    if (mode == u"st")
        t.stretch = true;
    else if (mode != u"nn")
        return std::nullopt;
    const auto w = digits(tag, 2, 4);
    const auto h = digits(tag, 7, 4);
    if (!w || !h)
        return std::nullopt;
    t.width = *w;
    t.height = *h;
    return t;
}

QString makeSizeTag(bool stretch, int widthTwips, int heightTwips)
{
    const int w = std::clamp(widthTwips, 0, 9999);
    const int h = std::clamp(heightTwips, 0, 9999);
    return QStringLiteral("%1%2-%3")
        .arg(stretch ? QStringLiteral("st") : QStringLiteral("nn"))
        .arg(w, 4, 10, QLatin1Char('0'))
        .arg(h, 4, 10, QLatin1Char('0'));
}

std::optional<QSize> stretchedSize(const QString &tag)
{
    // Read as the add step reads a tag: any tag beginning with "st", sizes
    // from characters 3 … 6 and 8 … the end, so that a hand-edited
    // "st1200-600" still gives 1200 × 600.
    if (!tag.startsWith(QLatin1String("st")))
        return std::nullopt;
    const auto w = fieldValue(tag.mid(2, 4));
    const auto h = fieldValue(tag.mid(7));
    if (!w || !h)
        return std::nullopt;
    return QSize(*w, *h);
}

PictureDisplay pictureDisplay(const QImage &picture, const QString &tag, int twipsPerPixel)
{
    PictureDisplay d;
    if (const auto s = stretchedSize(tag)) {
        d.stretched = true;
        d.twips = *s;
    } else {
        // Screen room, not stored pixels: an "@2x" flag takes the room of the ordinary one.
        const QSize own = picture.deviceIndependentSize().toSize();
        d.twips = QSize(own.width() * twipsPerPixel, own.height() * twipsPerPixel);
    }
    return d;
}

} // namespace tb
