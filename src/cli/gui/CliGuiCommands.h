#pragma once

#include "cli/CliCommand.h"

#include <QList>

// The commands of wingbook-cli that draw and so need a QGuiApplication (offscreen), in the
// order the help lists them after the others.
const QList<CliCommand> &cliGuiCommands();
