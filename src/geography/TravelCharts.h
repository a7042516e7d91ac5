#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct TravelFigures;

// One bar chart of the travel charts: a bar per category.
struct TravelChart {
    QString title;     // the window's tab and the chart's title
    QString valueName; // what a bar counts ("Flights", "Miles")
    QStringList categories;
    QList<qint64> values; // one per category
    bool horizontal = false;
    int leftOut = 0; // categories not shown (the countries beyond the first ones)
};

enum class TravelChartKind {
    FlightsPerYear,
    MilesPerYear,
    FlightsPerMonth,
    FlightsPerWeekday,
    Countries
};
inline constexpr int kTravelChartCount = 5;

// The charts of the figures, in TravelChartKind order. The year charts have a bar for every
// year from the first to the last (years without flights at 0, unless that would make more
// than maxYearBars bars; then only the years with flights), and "Unknown" last when some dates
// cannot be read. The countries chart shows the maxCountries countries with most flights.
QList<TravelChart> BuildTravelCharts(const TravelFigures &figures, int maxCountries = 20,
                                     int maxYearBars = 100);
