#pragma once

#include "model/LogTable.h"

#include <QList>

class LogDocument;

// Delete, Clear and Swap. None asks, none refuses because other rows name the rows concerned,
// and each marks the log as changed, even when nothing was selected.

// Removes the selected flights (row indices, any order), first releasing the references of
// each: its airline, its two airports (the same row twice for a flight to its own departure
// airport) and its distance in either orientation lose one each where such a row exists.
void DeleteFlights(LogDocument &document, const QList<int> &rows);
// Removes the selected rows of Airlines, Airports or Distances with their usage objects;
// flights keep the codes. For Flights it is DeleteFlights.
void DeleteRows(LogDocument &document, TableKind table, const QList<int> &rows);
// Empties a table. Emptying Flights sets every airline, airport and distance count to 0;
// emptying a reference table leaves the other tables as they are.
void ClearTable(LogDocument &document, TableKind table);
// Exchanges From and To of the selected distances; Miles and counts stay, nothing is re-sorted.
void SwapDistances(LogDocument &document, const QList<int> &rows);
