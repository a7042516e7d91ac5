#pragma once

#include <QString>

class LogDocument;
class LogFileHost;
class WingbookOptions;

// The result of reading or writing a log file: ok, or the message for the error box. A
// successful save may also bring a notice for an information box.
struct LogFileResult {
    bool ok = true;
    QString error;
    QString notice;
};

// Reads a log file into the four tables, replacing them. A missing file changes nothing.
LogFileResult OpenXMLFile(LogDocument &document, const QString &fileName,
                          const WingbookOptions &options, LogFileHost &host);

// Writes the four tables to a log file. The old file is first copied to its backup name; the
// new contents go to a temporary file that replaces the old one only once fully written, so a
// failed write leaves the old file as it was (and the log stays modified). Cells holding
// characters that a log file cannot carry get blanks in their place first, and the notice
// says how many cells changed.
LogFileResult SaveXMLFile(LogDocument &document, const QString &fileName,
                          const WingbookOptions &options, LogFileHost &host);

// The backup name of a file: log.xml gives log.~xml, a name without extension gets ".~".
QString BackupFileName(const QString &fileName);

// Copies a file to its backup name through a temporary file in the same folder, so that a
// failed copy (a full disk) leaves the previous backup as it was. Returns whether it copied.
bool MakeBackupCopy(const QString &fileName);
