#pragma once

#include "cli/CliCommand.h"

#include <QList>
#include <QStringList>
#include <QTextStream>

// Runs wingbook-cli over its command line (the program name first, as in argv) with the given
// command table, writing to out and err. Returns the exit status: 0 success, 1 the operation
// failed (with a message on err), 2 bad arguments. Needs the application object (the shipped
// reference files are found beside the program).
int runCli(const QStringList &commandLine, const QList<CliCommand> &commands, QTextStream &out,
           QTextStream &err);
