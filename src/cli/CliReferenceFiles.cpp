#include "cli/CliReferenceFiles.h"

#include "components/LumFlatFile.h"

bool loadCliReferenceFile(CliContext &ctx, TLumFlatFile &table, const QString &name)
{
    table.setFileName(ctx.defFilesPath + name);
    if (table.Initialize())
        return true;
    ctx.fail(table.LastError());
    return false;
}
