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

QString CsvRowLine(const LogTable &table, int row)
{
    return CsvLine(table.row(row).cells);
}

QString DefRowLine(const LogTable &table, int row)
{
    const QStringList &c = table.row(row).cells;
    const QChar tab = QLatin1Char('\t');
    switch (table.kind()) {
    case TableKind::Flights:
        return c[FlightDate] + QLatin1Char(' ') + c[FlightTime] + tab + c[FlightFrom] +
               QLatin1Char('-') + c[FlightTo] + QLatin1Char('|') + c[FlightAirline] +
               c[FlightNumber];
    case TableKind::Airlines:
        return c[0] + tab + c[1];
    case TableKind::Airports:
        return c[AirportCode] + tab + c[AirportName] + QLatin1Char('|') + c[AirportCity] +
               QStringLiteral(", ") + c[AirportCountry];
    case TableKind::Distances:
        return c[0] + QLatin1Char('-') + c[1] + tab + c[2];
    case TableKind::Other:
        break;
    }
    return c.join(tab);
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
        lines.append(format == ExportFormat::CSV ? CsvRowLine(table, r) : DefRowLine(table, r));
        ++outcome.rowsWritten;
    }
    const ExportWriteResult written = WriteExportFile(FileName, lines);
    outcome.ok = written.ok;
    outcome.error = written.error;
    return outcome;
}
