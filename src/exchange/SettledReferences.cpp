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

bool SettledReferences::distanceSettled(Id from, Id to) const
{
    const quint64 pair = quint64(from) << 32 | to;
    if (m_distances.contains(pair))
        return true;
    // The row both steps find; filling it in would rewrite it in code order, with "0" for
    // empty Miles.
    const LogTable &distances = m_document.Distances;
    int r = distances.findPairIds(from, to);
    if (r < 0)
        r = distances.findPairIds(to, from);
    if (r < 0)
        return false;
    const TextPool &pool = distances.textPool();
    const bool inOrder = QString::compare(pool.text(from), pool.text(to), Qt::CaseSensitive) < 0;
    const bool settled = distances.cellId(r, DistanceFrom) == (inOrder ? from : to) &&
                         distances.cellId(r, DistanceTo) == (inOrder ? to : from) &&
                         distances.cellId(r, DistanceMiles) != TextPool::kEmpty;
    if (settled)
        m_distances.insert(pair);
    return settled;
}

void SettledReferences::taken(Id from, Id to, Id airline)
{
    // Filling in this flight's distance may have added or rewritten a row.
    m_distances.clear();
    if (m_fillAirports) {
        m_airports.insert(from);
        m_airports.insert(to);
    }
    if (m_fillAirlines)
        m_airlines.insert(airline);
}
