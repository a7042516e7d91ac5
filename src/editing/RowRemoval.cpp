#include "editing/RowRemoval.h"

#include "model/LogDocument.h"

#include <algorithm>

namespace
{

// The selected rows in table order, each once, inside the table.
QList<int> selectedRows(const LogTable &table, QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.removeIf([&table](int r) { return r < 0 || r >= table.count(); });
    return rows;
}

} // namespace

void DeleteFlights(LogDocument &document, const QList<int> &rows)
{
    const QList<int> selected = selectedRows(document.Flights, rows);
    for (const int r : selected)
        document.adjustReferencesOfFlight(r, -1);
    document.Flights.removeRowsAt(selected);
    document.setModified(true);
}

void DeleteRows(LogDocument &document, TableKind table, const QList<int> &rows)
{
    if (table == TableKind::Flights) {
        DeleteFlights(document, rows);
        return;
    }
    if (table != TableKind::Other)
        document.table(table).removeRowsAt(rows);
    document.setModified(true);
}

void ClearTable(LogDocument &document, TableKind table)
{
    if (table == TableKind::Flights) {
        document.Airlines.resetReferenceCounts();
        document.Airports.resetReferenceCounts();
        document.Distances.resetReferenceCounts();
    }
    if (table != TableKind::Other)
        document.table(table).clear();
    document.setModified(true);
}

void SwapDistances(LogDocument &document, const QList<int> &rows)
{
    LogTable &distances = document.Distances;
    for (const int r : selectedRows(distances, rows)) {
        const QString from = distances.cell(r, 0);
        distances.setCell(r, 0, distances.cell(r, 1));
        distances.setCell(r, 1, from);
    }
    document.setModified(true);
}
