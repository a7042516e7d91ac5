#pragma once

#include "cli/CliCommand.h"
#include "model/LogDocument.h"

#include <QJsonObject>

// Reads a log as the window opens one; on failure writes the error to ctx.err.
bool readLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName);
// Writes a log as Save does (backup included); on failure writes the error to ctx.err.
bool saveLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName);
// The end of a command that changed a log (its options include --dry-run and --json): the log
// saved as Save does unless --dry-run, then printed as show --json does with --json, else its
// counts line. Returns the command's exit status.
int saveAndPrintChangedLog(CliContext &ctx, LogDocument &document, const QString &fileName);
// The log as one JSON object: the four tables and the four preferred values.
QJsonObject logToJson(const LogDocument &document);
// The log as aligned text tables, the counts line and the preferred values.
void printLogAsText(QTextStream &out, const LogDocument &document);
