#include "exchange/TableExport.h"

#include "model/LogTable.h"

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
    if (format == ExportFormat::CSV)
        lines.append(CsvHeaderLine(table));
    for (int r = 0; r < table.count(); ++r) {
        if (host.takeStopRequest()) {
            outcome.stopped = true;
            break;
        }
        host.stepProgress();
        if (format == ExportFormat::CSV) {
            for (int c = 0; c < table.columnTotal(); ++c)
                lines.addCsvUtf8(table.textPool().utf8(table.cellId(r, c)), c == 0);
            lines.endLine();
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
