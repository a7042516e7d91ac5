// export: one table of a log written as CSV or DEF, as the window's Export writes the page shown.
#include "cli/CliLog.h"
#include "exchange/TableExport.h"

int exportCommand(CliContext &ctx)
{
    const QString &logName = ctx.arguments[0];
    const std::optional<TableKind> kind = tableNamed(ctx.arguments[1]);
    const QString &fileName = ctx.arguments[2];
    if (!kind)
        return ctx.usageError(
            QStringLiteral("unknown table \"%1\": Flights, Airlines, Airports or Distances")
                .arg(ctx.arguments[1]));
    const ExportFormat format = ExportFormatOf(fileName);
    if (format == ExportFormat::None)
        return ctx.fail(QStringLiteral("No data has been exported."));

    LogDocument document;
    if (!readLogForCli(ctx, document, logName))
        return 1;
    ExportHost quietHost;
    const ExportOutcome outcome = ExportTable(document.table(*kind), format, fileName, quietHost);
    return outcome.ok ? 0 : ctx.fail(outcome.error);
}
