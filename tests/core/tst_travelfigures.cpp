#include "geography/TravelCharts.h"
#include "geography/TravelFigures.h"
#include "model/LogDocument.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The figures of the travel charts over a small log that has one of each case: a flight on
// each side of a new year, a leap day, a flight back to its own airport, a date that cannot be
// read, a route without a distance row and an airport without an Airports row.
class TestTravelFigures : public QObject
{
    Q_OBJECT

private:
    LogDocument m_doc;

    void flight(const QString &date, const QString &from, const QString &to)
    {
        m_doc.Flights.appendRow({date, u"10:00"_s, from, to, u"BA"_s, u"001"_s});
    }

private slots:
    void initTestCase()
    {
        flight(u"2023-12-31"_s, u"JFK"_s, u"LHR"_s); // a Sunday
        flight(u"2024-01-01"_s, u"LHR"_s, u"JFK"_s); // a Monday, the same distance
        flight(u"2024-02-29"_s, u"JFK"_s, u"LAX"_s); // a Thursday
        flight(u"2024-03-05"_s, u"LAX"_s, u"LAX"_s); // a Tuesday, 0 miles
        flight(u"04.03.2021"_s, u"LHR"_s, u"CDG"_s); // an imported date left as it came
        flight(u"2024-07-14"_s, u"CDG"_s, u"XXX"_s); // a Sunday, no distance, no airport row
        for (const char *row : {"JFK|LHR|3451", "JFK|LAX|2475", "LAX|LAX|0", "CDG|LHR|214"})
            m_doc.Distances.appendRow(QString::fromLatin1(row).split(u'|'));
        for (const char *row :
             {"JFK|Kennedy|New York|United States", "LAX|Los Angeles|Los Angeles|United States",
              "LHR|Heathrow|London|United Kingdom", "CDG|Charles de Gaulle|Paris|France"})
            m_doc.Airports.appendRow(QString::fromLatin1(row).split(u'|'));
    }

    void years()
    {
        const TravelFigures figures = ComputeTravelFigures(m_doc);
        QCOMPARE(figures.years.keys(), QList<int>({2023, 2024}));
        QCOMPARE(figures.years[2023].flights, 1);
        QCOMPARE(figures.years[2023].miles, 3451);
        QCOMPARE(figures.years[2024].flights, 4);
        QCOMPARE(figures.years[2024].miles, 3451 + 2475);
        // The unreadable date is counted and listed, its miles too.
        QCOMPARE(figures.unknownYear.flights, 1);
        QCOMPARE(figures.unknownYear.miles, 214);
        QCOMPARE(figures.unknownDateRows, QList<int>{4});
    }

    void monthsAndWeekdays()
    {
        const TravelFigures figures = ComputeTravelFigures(m_doc);
        const std::array<int, 12> months{1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        QCOMPARE(figures.flightsPerMonth, months);
        const std::array<int, 7> weekdays{1, 1, 0, 1, 0, 0, 2}; // Monday first
        QCOMPARE(figures.flightsPerWeekday, weekdays);
    }

    void countries()
    {
        const TravelFigures figures = ComputeTravelFigures(m_doc);
        QStringList got;
        for (const TravelFigures::Country &c : figures.countries)
            got << QStringLiteral("%1 %2 %3").arg(c.name).arg(c.airports).arg(c.flights);
        // A domestic flight counts once for its country; an airport without a row is Unknown.
        QCOMPARE(got, QStringList({u"United States 2 4"_s, u"United Kingdom 1 3"_s, u"France 1 2"_s,
                                   u"Unknown 1 1"_s}));
    }

    void longestAndShortest()
    {
        const TravelFigures figures = ComputeTravelFigures(m_doc);
        // Two flights share the longest distance: the first in table order is taken.
        QCOMPARE(figures.longestRow, 0);
        QCOMPARE(figures.longestMiles, 3451);
        // 0 miles is no known distance.
        QCOMPARE(figures.shortestRow, 4);
        QCOMPARE(figures.shortestMiles, 214);
        QCOMPARE(KnownFlightMiles(m_doc, 1), 3451);
        QCOMPARE(KnownFlightMiles(m_doc, 3), 0);
        QCOMPARE(KnownFlightMiles(m_doc, 5), 0);
    }

    // The bars of the year charts run from the first year to the last, gaps at 0, unless that
    // makes too many; dates that cannot be read come last; the countries chart is cut short.
    void charts_data()
    {
        QTest::addColumn<int>("maxYearBars");
        QTest::addColumn<QStringList>("years");
        QTest::addColumn<QList<qint64>>("flights");
        QTest::addColumn<QList<qint64>>("miles");
        QTest::newRow("every year")
            << 10 << QStringList{u"2019"_s, u"2020"_s, u"2021"_s, u"2022"_s, u"Unknown"_s}
            << QList<qint64>{2, 0, 0, 1, 1} << QList<qint64>{100, 0, 0, 50, 7};
        QTest::newRow("too many years: those with flights")
            << 3 << QStringList{u"2019"_s, u"2022"_s, u"Unknown"_s} << QList<qint64>{2, 1, 1}
            << QList<qint64>{100, 50, 7};
    }
    void charts()
    {
        QFETCH(int, maxYearBars);
        QFETCH(QStringList, years);
        QFETCH(QList<qint64>, flights);
        QFETCH(QList<qint64>, miles);
        TravelFigures figures;
        figures.years[2019] = {2, 100};
        figures.years[2022] = {1, 50};
        figures.unknownYear = {1, 7};
        figures.flightsPerMonth[11] = 3;
        figures.flightsPerWeekday[6] = 4;
        figures.countries = {{u"A"_s, 1, 3}, {u"B"_s, 1, 2}, {u"C"_s, 1, 1}};
        const QList<TravelChart> charts = BuildTravelCharts(figures, 2, maxYearBars);
        QCOMPARE(charts.size(), kTravelChartCount);
        const TravelChart &perYear = charts[int(TravelChartKind::FlightsPerYear)];
        QCOMPARE(perYear.categories, years);
        QCOMPARE(perYear.values, flights);
        QCOMPARE(charts[int(TravelChartKind::MilesPerYear)].categories, years);
        QCOMPARE(charts[int(TravelChartKind::MilesPerYear)].values, miles);
        const TravelChart &perMonth = charts[int(TravelChartKind::FlightsPerMonth)];
        QCOMPARE(perMonth.categories.first(), u"Jan"_s);
        QCOMPARE(perMonth.values, QList<qint64>({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3}));
        const TravelChart &perWeekday = charts[int(TravelChartKind::FlightsPerWeekday)];
        QCOMPARE(perWeekday.categories.first(), u"Mon"_s);
        QCOMPARE(perWeekday.values.last(), 4);
        const TravelChart &countries = charts[int(TravelChartKind::Countries)];
        QCOMPARE(countries.categories, QStringList({u"A"_s, u"B"_s}));
        QCOMPARE(countries.values, QList<qint64>({3, 2}));
        QCOMPARE(countries.leftOut, 1);
    }

    void emptyLog()
    {
        const LogDocument empty;
        const TravelFigures figures = ComputeTravelFigures(empty);
        QVERIFY(figures.years.isEmpty());
        QCOMPARE(figures.unknownYear.flights, 0);
        QVERIFY(figures.countries.isEmpty());
        QCOMPARE(figures.longestRow, -1);
        QCOMPARE(figures.shortestRow, -1);
    }
};

QTEST_GUILESS_MAIN(TestTravelFigures)
#include "tst_travelfigures.moc"
