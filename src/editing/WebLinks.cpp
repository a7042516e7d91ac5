#include "editing/WebLinks.h"

#include "editing/WebSites.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

namespace
{

QString informationPage(const LogTable &table, int row, const char *path, const char *query)
{
    QString address = QLatin1String(InformationProviderBase) + QLatin1String(path);
    if (row >= 0 && row < table.count())
        address += QLatin1String(query) + table.cell(row, 0);
    return address;
}

QString distancePage(const LogTable &table, int row, int calculator)
{
    const bool selected = row >= 0 && row < table.count();
    const QString from = table.cell(row, 0);
    const QString to = table.cell(row, 1);
    if (calculator == 0) {
        const QString base = QLatin1String(FirstDistanceCalculatorBase);
        return selected
                   ? base + QStringLiteral("/distance/from/") + from + QStringLiteral("/to/") + to
                   : base + QStringLiteral("/distance/");
    }
    if (calculator == 1) {
        const QString base = QLatin1String(SecondDistanceCalculatorBase);
        return selected ? base + QStringLiteral("/travel/milemarker/getmileage.php?city=") + from +
                              QStringLiteral("&city=") + to
                        : base + QStringLiteral("/travel/milemarker/");
    }
    return QString();
}

} // namespace

QString WebLinkAddress(const LogDocument &document, WebLinkKind kind, int row,
                       const WingbookOptions &options)
{
    switch (kind) {
    case WebLinkKind::AirlineInformation:
        if (options.InformationProvider() != 0)
            return QString();
        return informationPage(document.Airlines, row, "/go/Airline/airlineDetails.do",
                               "?airlineCode=");
    case WebLinkKind::AirportInformation:
        if (options.InformationProvider() != 0)
            return QString();
        return informationPage(document.Airports, row, "/go/Airport/airportDetails.do",
                               "?airportCode=");
    case WebLinkKind::DistanceCalculator:
        break;
    }
    return distancePage(document.Distances, row, options.DistanceCalculator());
}
