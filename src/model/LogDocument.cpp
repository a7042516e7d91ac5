#include "model/LogDocument.h"

#include "components/TextHelpers.h"
#include "options/WingbookOptions.h"

namespace
{

enum FlightColumn { FlightDate, FlightTime, FlightFrom, FlightTo, FlightAirline };

} // namespace

LogDocument::LogDocument(QObject *parent) : QObject(parent) {}

LogTable &LogDocument::table(TableKind kind)
{
    switch (kind) {
    case TableKind::Airlines:
        return Airlines;
    case TableKind::Airports:
        return Airports;
    case TableKind::Distances:
        return Distances;
    case TableKind::Flights:
    case TableKind::Other:
        break;
    }
    return Flights;
}

QList<LogTable *> LogDocument::tables()
{
    return {&Flights, &Airlines, &Airports, &Distances};
}

void LogDocument::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

int LogDocument::totalRows() const
{
    return Flights.count() + Airlines.count() + Airports.count() + Distances.count();
}

void LogDocument::clearTables()
{
    for (LogTable *t : tables())
        t->clear();
}

void LogDocument::SortFlights()
{
    // One sort by date, then time: the order of a stable sort by time followed by one by date.
    Flights.SortByKeys({{FlightDate, false}, {FlightTime, false}});
}

void LogDocument::SortAirlines()
{
    Airlines.Sort(0, true);
}

void LogDocument::SortAirports()
{
    Airports.Sort(0, true);
}

void LogDocument::SortDistances()
{
    Distances.SortByKeys({{0, true}, {1, true}});
}

void LogDocument::sortAsOptionsSay(const WingbookOptions &options)
{
    if (options.DisplayLatestFlightsFirst())
        SortFlights();
    if (options.SortAlphabeticalCodes()) {
        SortAirlines();
        SortAirports();
        SortDistances();
    }
}

void LogDocument::adjustReferences(const QString &from, const QString &to, const QString &airline,
                                   qint32 delta)
{
    Airlines.addReference(Airlines.FindItemByText(airline, 0), delta);
    Airports.addReference(Airports.FindItemByText(from, 0), delta);
    Airports.addReference(Airports.FindItemByText(to, 0), delta);
    Distances.addReference(Distances.findPairEitherWay(from, to), delta);
}

void LogDocument::adjustReferencesOfFlight(int flightRow, qint32 delta)
{
    adjustReferences(Flights.cell(flightRow, FlightFrom), Flights.cell(flightRow, FlightTo),
                     Flights.cell(flightRow, FlightAirline), delta);
}

void LogDocument::countReferences()
{
    Airlines.resetReferenceCounts();
    Airports.resetReferenceCounts();
    Distances.resetReferenceCounts();
    for (int r = 0; r < Flights.count(); ++r)
        adjustReferencesOfFlight(r, 1);
}

void LogDocument::choosePreferredValues()
{
    qint32 best = 0;
    for (int r = 0; r < Airlines.count(); ++r) {
        if (Airlines.referenceCount(r) > best) {
            best = Airlines.referenceCount(r);
            PreferredAirline = Airlines.cell(r, 0);
        }
    }
    best = 0;
    for (int r = 0; r < Airports.count(); ++r) {
        if (Airports.referenceCount(r) > best) {
            best = Airports.referenceCount(r);
            PreferredToAirport = PreferredFromAirport;
            PreferredFromAirport = Airports.cell(r, 0);
            HomeCountry = Airports.cell(r, 3);
        }
    }
}

QString LogDocument::countsText(const QLocale &locale) const
{
    return FormatCount(Flights.count(), locale) + QStringLiteral(" flight(s) - ") +
           FormatCount(Airlines.count(), locale) + QStringLiteral(" airline(s) - ") +
           FormatCount(Airports.count(), locale) + QStringLiteral(" airport(s) - ") +
           FormatCount(Distances.count(), locale) + QStringLiteral(" distance(s)");
}
