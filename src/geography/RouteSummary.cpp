#include "geography/RouteSummary.h"

#include "model/LogTable.h"

#include <absl/container/flat_hash_map.h>
#include <algorithm>

namespace
{

enum FlightColumn { FlightFrom = 2, FlightTo = 3 };

using Id = LogTable::Id;

} // namespace

RouteSummary SummarizeRoutes(const LogTable &flights)
{
    // The cells hold ids of their texts: counting by ids touches no text in the loop over the
    // flights, and two cells hold the same code exactly when they hold the same id.
    const auto &fromIds = flights.columnIds(FlightFrom);
    const auto &toIds = flights.columnIds(FlightTo);
    absl::flat_hash_map<quint64, int> routeFlights; // the two ids, the smaller first
    absl::flat_hash_map<Id, int> airportFlights;
    for (size_t r = 0; r < fromIds.size(); ++r) {
        const Id from = fromIds[r];
        const Id to = toIds[r];
        if (from != TextPool::kEmpty)
            ++airportFlights[from];
        if (to != TextPool::kEmpty && to != from)
            ++airportFlights[to];
        if (from == TextPool::kEmpty || to == TextPool::kEmpty)
            continue;
        ++routeFlights[quint64(std::min(from, to)) << 32 | std::max(from, to)];
    }

    const TextPool &texts = flights.textPool();
    RouteSummary summary;
    summary.routes.reserve(qsizetype(routeFlights.size()));
    for (const auto &[pair, count] : routeFlights) {
        const QString &a = texts.text(Id(pair >> 32));
        const QString &b = texts.text(Id(pair & 0xffffffffu));
        // Named as the Distances table names the pair: the code that sorts first by code
        // units first.
        const bool inOrder = QString::compare(a, b, Qt::CaseSensitive) <= 0;
        summary.routes.append({inOrder ? a : b, inOrder ? b : a, count});
    }
    std::sort(summary.routes.begin(), summary.routes.end(),
              [](const RouteCount &a, const RouteCount &b) {
                  if (a.flights != b.flights)
                      return a.flights > b.flights;
                  return std::pair(a.from, a.to) < std::pair(b.from, b.to);
              });
    summary.airports.reserve(qsizetype(airportFlights.size()));
    for (const auto &[id, count] : airportFlights)
        summary.airports.append({texts.text(id), count});
    std::sort(summary.airports.begin(), summary.airports.end(),
              [](const AirportCount &a, const AirportCount &b) { return a.code < b.code; });
    return summary;
}
