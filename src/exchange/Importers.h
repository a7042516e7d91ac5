#pragma once

#include "exchange/ImportHost.h"
#include "exchange/ImportResult.h"

#include <QString>

class LogDocument;
class WingbookOptions;
struct ReferenceFiles;

// The importers merge the rows of a text file into the open log: a line either overwrites the
// row that holds its key or is appended; lines of no known shape are skipped without a report.
// Each runs its loop through the host (progress, stop question) and marks the log modified when
// it read rows.

// A comma-, semicolon- or TAB-separated file of airlines, airports, distances and flights.
// Imported flights take their references as a flight entered in the dialog does (automatic
// filling from the reference files, as the options say).
ImportResult ImportFromCSVFile(LogDocument &document, const QString &FileName,
                               const ReferenceFiles &files, const WingbookOptions &options,
                               ImportHost &host);
// A TAB-separated list of airports: code, then "City[, Region] [Name], Country".
ImportResult ImportFromTXTFile(LogDocument &document, const QString &FileName,
                               const WingbookOptions &options, ImportHost &host);
// The program's own TAB-separated records: flights, airlines, airports and distances, told
// apart by the length of the first field. Takes no references.
ImportResult ImportFromDEFFile(LogDocument &document, const QString &FileName,
                               const WingbookOptions &options, ImportHost &host);

enum class ImportKind { None, Csv, Txt, Def };

// The importer for a file name by its extension: ".csv", ".txt" or ".def". The Import dialog
// and the recent-file list compare it exactly; a drop, the start-up file and the command-line
// tool without regard to case.
ImportKind ImportKindOf(const QString &fileName, Qt::CaseSensitivity sensitivity);

// Runs the importer of that kind; ImportKind::None imports nothing.
ImportResult ImportFile(ImportKind kind, LogDocument &document, const QString &fileName,
                        const ReferenceFiles &files, const WingbookOptions &options,
                        ImportHost &host);
