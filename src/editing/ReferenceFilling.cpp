#include "editing/ReferenceFilling.h"

#include "components/AirportDefValue.h"
#include "components/LumFlatFile.h"
#include "geography/DistanceFilling.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

namespace
{

enum AirportColumn { AirportCode, AirportName, AirportCity, AirportCountry };
enum DistanceColumn { DistanceFrom, DistanceTo, DistanceMiles };

} // namespace

void AddAirline(LogDocument &document, const TLumFlatFile &airlines, const QString &airline)
{
    LogTable &table = document.Airlines;
    const QString name = airlines.GetValueData(airline);
    const int r = table.FindItemByText(airline, 0);
    if (r < 0) {
        table.addReference(table.appendRow({airline, name}), 1);
        return;
    }
    table.setCell(r, 0, airline);
    if (!name.isEmpty())
        table.setCell(r, 1, name);
    table.addReference(r, 1);
}

void AddAirport(LogDocument &document, const TLumFlatFile &airports, const QString &airport)
{
    LogTable &table = document.Airports;
    const QString value = airports.GetValueData(airport);
    const QString name = ExtractAirportNameDEF(value);
    const QString city = ExtractAirportCityDEF(value);
    const QString country = ExtractAirportCountryDEF(value);
    const int r = table.FindItemByText(airport, 0);
    if (r < 0) {
        table.addReference(table.appendRow({airport, name, city, country}), 1);
        return;
    }
    if (!value.isEmpty()) {
        table.setCell(r, AirportName, name);
        table.setCell(r, AirportCity, city);
        table.setCell(r, AirportCountry, country);
    }
    table.addReference(r, 1);
}

void AddDistance(LogDocument &document, const QString &airportFrom, const QString &airportTo,
                 const AirportPositions *positions)
{
    // The Miles of a distance not known yet.
    const auto unknownMiles = [&] {
        const std::optional<QString> computed =
            positions ? ComputedMiles(*positions, airportFrom, airportTo) : std::nullopt;
        return computed.value_or(QStringLiteral("0"));
    };
    LogTable &table = document.Distances;
    const int r = table.findPairEitherWay(airportFrom, airportTo);
    // Plain code-unit order; a proper prefix sorts first, equal codes stay as they are.
    const bool inOrder = QString::compare(airportFrom, airportTo, Qt::CaseSensitive) < 0;
    const QString &first = inOrder ? airportFrom : airportTo;
    const QString &second = inOrder ? airportTo : airportFrom;
    if (r < 0) {
        table.addReference(table.appendRow({first, second, unknownMiles()}), 1);
        return;
    }
    table.setCell(r, DistanceFrom, first);
    table.setCell(r, DistanceTo, second);
    if (table.cell(r, DistanceMiles).isEmpty())
        table.setCell(r, DistanceMiles, unknownMiles());
    table.addReference(r, 1);
}

void TakeFlightReferences(LogDocument &document, const ReferenceFiles &files,
                          const WingbookOptions &options, const QString &from, const QString &to,
                          const QString &airline)
{
    if (options.AutoPopulateAirports()) {
        AddAirport(document, files.Airports, from);
        AddAirport(document, files.Airports, to);
    } else {
        document.Airports.addReference(document.Airports.FindItemByText(from, 0), 1);
        document.Airports.addReference(document.Airports.FindItemByText(to, 0), 1);
    }
    if (options.AutoPopulateAirlines())
        AddAirline(document, files.Airlines, airline);
    else
        document.Airlines.addReference(document.Airlines.FindItemByText(airline, 0), 1);
    if (options.AutoPopulateDistances())
        AddDistance(document, from, to, options.ComputeDistances() ? files.Positions : nullptr);
    else
        document.Distances.addReference(document.Distances.findPairEitherWay(from, to), 1);
}

void SortFilledReferenceTables(LogDocument &document, const WingbookOptions &options)
{
    if (!options.SortAlphabeticalCodes())
        return;
    if (options.AutoPopulateAirports())
        document.SortAirports();
    if (options.AutoPopulateAirlines())
        document.SortAirlines();
    if (options.AutoPopulateDistances())
        document.SortDistances();
}
