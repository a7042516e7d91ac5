#include "cli/CliReferenceFiles.h"

#include "components/LumFlatFile.h"
#include "geography/AirportPositions.h"

bool loadCliReferenceFile(CliContext &ctx, TLumFlatFile &table, const QString &name)
{
    table.setFileName(ctx.defFilesPath + name);
    if (table.Initialize())
        return true;
    ctx.fail(table.LastError());
    return false;
}

bool loadCliAirportPositions(CliContext &ctx, AirportPositions &positions)
{
    if (positions.load(ctx.defFilesPath + AirportPositions::fileName()))
        return true;
    ctx.fail(positions.error());
    return false;
}
