#include "core/editor/builtinpictures.h"

#include <QGuiApplication>
#include <QImageReader>

namespace tb {

namespace {

// Keys keep their historical spellings ("Algenia", "Iarael", "Vetnam" …):
// placed clocks name their picture by key, so changing one would orphan
// the picture of every clock that uses it. Three tags differ from their key
// for the same reason.
constexpr std::array<BuiltInPicture, kBuiltInPictureCount> kPictures = {{
    {"Afganistan", "af", "Afganistan"},
    {"Malta", "mt", ""},
    {"Mauritania", "mr", ""},
    {"00RedPointer", "", ""},
    {"UK", "gb", ""},
    {"Mexico", "mx", ""},
    {"India", "in", ""},
    {"Indonesia", "id", ""},
    {"Albania", "al", "Albania"},
    {"Algenia", "dz", "Albenia"},
    {"Aandorra", "ad", "Andorra"},
    {"Angola", "ao", "Angora"},
    {"Argentina", "ar", "Argentina"},
    {"Armenia", "am", "Armenia"},
    {"Australia", "au", "Australia"},
    {"Austria", "at", "Austria"},
    {"Azerbaijan", "az", "Azerbaijan"},
    {"Bahamas", "bs", "Bahamas"},
    {"Bahrain", "bh", "Bahrain"},
    {"Bangladesh", "bd", "Bangladesh"},
    {"Barbados", "bb", "Barbados"},
    {"Belgium", "be", "Belgium"},
    {"Belize", "bz", "Belize"},
    {"Benin", "bj", "Benin"},
    {"Bhutan", "bt", "Bhutan"},
    {"Bolivia", "bo", "Bolivia"},
    {"Botswana", "bw", "Botswana"},
    {"Brazil", "br", "Brazil"},
    {"Bulgaria", "bg", "Bulgaria"},
    {"Burundi", "bi", "Burundi"},
    {"Cambodia", "kh", "Cambodia"},
    {"Cameroon", "cm", "Cameroon"},
    {"Canada", "ca", "Canada"},
    {"CapeVerde", "cv", "CapeVerde"},
    {"CentralAfricaREP", "cf", "CentralAfricaREP"},
    {"Chad", "td", "Chad"},
    {"Chile", "cl", "Chile"},
    {"China", "cn", "China"},
    {"Columbia", "co", "Columbia"},
    {"Comoros", "km", "Comoros"},
    {"CostaRica", "cr", "CostaRica"},
    {"Croatia", "hr", "Croatia"},
    {"Cuba", "cu", "Cuba"},
    {"Cypros", "cy", "Cypros"},
    {"DemocraticRepofCongo", "cd", "DemocraticRepofCongo"},
    {"Denmark", "dk", "Denmark"},
    {"Djibouti", "dj", "Djibouti"},
    {"Dominica", "dm", "Dominica"},
    {"DominicanRep", "do", "DominicanRep"},
    {"Ecuador", "ec", ""},
    {"ElSalvador", "sv", ""},
    {"EquatorialGuinea", "gq", ""},
    {"Estonia", "ee", ""},
    {"Ethiopia", "et", ""},
    {"Finland", "fi", ""},
    {"France", "fr", ""},
    {"Fuji", "fj", ""},
    {"Gabon", "ga", ""},
    {"Gambia", "gm", ""},
    {"Germany", "de", ""},
    {"Ghana", "gh", ""},
    {"Greece", "gr", ""},
    {"Guatemala", "gt", ""},
    {"Guinea", "gn", ""},
    {"GuineaBissau", "gw", ""},
    {"Guyana", "gy", ""},
    {"Haiti", "ht", ""},
    {"Netherlands", "nl", ""},
    {"Honduras", "hn", ""},
    {"Hungary", "hu", ""},
    {"Iceland", "is", ""},
    {"Iran", "ir", ""},
    {"Iraq", "iq", ""},
    {"Irland", "ie", ""},
    {"Iarael", "il", ""},
    {"Italy", "it", ""},
    {"Jamaica", "jm", ""},
    {"Japan", "jp", ""},
    {"Jordan", "jo", ""},
    {"Kazakhstan", "kz", ""},
    {"Kenya", "ke", ""},
    {"Korea", "kr", ""},
    {"Kuwait", "kw", ""},
    {"Laos", "la", ""},
    {"Latvia", "lv", ""},
    {"Lebanon", "lb", ""},
    {"Lesotho", "ls", ""},
    {"Liberia", "lr", ""},
    {"Libya", "ly", ""},
    {"Liechtenstein", "li", ""},
    {"Lithuania", "lt", ""},
    {"Luxembourg", "lu", ""},
    {"Mdagascar", "mg", ""},
    {"Malawi", "mw", ""},
    {"Malaysia", "my", ""},
    {"Maldives", "mv", ""},
    {"Mali", "ml", ""},
    {"Monaco", "mc", ""},
    {"Mongolia", "mn", ""},
    {"Morocco", "ma", ""},
    {"Mozambique", "mz", ""},
    {"Myanmar", "mm", ""},
    {"Namibia", "na", ""},
    {"Nauru", "nr", ""},
    {"Nepal", "np", ""},
    {"Holland", "nl", ""},
    {"NewZealand", "nz", ""},
    {"Nicaragua", "ni", ""},
    {"Niger", "ne", ""},
    {"Nigeria", "ng", ""},
    {"NorthKorea", "kp", ""},
    {"Norway", "no", ""},
    {"Oman", "om", ""},
    {"Pakistan", "pk", ""},
    {"Panama", "pa", ""},
    {"PapuaNewGuinea", "pg", ""},
    {"Paraguay", "py", ""},
    {"Peru", "pe", ""},
    {"Philippines", "ph", ""},
    {"Poland", "pl", ""},
    {"Portugal", "pt", ""},
    {"PuertoRico", "pr", ""},
    {"Qatar", "qa", ""},
    {"RepofCongo", "cg", ""},
    {"Romania", "ro", ""},
    {"Russian", "ru", ""},
    {"Rwanda", "rw", ""},
    {"SaudiArabia", "sa", ""},
    {"Senegal", "sn", ""},
    {"Singapore", "sg", ""},
    {"Slovakia", "sk", ""},
    {"Slovenia", "si", ""},
    {"SolomonIslands", "sb", ""},
    {"Somalia", "so", ""},
    {"SouthAfrica", "za", ""},
    {"Spain", "es", ""},
    {"SriLanka", "lk", ""},
    {"Sudan", "sd", ""},
    {"Suriname", "sr", ""},
    {"Swaziland", "sz", ""},
    {"Sweden", "se", ""},
    {"Swiss", "ch", ""},
    {"Syria", "sy", ""},
    {"Tanzania", "tz", ""},
    {"Thailand", "th", ""},
    {"Togo", "tg", ""},
    {"Tonga", "to", ""},
    {"Trinidad&Tobago", "tt", ""},
    {"Tunisia", "tn", ""},
    {"Turkey", "tr", ""},
    {"UAE", "ae", ""},
    {"Uganda", "ug", ""},
    {"Ukraine", "ua", ""},
    {"UnitedKingdom", "gb", ""},
    {"Uruguay", "uy", ""},
    {"USA", "us", ""},
    {"Uzbekistan", "uz", ""},
    {"VaticanCity", "va", ""},
    {"Venezuela", "ve", ""},
    {"Vetnam", "vn", ""},
    {"Yemen", "ye", ""},
    {"Zambia", "zm", ""},
    {"Zimbabwe", "zw", ""},
}};

} // namespace

const std::array<BuiltInPicture, kBuiltInPictureCount> &builtInPictures()
{
    return kPictures;
}

QString builtInPictureFile(const BuiltInPicture &picture)
{
    if (picture.iso[0] == '\0')
        return QStringLiteral("redpointer.png");
    return QString::fromLatin1(picture.iso) + QStringLiteral(".png");
}

qreal builtInPictureRatio()
{
    const auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    return app && app->devicePixelRatio() > 1.0 ? 2.0 : 1.0;
}

QImage loadBuiltInPicture(const QString &path, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0 && path.endsWith(QLatin1String(".png"))) {
        QImage big(path.chopped(4) + QStringLiteral("@2x.png"));
        if (!big.isNull()) {
            big.setDevicePixelRatio(2.0);
            return big;
        }
    }
    return QImage(path);
}

bool canLoadBuiltInPicture(const QString &path, qreal devicePixelRatio)
{
    if (QImageReader(path).canRead())
        return true;
    return devicePixelRatio > 1.0 && path.endsWith(QLatin1String(".png"))
        && QImageReader(path.chopped(4) + QStringLiteral("@2x.png")).canRead();
}

} // namespace tb
