#pragma once

// What check-update and download-update share: the update check as Help, Check for Updates...
// runs it, with the description's address and the running version a run may replace.
#include "cli/CliCommand.h"
#include "components/UpdateCheck.h"

class UpdateFetcher;

// The options both commands take, in the order of their usage lines.
QList<CliOption> cliUpdateCheckOptions();

// Sends the invalid-source messages of `fetcher` to standard error, each text once (the
// download names an invalid address twice).
void reportInvalidSources(CliContext &ctx, UpdateFetcher &fetcher);

struct CliUpdateCheck {
    QString runningVersion; // --running-version, else the program's short version text
    UpdateCheckResult result;
};

// Runs the check. False, with the reason written to standard error, when it could not run (a
// temporary file could not be made or written).
bool runCliUpdateCheck(CliContext &ctx, UpdateFetcher &fetcher, CliUpdateCheck &check);
