// show: a log read as the window opens it, printed as text tables or as JSON.
#include "cli/CliLog.h"

#include <QJsonDocument>

int showCommand(CliContext &ctx)
{
    LogDocument document;
    if (!readLogForCli(ctx, document, ctx.arguments.first()))
        return 1;
    if (ctx.isSet(QStringLiteral("json")))
        ctx.out << QJsonDocument(logToJson(document)).toJson(QJsonDocument::Indented);
    else
        printLogAsText(ctx.out, document);
    return 0;
}
