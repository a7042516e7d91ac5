#pragma once

#include "cli/CliCommand.h"

#include <QList>
#include <QTextStream>

// The general help: every command of the table with its usage and summary, in table order,
// then the global options and the exit statuses.
void printCliHelp(QTextStream &out, const QList<CliCommand> &commands);
// One command's help: its usage, summary, arguments and options.
void printCliCommandHelp(QTextStream &out, const CliCommand &command);
