#pragma once

#include <QString>

class LogDocument;
class LogFileHost;

// Writes the four tables to a file in the layout of a log file, streaming from the tables'
// text ids: each distinct text is escaped once, whatever the number of cells holding it.
// The contents go to a temporary file that replaces the file only once fully written.
// Progress steps once per row. Returns the empty text, or the message for the error box.
QString WriteLogFile(const LogDocument &document, const QString &fileName, LogFileHost &host);
