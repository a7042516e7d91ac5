#pragma once

#include "options/WingbookOptions.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

// One sub-command of wingbook-cli. Each command lives in its own file and registers itself with
// a static CliCommandRegistration, so adding a command touches no other file.
struct CliContext {
    QStringList args;           // the words after the command name
    OptionSet options;          // the options for this run (store values, then --option overrides)
    QString defFilesPath;       // folder of Airlines.def and Airports.def, ending in a separator
    QString commonDefFilesPath; // folder of Countries.def, ending in a separator
    QTextStream &out;
    QTextStream &err;
};

// Exit status conventions: 0 success, 1 failure of the operation, 2 bad arguments.
using CliHandler = int (*)(CliContext &);

struct CliCommandInfo {
    QString name;
    QString usage; // e.g. "show LOG [--json]"
    QString summary;
    CliHandler handler;
};

struct CliCommandRegistration {
    CliCommandRegistration(const char *name, const char *usage, const char *summary,
                           CliHandler handler);
};

const QList<CliCommandInfo> &registeredCliCommands();

// Prints "usage: wingbook-cli <usage>" to err and returns 2.
int cliUsageError(CliContext &ctx, const QString &usage, const QString &problem = QString());
