#include "exchange/SettledReferences.h"

#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

namespace
{

enum FlightColumn { FlightDate, FlightTime, FlightFrom, FlightTo, FlightAirline };
enum DistanceColumn { DistanceFrom, DistanceTo, DistanceMiles };

} // namespace

SettledReferences::SettledReferences(const LogDocument &document, const WingbookOptions &options)
    : m_document(document), m_fillAirlines(options.AutoPopulateAirlines()),
      m_fillAirports(options.AutoPopulateAirports()),
      m_fillDistances(options.AutoPopulateDistances())
{
}

bool SettledReferences::unchanged(const QStringList &old, const QString &from, const QString &to,
                                  const QString &airline) const
{
    if (old[FlightFrom] != from || old[FlightTo] != to || old[FlightAirline] != airline)
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
        const QStringList &cells = distances.row(r).cells;
        if (cells[DistanceFrom] != (inOrder ? from : to) ||
            cells[DistanceTo] != (inOrder ? to : from) || cells[DistanceMiles].isEmpty())
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
