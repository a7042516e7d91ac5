#pragma once

#include "cli/CliCommand.h"
#include "model/LogDocument.h"

#include <QJsonObject>

// Reads a log as the window opens one; on failure writes the error to ctx.err.
bool readLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName);
// Writes a log as Save does (backup included); on failure writes the error to ctx.err.
bool saveLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName);
// The log as one JSON object: the four tables and the four preferred values.
QJsonObject logToJson(const LogDocument &document);
// The log as aligned text tables, the counts line and the preferred values.
void printLogAsText(QTextStream &out, const LogDocument &document);
