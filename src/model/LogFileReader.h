#pragma once

#include <QString>

class LogDocument;
class LogFileHost;

// Reads the records of a log file into the four tables of a document, which must be empty.
// The file is parsed as a stream (nothing of it is kept) by a parser
// that checks well-formedness in full and converts every encoding it knows; no external
// resource is read and no entity is expanded. Progress steps once per node below the root.
//
// Returns the empty text, or the message for the error box: the parser's reason, "Line: N"
// and at most the first 40 characters of the failing line, each on its own line. After an
// error the tables are empty again.
QString ReadLogRecords(const QString &fileName, LogDocument &document, LogFileHost &host);
