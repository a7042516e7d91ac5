#include "exchange/PeerImport.h"

#include "components/LumFlatFile.h"
#include "editing/ReferenceFilling.h"
#include "exchange/CsvRecordReader.h"
#include "exchange/ImportRun.h"
#include "exchange/PeerFlight.h"
#include "model/LogDocument.h"
#include "model/StorableText.h"
#include "options/WingbookOptions.h"

#include <QSet>

namespace
{

enum FlightColumn { FlightDate, FlightTime, FlightFrom, FlightTo, FlightAirline, FlightNumber };
enum AirlineColumn { AirlineCode, AirlineName };
enum DistanceColumn { DistanceFrom, DistanceTo, DistanceMiles };

QStringList flightCells(const LogTable &flights, int r)
{
    QStringList cells;
    cells.reserve(flights.columnTotal());
    for (int c = 0; c < flights.columnTotal(); ++c)
        cells << flights.cell(r, c);
    return cells;
}

// Turns the records of the file into flights of the log, the first non-blank record being the
// header that says where the columns stand.
class PeerFlightAdder
{
public:
    PeerFlightAdder(LogDocument &document, const ReferenceFiles &files,
                    const WingbookOptions &options, PeerImportSummary &summary)
        : m_document(document), m_files(files), m_options(options), m_summary(summary),
          m_airlineCodes(files.Airlines)
    {
        // The flights already in the log, by all six cells: a flight of the file that is
        // among them is not added again.
        const LogTable &flights = document.Flights;
        m_known.reserve(flights.count());
        for (int r = 0; r < flights.count(); ++r)
            m_known.insert(flightCells(flights, r));
    }

    // False when the header names no known kind of export.
    bool add(const CsvRecord &record)
    {
        if (record.isBlank())
            return true;
        if (m_columns.kind == PeerCsvKind::None) {
            m_columns = PeerColumnsOf(record.fields);
            return m_columns.kind != PeerCsvKind::None;
        }
        const PeerFlight f = ReadPeerFlight(m_columns, record.fields, m_airlineCodes);
        if (!f.skipReason.isEmpty()) {
            m_summary.skip(record.line, f.skipReason);
            return true;
        }
        QStringList cells{f.Date, f.Time, f.From, f.To, f.Airline, f.Flight};
        for (QString &cell : cells)
            cell = StorableText(cell); // as the table keeps it
        if (m_known.contains(cells)) {
            ++m_summary.alreadyInLog;
            return true;
        }
        m_document.Flights.appendRow(cells);
        m_known.insert(cells);
        const QString &from = cells[FlightFrom];
        const QString &to = cells[FlightTo];
        const QString &airline = cells[FlightAirline];
        TakeFlightReferences(m_document, m_files, m_options, from, to, airline);
        fillAirlineName(airline, f.airlineName);
        fillMiles(from, to, f.miles);
        ++m_summary.imported;
        return true;
    }

private:
    // The reference file names the airlines it knows; for the others the file's name is
    // better than none, but a name the user gave is kept.
    void fillAirlineName(const QString &airline, const QString &name)
    {
        if (name.isEmpty() || !m_files.Airlines.GetValueData(airline).isEmpty())
            return;
        LogTable &airlines = m_document.Airlines;
        const int r = airlines.FindItemByText(airline, AirlineCode);
        if (r >= 0 && airlines.cell(r, AirlineName).isEmpty())
            airlines.setCell(r, AirlineName, name);
    }

    // A distance the file gives fills a row whose distance is not known yet.
    void fillMiles(const QString &from, const QString &to, int miles)
    {
        if (miles <= 0)
            return;
        LogTable &distances = m_document.Distances;
        const int r = distances.findPairEitherWay(from, to);
        if (r < 0)
            return;
        const QString known = distances.cell(r, DistanceMiles);
        if (known.isEmpty() || known == u"0")
            distances.setCell(r, DistanceMiles, QString::number(miles));
    }

    LogDocument &m_document;
    const ReferenceFiles &m_files;
    const WingbookOptions &m_options;
    PeerImportSummary &m_summary;
    AirlineCodesByName m_airlineCodes;
    PeerColumns m_columns;
    QSet<QStringList> m_known;
};

} // namespace

void PeerImportSummary::skip(int line, const QString &reason)
{
    ++skipped;
    if (listed.size() < kListedSkips)
        listed.append({line, reason});
}

QString PeerImportSummary::text() const
{
    QString text =
        QStringLiteral("%1 flight(s) imported, %2 already in the log, %3 line(s) skipped")
            .arg(imported)
            .arg(alreadyInLog)
            .arg(skipped);
    for (const SkippedLine &s : listed)
        text += QStringLiteral("\nLine %1: %2").arg(s.line).arg(s.reason);
    if (skipped > listed.size())
        text +=
            QStringLiteral("\n(%1 more skipped line(s) not listed)").arg(skipped - listed.size());
    if (stopped)
        text += QStringLiteral("\nThe import was stopped before the end of the file.");
    return text;
}

PeerImportResult ImportFromPeerCSVFile(LogDocument &document, const QString &FileName,
                                       const ReferenceFiles &files, const WingbookOptions &options,
                                       ImportHost &host)
{
    PeerImportResult out;
    ImportRun run(document, host, FileName);
    if (!run.open()) {
        out.result = run.finish({});
        return out;
    }
    const QStringList &lines = run.lines();
    run.freeze(document.tables());
    PeerImportSummary &summary = out.summary;
    PeerFlightAdder adder(document, files, options, summary);
    CsvRecordReader reader;
    QList<CsvRecord> records;
    bool recognised = true;
    qsizetype stepped = 0; // lines read once; a line read again after a stray quote is not
    qsizetype i = 0;
    while (recognised) {
        const bool atEnd = i == lines.size();
        if (reader.inRecord() &&
            (atEnd || i - reader.recordStartLine() + 1 >= kMaxLinesOfOneRecord)) {
            // A quote that was never closed: skip the line it opened on, read on after it.
            const int start = reader.recordStartLine();
            summary.skip(start, QStringLiteral("quote not closed"));
            reader.restart();
            i = start;
            continue;
        }
        if (atEnd)
            break;
        if (i >= stepped) {
            if (!run.nextLine()) {
                summary.stopped = true;
                break;
            }
            stepped = i + 1;
        }
        reader.feed(lines.at(i), int(i + 1), records);
        for (const CsvRecord &record : std::as_const(records)) {
            if (!(recognised = adder.add(record)))
                break;
        }
        records.clear();
        ++i;
    }
    run.releaseTables();
    if (summary.imported > 0) {
        if (options.DisplayLatestFlightsFirst())
            document.SortFlights();
        SortFilledReferenceTables(document, options);
    }
    ImportCounters counters;
    counters.flights = summary.imported;
    out.result = run.finish(counters);
    if (!recognised) {
        out.result.ok = false;
        out.result.error = QStringLiteral("The file \"%1\" is not a flight export of a web "
                                          "logbook: its first line names none of the columns "
                                          "looked for.")
                               .arg(FileName);
        return out;
    }
    if (out.result.ok)
        host.showImportSummary(summary.text());
    return out;
}
