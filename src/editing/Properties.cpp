#include "editing/Properties.h"

#include "model/LogDocument.h"

#include <cstdlib>

namespace
{

enum FlightColumn { FlightDate, FlightTime, FlightFrom, FlightTo, FlightAirline };

// N * 100 / F with two decimals, a half rounded away from zero. Worked out on whole numbers:
// the quotient's exact decimal expansion decides, so 1 of 800 (exactly 0.125) gives 0.13.
QString shareText(qint64 n, qint64 f, const QLocale &locale)
{
    const bool negative = (n < 0) != (f < 0) && n != 0;
    const qint64 num = std::llabs(n) * 10000; // hundredths of a percent, times F
    const qint64 den = std::llabs(f);
    const qint64 hundredths = (2 * num + den) / (2 * den);
    const QString digits = QString::number(hundredths / 100) + locale.decimalPoint() +
                           QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    return negative && hundredths != 0 ? QStringLiteral("-") + digits : digits;
}

QString noun(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::Airline:
        return QStringLiteral("Airline");
    case ReferenceKind::Airport:
        return QStringLiteral("Airport");
    case ReferenceKind::Distance:
        break;
    }
    return QStringLiteral("Distance");
}

} // namespace

QString ReferenceCountLabel(ReferenceKind kind, qint32 referenceCount, qint64 flightCount,
                            const QLocale &locale)
{
    const QString prefix = noun(kind) + QStringLiteral(" referenced by ");
    if (flightCount == 0)
        return prefix + QStringLiteral("0 flight(s) [0%]");
    return prefix + QString::number(referenceCount) + QStringLiteral(" flight(s) [") +
           shareText(referenceCount, flightCount, locale) + QStringLiteral("%]");
}

QString ReferenceCountLabel(const LogDocument &document, TableKind table, int row,
                            const QLocale &locale)
{
    ReferenceKind kind = ReferenceKind::Distance;
    const LogTable *rows = &document.Distances;
    if (table == TableKind::Airlines) {
        kind = ReferenceKind::Airline;
        rows = &document.Airlines;
    } else if (table == TableKind::Airports) {
        kind = ReferenceKind::Airport;
        rows = &document.Airports;
    }
    return ReferenceCountLabel(kind, rows->referenceCount(row), document.Flights.count(), locale);
}

QString FlightDistanceLabel(const LogDocument &document, const QString &from, const QString &to)
{
    const int r = document.Distances.findPairEitherWay(from, to);
    const QString miles = r >= 0 ? document.Distances.cell(r, 2) : QStringLiteral("0");
    return QStringLiteral("Distance between airports equal to ") + miles +
           QStringLiteral(" mile(s)");
}

LocateResult LocateFromFlight(const LogDocument &document, int flightRow, LocateTarget target)
{
    LocateResult result;
    const LogTable &flights = document.Flights;
    if (flightRow < 0 || flightRow >= flights.count())
        return result;
    switch (target) {
    case LocateTarget::Airline:
        result.table = TableKind::Airlines;
        result.row = document.Airlines.FindItemByText(flights.cell(flightRow, FlightAirline), 0);
        if (result.row < 0)
            result.error = QStringLiteral("The airline can't be located.");
        break;
    case LocateTarget::From:
    case LocateTarget::To:
        result.table = TableKind::Airports;
        result.row = document.Airports.FindItemByText(
            flights.cell(flightRow, target == LocateTarget::From ? FlightFrom : FlightTo), 0);
        if (result.row < 0)
            result.error = QStringLiteral("The airport can't be located.");
        break;
    case LocateTarget::Distance:
        result.table = TableKind::Distances;
        result.row = document.Distances.findPairEitherWay(flights.cell(flightRow, FlightFrom),
                                                          flights.cell(flightRow, FlightTo));
        if (result.row < 0)
            result.error = QStringLiteral("The distance can't be located.");
        break;
    }
    if (result.row < 0)
        result.table = TableKind::Flights;
    return result;
}
