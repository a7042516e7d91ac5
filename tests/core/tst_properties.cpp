#include "editing/Properties.h"
#include "editing/WebLinks.h"
#include "editing/WebSites.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ReferenceKind)
Q_DECLARE_METATYPE(LocateTarget)
Q_DECLARE_METATYPE(TableKind)
Q_DECLARE_METATYPE(WebLinkKind)

class TestProperties : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void referenceCountLabel_data();
    void referenceCountLabel();
    void labelOfARow();
    void flightDistanceLabel();
    void locate_data();
    void locate();
    void webLinks_data();
    void webLinks();

private:
    std::unique_ptr<LogDocument> doc;
};

// Flights: 0 JFK-CDG AF (distance stored CDG, JFK), 1 LHR-BOS XX (no rows), 2 ATL-ORD AF
// (distance with Miles "0").
void TestProperties::init()
{
    doc = std::make_unique<LogDocument>();
    doc->Flights.appendRow({u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s, u"007"_s});
    doc->Flights.appendRow({u"2023-01-06"_s, u"07:45"_s, u"LHR"_s, u"BOS"_s, u"XX"_s, u"001"_s});
    doc->Flights.appendRow({u"2023-01-07"_s, u"07:45"_s, u"ATL"_s, u"ORD"_s, u"AF"_s, u"002"_s});
    doc->Airlines.appendRow({u"BA"_s});
    doc->Airlines.appendRow({u"AF"_s});
    doc->Airports.appendRow({u"CDG"_s});
    doc->Airports.appendRow({u"JFK"_s});
    doc->Distances.appendRow({u"CDG"_s, u"JFK"_s, u"3625"_s});
    doc->Distances.appendRow({u"ATL"_s, u"ORD"_s, u"0"_s});
    doc->countReferences();
}

void TestProperties::referenceCountLabel_data()
{
    QTest::addColumn<ReferenceKind>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("flights");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("label");
    const QLocale c = QLocale::c();
    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("1 of 3") << ReferenceKind::Airline << 1 << 3 << c
                            << u"Airline referenced by 1 flight(s) [33.33%]"_s;
    QTest::newRow("2 of 3 rounds up")
        << ReferenceKind::Airport << 2 << 3 << c << u"Airport referenced by 2 flight(s) [66.67%]"_s;
    QTest::newRow("3 of 3") << ReferenceKind::Distance << 3 << 3 << c
                            << u"Distance referenced by 3 flight(s) [100.00%]"_s;
    QTest::newRow("1 of 800, exactly 0.125") << ReferenceKind::Airline << 1 << 800 << c
                                             << u"Airline referenced by 1 flight(s) [0.13%]"_s;
    QTest::newRow("1 of 1600, 0.0625") << ReferenceKind::Airline << 1 << 1600 << c
                                       << u"Airline referenced by 1 flight(s) [0.06%]"_s;
    QTest::newRow("3 of 40000, 0.0075") << ReferenceKind::Airline << 3 << 40000 << c
                                        << u"Airline referenced by 3 flight(s) [0.01%]"_s;
    QTest::newRow("0 of 5") << ReferenceKind::Airline << 0 << 5 << c
                            << u"Airline referenced by 0 flight(s) [0.00%]"_s;
    QTest::newRow("no flights, whatever the count")
        << ReferenceKind::Airport << 4 << 0 << c << u"Airport referenced by 0 flight(s) [0%]"_s;
    QTest::newRow("regional decimal separator") << ReferenceKind::Distance << 1 << 3 << german
                                                << u"Distance referenced by 1 flight(s) [33,33%]"_s;
    QTest::newRow("more references than flights, no grouping")
        << ReferenceKind::Airport << 20000 << 10 << c
        << u"Airport referenced by 20000 flight(s) [200000.00%]"_s;
}

void TestProperties::referenceCountLabel()
{
    QFETCH(ReferenceKind, kind);
    QFETCH(int, count);
    QFETCH(int, flights);
    QFETCH(QLocale, locale);
    QFETCH(QString, label);
    QCOMPARE(ReferenceCountLabel(kind, count, flights, locale), label);
}

void TestProperties::labelOfARow()
{
    QCOMPARE(ReferenceCountLabel(*doc, TableKind::Airlines, 1, QLocale::c()),
             u"Airline referenced by 2 flight(s) [66.67%]"_s);
    QCOMPARE(ReferenceCountLabel(*doc, TableKind::Airports, 0, QLocale::c()),
             u"Airport referenced by 1 flight(s) [33.33%]"_s);
}

