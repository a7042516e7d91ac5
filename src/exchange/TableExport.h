#pragma once

#include "exchange/ExportFile.h"
#include "model/LogFileHost.h"

#include <QString>

class LogTable;

// What an export shows and asks while it runs: the window's pointer, toolbar, status and
// progress bars (LogFileHost), its Processing flag, and between two rows whether the user
// asked to stop. The command-line tool and tests use the defaults: nothing shown, no stop.
class ExportHost : public LogFileHost
{
public:
    virtual void setProcessing(bool on) { Q_UNUSED(on); }
    // Called before every row: lets pending window events run (a click on a table may ask
    // "Do you want to stop processing?"), then says whether the user asked to stop. Answering
    // true takes the request: the host clears StopRequested and Processing.
    virtual bool takeStopRequest() { return false; }
};

// The header line of a table as CSV: its column captions, quoted and joined with ",".
QString CsvHeaderLine(const LogTable &table);
// One row as DEF, the line form the DEF import reads:
//   Flights    Date Time<TAB>From-To|AirlineFlight
//   Airlines   Airline<TAB>Name
//   Airports   Airport<TAB>Name|City, Country
//   Distances  From-To<TAB>Miles
// Empty values are written as nothing.
void appendDefLine(ExportLines &lines, const LogTable &table, int row);

struct ExportOutcome {
    bool ok = true;      // the file was written
    QString error;       // why it was not
    int rowsWritten = 0; // rows of the table in the file (the header not counted)
    bool stopped = false;
};

// Writes the table, in its current row order, as CSV (header first) or DEF. A stopped export
// writes the rows built so far. The table is not changed.
ExportOutcome ExportTable(const LogTable &table, ExportFormat format, const QString &FileName,
                          ExportHost &host);
inline ExportOutcome ExportToCSVFile(const LogTable &table, const QString &FileName,
                                     ExportHost &host)
{
    return ExportTable(table, ExportFormat::CSV, FileName, host);
}
inline ExportOutcome ExportToDEFFile(const LogTable &table, const QString &FileName,
                                     ExportHost &host)
{
    return ExportTable(table, ExportFormat::DEF, FileName, host);
}
