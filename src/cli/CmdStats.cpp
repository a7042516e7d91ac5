// stats: the statistics of a log as the statistics window shows them, as aligned text or JSON,
// and one ranking written as the list's "Export..." writes it.
#include "cli/CliLog.h"
#include "statistics/Statistics.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace
{

const QString kExportRanking = QStringLiteral("export-ranking");

constexpr RankingKind kRankings[] = {RankingKind::Airlines, RankingKind::Airports,
                                     RankingKind::Distances};
// The window's tab captions, which are also the JSON keys of the rankings.
const char *const kRankingNames[] = {"Airlines", "Airports", "Distances"};

std::optional<RankingKind> rankingOf(TableKind table)
{
    switch (table) {
    case TableKind::Airlines:
        return RankingKind::Airlines;
    case TableKind::Airports:
        return RankingKind::Airports;
    case TableKind::Distances:
        return RankingKind::Distances;
    default:
        return std::nullopt;
    }
}

QList<StatisticsFigure> allFigures(const StatisticsReport &report)
{
    return report.flightFigures() + report.dateTimeFigures();
}

QJsonObject reportToJson(const StatisticsReport &report)
{
    QJsonObject json;
    for (const StatisticsFigure &figure : allFigures(report))
        json.insert(figure.title, figure.value);
    for (RankingKind kind : kRankings) {
        const LogTable &ranking = report.ranking(kind);
        QJsonArray rows;
        for (int r = 0; r < ranking.count(); ++r) {
            QJsonObject row;
            for (int c = 0; c < ranking.columnTotal(); ++c)
                row.insert(ranking.columns()[c].caption, ranking.cell(r, c));
            rows.append(row);
        }
        json.insert(QLatin1String(kRankingNames[int(kind)]), rows);
    }
    return json;
}

// The two groups of figures with their values in one column, as the window lays them out,
// then each ranking list with its count.
void printReport(QTextStream &out, const StatisticsReport &report)
{
    qsizetype width = 0;
    for (const StatisticsFigure &figure : allFigures(report))
        width = qMax(width, figure.title.size() + 2);
    const auto printGroup = [&](const char *caption, const QList<StatisticsFigure> &figures) {
        out << caption << '\n';
        for (const StatisticsFigure &figure : figures)
            out << "  " << (figure.title + QStringLiteral(" :")).leftJustified(width) << ' '
                << figure.value << '\n';
        out << '\n';
    };
    printGroup("Flights", report.flightFigures());
    printGroup("Date Time", report.dateTimeFigures());
    for (RankingKind kind : kRankings)
        printTableAsText(out, QLatin1String(kRankingNames[int(kind)]), report.ranking(kind),
                         report.countText(kind));
}

} // namespace

int statsCommand(CliContext &ctx)
{
    // --export-ranking TABLE comes with OUT, the one optional argument.
    std::optional<RankingKind> exported;
    const bool exporting = ctx.isSet(kExportRanking);
    if (exporting != (ctx.arguments.size() == 2))
        return ctx.usageError(exporting ? QStringLiteral("--export-ranking needs TABLE and OUT")
                                        : QStringLiteral("OUT is written by --export-ranking"));
    if (exporting) {
        const QString table = ctx.value(kExportRanking);
        const std::optional<TableKind> kind = tableNamed(table);
        exported = kind ? rankingOf(*kind) : std::nullopt;
        if (!exported)
            return ctx.usageError(
                QStringLiteral("unknown ranking \"%1\": Airlines, Airports or Distances")
                    .arg(table));
        if (ExportFormatOf(ctx.arguments[1]) != ExportFormat::CSV)
            return ctx.fail(QStringLiteral("No data has been exported."));
    }

    LogDocument document;
    if (!readLogForCli(ctx, document, ctx.arguments[0]))
        return 1;
    StatisticsReport report;
    report.compute(document, QDateTime::currentDateTime());
    if (exported) {
        const std::optional<ExportWriteResult> written =
            ExportLumListView(report.ranking(*exported), ctx.arguments[1]);
        if (written && !written->ok)
            return ctx.fail(written->error);
    }
    if (ctx.isSet(QStringLiteral("json")))
        ctx.out << QJsonDocument(reportToJson(report)).toJson(QJsonDocument::Indented);
    else
        printReport(ctx.out, report);
    return 0;
}
