#include "editing/ReferenceFilling.h"
#include "exchange/CsvLines.h"
#include "exchange/ImportRows.h"
#include "exchange/ImportRun.h"
#include "exchange/Importers.h"
#include "exchange/NormalizedTexts.h"
#include "exchange/RecentTextIds.h"
#include "exchange/SettledReferences.h"
#include "model/LogDocument.h"
#include "model/PadFlight.h"
#include "model/StorableText.h"
#include "options/WingbookOptions.h"

namespace
{

enum FlightColumn {
    FlightDate,
    FlightTime,
    FlightFrom,
    FlightTo,
    FlightAirline,
    FlightNumber,
    FlightColumnCount
};

// A text of a line as a cell holds it, and the text itself, by their ids in the log's pool
// (raw is -1 for a text that is not in the pool, and so in no cell).
struct PieceIds {
    TextPool::Id stored;
    qint64 raw;
};

PieceIds pieceIds(TextPool &pool, QStringView text)
{
    if (IsStorableText(text)) {
        const TextPool::Id id = pool.intern(text);
        return {id, id};
    }
    return {pool.intern(StorableText(text.toString())), pool.find(text)};
}

// The same, answered from the texts the column met lately where it can.
PieceIds pieceIds(TextPool &pool, RecentTextIds &recent, QStringView text)
{
    if (const std::optional<TextPool::Id> id = recent.find(text))
        return {*id, *id};
    const PieceIds ids = pieceIds(pool, text);
    if (qint64(ids.stored) == ids.raw)
        recent.remember(text, ids.stored);
    return ids;
}

// The ids of the texts of the flight lines. The flight lines of a file written from a log come
// in date order: a line's date is most often the one of the line before, whose ids are kept.
struct FlightTextIds {
    bool dateKnown = false;
    QString date;
    PieceIds dateIds{};
    RecentTextIds time, from, to, airline, number;

    PieceIds dateOf(TextPool &pool, QStringView text)
    {
        if (!dateKnown || date != text) {
            date = text.toString();
            dateIds = pieceIds(pool, text);
            dateKnown = true;
        }
        return dateIds;
    }
};

// A flight line: the flight with the file's Date and Time texts (before normalising) is
// overwritten after giving back its references, or the flight is appended; then the flight
// takes the references of the values now in its row.
void importFlight(LogDocument &document, const CsvRow &row, bool flightsWereEmpty,
                  NormalizedTexts &texts, FlightTextIds &known, SettledReferences &settled,
                  const ReferenceFiles &files, const WingbookOptions &options)
{
    LogTable &flights = document.Flights;
    TextPool &pool = flights.textPool();
    const auto &f = row.fields;
    const QStringView date = texts.date(f[FlightDate]);
    const QStringView time = texts.time(f[FlightTime]);
    const PieceIds dateIds = known.dateOf(pool, date);
    const PieceIds timeIds = pieceIds(pool, known.time, time);
    // The flight is looked up by the file's texts; most are already in the log's forms.
    const qint64 fileDate = date == f[FlightDate] ? dateIds.raw : pool.find(f[FlightDate]);
    const qint64 fileTime = time == f[FlightTime] ? timeIds.raw : pool.find(f[FlightTime]);
    const int found = flightsWereEmpty || fileDate < 0 || fileTime < 0
                          ? -1
                          : flights.findPairIds(TextPool::Id(fileDate), TextPool::Id(fileTime));
    const PieceIds from = pieceIds(pool, known.from, f[FlightFrom]);
    const PieceIds to = pieceIds(pool, known.to, f[FlightTo]);
    const PieceIds airline = pieceIds(pool, known.airline, f[FlightAirline]);
    QString padded;
    const PieceIds number = pieceIds(pool, known.number, PadFlight(f[FlightNumber], padded));
    const TextPool::Id cells[] = {dateIds.stored, timeIds.stored, from.stored,
                                  to.stored,      airline.stored, number.stored};
    static_assert(std::size(cells) == FlightColumnCount);
    if (found >= 0 && settled.unchanged(found, from.raw, to.raw, airline.raw)) {
        flights.setRowIds(found, cells);
        return;
    }
    if (found >= 0) {
        document.adjustReferencesOfFlight(found, -1);
        flights.setRowIds(found, cells);
    } else {
        flights.appendRowIds(cells);
    }
    // Copies: filling in the references adds texts to the pool, which may move its strings.
    const QString fromText = pool.text(from.stored);
    const QString toText = pool.text(to.stored);
    const QString airlineText = pool.text(airline.stored);
    TakeFlightReferences(document, files, options, fromText, toText, airlineText);
    settled.taken(from.stored, to.stored, airline.stored);
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
    const QList<QStringView> &lines = run.lineViews();
    const QString separator = ChooseCsvSeparator(lines);
    if (lines.size() >= 2)
        host.stepProgress();
    run.freeze(document.tables());
    const TablesAtStart &start = run.atStart();
    ImportCounters n;
    NormalizedTexts texts;
    FlightTextIds known;
    SettledReferences settled(document, options);
    for (const QStringView line : lines) {
        if (!run.nextLine())
            break;
        const CsvRow row = ReadCsvLine(separator, line);
        const bool reference = row.kind != CsvRowKind::Flight && row.kind != CsvRowKind::None;
        const QStringList f = reference ? row.texts() : QStringList();
        switch (row.kind) {
        case CsvRowKind::Airline:
            OverwriteOrAppend(document.Airlines,
                              FindCodeRow(document.Airlines, start.airlinesEmpty, f[0]), f);
            settled.airlinesWritten();
            ++n.airlines;
            break;
        case CsvRowKind::Distance:
            settled.distancesWritten(OverwriteOrAppend(
                document.Distances,
                FindPairRow(document.Distances, start.distancesEmpty, f[0], f[1]), f));
            ++n.distances;
            break;
        case CsvRowKind::Airport:
            OverwriteOrAppend(document.Airports,
                              FindCodeRow(document.Airports, start.airportsEmpty, f[0]), f);
            settled.airportsWritten();
            ++n.airports;
            break;
        case CsvRowKind::Flight:
            importFlight(document, row, start.flightsEmpty, texts, known, settled, files, options);
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
