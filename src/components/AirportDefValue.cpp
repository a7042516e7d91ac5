#include "components/AirportDefValue.h"

#include "components/LumBreakApart.h"

namespace
{

const QChar NameEnd = u'|';
const QString CityEnd = QStringLiteral(", ");

struct CityAndCountry {
    QString city;
    QString country;
};

// The cut of the whole value: depends on the number of commas anywhere in it.
CityAndCountry cityAndCountry(const QString &value)
{
    const qsizetype bar = value.indexOf(NameEnd);
    const QString after = bar < 0 ? QString() : value.sliced(bar + 1);
    CityAndCountry result;

    switch (value.count(u',')) {
    case 1: {
        const qsizetype cut = after.indexOf(CityEnd);
        if (cut < 0) {
            result.city = after;
        } else {
            result.city = after.first(cut);
            result.country = after.sliced(cut + CityEnd.size());
        }
        break;
    }
    case 2: {
        TLumBreakApart splitter;
        splitter.setBreakString(CityEnd);
        splitter.setBaseString(after);
        splitter.BreakApart();
        const QStringList &pieces = splitter.StringList();
        if (pieces.size() >= 2)
            result.city = pieces.at(0) + CityEnd + pieces.at(1);
        if (pieces.size() >= 3)
            result.country = pieces.at(2);
        break;
    }
    default:
        break;
    }
    return result;
}

} // namespace

QString ExtractAirportNameDEF(const QString &AString)
{
    const qsizetype bar = AString.indexOf(NameEnd);
    return bar < 0 ? AString : AString.first(bar);
}

QString ExtractAirportCityDEF(const QString &AString)
{
    return cityAndCountry(AString).city;
}

QString ExtractAirportCountryDEF(const QString &AString)
{
    return cityAndCountry(AString).country;
}
