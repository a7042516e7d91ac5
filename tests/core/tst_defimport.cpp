#include "components/TextHelpers.h"
#include "exchange/Importers.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include "support/ImportTestSupport.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using ImportTestSupport::dump;

class TestDefImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void recordsByTheLengthOfTheirFirstField_data();
    void recordsByTheLengthOfTheirFirstField();
    void sameFlightTwice_data();
    void sameFlightTwice();
    void referencesAreLeftAsTheyAre();
    void sortsOnlyWithSortedCodes_data();
    void sortsOnlyWithSortedCodes();

private:
    ImportResult import(const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<LogDocument> doc;
    OptionSet options;
    ImportTestSupport::RecordingHost host;
    QByteArray savedLcAll;
    bool hadLcAll = false;
};

// Dates are read day first, as every system whose short date pattern is not mm/dd/yyyy does.
void TestDefImport::initTestCase()
{
    hadLcAll = qEnvironmentVariableIsSet("LC_ALL");
    savedLcAll = qgetenv("LC_ALL");
    qputenv("LC_ALL", "C");
    ResetSystemDefaultShortDatePattern();
}

void TestDefImport::cleanupTestCase()
{
    if (hadLcAll)
        qputenv("LC_ALL", savedLcAll);
    else
        qunsetenv("LC_ALL");
    ResetSystemDefaultShortDatePattern();
}

void TestDefImport::init()
{
    dir = std::make_unique<QTemporaryDir>();
    doc = std::make_unique<LogDocument>();
    options = OptionSet();
    options.sortAlphabeticalCodes = false;
}

ImportResult TestDefImport::import(const QByteArray &bytes)
{
    return ImportFromDEFFile(*doc, ImportTestSupport::writeFile(*dir, u"a.def"_s, bytes), options,
                             host);
}

void TestDefImport::recordsByTheLengthOfTheirFirstField_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("flights");
    QTest::addColumn<QStringList>("airlines");
    QTest::addColumn<QStringList>("airports");
    QTest::addColumn<QStringList>("distances");
    const QStringList none;
    QTest::newRow("flight") << "2021-03-04 09:05\tJFK-LAX|AA100\n"_ba
                            << QStringList{u"2021-03-04|09:05|JFK|LAX|AA|100"_s} << none << none
                            << none;
    QTest::newRow("flight with a date to normalise")
        << "03/04/2021 09:05\tJFK-LAX|AA5\n"_ba << QStringList{u"2021-04-03|09:05|JFK|LAX|AA|005"_s}
        << none << none << none;
    QTest::newRow("three-letter carrier: two letters are the airline")
        << "2021-03-04 09:05\tJFK-LAX|BAW100\n"_ba
        << QStringList{u"2021-03-04|09:05|JFK|LAX|BA|W100"_s} << none << none << none;
    QTest::newRow("15 characters: skipped")
        << "2021-03-04 9:05\tJFK-LAX|AA100\n"_ba << none << none << none << none;
    QTest::newRow("airline") << "AA\tAmerican Airlines\n"_ba << none
                             << QStringList{u"AA|American Airlines#0"_s} << none << none;
    QTest::newRow("airport") << "CDG\tCharles de Gaulle|Paris, France\n"_ba << none << none
                             << QStringList{u"CDG|Charles de Gaulle|Paris|France#0"_s} << none;
    QTest::newRow("three-letter airline code is an airport")
        << "BAW\tBritish Airways\n"_ba << none << none << QStringList{u"BAW|British Airways||#0"_s}
        << none;
    QTest::newRow("distance") << "JFK-LAX\t2475\n"_ba << none << none << none
                              << QStringList{u"JFK|LAX|2475#0"_s};
    QTest::newRow("comments, empty lines, lines of TABs, single fields")
        << "# AA\tcomment\n\n\t\t\t\nAA\n"_ba << none << none << none << none;
    QTest::newRow("a blank before # is no comment: skipped by its length")
        << " # a comment\tx\n"_ba << none << none << none << none;
    QTest::newRow("further fields ignored, runs of TABs count as one")
        << "\tAA\t\tAmerican\textra\n"_ba << none << QStringList{u"AA|American#0"_s} << none
        << none;
    QTest::newRow("flights only: no reference rows")
        << "2021-03-04 09:05\tJFK-LAX|AA100\n2021-03-05 10:00\tLAX-JFK|AA101\n"_ba
        << QStringList{u"2021-03-04|09:05|JFK|LAX|AA|100"_s, u"2021-03-05|10:00|LAX|JFK|AA|101"_s}
        << none << none << none;
}

