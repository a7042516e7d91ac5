#pragma once

#include "cli/CliCommand.h"
#include "model/LogDocument.h"

// Reads a log as the window opens one; on failure writes the error to ctx.err.
bool readLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName);
// Writes a log as Save does (backup included); on failure writes the error to ctx.err.
bool saveLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName);
// Writes the log to ctx.out as one indented JSON object: the four tables and the four preferred
// values. On a failed write, says so on ctx.err and returns 1; otherwise returns 0.
int printLogAsJson(CliContext &ctx, const LogDocument &document);
// The log as aligned text tables, the counts line and the preferred values.
void printLogAsText(QTextStream &out, const LogDocument &document);
