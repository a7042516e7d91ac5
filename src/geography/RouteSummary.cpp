#include "geography/RouteSummary.h"

#include "model/LogTable.h"

#include <QHash>
#include <algorithm>

namespace
{

enum FlightColumn { FlightFrom = 2, FlightTo = 3 };

} // namespace

RouteSummary SummarizeRoutes(const LogTable &flights)
{
    // Codes repeat across the rows and their texts are shared, so the keys cost no copies.
    QHash<std::pair<QString, QString>, int> routeFlights;
    QHash<QString, int> airportFlights;
    for (int r = 0; r < flights.count(); ++r) {
        const QString from = flights.cell(r, FlightFrom);
        const QString to = flights.cell(r, FlightTo);
        if (!from.isEmpty())
            ++airportFlights[from];
        if (!to.isEmpty() && to != from)
            ++airportFlights[to];
        if (from.isEmpty() || to.isEmpty())
            continue;
        const bool inOrder = QString::compare(from, to, Qt::CaseSensitive) <= 0;
        ++routeFlights[inOrder ? std::pair(from, to) : std::pair(to, from)];
    }

    RouteSummary summary;
    summary.routes.reserve(routeFlights.size());
    for (auto it = routeFlights.cbegin(); it != routeFlights.cend(); ++it)
        summary.routes.append({it.key().first, it.key().second, it.value()});
    std::sort(summary.routes.begin(), summary.routes.end(),
              [](const RouteCount &a, const RouteCount &b) {
                  if (a.flights != b.flights)
                      return a.flights > b.flights;
                  return std::pair(a.from, a.to) < std::pair(b.from, b.to);
              });
    summary.airports.reserve(airportFlights.size());
    for (auto it = airportFlights.cbegin(); it != airportFlights.cend(); ++it)
        summary.airports.append({it.key(), it.value()});
    std::sort(summary.airports.begin(), summary.airports.end(),
              [](const AirportCount &a, const AirportCount &b) { return a.code < b.code; });
    return summary;
}
