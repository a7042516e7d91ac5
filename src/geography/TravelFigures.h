#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <array>

class LogDocument;

// The figures of the travel charts: flights and miles per year, flights per month of the year
// and per weekday, the countries visited, and the longest and shortest flights.
//
// A flight's distance is the Miles of the Distances row of its two airports (in either order)
// when that is a whole number above 0; otherwise its distance is not known and it adds no miles.
// An airport's country is the Country of its Airports row.
struct TravelFigures {
    struct Year {
        int flights = 0;
        qint64 miles = 0;
    };
    struct Country {
        QString name;     // "Unknown" for airports without a row or a country
        int airports = 0; // distinct airports of the country that flights name
        int flights = 0;  // flights from or to the country (a domestic flight counts once)
    };

    QMap<int, Year> years; // by year
    // Flights whose date cannot be read: counted here and listed, not dropped.
    Year unknownYear;
    QList<int> unknownDateRows; // rows of the Flights table, in table order

    std::array<int, 12> flightsPerMonth{};  // January first
    std::array<int, 7> flightsPerWeekday{}; // Monday first

    QList<Country> countries; // most flights first, then by name

    // Rows of the flights with the largest and the smallest known distance (the first in table
    // order among equals); -1 when no flight's distance is known.
    int longestRow = -1;
    int longestMiles = 0;
    int shortestRow = -1;
    int shortestMiles = 0;

    static QString unknownName() { return QStringLiteral("Unknown"); }
};

TravelFigures ComputeTravelFigures(const LogDocument &document);

// The distance of a flight as TravelFigures counts it: the Miles of its Distances row when that
// is a whole number above 0, else 0.
int KnownFlightMiles(const LogDocument &document, int flightRow);
