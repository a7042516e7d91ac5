#include "model/PadFlight.h"

#include "components/TextHelpers.h"

QString PadFlight(const QString &flight)
{
    if (flight.size() < 3)
        return PadLeft(flight, 3, QLatin1Char('0'));
    qsizetype zeros = 0;
    while (zeros < flight.size() && flight.at(zeros) == QLatin1Char('0'))
        ++zeros;
    return flight.mid(zeros);
}
