#include "cli/CliLog.h"

#include <QJsonDocument>

namespace
{

const char *const kUsage = "show LOG [--json]";

int showCommand(CliContext &ctx)
{
    QStringList args = ctx.args;
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return cliUsageError(ctx, QLatin1String(kUsage));
    LogDocument document;
    if (!ReadLogForCli(ctx, document, args.first()))
        return 1;
    if (json)
        ctx.out << QJsonDocument(LogToJson(document)).toJson(QJsonDocument::Indented);
    else
        PrintLogAsText(ctx.out, document);
    return 0;
}

const CliCommandRegistration registration("show", kUsage,
                                          "read a log as the window opens it and print its tables",
                                          showCommand);

} // namespace
