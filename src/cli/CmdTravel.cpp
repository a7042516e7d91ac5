// travel: the figures of the travel charts, as JSON for scripts or as text.
#include "cli/CliLog.h"
#include "geography/TravelFigures.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace
{

const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const kWeekdays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

// A flight as show prints it, with its known distance.
QJsonValue flightJson(const LogDocument &document, int row, int miles)
{
    if (row < 0)
        return QJsonValue::Null;
    QJsonObject flight = rowToJson(document.Flights, row);
    flight.insert(QStringLiteral("Miles"), miles);
    return flight;
}

template <size_t N> QJsonArray numbers(const std::array<int, N> &values)
{
    QJsonArray array;
    for (int value : values)
        array.append(value);
    return array;
}

QJsonObject travelJson(const LogDocument &document, const TravelFigures &figures)
{
    QJsonObject flightsPerYear;
    QJsonObject milesPerYear;
    for (auto it = figures.years.cbegin(); it != figures.years.cend(); ++it) {
        flightsPerYear.insert(QString::number(it.key()), it.value().flights);
        milesPerYear.insert(QString::number(it.key()), double(it.value().miles));
    }
    QJsonArray unknownDates;
    if (figures.unknownYear.flights > 0) {
        flightsPerYear.insert(TravelFigures::unknownName(), figures.unknownYear.flights);
        milesPerYear.insert(TravelFigures::unknownName(), double(figures.unknownYear.miles));
    }
    for (int row : figures.unknownDateRows)
        unknownDates.append(rowToJson(document.Flights, row));

    QJsonArray countries;
    for (const TravelFigures::Country &country : figures.countries)
        countries.append(QJsonObject{{QStringLiteral("Country"), country.name},
                                     {QStringLiteral("Airports"), country.airports},
                                     {QStringLiteral("Flights"), country.flights}});

    return QJsonObject{
        {QStringLiteral("FlightsPerYear"), flightsPerYear},
        {QStringLiteral("MilesPerYear"), milesPerYear},
        {QStringLiteral("FlightsPerMonth"), numbers(figures.flightsPerMonth)},
        {QStringLiteral("FlightsPerWeekday"), numbers(figures.flightsPerWeekday)},
        {QStringLiteral("Countries"), countries},
        {QStringLiteral("Longest"), flightJson(document, figures.longestRow, figures.longestMiles)},
        {QStringLiteral("Shortest"),
         flightJson(document, figures.shortestRow, figures.shortestMiles)},
        {QStringLiteral("UnknownDateFlights"), unknownDates},
    };
}

QString flightText(const LogDocument &document, int row, int miles)
{
    if (row < 0)
        return QStringLiteral("no flight has a known distance");
    return QStringLiteral("%1, %2 miles")
        .arg(document.Flights.row(row).cells.join(QStringLiteral("  ")))
        .arg(miles);
}

void printTravelText(QTextStream &out, const LogDocument &document, const TravelFigures &figures)
{
    out << "Year  Flights  Miles\n";
    for (auto it = figures.years.cbegin(); it != figures.years.cend(); ++it)
        out << it.key() << "  " << it.value().flights << "  " << it.value().miles << '\n';
    if (figures.unknownYear.flights > 0)
        out << TravelFigures::unknownName() << "  " << figures.unknownYear.flights << "  "
            << figures.unknownYear.miles << '\n';
    out << "\nFlights per month:";
    for (size_t m = 0; m < 12; ++m)
        out << ' ' << kMonths[m] << ' ' << figures.flightsPerMonth[m];
    out << "\nFlights per weekday:";
    for (size_t d = 0; d < 7; ++d)
        out << ' ' << kWeekdays[d] << ' ' << figures.flightsPerWeekday[d];
    out << "\n\nCountry  Airports  Flights\n";
    for (const TravelFigures::Country &country : figures.countries)
        out << country.name << "  " << country.airports << "  " << country.flights << '\n';
    out << "\nLongest: " << flightText(document, figures.longestRow, figures.longestMiles)
        << "\nShortest: " << flightText(document, figures.shortestRow, figures.shortestMiles)
        << '\n';
    if (!figures.unknownDateRows.isEmpty()) {
        out << "\nFlights whose date cannot be read (counted under " << TravelFigures::unknownName()
            << "):\n";
        for (int row : figures.unknownDateRows)
            out << document.Flights.row(row).cells.join(QStringLiteral("  ")) << '\n';
    }
}

} // namespace

int travelCommand(CliContext &ctx)
{
    LogDocument document;
    if (!readLogForCli(ctx, document, ctx.arguments.first()))
        return 1;
    const TravelFigures figures = ComputeTravelFigures(document);
    if (ctx.isSet(QStringLiteral("json")))
        ctx.out << QJsonDocument(travelJson(document, figures)).toJson(QJsonDocument::Indented);
    else
        printTravelText(ctx.out, document, figures);
    return 0;
}
