#pragma once

#include <QString>
#include <QStringList>

class LogTable;

// How the importers merge one line into a table: the row that holds the line's key is
// overwritten, or a row is appended (a reference row with a ReferenceCount of 0). A table that
// was empty when the import started is not searched: every line is appended.

// Overwrites the cells of row `found` with `cells`, or appends them when found is -1; returns
// the row.
int OverwriteOrAppend(LogTable &table, int found, const QStringList &cells);

// The first row whose code (first column) is exactly `code`, or -1; -1 too for a table that was
// empty at the start.
int FindCodeRow(const LogTable &table, bool wasEmpty, const QString &code);
// The first row whose first two cells are exactly `first` and `second`, in this order only.
int FindPairRow(const LogTable &table, bool wasEmpty, const QString &first, const QString &second);
