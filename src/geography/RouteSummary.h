#pragma once

#include <QList>
#include <QString>

class LogTable;

// A route: the flights between two airports in either direction. The codes are ordered as the
// Distances table orders a pair (the one that sorts first by code units first).
struct RouteCount {
    QString from;
    QString to;
    int flights = 0;
};

// An airport that flights leave from or arrive at, with the number of those flights (a flight
// from an airport to itself counts once).
struct AirportCount {
    QString code;
    int flights = 0;
};

struct RouteSummary {
    QList<RouteCount> routes;     // most flights first, then by codes
    QList<AirportCount> airports; // by code
};

// The routes and airports of the flights table. A flight with an empty From or To names no
// route and no airport at that end.
RouteSummary SummarizeRoutes(const LogTable &flights);
