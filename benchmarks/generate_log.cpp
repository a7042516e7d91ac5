// Writes a synthetic log: generate_log N OUT.xml
// N flights over a realistic mix of airlines, airports and routes (busy ones much more often
// than rare ones), with every airline, airport and distance row that the flights name.
#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"

#include <QCoreApplication>
#include <QDate>
#include <QRandomGenerator>
#include <QSet>
#include <QTextStream>
#include <cmath>

namespace
{

QString code(QRandomGenerator &random, int letters)
{
    QString text;
    for (int i = 0; i < letters; ++i)
        text += QChar(u'A' + random.bounded(26));
    return text;
}

// Picks an index in [0, n) with a skew towards the first ones, as real logs repeat favourites.
int skewed(QRandomGenerator &random, int n)
{
    const double u = random.generateDouble();
    return qMin(n - 1, int(std::floor(n * u * u * u)));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    bool ok = false;
    const int flights = args.value(1).toInt(&ok);
    if (args.size() != 3 || !ok || flights < 0) {
        err << "usage: generate_log N OUT.xml\n";
        return 2;
    }
    QRandomGenerator random(20261209);
    LogDocument doc;

    QStringList airlines;
    QSet<QString> seen;
    while (airlines.size() < 300) {
        const QString c = code(random, 2);
        if (!seen.contains(c)) {
            seen.insert(c);
            airlines << c;
            doc.Airlines.appendRow({c, QStringLiteral("Airline ") + c});
        }
    }
    QStringList airports;
    while (airports.size() < 1500) {
        const QString c = code(random, 3);
        if (!seen.contains(c)) {
            seen.insert(c);
            airports << c;
            doc.Airports.appendRow({c, QStringLiteral("Airport ") + c, QStringLiteral("City ") + c,
                                    QStringLiteral("Country %1").arg(random.bounded(200))});
        }
    }
    const QDate first(1990, 1, 1);
    const int days = int(first.daysTo(QDate(2026, 12, 31)));
    for (int i = 0; i < flights; ++i) {
        const QString from = airports[skewed(random, int(airports.size()))];
        QString to = airports[skewed(random, int(airports.size()))];
        if (to == from)
            to = airports[random.bounded(int(airports.size()))];
        const QString airline = airlines[skewed(random, int(airlines.size()))];
        const QDate date = first.addDays(random.bounded(days));
        const int minutes = random.bounded(24 * 60);
        doc.Flights.appendRow({date.toString(QStringLiteral("yyyy-MM-dd")),
                               QStringLiteral("%1:%2")
                                   .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                   .arg(minutes % 60, 2, 10, QLatin1Char('0')),
                               from, to, airline, QString::number(1 + random.bounded(9999))});
        if (doc.Distances.findPairEitherWay(from, to) < 0) {
            const bool fromFirst = from < to;
            doc.Distances.appendRow({fromFirst ? from : to, fromFirst ? to : from,
                                     QString::number(random.bounded(30000))});
        }
    }
    OptionSet options;
    LogFileHost host;
    const LogFileResult result = SaveXMLFile(doc, args[2], options, host);
    if (!result.ok) {
        err << result.error << '\n';
        return 1;
    }
    return 0;
}
