#pragma once

#include "cli/CliCommand.h"

// Takes the global options (--option NAME=on|off, --def-files-path DIR) from the front of
// args and applies them to the context. False with a message on a bad option.
bool ApplyCliGlobalOptions(QStringList &args, CliContext &ctx, QString &problem);
