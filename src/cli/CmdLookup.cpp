// lookup: the value that the reference files give for a code, as the automatic filling of a new
// airline or airport row would take it.
#include "cli/CliReferenceFiles.h"
#include "components/AirportDefValue.h"
#include "components/LumFlatFile.h"

int lookupCommand(CliContext &ctx)
{
    const QString &kind = ctx.arguments.at(0);
    const bool airline = kind == QLatin1String("airline");
    if (!airline && kind != QLatin1String("airport"))
        return ctx.usageError(
            QStringLiteral("look up an airline or an airport, not \"%1\"").arg(kind));
    const QString &code = ctx.arguments.at(1);

    TLumFlatFile table;
    if (!loadCliReferenceFile(
            ctx, table, airline ? QStringLiteral("Airlines.def") : QStringLiteral("Airports.def")))
        return 1;
    // A key may stand in the file with an empty value: only a key that is absent is unknown.
    if (!table.StringList().contains(code))
        return ctx.fail(QStringLiteral("%1 code \"%2\" is not in %3")
                            .arg(airline ? QLatin1String("airline") : QLatin1String("airport"),
                                 code, table.FileName()));

    const QString value = table.GetValueData(code);
    if (airline) {
        ctx.out << value << '\n';
    } else {
        ctx.out << ExtractAirportNameDEF(value) << '\n'
                << ExtractAirportCityDEF(value) << '\n'
                << ExtractAirportCountryDEF(value) << '\n';
    }
    return 0;
}
