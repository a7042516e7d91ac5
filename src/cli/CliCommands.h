#pragma once

#include "cli/CliCommand.h"

#include <QList>

// The commands of wingbook-cli, in the order the help lists them.
const QList<CliCommand> &cliCommands();
