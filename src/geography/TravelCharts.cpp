#include "geography/TravelCharts.h"

#include "geography/TravelFigures.h"

namespace
{

const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const kWeekdays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

QList<int> yearsShown(const TravelFigures &figures, int maxYearBars)
{
    QList<int> years = figures.years.keys();
    if (years.isEmpty() || years.last() - years.first() + 1 > maxYearBars)
        return years;
    QList<int> every;
    for (int year = years.first(); year <= years.last(); ++year)
        every.append(year);
    return every;
}

TravelChart yearChart(const TravelFigures &figures, const QList<int> &years, bool miles)
{
    TravelChart chart;
    chart.title = miles ? QStringLiteral("Miles per Year") : QStringLiteral("Flights per Year");
    chart.valueName = miles ? QStringLiteral("Miles") : QStringLiteral("Flights");
    for (int year : years) {
        const TravelFigures::Year figure = figures.years.value(year);
        chart.categories.append(QString::number(year));
        chart.values.append(miles ? figure.miles : figure.flights);
    }
    if (figures.unknownYear.flights > 0) {
        chart.categories.append(TravelFigures::unknownName());
        chart.values.append(miles ? figures.unknownYear.miles : figures.unknownYear.flights);
    }
    return chart;
}

template <size_t N>
TravelChart namedChart(const QString &title, const char *const (&names)[N],
                       const std::array<int, N> &counts)
{
    TravelChart chart{title, QStringLiteral("Flights"), {}, {}, false, 0};
    for (size_t i = 0; i < N; ++i) {
        chart.categories.append(QString::fromLatin1(names[i]));
        chart.values.append(counts[i]);
    }
    return chart;
}

} // namespace

QList<TravelChart> BuildTravelCharts(const TravelFigures &figures, int maxCountries,
                                     int maxYearBars)
{
    const QList<int> years = yearsShown(figures, maxYearBars);
    QList<TravelChart> charts;
    charts.append(yearChart(figures, years, false));
    charts.append(yearChart(figures, years, true));
    charts.append(
        namedChart(QStringLiteral("Flights per Month"), kMonths, figures.flightsPerMonth));
    charts.append(
        namedChart(QStringLiteral("Flights per Weekday"), kWeekdays, figures.flightsPerWeekday));
    TravelChart countries{QStringLiteral("Countries"), QStringLiteral("Flights"), {}, {}, true, 0};
    for (const TravelFigures::Country &country : figures.countries) {
        if (countries.categories.size() == maxCountries) {
            ++countries.leftOut;
            continue;
        }
        countries.categories.append(country.name);
        countries.values.append(country.flights);
    }
    charts.append(countries);
    return charts;
}
