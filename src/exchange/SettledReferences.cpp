#include "exchange/SettledReferences.h"

#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

namespace
{

enum FlightColumn { FlightFrom = 2, FlightTo, FlightAirline };
enum DistanceColumn { DistanceFrom, DistanceTo, DistanceMiles };

} // namespace

SettledReferences::SettledReferences(const LogDocument &document, const WingbookOptions &options)
    : m_document(document), m_fillAirlines(options.AutoPopulateAirlines()),
      m_fillAirports(options.AutoPopulateAirports()),
      m_fillDistances(options.AutoPopulateDistances())
{
}

bool SettledReferences::unchanged(int flightRow, qint64 from, qint64 to, qint64 airline) const
{
    const LogTable &flights = m_document.Flights;
    if (from < 0 || to < 0 || airline < 0 || flights.cellId(flightRow, FlightFrom) != Id(from) ||
        flights.cellId(flightRow, FlightTo) != Id(to) ||
        flights.cellId(flightRow, FlightAirline) != Id(airline))
        return false;
    // Without automatic filling, giving back and taking again touch the same rows' counts.
    if (m_fillAirports && !(m_airports.contains(Id(from)) && m_airports.contains(Id(to))))
        return false;
    if (m_fillAirlines && !m_airlines.contains(Id(airline)))
        return false;
    return !m_fillDistances || distanceSettled(Id(from), Id(to));
}

namespace
{

quint64 orderedPair(TextPool::Id from, TextPool::Id to)
{
    return quint64(from) << 32 | to;
}

quint64 eitherWay(TextPool::Id a, TextPool::Id b)
{
    return a < b ? orderedPair(a, b) : orderedPair(b, a);
}

// Whether a distance row, found for its own pair or the other way round, is as filling it in
// would leave it: in code order (a flight from an airport to itself too), with its Miles.
bool rowSettled(const TextPool &pool, TextPool::Id from, TextPool::Id to, TextPool::Id miles)
{
    return miles != TextPool::kEmpty &&
           (from == to || QString::compare(pool.text(from), pool.text(to), Qt::CaseSensitive) < 0);
}

} // namespace

// What the map keeps of a pair, by the unordered pair (the smaller id first): whether rows hold
// it that way round and the other, and whether the first row of each is settled.
enum PairBits : quint8 {
    kLowFirst = 1,
    kLowFirstSettled = 2,
    kHighFirst = 4,
    kHighFirstSettled = 8
};

bool SettledReferences::distanceSettled(Id from, Id to) const
{
    const quint64 pair = eitherWay(from, to);
    if (m_changedPairs.contains(pair))
        return askTheTable(from, to);
    takePairs();
    const auto it = m_pairs.find(pair);
    if (it == m_pairs.end())
        return false;
    // The row both steps find: the first of the pair as asked, else the first the other way.
    const bool asked = from <= to; // the smaller id first
    const quint8 bits = it->second;
    const quint8 same = asked ? kLowFirst : kHighFirst;
    const quint8 other = asked ? kHighFirst : kLowFirst;
    if (bits & same)
        return bits & (same << 1);
    return (bits & other) && (bits & (other << 1));
}

void SettledReferences::takePairs() const
{
    if (m_pairsTaken)
        return;
    m_pairsTaken = true;
    const LogTable &distances = m_document.Distances;
    const TextPool &pool = distances.textPool();
    m_pairs.reserve(size_t(distances.count()));
    for (int r = 0; r < distances.count(); ++r) {
        const Id from = distances.cellId(r, DistanceFrom);
        const Id to = distances.cellId(r, DistanceTo);
        quint8 &bits = m_pairs[eitherWay(from, to)];
        const quint8 way = from <= to ? kLowFirst : kHighFirst;
        if (bits & way)
            continue; // not the first row of its pair that way round in table order
        bits |= way;
        if (rowSettled(pool, from, to, distances.cellId(r, DistanceMiles)))
            bits |= way << 1;
    }
}

bool SettledReferences::askTheTable(Id from, Id to) const
{
    const quint64 pair = orderedPair(from, to);
    if (m_distances.contains(pair))
        return true;
    const LogTable &distances = m_document.Distances;
    int r = distances.findPairIds(from, to);
    if (r < 0)
        r = distances.findPairIds(to, from);
    if (r < 0)
        return false;
    const bool settled =
        rowSettled(distances.textPool(), distances.cellId(r, DistanceFrom),
                   distances.cellId(r, DistanceTo), distances.cellId(r, DistanceMiles));
    if (settled)
        m_distances.insert(pair);
    return settled;
}

void SettledReferences::pairChanged(Id a, Id b)
{
    m_distances.clear();
    m_changedPairs.insert(eitherWay(a, b));
}

void SettledReferences::distancesWritten(int row)
{
    const LogTable &distances = m_document.Distances;
    if (row >= 0 && row < distances.count())
        pairChanged(distances.cellId(row, DistanceFrom), distances.cellId(row, DistanceTo));
}

void SettledReferences::taken(Id from, Id to, Id airline)
{
    // Filling in this flight's distance may have added or rewritten a row of its pair.
    pairChanged(from, to);
    if (m_fillAirports) {
        m_airports.insert(from);
        m_airports.insert(to);
    }
    if (m_fillAirlines)
        m_airlines.insert(airline);
}
