#include "cli/CliLog.h"

namespace
{

const char *const kUsage = "save LOG [OUT]";

int saveCommand(CliContext &ctx)
{
    if (ctx.args.isEmpty() || ctx.args.size() > 2 ||
        ctx.args.first().startsWith(QLatin1String("--")))
        return cliUsageError(ctx, QLatin1String(kUsage));
    LogDocument document;
    if (!ReadLogForCli(ctx, document, ctx.args.first()))
        return 1;
    const QString target = ctx.args.value(1, ctx.args.first());
    return SaveLogForCli(ctx, document, target) ? 0 : 1;
}

const CliCommandRegistration
    registration("save", kUsage, "read a log and write it to OUT (or back), backup included",
                 saveCommand);

} // namespace
