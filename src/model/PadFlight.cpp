#include "model/PadFlight.h"

#include "components/TextHelpers.h"

QStringView PadFlight(QStringView flight, QString &padded)
{
    if (flight.size() < 3) {
        padded = PadLeft(flight.toString(), 3, QLatin1Char('0'));
        return padded;
    }
    qsizetype zeros = 0;
    while (zeros < flight.size() && flight.at(zeros) == QLatin1Char('0'))
        ++zeros;
    return flight.sliced(zeros);
}

QString PadFlight(const QString &flight)
{
    QString padded;
    const QStringView result = PadFlight(QStringView(flight), padded);
    if (!padded.isNull())
        return padded;
    return result.size() == flight.size() ? flight : result.toString();
}
