#pragma once

#include "geography/GeoPoint.h"
#include "geography/RouteSummary.h"

#include <QList>
#include <QString>

class AirportPositions;

// What the route map draws, in degrees: each route whose two airports have a position as its
// geodesic path, each such airport as a dot, and the airports without a position as a list.
struct RouteMapGeometry {
    struct Route {
        QString from;
        QString to;
        int flights = 0;
        // Longitudes run on without a jump (see GeodesicPath): a route across the 180th
        // meridian goes beyond it. One point for a flight from an airport to itself.
        QList<GeoPoint> path;
    };
    struct Airport {
        QString code;
        GeoPoint position;
        int flights = 0;
    };

    QList<Route> routes;                 // most flights first
    QList<Airport> airports;             // by code
    QList<AirportCount> withoutPosition; // by code: named by flights, not drawn
    int maxRouteFlights = 0;
    // The meridian in the middle of the map: Greenwich, unless routes cross the 180th
    // meridian; then the meridian opposite the one that the fewest routes cross, so that as
    // many routes as can be are drawn whole.
    double centralLongitude = 0;
};

RouteMapGeometry BuildRouteMapGeometry(const RouteSummary &summary,
                                       const AirportPositions &positions);

// The centre meridian for these routes and airports, as described above.
double ChooseCentralLongitude(const QList<RouteMapGeometry::Route> &routes);

// The sentence that lists the airports the map cannot draw, with their flights; empty when
// every airport has a position.
QString WithoutPositionText(const RouteMapGeometry &geometry);
