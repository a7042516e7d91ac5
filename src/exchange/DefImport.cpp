#include "components/AirportDefValue.h"
#include "components/LumBreakApart.h"
#include "components/TextHelpers.h"
#include "exchange/ImportRows.h"
#include "exchange/ImportRun.h"
#include "exchange/Importers.h"
#include "exchange/NormalizedTexts.h"
#include "model/LogDocument.h"
#include "model/PadFlight.h"
#include "options/WingbookOptions.h"

namespace
{

// The kind of a record is told by the length of its first field alone.
enum RecordLength { kAirlineCode = 2, kAirportCode = 3, kRoute = 7, kDateAndTime = 16 };

// "yyyy-mm-dd hh:nn" and "FROM-TO|XX123": the flight found by the date and time as written is
// overwritten, or one is appended. References are left as they are.
void importFlight(LogTable &flights, bool wasEmpty, const QString &when, const QString &what,
                  NormalizedTexts &texts)
{
    const QString space = QStringLiteral(" ");
    const QString bar = QStringLiteral("|");
    const QString dash = QStringLiteral("-");
    const QString date = TextBefore(space, when);
    const QString time = TextAfter(space, when);
    const QString route = TextBefore(bar, what);
    const QString carrier = TextAfter(bar, what);
    OverwriteOrAppend(flights, FindPairRow(flights, wasEmpty, date, time),
                      {texts.date(date), texts.time(time), TextBefore(dash, route),
                       TextAfter(dash, route), carrier.left(2), PadFlight(carrier.mid(2))});
}

void sortAfterDefImport(LogDocument &document, const WingbookOptions &options,
                        const ImportCounters &n)
{
    if (!options.SortAlphabeticalCodes())
        return;
    if (n.flights > 0)
        document.SortFlights();
    if (n.airlines > 0)
        document.SortAirlines();
    if (n.airports > 0)
        document.SortAirports();
    if (n.distances > 0)
        document.SortDistances();
}

} // namespace

ImportResult ImportFromDEFFile(LogDocument &document, const QString &FileName,
                               const WingbookOptions &options, ImportHost &host)
{
    ImportRun run(document, host, FileName);
    if (!run.open())
        return run.finish({});
    run.freeze(document.tables());
    const TablesAtStart &start = run.atStart();
    TLumBreakApart splitter;
    splitter.setBreakString(QStringLiteral("\t"));
    NormalizedTexts texts;
    ImportCounters n;
    const QString dash = QStringLiteral("-");
    for (const QString &line : run.lines()) {
        if (!run.nextLine())
            break;
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        splitter.setBaseString(line);
        splitter.BreakApart();
        const QStringList &pieces = splitter.StringList();
        if (pieces.size() < 2)
            continue;
        const QString &p1 = pieces[0];
        const QString &p2 = pieces[1];
        switch (p1.size()) {
        case kDateAndTime:
            importFlight(document.Flights, start.flightsEmpty, p1, p2, texts);
            ++n.flights;
            break;
        case kAirlineCode:
            OverwriteOrAppend(document.Airlines,
                              FindCodeRow(document.Airlines, start.airlinesEmpty, p1), {p1, p2});
            ++n.airlines;
            break;
        case kAirportCode:
            OverwriteOrAppend(document.Airports,
                              FindCodeRow(document.Airports, start.airportsEmpty, p1),
                              {p1, ExtractAirportNameDEF(p2), ExtractAirportCityDEF(p2),
                               ExtractAirportCountryDEF(p2)});
            ++n.airports;
            break;
        case kRoute: {
            const QString from = TextBefore(dash, p1);
            const QString to = TextAfter(dash, p1);
            OverwriteOrAppend(document.Distances,
                              FindPairRow(document.Distances, start.distancesEmpty, from, to),
                              {from, to, p2});
            ++n.distances;
            break;
        }
        default:
            break;
        }
    }
    run.releaseTables();
    sortAfterDefImport(document, options, n);
    return run.finish(n);
}
