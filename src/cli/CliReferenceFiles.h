#pragma once

#include "cli/CliCommand.h"

class TLumFlatFile;

// Loads NAME (e.g. "Airlines.def") from the run's reference folder; a missing file is an empty
// table, an unreadable one an error written to ctx.err.
bool loadCliReferenceFile(CliContext &ctx, TLumFlatFile &table, const QString &name);
