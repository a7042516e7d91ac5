#include "components/LumBreakApart.h"
#include "editing/ReferenceFilling.h"
#include "exchange/CsvLines.h"
#include "exchange/ImportRows.h"
#include "exchange/ImportRun.h"
#include "exchange/Importers.h"
#include "exchange/NormalizedTexts.h"
#include "exchange/SettledReferences.h"
#include "model/LogDocument.h"
#include "model/PadFlight.h"
#include "options/WingbookOptions.h"

namespace
{

enum FlightColumn { FlightDate, FlightTime, FlightFrom, FlightTo, FlightAirline, FlightNumber };

// A flight line: the flight with the file's Date and Time texts (before normalising) is
// overwritten after giving back its references, or the flight is appended; then the flight
// takes the references of the values now in its row.
void importFlight(LogDocument &document, const QStringList &f, bool flightsWereEmpty,
                  NormalizedTexts &texts, SettledReferences &settled, const ReferenceFiles &files,
                  const WingbookOptions &options)
{
    LogTable &flights = document.Flights;
    const int found = FindPairRow(flights, flightsWereEmpty, f[FlightDate], f[FlightTime]);
    const QStringList cells{
        texts.date(f[FlightDate]), texts.time(f[FlightTime]), f[FlightFrom], f[FlightTo],
        f[FlightAirline],          PadFlight(f[FlightNumber])};
    if (found >= 0 && settled.unchanged(found, f[FlightFrom], f[FlightTo], f[FlightAirline])) {
        OverwriteOrAppend(flights, found, cells);
        return;
    }
    if (found >= 0)
        document.adjustReferencesOfFlight(found, -1);
    const int r = OverwriteOrAppend(flights, found, cells);
    const QString from = flights.cell(r, FlightFrom);
    const QString to = flights.cell(r, FlightTo);
    const QString airline = flights.cell(r, FlightAirline);
    TakeFlightReferences(document, files, options, from, to, airline);
    settled.taken(from, to, airline);
}

// The sorts the options ask for. Each reference table that lines or flights may have written
// to is put back in code order, the Airlines table after airline lines too.
void sortAfterCsvImport(LogDocument &document, const WingbookOptions &options,
                        const ImportCounters &n)
{
    if (options.DisplayLatestFlightsFirst() && n.flights > 0)
        document.SortFlights();
    if (!options.SortAlphabeticalCodes())
        return;
    if (n.flights > 0 || n.airlines > 0)
        document.SortAirlines();
    if (n.flights > 0 || n.airports > 0)
        document.SortAirports();
    if (n.flights > 0 || n.distances > 0)
        document.SortDistances();
}

} // namespace

ImportResult ImportFromCSVFile(LogDocument &document, const QString &FileName,
                               const ReferenceFiles &files, const WingbookOptions &options,
                               ImportHost &host)
{
    ImportRun run(document, host, FileName);
    if (!run.open())
        return run.finish({});
    const QStringList &lines = run.lines();
    TLumBreakApart splitter;
    splitter.setBreakString(ChooseCsvSeparator(lines));
    if (lines.size() >= 2)
        host.stepProgress();
    run.freeze(document.tables());
    const TablesAtStart &start = run.atStart();
    ImportCounters n;
    NormalizedTexts texts;
    SettledReferences settled(document, options);
    for (const QString &line : lines) {
        if (!run.nextLine())
            break;
        const CsvRow row = ReadCsvLine(splitter, line);
        const QStringList &f = row.fields;
        switch (row.kind) {
        case CsvRowKind::Airline:
            OverwriteOrAppend(document.Airlines,
                              FindCodeRow(document.Airlines, start.airlinesEmpty, f[0]), f);
            settled.airlinesWritten();
            ++n.airlines;
            break;
        case CsvRowKind::Distance:
            OverwriteOrAppend(document.Distances,
                              FindPairRow(document.Distances, start.distancesEmpty, f[0], f[1]), f);
            ++n.distances;
            break;
        case CsvRowKind::Airport:
            OverwriteOrAppend(document.Airports,
                              FindCodeRow(document.Airports, start.airportsEmpty, f[0]), f);
            settled.airportsWritten();
            ++n.airports;
            break;
        case CsvRowKind::Flight:
            importFlight(document, f, start.flightsEmpty, texts, settled, files, options);
            ++n.flights;
            break;
        case CsvRowKind::None:
            break;
        }
    }
    run.releaseTables();
    sortAfterCsvImport(document, options, n);
    return run.finish(n);
}
