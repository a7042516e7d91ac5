#pragma once

#include "cli/CliCommand.h"

// Starts the context from the settings store, as the window starts: the options as the
// options dialog loads them, and the reference-file folders (stored value, else default).
void LoadCliDefaults(CliContext &ctx);

// Takes the global options (--option NAME=on|off, --def-files-path DIR) from the front of
// args and applies them to the context. False with a message on a bad option.
bool ApplyCliGlobalOptions(QStringList &args, CliContext &ctx, QString &problem);