void TestProperties::flightDistanceLabel()
{
    QCOMPARE(FlightDistanceLabel(*doc, u"JFK"_s, u"CDG"_s),
             u"Distance between airports equal to 3625 mile(s)"_s);
    QCOMPARE(FlightDistanceLabel(*doc, u"ATL"_s, u"ORD"_s),
             u"Distance between airports equal to 0 mile(s)"_s);
    QCOMPARE(FlightDistanceLabel(*doc, u"LHR"_s, u"BOS"_s),
             u"Distance between airports equal to 0 mile(s)"_s);
}

void TestProperties::locate_data()
{
    QTest::addColumn<int>("flight");
    QTest::addColumn<LocateTarget>("target");
    QTest::addColumn<TableKind>("table");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("error");
    QTest::newRow("airline") << 0 << LocateTarget::Airline << TableKind::Airlines << 1 << QString();
    QTest::newRow("from") << 0 << LocateTarget::From << TableKind::Airports << 1 << QString();
    QTest::newRow("to") << 0 << LocateTarget::To << TableKind::Airports << 0 << QString();
    QTest::newRow("distance stored the other way")
        << 0 << LocateTarget::Distance << TableKind::Distances << 0 << QString();
    QTest::newRow("missing airline") << 1 << LocateTarget::Airline << TableKind::Flights << -1
                                     << u"The airline can't be located."_s;
    QTest::newRow("missing from") << 1 << LocateTarget::From << TableKind::Flights << -1
                                  << u"The airport can't be located."_s;
    QTest::newRow("missing to") << 1 << LocateTarget::To << TableKind::Flights << -1
                                << u"The airport can't be located."_s;
    QTest::newRow("missing distance") << 1 << LocateTarget::Distance << TableKind::Flights << -1
                                      << u"The distance can't be located."_s;
    QTest::newRow("no flight selected")
        << -1 << LocateTarget::Airline << TableKind::Flights << -1 << QString();
}

void TestProperties::locate()
{
    QFETCH(int, flight);
    QFETCH(LocateTarget, target);
    QFETCH(TableKind, table);
    QFETCH(int, row);
    QFETCH(QString, error);
    const LocateResult found = LocateFromFlight(*doc, flight, target);
    QCOMPARE(found.table, table);
    QCOMPARE(found.row, row);
    QCOMPARE(found.error, error);
}

void TestProperties::webLinks_data()
{
    QTest::addColumn<WebLinkKind>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("provider");
    QTest::addColumn<int>("calculator");
    QTest::addColumn<QString>("address");
    const QString info = QLatin1String(InformationProviderBase);
    const QString first = QLatin1String(FirstDistanceCalculatorBase);
    const QString second = QLatin1String(SecondDistanceCalculatorBase);
    QTest::newRow("airline") << WebLinkKind::AirlineInformation << 1 << 0 << 0
                             << info + u"/go/Airline/airlineDetails.do?airlineCode=AF"_s;
    QTest::newRow("airline, none selected") << WebLinkKind::AirlineInformation << -1 << 0 << 0
                                            << info + u"/go/Airline/airlineDetails.do"_s;
    QTest::newRow("airport") << WebLinkKind::AirportInformation << 1 << 0 << 0
                             << info + u"/go/Airport/airportDetails.do?airportCode=JFK"_s;
    QTest::newRow("airport, none selected") << WebLinkKind::AirportInformation << -1 << 0 << 0
                                            << info + u"/go/Airport/airportDetails.do"_s;
    QTest::newRow("unknown provider")
        << WebLinkKind::AirportInformation << 1 << 1 << 0 << QString();
    QTest::newRow("first calculator")
        << WebLinkKind::DistanceCalculator << 0 << 0 << 0 << first + u"/distance/from/CDG/to/JFK"_s;
    QTest::newRow("first calculator, none selected")
        << WebLinkKind::DistanceCalculator << -1 << 0 << 0 << first + u"/distance/"_s;
    QTest::newRow("second calculator")
        << WebLinkKind::DistanceCalculator << 1 << 0 << 1
        << second + u"/travel/milemarker/getmileage.php?city=ATL&city=ORD"_s;
    QTest::newRow("second calculator, none selected")
        << WebLinkKind::DistanceCalculator << -1 << 0 << 1 << second + u"/travel/milemarker/"_s;
    QTest::newRow("unknown calculator")
        << WebLinkKind::DistanceCalculator << 0 << 0 << 2 << QString();
}

void TestProperties::webLinks()
{
    QFETCH(WebLinkKind, kind);
    QFETCH(int, row);
    QFETCH(int, provider);
    QFETCH(int, calculator);
    QFETCH(QString, address);
    OptionSet options;
    options.informationProvider = provider;
    options.distanceCalculator = calculator;
    QCOMPARE(WebLinkAddress(*doc, kind, row, options), address);
}

QTEST_GUILESS_MAIN(TestProperties)
#include "tst_properties.moc"