void TestDefImport::recordsByTheLengthOfTheirFirstField()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, flights);
    QFETCH(QStringList, airlines);
    QFETCH(QStringList, airports);
    QFETCH(QStringList, distances);
    const ImportResult result = import(file);
    QCOMPARE(dump(doc->Flights), flights);
    QCOMPARE(dump(doc->Airlines), airlines);
    QCOMPARE(dump(doc->Airports), airports);
    QCOMPARE(dump(doc->Distances), distances);
    const ImportCounters &n = result.counters;
    QCOMPARE((QList<int>{n.flights, n.airlines, n.airports, n.distances}),
             (QList<int>{int(flights.size()), int(airlines.size()), int(airports.size()),
                         int(distances.size())}));
}

void TestDefImport::sameFlightTwice_data()
{
    QTest::addColumn<bool>("logHasFlight");
    QTest::addColumn<int>("added");
    QTest::newRow("into a log with a flight: the second overwrites the first") << true << 1;
    QTest::newRow("into empty Flights: both kept") << false << 2;
}

void TestDefImport::sameFlightTwice()
{
    QFETCH(bool, logHasFlight);
    QFETCH(int, added);
    if (logHasFlight)
        doc->Flights.appendRow({u"2019-01-01"_s, u"08:00"_s});
    const int before = doc->Flights.count();
    import("2021-03-04 09:05\tJFK-LAX|AA100\n2021-03-04 09:05\tJFK-SFO|AA200\n"_ba);
    QCOMPARE(doc->Flights.count() - before, added);
    QCOMPARE(doc->Flights.cell(doc->Flights.count() - 1, 5), u"200"_s);
    QCOMPARE(doc->Flights.cell(doc->Flights.count() - 1, 3), u"SFO"_s);
}

// An overwritten flight keeps the counts of the rows it named; new rows start at 0.
void TestDefImport::referencesAreLeftAsTheyAre()
{
    doc->Flights.appendRow({u"2021-03-04"_s, u"09:05"_s, u"JFK"_s, u"LAX"_s, u"AA"_s, u"100"_s});
    doc->Airlines.appendRow({u"AA"_s, u"American"_s});
    doc->Airports.appendRow({u"JFK"_s});
    doc->Distances.appendRow({u"JFK"_s, u"LAX"_s, u"2475"_s});
    doc->countReferences();
    import("2021-03-04 09:05\tORD-SFO|UA1\nAA\tAmerican Airlines\nORD\tO'Hare|Chicago, USA\n"_ba);
    QCOMPARE(dump(doc->Flights), QStringList{u"2021-03-04|09:05|ORD|SFO|UA|001"_s});
    QCOMPARE(dump(doc->Airlines), QStringList{u"AA|American Airlines#1"_s});
    QCOMPARE(dump(doc->Airports), (QStringList{u"JFK|||#1"_s, u"ORD|O'Hare|Chicago|USA#0"_s}));
    QCOMPARE(dump(doc->Distances), QStringList{u"JFK|LAX|2475#1"_s});
}

void TestDefImport::sortsOnlyWithSortedCodes_data()
{
    QTest::addColumn<bool>("sortCodes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("on: latest flights first and codes in order")
        << true
        << QStringList{u"2022-01-01 2020-01-01"_s, u"AA ZZ"_s, u"CDG ZRH"_s, u"ABC-DEF ZZZ-YYY"_s};
    QTest::newRow("off: file order after the rows there were")
        << false
        << QStringList{u"2020-01-01 2022-01-01"_s, u"ZZ AA"_s, u"ZRH CDG"_s, u"ZZZ-YYY ABC-DEF"_s};
}

void TestDefImport::sortsOnlyWithSortedCodes()
{
    QFETCH(bool, sortCodes);
    QFETCH(QStringList, expected);
    options.sortAlphabeticalCodes = sortCodes;
    // Not consulted by this importer.
    options.displayLatestFlightsFirst = false;
    doc->Flights.appendRow({u"2020-01-01"_s, u"08:00"_s});
    doc->Airlines.appendRow({u"ZZ"_s});
    doc->Airports.appendRow({u"ZRH"_s});
    doc->Distances.appendRow({u"ZZZ"_s, u"YYY"_s});
    import("2022-01-01 08:00\tA-B|CC1\nAA\tA\nCDG\tC|P, F\nABC-DEF\t5\n"_ba);
    QStringList firstColumns;
    for (const LogTable *table : doc->tables()) {
        QStringList keys;
        for (int r = 0; r < table->count(); ++r)
            keys << (table == &doc->Distances ? table->cell(r, 0) + u'-' + table->cell(r, 1)
                                              : table->cell(r, 0));
        firstColumns << keys.join(u' ');
    }
    QCOMPARE(firstColumns, expected);
}

QTEST_GUILESS_MAIN(TestDefImport)
#include "tst_defimport.moc"
