// search: the reference entries whose name matches a Perl-compatible regular expression.
#include "cli/CliReferenceFiles.h"
#include "components/LumFlatFile.h"

int searchCommand(CliContext &ctx)
{
    const QString &kind = ctx.arguments.at(0);
    const bool airlines = kind == QLatin1String("airlines");
    if (!airlines && kind != QLatin1String("airports"))
        return ctx.usageError(QStringLiteral("search airlines or airports, not \"%1\"").arg(kind));
    const QString &pattern = ctx.arguments.at(1);

    TLumFlatFile table;
    if (!loadCliReferenceFile(
            ctx, table, airlines ? QStringLiteral("Airlines.def") : QStringLiteral("Airports.def")))
        return 1;

    table.SearchValueData(pattern, ctx.isSet(QStringLiteral("case-sensitive")));
    // An aborted search is a failed operation, not a bad argument: the pattern is valid.
    if (table.SearchStatus() == TLumFlatFile::ssTooComplex)
        return ctx.fail(table.SearchError());
    if (!table.SearchError().isEmpty())
        return ctx.usageError(QStringLiteral("invalid regular expression \"%1\": %2")
                                  .arg(pattern, table.SearchError()));
    for (int index : table.SearchResultIndexes())
        ctx.out << table.GetValueByIndex(index) << '\t' << table.GetValueDataByIndex(index) << '\n';
    return 0;
}
