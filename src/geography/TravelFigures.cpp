#include "geography/TravelFigures.h"

#include "model/LogDocument.h"
#include "model/LogFormatSettings.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>

namespace
{

enum FlightColumn { FlightDate = 0, FlightFrom = 2, FlightTo = 3 };
enum AirportColumn { AirportCode = 0, AirportCountry = 3 };
enum DistanceColumn { DistanceMiles = 2 };

int milesOfRow(const LogTable &distances, int row)
{
    if (row < 0)
        return 0;
    bool ok = false;
    const int miles = distances.cell(row, DistanceMiles).trimmed().toInt(&ok);
    return ok && miles > 0 ? miles : 0;
}

// Lookups that repeat for every flight, answered once per distinct text.
class FlightFacts
{
public:
    explicit FlightFacts(const LogDocument &document) : m_document(document) {}

    std::optional<QDate> date(const QString &text)
    {
        auto found = m_dates.constFind(text);
        if (found == m_dates.constEnd())
            found = m_dates.insert(text, LogFormatSettings::standard().parseDate(text));
        return *found;
    }

    QString country(const QString &code)
    {
        auto found = m_countries.constFind(code);
        if (found == m_countries.constEnd()) {
            const LogTable &airports = m_document.Airports;
            const int row = airports.FindItemByText(code, AirportCode);
            QString name = airports.cell(row, AirportCountry).trimmed();
            if (name.isEmpty())
                name = TravelFigures::unknownName();
            found = m_countries.insert(code, name);
        }
        return *found;
    }

    int miles(const QString &from, const QString &to)
    {
        const std::pair key(from, to);
        auto found = m_miles.constFind(key);
        if (found == m_miles.constEnd()) {
            const LogTable &distances = m_document.Distances;
            found =
                m_miles.insert(key, milesOfRow(distances, distances.findPairEitherWay(from, to)));
        }
        return *found;
    }

private:
    const LogDocument &m_document;
    QHash<QString, std::optional<QDate>> m_dates;
    QHash<QString, QString> m_countries;
    QHash<std::pair<QString, QString>, int> m_miles;
};

struct CountryTally {
    QSet<QString> airports;
    int flights = 0;
};

} // namespace

int KnownFlightMiles(const LogDocument &document, int flightRow)
{
    const LogTable &flights = document.Flights;
    const int row = document.Distances.findPairEitherWay(flights.cell(flightRow, FlightFrom),
                                                         flights.cell(flightRow, FlightTo));
    return milesOfRow(document.Distances, row);
}

TravelFigures ComputeTravelFigures(const LogDocument &document)
{
    TravelFigures figures;
    FlightFacts facts(document);
    QHash<QString, CountryTally> countries;
    const LogTable &flights = document.Flights;
    for (int r = 0; r < flights.count(); ++r) {
        const QString from = flights.cell(r, FlightFrom);
        const QString to = flights.cell(r, FlightTo);
        const int miles = facts.miles(from, to);

        TravelFigures::Year *year = &figures.unknownYear;
        if (const std::optional<QDate> date = facts.date(flights.cell(r, FlightDate))) {
            year = &figures.years[date->year()];
            ++figures.flightsPerMonth[size_t(date->month() - 1)];
            ++figures.flightsPerWeekday[size_t(date->dayOfWeek() - 1)];
        } else {
            figures.unknownDateRows.append(r);
        }
        ++year->flights;
        year->miles += miles;

        if (miles > 0) {
            if (figures.longestRow < 0 || miles > figures.longestMiles) {
                figures.longestRow = r;
                figures.longestMiles = miles;
            }
            if (figures.shortestRow < 0 || miles < figures.shortestMiles) {
                figures.shortestRow = r;
                figures.shortestMiles = miles;
            }
        }

        QString flightCountries[2];
        int n = 0;
        for (const QString &code : {from, to}) {
            if (code.isEmpty())
                continue;
            const QString country = facts.country(code);
            countries[country].airports.insert(code);
            if (n == 0 || flightCountries[0] != country)
                flightCountries[n++] = country;
        }
        for (int i = 0; i < n; ++i)
            ++countries[flightCountries[i]].flights;
    }

    for (auto it = countries.cbegin(); it != countries.cend(); ++it)
        figures.countries.append({it.key(), int(it.value().airports.size()), it.value().flights});
    std::sort(figures.countries.begin(), figures.countries.end(),
              [](const TravelFigures::Country &a, const TravelFigures::Country &b) {
                  if (a.flights != b.flights)
                      return a.flights > b.flights;
                  return a.name < b.name;
              });
    return figures;
}
