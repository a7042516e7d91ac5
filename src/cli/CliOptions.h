#pragma once

#include "options/WingbookOptions.h"

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

// What every command of a run shares: the options and the reference-file folders.
struct CliSettings {
    OptionSet options;
    QString defFilesPath;       // folder of Airlines.def and Airports.def, ending in a separator
    QString commonDefFilesPath; // folder of Countries.def, ending in a separator
};

// An option of wingbook-cli itself, given before the command.
struct CliGlobalOption {
    QStringList names; // short and long names without dashes
    QString valueName; // empty for a switch
    QString description;
    QStringList choices = QStringList(); // listed under the description by the help
};

// The global options in the order the help lists them: --option, --def-files-path, --help,
// --version.
const QList<CliGlobalOption> &cliGlobalOptions();
// The long names of the global options that take a value.
QStringList cliGlobalValueOptions();
// Adds the global options to a parser.
void addCliGlobalOptions(QCommandLineParser &parser);

// The settings as the window starts from the settings store: the options as the options dialog
// loads them, and the reference-file folders (stored value, else the shipped folders).
CliSettings loadCliDefaults();

// Applies the global options that the parser found, in the order given; a folder left empty
// falls back to the shipped one. False with a message on a bad --option.
bool applyCliGlobalOptions(const QCommandLineParser &parser, CliSettings &settings,
                           QString &problem);
