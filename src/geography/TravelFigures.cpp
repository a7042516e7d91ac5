#include "geography/TravelFigures.h"

#include "model/LogDocument.h"
#include "model/LogFormatSettings.h"

#include <QHash>
#include <QSet>
#include <absl/container/flat_hash_map.h>
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

using Id = LogTable::Id;

// Lookups that repeat for every flight, answered once per distinct text: the cells hold ids of
// their texts, and the same text has the same id.
class FlightFacts
{
public:
    explicit FlightFacts(const LogDocument &document)
        : m_document(document), m_texts(document.Flights.textPool())
    {
    }

    std::optional<QDate> date(Id text)
    {
        auto found = m_dates.find(text);
        if (found == m_dates.end())
            found =
                m_dates.emplace(text, LogFormatSettings::standard().parseDate(m_texts.text(text)))
                    .first;
        return found->second;
    }

    QString country(Id code)
    {
        auto found = m_countries.find(code);
        if (found == m_countries.end()) {
            const LogTable &airports = m_document.Airports;
            const int row = airports.FindItemByText(m_texts.text(code), AirportCode);
            QString name = airports.cell(row, AirportCountry).trimmed();
            if (name.isEmpty())
                name = TravelFigures::unknownName();
            found = m_countries.emplace(code, name).first;
        }
        return found->second;
    }

    int miles(Id from, Id to)
    {
        const quint64 key = quint64(from) << 32 | to;
        auto found = m_miles.find(key);
        if (found == m_miles.end()) {
            const LogTable &distances = m_document.Distances;
            const int row = distances.findPairEitherWay(m_texts.text(from), m_texts.text(to));
            found = m_miles.emplace(key, milesOfRow(distances, row)).first;
        }
        return found->second;
    }

private:
    const LogDocument &m_document;
    const TextPool &m_texts;
    absl::flat_hash_map<Id, std::optional<QDate>> m_dates;
    absl::flat_hash_map<Id, QString> m_countries;
    absl::flat_hash_map<quint64, int> m_miles;
};

struct CountryTally {
    QSet<Id> airports;
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
    const auto &dates = flights.columnIds(FlightDate);
    const auto &fromIds = flights.columnIds(FlightFrom);
    const auto &toIds = flights.columnIds(FlightTo);
    for (int r = 0; r < flights.count(); ++r) {
        const Id from = fromIds[size_t(r)];
        const Id to = toIds[size_t(r)];
        const int miles = facts.miles(from, to);

        TravelFigures::Year *year = &figures.unknownYear;
        if (const std::optional<QDate> date = facts.date(dates[size_t(r)])) {
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

        // A flight counts once for each country it touches, a domestic one once.
        QString flightCountries[2];
        int n = 0;
        for (const Id code : {from, to}) {
            if (code == TextPool::kEmpty)
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
