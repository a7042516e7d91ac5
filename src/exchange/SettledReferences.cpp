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

bool SettledReferences::unchanged(int flightRow, const QString &from, const QString &to,
                                  const QString &airline) const
{
    const LogTable &flights = m_document.Flights;
    if (flights.cell(flightRow, FlightFrom) != from || flights.cell(flightRow, FlightTo) != to ||
        flights.cell(flightRow, FlightAirline) != airline)
        return false;
    // Without automatic filling, giving back and taking again touch the same rows' counts.
    if (m_fillAirports && !(m_airports.contains(from) && m_airports.contains(to)))
        return false;
    if (m_fillAirlines && !m_airlines.contains(airline))
        return false;
    if (m_fillDistances) {
        // The row both steps find; filling it in would rewrite it in code order, with "0" for
        // empty Miles.
        const LogTable &distances = m_document.Distances;
        const int r = distances.findPairEitherWay(from, to);
        if (r < 0)
            return false;
        const bool inOrder = QString::compare(from, to, Qt::CaseSensitive) < 0;
        if (distances.cell(r, DistanceFrom) != (inOrder ? from : to) ||
            distances.cell(r, DistanceTo) != (inOrder ? to : from) ||
            distances.cell(r, DistanceMiles).isEmpty())
            return false;
    }
    return true;
}

void SettledReferences::taken(const QString &from, const QString &to, const QString &airline)
{
    if (m_fillAirports) {
        m_airports.insert(from);
        m_airports.insert(to);
    }
    if (m_fillAirlines)
        m_airlines.insert(airline);
}
