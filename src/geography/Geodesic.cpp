#include "geography/Geodesic.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kMetresPerMile = 1609.344;
// Enough points for a smooth curve at any zoom of a world map, few enough for thousands of
// routes.
constexpr int kMaxSteps = 256;

} // namespace

int GeodesicMiles(GeoPoint from, GeoPoint to)
{
    double metres = 0;
    GeographicLib::Geodesic::WGS84().Inverse(from.latitude, from.longitude, to.latitude,
                                             to.longitude, metres);
    return int(std::lround(metres / kMetresPerMile));
}

QList<GeoPoint> GeodesicPath(GeoPoint from, GeoPoint to, double maxStepKm)
{
    using GeographicLib::Geodesic;
    const GeographicLib::GeodesicLine line = Geodesic::WGS84().InverseLine(
        from.latitude, from.longitude, to.latitude, to.longitude,
        Geodesic::LATITUDE | Geodesic::LONGITUDE | Geodesic::DISTANCE_IN);
    const double length = line.Distance();
    const double step = std::max(maxStepKm, 1.0) * 1000;
    const int steps = std::clamp(int(std::ceil(length / step)), 1, kMaxSteps);
    QList<GeoPoint> points;
    points.reserve(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        double latitude = 0;
        double longitude = 0;
        double unused = 0;
        // LONG_UNROLL: the longitude goes on past +-180 rather than wrapping.
        line.GenPosition(false, length * i / steps,
                         Geodesic::LATITUDE | Geodesic::LONGITUDE | Geodesic::LONG_UNROLL, latitude,
                         longitude, unused, unused, unused, unused, unused, unused);
        points.append({latitude, longitude});
    }
    return points;
}
