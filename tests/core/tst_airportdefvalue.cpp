#include "components/AirportDefValue.h"

#include <QTest>

// Taking the airport value of the reference and DEF files apart into name, city and country.
class TestAirportDefValue : public QObject
{
    Q_OBJECT

private slots:
    void extract_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("city");
        QTest::addColumn<QString>("country");

        QTest::newRow("name, city, country") << "Charles de Gaulle|Paris, France"
                                             << "Charles de Gaulle"
                                             << "Paris"
                                             << "France";
        QTest::newRow("city with region") << "Portland Intl|Portland, Oregon, United States"
                                          << "Portland Intl"
                                          << "Portland, Oregon"
                                          << "United States";
        QTest::newRow("no comma") << "Heathrow|London"
                                  << "Heathrow"
                                  << ""
                                  << "";
        QTest::newRow("comma in the name shifts the reading")
            << "Gatwick, North Terminal|London, United Kingdom"
            << "Gatwick, North Terminal"
            << "London, United Kingdom"
            << "";
        QTest::newRow("empty") << ""
                               << ""
                               << ""
                               << "";
        QTest::newRow("three commas") << "A|B, C, D, E"
                                      << "A"
                                      << ""
                                      << "";
        QTest::newRow("no bar") << "Kastrup, Copenhagen"
                                << "Kastrup, Copenhagen"
                                << ""
                                << "";
        QTest::newRow("empty country") << "Kastrup|Copenhagen, "
                                       << "Kastrup"
                                       << "Copenhagen"
                                       << "";
        QTest::newRow("comma without blank") << "A|Paris,France"
                                             << "A"
                                             << "Paris,France"
                                             << "";
        QTest::newRow("two commas, one piece") << "A|Paris,, "
                                               << "A"
                                               << ""
                                               << "";
        QTest::newRow("two commas, two pieces") << "A|Paris, Texas,"
                                                << "A"
                                                << "Paris, Texas,"
                                                << "";
        QTest::newRow("second bar stays in the city") << "A|B|C, D"
                                                      << "A"
                                                      << "B|C"
                                                      << "D";
        QTest::newRow("empty name") << "|Paris, France"
                                    << ""
                                    << "Paris"
                                    << "France";
    }

    void extract()
    {
        QFETCH(QString, value);
        QFETCH(QString, name);
        QFETCH(QString, city);
        QFETCH(QString, country);
        QCOMPARE(ExtractAirportNameDEF(value), name);
        QCOMPARE(ExtractAirportCityDEF(value), city);
        QCOMPARE(ExtractAirportCountryDEF(value), country);
    }
};

QTEST_GUILESS_MAIN(TestAirportDefValue)
#include "tst_airportdefvalue.moc"
