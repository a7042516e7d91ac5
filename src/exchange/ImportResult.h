#pragma once

#include "model/LogTable.h"

#include <QString>
#include <optional>

// How many lines of each kind an import read into the log (rows appended or overwritten).
struct ImportCounters {
    int flights = 0;
    int airlines = 0;
    int airports = 0;
    int distances = 0;

    bool any() const { return flights > 0 || airlines > 0 || airports > 0 || distances > 0; }
};

// What one import did.
struct ImportResult {
    bool ran = false;     // false: the file does not exist, and nothing happened
    bool ok = true;       // false: the file exists but could not be read; nothing was imported
    QString error;        // when !ok: the message for the error box, naming the file
    bool stopped = false; // the user stopped the loop; the lines read until then stay
    ImportCounters counters;
};

// The page to show after an import: the table that received rows, Flights first, then
// Airlines, Airports and Distances; none when no row was read.
std::optional<TableKind> ImportedPage(const ImportCounters &counters);
