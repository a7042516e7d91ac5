#include "cli/CliCommand.h"

namespace
{

QList<CliCommandInfo> &registry()
{
    static QList<CliCommandInfo> commands;
    return commands;
}

} // namespace

CliCommandRegistration::CliCommandRegistration(const char *name, const char *usage,
                                               const char *summary, CliHandler handler)
{
    registry().append(
        {QString::fromUtf8(name), QString::fromUtf8(usage), QString::fromUtf8(summary), handler});
}

const QList<CliCommandInfo> &registeredCliCommands()
{
    return registry();
}

int cliUsageError(CliContext &ctx, const QString &usage, const QString &problem)
{
    if (!problem.isEmpty())
        ctx.err << "wingbook-cli: " << problem << '\n';
    ctx.err << "usage: wingbook-cli " << usage << '\n';
    ctx.err.flush();
    return 2;
}
