#include "exchange/ImportRows.h"

#include "model/LogTable.h"

int OverwriteOrAppend(LogTable &table, int found, const QStringList &cells)
{
    if (found < 0)
        return table.appendRow(cells);
    for (int c = 0; c < cells.size(); ++c)
        table.setCell(found, c, cells[c]);
    return found;
}

int FindCodeRow(const LogTable &table, bool wasEmpty, const QString &code)
{
    return wasEmpty ? -1 : table.FindItemByText(code, 0);
}

int FindPairRow(const LogTable &table, bool wasEmpty, const QString &first, const QString &second)
{
    return wasEmpty ? -1 : table.FindItemByPair(first, second);
}
