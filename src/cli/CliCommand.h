#pragma once

#include "options/WingbookOptions.h"

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

struct CliCommand;

// What a command's handler works with: its parsed words, the options and reference folders of
// this run, and the two output streams.
struct CliContext {
    const CliCommand &command;
    const QCommandLineParser &parser; // the command's own options, parsed
    QStringList arguments;            // the command's positional arguments, as many as it takes
    OptionSet options;          // the options for this run (store values, then --option overrides)
    QString defFilesPath;       // folder of Airlines.def and Airports.def, ending in a separator
    QString commonDefFilesPath; // folder of Countries.def, ending in a separator
    QTextStream &out;
    QTextStream &err;

    // Whether the command's option NAME (its long name, without dashes) was given.
    bool isSet(const QString &name) const { return parser.isSet(name); }
    // The value of the command's option NAME, or "" when it was not given.
    QString value(const QString &name) const { return parser.value(name); }

    // Writes "wingbook-cli: MESSAGE" to err and returns 1, the status of a failed operation.
    int fail(const QString &message);
    // Writes "wingbook-cli: MESSAGE" to err about work that succeeded all the same.
    void notice(const QString &message);
    // Writes "wingbook-cli: PROBLEM" (when given) and the command's usage line to err and
    // returns 2, the status of bad arguments.
    int usageError(const QString &problem = QString());
};

// Exit status conventions: 0 success, 1 failure of the operation, 2 bad arguments.
using CliHandler = int (*)(CliContext &);

// A positional argument of a command, in the order the words come.
struct CliArgument {
    enum Kind { Required, Optional, Repeated }; // Repeated: one or more words
    QString name;                               // as the usage line shows it, e.g. "LOG"
    QString description;
    Kind kind = Required;
};

// An option of a command, given anywhere among its arguments.
struct CliOption {
    QString name; // the long name without dashes, e.g. "json"
    QString description;
    QString valueName = QString(); // empty for a switch; e.g. "N" for "--width N"
};

// One sub-command of wingbook-cli: one entry of the command table.
struct CliCommand {
    QString name;
    QList<CliArgument> arguments;
    QString summary; // one line, shown by the general help
    QList<CliOption> options;
    CliHandler handler;

    // The usage line after "wingbook-cli ", e.g. "show LOG [--json]".
    QString synopsis() const;
};
