// show: a log read as the window opens it, printed as text tables or as JSON.
#include "cli/CliLog.h"

int showCommand(CliContext &ctx)
{
    LogDocument document;
    if (!readLogForCli(ctx, document, ctx.arguments.first()))
        return 1;
    if (ctx.isSet(QStringLiteral("json")))
        return printLogAsJson(ctx, document);
    printLogAsText(ctx.out, document);
    return 0;
}
