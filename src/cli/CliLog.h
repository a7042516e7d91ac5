#pragma once

#include "cli/CliCommand.h"
#include "model/LogDocument.h"

#include <QJsonObject>

// Reads a log as the window opens one; on failure writes the error to ctx.err.
bool ReadLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName);
// Writes a log as Save does (backup included); on failure writes the error to ctx.err.
bool SaveLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName);
// The log as one JSON object: the four tables and the four preferred values.
QJsonObject LogToJson(const LogDocument &document);
// The log as aligned text tables, the counts line and the preferred values.
void PrintLogAsText(QTextStream &out, const LogDocument &document);
