// fill-distances: the Compute Distances command without the window, over the whole log.
#include "cli/CliLog.h"
#include "cli/CliReferenceFiles.h"
#include "geography/AirportPositions.h"
#include "geography/DistanceFilling.h"

int fillDistancesCommand(CliContext &ctx)
{
    const QString &logName = ctx.arguments.first();
    LogDocument document;
    if (!readLogForCli(ctx, document, logName))
        return 1;
    AirportPositions positions;
    if (!loadCliAirportPositions(ctx, positions))
        return 1;
    if (positions.count() == 0)
        return ctx.fail(QStringLiteral("No airport positions are known: the file %1 is missing "
                                       "beside Airports.def.")
                            .arg(AirportPositions::fileName()));

    // As the command with nothing selected: the rows whose Miles is empty or 0. --all asks for
    // every row, so replacing the known distances is what was asked for.
    const bool all = ctx.isSet(QStringLiteral("all"));
    QStringList withoutPosition;
    const int filled = FillDistances(
        document, positions, {}, all ? DistanceRows::All : DistanceRows::Unknown,
        [all](int) { return all; }, withoutPosition);
    // A log that nothing changed is left as it is, its backup too.
    if (filled > 0 && !ctx.isSet(QStringLiteral("dry-run")) &&
        !saveLogForCli(ctx, document, logName))
        return 1;

    const QString report = DistanceFillReport(filled, withoutPosition);
    if (ctx.isSet(QStringLiteral("json"))) {
        // Standard output holds the JSON alone; the report goes beside it.
        for (const QString &line : report.split(QLatin1Char('\n')))
            ctx.notice(line);
        return printLogAsJson(ctx, document);
    }
    ctx.out << report << '\n';
    return 0;
}
