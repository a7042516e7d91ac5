#pragma once

#include "model/TextPool.h"

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>

class LogDocument;
class WingbookOptions;

// A CSV flight line that overwrites a flight with the same From, To and Airline gives back the
// references of those codes and takes them again. That changes nothing once the rows they name
// are as taking a reference leaves them: the airline and airport rows filled in earlier in this
// import (automatic filling leaves them the same when it runs again), the distance row already
// in code order with its Miles. Such lines skip both steps; the others remember what they
// filled in. Codes are named by their ids in the log's text pool.
class SettledReferences
{
public:
    using Id = TextPool::Id;

    SettledReferences(const LogDocument &document, const WingbookOptions &options);

    // Whether overwriting the flight at this row with these codes leaves every reference
    // count and reference row as it is. A code is the id of the line's text, or -1 for a text
    // that is not in the pool (and so in no cell).
    bool unchanged(int flightRow, qint64 from, qint64 to, qint64 airline) const;
    // A flight's references were taken: its rows are now as filling them in leaves them.
    void taken(Id from, Id to, Id airline);

    // A line wrote to the Airlines or the Airports table itself: what was filled in may differ.
    void airlinesWritten() { m_airlines.clear(); }
    void airportsWritten() { m_airports.clear(); }
    // A line wrote this row of the Distances table: its pair may now find another row.
    void distancesWritten(int row);

private:
    bool distanceSettled(Id from, Id to) const;
    bool askTheTable(Id from, Id to) const;
    void pairChanged(Id a, Id b);
    void takePairs() const;

    const LogDocument &m_document;
    const bool m_fillAirlines;
    const bool m_fillAirports;
    const bool m_fillDistances;
    absl::flat_hash_set<Id> m_airlines;
    absl::flat_hash_set<Id> m_airports;
    // The pairs (from in the high word) found settled since the Distances table last changed.
    mutable absl::flat_hash_set<quint64> m_distances;
    // Every pair of the Distances table as it stood when a flight line first asked, either way
    // round (the smaller id in the high word), with whether the first row of it each way is
    // settled: a million lines are answered by one look in a map rather than by two index
    // searches each. The pairs written since are asked of the table again.
    mutable absl::flat_hash_map<quint64, quint8> m_pairs;
    mutable bool m_pairsTaken = false;
    absl::flat_hash_set<quint64> m_changedPairs;
};
