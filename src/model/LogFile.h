#pragma once

#include <QString>

class LogDocument;
class LogFileHost;
class WingbookOptions;

// The result of reading or writing a log file: ok, or the message for the error box.
struct LogFileResult {
    bool ok = true;
    QString error;
};

// Reads a log file into the four tables, replacing them. A missing file changes nothing.
LogFileResult OpenXMLFile(LogDocument &document, const QString &fileName,
                          const WingbookOptions &options, LogFileHost &host);

// Writes the four tables to a log file. The old file is first copied to its backup name; the
// new contents go to a temporary file that replaces the old one only once fully written, so a
// failed write leaves the old file as it was (and the log stays modified).
LogFileResult SaveXMLFile(LogDocument &document, const QString &fileName,
                          const WingbookOptions &options, LogFileHost &host);

// The backup name of a file: log.xml gives log.~xml, a name without extension gets ".~".
QString BackupFileName(const QString &fileName);
