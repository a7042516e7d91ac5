#pragma once

#include "cli/CliCommand.h"
#include "model/LogDocument.h"

#include <QJsonObject>
#include <optional>

// Reads a log as the window opens one; on failure writes the error to ctx.err.
bool readLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName);
// Writes a log as Save does (backup included); on failure writes the error to ctx.err.
bool saveLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName);
// The end of a command that changed a log (its options include --dry-run and --json): the log
// saved as Save does unless --dry-run, then printed as show --json does with --json, else its
// counts line. Returns the command's exit status.
int saveAndPrintChangedLog(CliContext &ctx, LogDocument &document, const QString &fileName);
// One row of a table as show --json prints it: its cells under the column captions, and the
// reference count of a table that keeps one.
QJsonObject rowToJson(const LogTable &table, int row);
// Writes the log to ctx.out as one indented JSON object: the four tables and the four preferred
// values. On a failed write, says so on ctx.err and returns 1; otherwise returns 0.
int printLogAsJson(CliContext &ctx, const LogDocument &document);
// A table as aligned text: its name, a header line of its captions (and ReferenceCount where
// the table counts flights), one line per row, the footer when given, then a blank line.
void printTableAsText(QTextStream &out, const QString &name, const LogTable &table,
                      const QString &footer = QString());
// The log as aligned text tables, the counts line and the preferred values.
void printLogAsText(QTextStream &out, const LogDocument &document);
// The table a word names: Flights, Airlines, Airports or Distances, in any letter case.
std::optional<TableKind> tableNamed(const QString &name);
