// lookup airline|airport CODE: the value that the reference files give for a code, as the
// automatic filling of a new airline or airport row would take it.
#include "cli/CliCommand.h"
#include "components/AirportDefValue.h"
#include "components/LumFlatFile.h"
#include "platform/SpecialFolders.h"

namespace
{

const char *const kUsage = "lookup airline|airport CODE";

int lookupCommand(CliContext &ctx)
{
    const QStringList &args = ctx.args;
    if (args.size() != 2)
        return cliUsageError(ctx, QLatin1String(kUsage));
    const bool airline = args.at(0) == QLatin1String("airline");
    if (!airline && args.at(0) != QLatin1String("airport"))
        return cliUsageError(
            ctx, QLatin1String(kUsage),
            QStringLiteral("look up an airline or an airport, not \"%1\"").arg(args.at(0)));
    const QString &code = args.at(1);

    const QString folder = ctx.defFilesPath.isEmpty() ? DefaultDefFilesPath() : ctx.defFilesPath;
    TLumFlatFile table;
    table.setFileName(folder +
                      (airline ? QStringLiteral("Airlines.def") : QStringLiteral("Airports.def")));
    if (!table.Initialize()) {
        ctx.err << "wingbook-cli: " << table.LastError() << '\n';
        return 1;
    }
    // A key may stand in the file with an empty value: only a key that is absent is unknown.
    if (!table.StringList().contains(code)) {
        ctx.err << "wingbook-cli: " << (airline ? "airline" : "airport") << " code \"" << code
                << "\" is not in " << table.FileName() << '\n';
        return 1;
    }

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

const CliCommandRegistration registration(
    "lookup", kUsage,
    "print the name of an airline, or the name, city and country of an airport, from the "
    "reference files",
    lookupCommand);

} // namespace
