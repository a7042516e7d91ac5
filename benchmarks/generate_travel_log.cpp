// Writes a synthetic log over real airports, for the route map, the charts and the distance
// filling: generate_travel_log FLIGHTS ROUTES POSITIONS.tsv OUT.xml
// ROUTES distinct routes between airports of the positions file (each flown at least once when
// there are enough flights, busy ones much more often), a Distances row of Miles 0 per route.
#include "geography/AirportPositions.h"
#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTextStream>
#include <cmath>

namespace
{

int skewed(QRandomGenerator &random, int n)
{
    const double u = random.generateDouble();
    return qMin(n - 1, int(std::floor(n * u * u * u)));
}

QStringList airportCodes(const QString &positionsFile)
{
    QFile file(positionsFile);
    QStringList codes;
    if (!file.open(QIODevice::ReadOnly))
        return codes;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.startsWith('#'))
            codes << QString::fromLatin1(line.left(line.indexOf('\t')));
    }
    return codes;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    bool flightsOk = false;
    bool routesOk = false;
    const int flights = args.value(1).toInt(&flightsOk);
    const int routeCount = args.value(2).toInt(&routesOk);
    if (args.size() != 5 || !flightsOk || !routesOk || flights < 0 || routeCount < 1) {
        err << "usage: generate_travel_log FLIGHTS ROUTES POSITIONS.tsv OUT.xml\n";
        return 2;
    }
    QStringList airports = airportCodes(args[3]);
    if (airports.size() < 2) {
        err << "no airports in " << args[3] << '\n';
        return 1;
    }
    QRandomGenerator random(20261210);
    // A traveller's airports: 1,500 of them, in random order so that the favourites are spread
    // over the world.
    for (qsizetype i = airports.size() - 1; i > 0; --i)
        airports.swapItemsAt(i, random.bounded(int(i + 1)));
    airports = airports.mid(0, 1500);
    const int n = int(airports.size());
    if (qint64(routeCount) > qint64(n) * (n - 1) / 2) {
        err << "too many routes for " << n << " airports\n";
        return 2;
    }

    QList<std::pair<QString, QString>> routes;
    QSet<std::pair<QString, QString>> seen;
    LogDocument doc;
    while (routes.size() < routeCount) {
        QString a = airports[skewed(random, n)];
        QString b = airports[random.bounded(n)];
        if (a == b)
            continue;
        if (b < a)
            std::swap(a, b);
        if (seen.contains({a, b}))
            continue;
        seen.insert({a, b});
        routes.append({a, b});
        doc.Distances.appendRow({a, b, QStringLiteral("0")});
    }
    for (const QString &code : std::as_const(airports))
        doc.Airports.appendRow({code, QStringLiteral("Airport ") + code, QStringLiteral("City"),
                                QStringLiteral("Country %1").arg(random.bounded(120))});
    doc.Airlines.appendRow({QStringLiteral("XX"), QStringLiteral("Airline XX")});
    const QDate first(1990, 1, 1);
    const int days = int(first.daysTo(QDate(2026, 12, 31)));
    for (int i = 0; i < flights; ++i) {
        // Every route once, then the busy ones again and again.
        const auto &[a, b] = i < routeCount ? routes[i] : routes[skewed(random, routeCount)];
        const bool outbound = random.bounded(2) == 0;
        const QDate date = first.addDays(random.bounded(days));
        doc.Flights.appendRow({date.toString(QStringLiteral("yyyy-MM-dd")), QStringLiteral("12:00"),
                               outbound ? a : b, outbound ? b : a, QStringLiteral("XX"),
                               QString::number(1 + random.bounded(9999))});
    }
    OptionSet options;
    LogFileHost host;
    const LogFileResult result = SaveXMLFile(doc, args[4], options, host);
    if (!result.ok) {
        err << result.error << '\n';
        return 1;
    }
    return 0;
}
