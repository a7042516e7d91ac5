#pragma once

#include "geography/GeoPoint.h"

#include <QList>

// Distances and paths along geodesics on the WGS-84 ellipsoid (GeographicLib).

// The geodesic distance between two places in statute miles, rounded to the nearest mile.
int GeodesicMiles(GeoPoint from, GeoPoint to);

// Points along the geodesic from one place to the other, both ends included, no two neighbours
// further apart than about maxStepKm. Longitudes run on without a jump: a path that crosses the
// 180th meridian goes on beyond 180 (or below -180) instead of coming back at the other side,
// so it can be drawn unbroken. The first point's longitude is that of from.
QList<GeoPoint> GeodesicPath(GeoPoint from, GeoPoint to, double maxStepKm = 100);
