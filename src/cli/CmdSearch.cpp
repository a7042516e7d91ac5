// search airlines|airports PATTERN [--case-sensitive]: the reference entries whose name matches
// a Perl-compatible regular expression.
#include "cli/CliCommand.h"
#include "components/LumFlatFile.h"
#include "platform/SpecialFolders.h"

namespace
{

const char *const kUsage = "search airlines|airports PATTERN [--case-sensitive]";

int searchCommand(CliContext &ctx)
{
    QStringList args = ctx.args;
    const bool caseSensitive = args.removeAll(QStringLiteral("--case-sensitive")) > 0;
    if (args.size() != 2)
        return cliUsageError(ctx, QLatin1String(kUsage));
    const bool airlines = args.at(0) == QLatin1String("airlines");
    if (!airlines && args.at(0) != QLatin1String("airports"))
        return cliUsageError(
            ctx, QLatin1String(kUsage),
            QStringLiteral("search airlines or airports, not \"%1\"").arg(args.at(0)));
    const QString &pattern = args.at(1);

    const QString folder = ctx.defFilesPath.isEmpty() ? DefaultDefFilesPath() : ctx.defFilesPath;
    TLumFlatFile table;
    table.setFileName(folder +
                      (airlines ? QStringLiteral("Airlines.def") : QStringLiteral("Airports.def")));
    if (!table.Initialize()) {
        ctx.err << "wingbook-cli: " << table.LastError() << '\n';
        return 1;
    }

    table.SearchValueData(pattern, caseSensitive);
    if (!table.SearchError().isEmpty())
        return cliUsageError(ctx, QLatin1String(kUsage),
                             QStringLiteral("invalid regular expression \"%1\": %2")
                                 .arg(pattern, table.SearchError()));
    for (int index : table.SearchResultIndexes())
        ctx.out << table.GetValueByIndex(index) << '\t' << table.GetValueDataByIndex(index) << '\n';
    return 0;
}

const CliCommandRegistration registration(
    "search", kUsage,
    "print code and name of every airline or airport whose name matches a regular expression",
    searchCommand);

} // namespace
