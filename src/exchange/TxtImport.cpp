#include "components/LumBreakApart.h"
#include "components/TextHelpers.h"
#include "exchange/ImportRows.h"
#include "exchange/ImportRun.h"
#include "exchange/Importers.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

namespace
{

struct AirportPlace {
    QString name;
    QString city;
    QString country;
};

// "City[, Region] [Name], Country": the name in square brackets; the city and country only
// for one comma (city, country) or two (city, region, country).
AirportPlace readLocation(const QString &location)
{
    const QString comma = QStringLiteral(", ");
    const QString bracket = QStringLiteral(" [");
    AirportPlace place;
    place.name = TextBetween(location, u'[', u']');
    const qsizetype commas = CountChar(location, u',');
    if (commas == 1) {
        place.city = TextBefore(bracket, TextBefore(comma, location));
        place.country = TextAfter(comma, location);
    } else if (commas == 2) {
        TLumBreakApart splitter;
        splitter.setBreakString(comma);
        splitter.setBaseString(location);
        splitter.BreakApart();
        const QStringList &parts = splitter.StringList();
        if (parts.size() >= 2)
            place.city = TextBefore(bracket, parts[0] + comma + parts[1]);
        if (parts.size() >= 3)
            place.country = parts[2];
    }
    if (place.country == QLatin1String("USA"))
        place.country = QStringLiteral("United States");
    return place;
}

} // namespace

ImportResult ImportFromTXTFile(LogDocument &document, const QString &FileName,
                               const WingbookOptions &options, ImportHost &host)
{
    ImportRun run(document, host, FileName);
    if (!run.open())
        return run.finish({});
    LogTable &airports = document.Airports;
    run.freeze({&airports});
    const bool airportsWereEmpty = run.atStart().airportsEmpty;
    TLumBreakApart splitter;
    splitter.setBreakString(QStringLiteral("\t"));
    ImportCounters n;
    for (const QString &line : run.lines()) {
        if (!run.nextLine())
            break;
        splitter.setBaseString(line);
        splitter.BreakApart();
        const QStringList &pieces = splitter.StringList();
        if (pieces.size() < 2 || pieces[0].size() != 3)
            continue;
        const QString code = TrimQuotes(pieces[0]);
        const AirportPlace place = readLocation(pieces[1]);
        OverwriteOrAppend(airports, FindCodeRow(airports, airportsWereEmpty, code),
                          {code, place.name, place.city, place.country});
        ++n.airports;
    }
    run.releaseTables();
    if (options.SortAlphabeticalCodes() && n.airports > 0)
        document.SortAirports();
    return run.finish(n);
}
