#include "exchange/TableExport.h"

#include "model/LogTable.h"

#include <string_view>
#include <vector>

namespace
{

enum FlightColumn { FlightDate, FlightTime, FlightFrom, FlightTo, FlightAirline, FlightNumber };
enum AirportColumn { AirportCode, AirportName, AirportCity, AirportCountry };

// Takes the window's busy state for the length of an export, and always gives it back.
class ExportRun
{
public:
    ExportRun(ExportHost &host, const QString &fileName, int rows) : m_host(host)
    {
        m_host.beginBusy(true);
        m_host.setProgressPosition(0);
        m_host.setStatusText(QStringLiteral("Exporting ") + fileName);
        m_host.setProcessing(true);
        m_host.setProgressRange(rows);
    }
    ~ExportRun()
    {
        m_host.setProcessing(false);
        m_host.updateStatusBar();
        m_host.endBusy();
    }

private:
    ExportHost &m_host;
};

// About the size of the whole export, so that its text is put in one buffer once: the cells'
// bytes and, per row, the quotes and separators of the longer CSV form (the DEF form and its
// few extra characters of an airport row fit into them as well).
qsizetype exportBytesOf(const LogTable &table, ExportFormat format)
{
    const TextPool &pool = table.textPool();
    const int columns = table.columnTotal();
    size_t bytes = 4096; // the header line and more
    for (int c = 0; c < columns; ++c) {
        const auto &ids = table.columnIds(c);
        for (int r = 0; r < table.count(); ++r)
            bytes += pool.utf8(ids[size_t(r)]).size();
    }
    const size_t perRow = format == ExportFormat::CSV ? size_t(3 * columns + 1) : 16;
    return qsizetype(bytes + perRow * size_t(table.count()));
}

} // namespace

QString CsvHeaderLine(const LogTable &table)
{
    QStringList captions;
    for (const LogColumn &column : table.columns())
        captions.append(column.caption);
    return CsvLine(captions);
}

void appendDefLine(ExportLines &lines, const LogTable &table, int row)
{
    // The cells as the text pool keeps them in UTF-8: nothing to decode or encode again.
    const TextPool &pool = table.textPool();
    const auto c = [&table, &pool, row](int column) {
        return pool.utf8(table.cellId(row, column));
    };
    switch (table.kind()) {
    case TableKind::Flights:
        lines.appendUtf8({c(FlightDate), " ", c(FlightTime), "\t", c(FlightFrom), "-", c(FlightTo),
                          "|", c(FlightAirline), c(FlightNumber)});
        return;
    case TableKind::Airlines:
        lines.appendUtf8({c(0), "\t", c(1)});
        return;
    case TableKind::Airports:
        lines.appendUtf8(
            {c(AirportCode), "\t", c(AirportName), "|", c(AirportCity), ", ", c(AirportCountry)});
        return;
    case TableKind::Distances:
        lines.appendUtf8({c(0), "-", c(1), "\t", c(2)});
        return;
    case TableKind::Other:
        break;
    }
    QStringList cells;
    for (int column = 0; column < table.columnTotal(); ++column)
        cells.append(table.cell(row, column));
    lines.append(cells.join(QLatin1Char('\t')));
}

ExportOutcome ExportTable(const LogTable &table, ExportFormat format, const QString &FileName,
                          ExportHost &host)
{
    ExportOutcome outcome;
    if (format == ExportFormat::None)
        return {false, QStringLiteral("No data has been exported."), 0, false};
    ExportRun run(host, FileName, table.count());
    ExportLines lines;
    lines.reserve(exportBytesOf(table, format));
    if (format == ExportFormat::CSV)
        lines.append(CsvHeaderLine(table));
    const TextPool &pool = table.textPool();
    std::vector<std::string_view> values(size_t(table.columnTotal()));
    for (int r = 0; r < table.count(); ++r) {
        if (host.takeStopRequest()) {
            outcome.stopped = true;
            break;
        }
        host.stepProgress();
        if (format == ExportFormat::CSV) {
            for (int c = 0; c < table.columnTotal(); ++c)
                values[size_t(c)] = pool.utf8(table.cellId(r, c));
            lines.appendCsvUtf8(values);
        } else
            appendDefLine(lines, table, r);
        ++outcome.rowsWritten;
    }
    // The bar shows every row built, however seldom it was redrawn on the way.
    host.setProgressPosition(outcome.rowsWritten);
    const ExportWriteResult written = WriteExportFile(FileName, lines);
    outcome.ok = written.ok;
    outcome.error = written.error;
    return outcome;
}
