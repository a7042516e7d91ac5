// save: a log read and written again as Save writes it.
#include "cli/CliLog.h"

int saveCommand(CliContext &ctx)
{
    LogDocument document;
    if (!readLogForCli(ctx, document, ctx.arguments.first()))
        return 1;
    const QString target = ctx.arguments.value(1, ctx.arguments.first());
    return saveLogForCli(ctx, document, target) ? 0 : 1;
}
