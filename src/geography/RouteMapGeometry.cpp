#include "geography/RouteMapGeometry.h"

#include "geography/AirportPositions.h"
#include "geography/Geodesic.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>

namespace
{

constexpr int kBins = 360; // one a degree of longitude, bin b covering [b - 180, b - 179)

int binOf(double longitude)
{
    const int bin = int(std::floor(longitude)) + 180;
    return ((bin % kBins) + kBins) % kBins;
}

double wrapped(double longitude)
{
    const double value = std::fmod(longitude + 180, 360.0);
    return (value < 0 ? value + 360 : value) - 180;
}

} // namespace

RouteMapGeometry BuildRouteMapGeometry(const RouteSummary &summary,
                                       const AirportPositions &positions)
{
    RouteMapGeometry geometry;
    for (const AirportCount &airport : summary.airports) {
        if (const std::optional<GeoPoint> at = positions.position(airport.code))
            geometry.airports.append({airport.code, *at, airport.flights});
        else
            geometry.withoutPosition.append(airport);
    }
    geometry.routes.reserve(summary.routes.size());
    for (const RouteCount &route : summary.routes) {
        const std::optional<GeoPoint> from = positions.position(route.from);
        const std::optional<GeoPoint> to = positions.position(route.to);
        if (!from || !to)
            continue;
        RouteMapGeometry::Route drawn{route.from, route.to, route.flights, {}};
        drawn.path = route.from == route.to ? QList<GeoPoint>{*from} : GeodesicPath(*from, *to);
        geometry.maxRouteFlights = std::max(geometry.maxRouteFlights, route.flights);
        geometry.routes.append(std::move(drawn));
    }
    geometry.centralLongitude = ChooseCentralLongitude(geometry.routes);
    return geometry;
}

double ChooseCentralLongitude(const QList<RouteMapGeometry::Route> &routes)
{
    // How many routes cross each degree of longitude.
    std::array<int, kBins> crossing{};
    for (const RouteMapGeometry::Route &route : routes) {
        std::array<bool, kBins> covered{};
        for (qsizetype i = 1; i < route.path.size(); ++i) {
            const double a = route.path[i - 1].longitude;
            const double b = route.path[i].longitude;
            for (double lon = std::min(a, b); lon < std::max(a, b); lon += 1)
                covered[size_t(binOf(lon))] = true;
            covered[size_t(binOf(b))] = true;
        }
        for (int b = 0; b < kBins; ++b)
            crossing[size_t(b)] += covered[size_t(b)] ? 1 : 0;
    }
    // The map's edge is the 180th meridian when no route crosses it more than elsewhere.
    const int fewest = *std::min_element(crossing.begin(), crossing.end());
    const int edgeBins[] = {0, kBins - 1}; // the degrees on either side of 180
    if (crossing[size_t(edgeBins[0])] == fewest && crossing[size_t(edgeBins[1])] == fewest)
        return 0;
    // Otherwise the middle of the longest run of least-crossed degrees becomes the edge.
    int bestStart = 0;
    int bestLength = 0;
    for (int start = 0; start < kBins; ++start) {
        const int before = (start + kBins - 1) % kBins;
        if (crossing[size_t(start)] != fewest || crossing[size_t(before)] == fewest)
            continue;
        int length = 0;
        while (length < kBins && crossing[size_t((start + length) % kBins)] == fewest)
            ++length;
        if (length > bestLength) {
            bestLength = length;
            bestStart = start;
        }
    }
    const double edge = bestStart - 180 + bestLength / 2.0;
    return wrapped(edge + 180);
}

QString WithoutPositionText(const RouteMapGeometry &geometry)
{
    if (geometry.withoutPosition.isEmpty())
        return {};
    QStringList missing;
    for (const AirportCount &airport : geometry.withoutPosition)
        missing << (airport.flights == 1
                        ? QStringLiteral("%1 (1 flight)").arg(airport.code)
                        : QStringLiteral("%1 (%2 flights)").arg(airport.code).arg(airport.flights));
    return QStringLiteral("%1 airport(s) without a known position, not drawn: %2")
        .arg(missing.size())
        .arg(missing.join(QStringLiteral(", ")));
}
