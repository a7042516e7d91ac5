#include "components/LumFlatFile.h"
#include "components/TextHelpers.h"
#include "editing/ReferenceFilling.h"
#include "exchange/Importers.h"
#include "exchange/NormalizedTexts.h"
#include "exchange/RecentTextIds.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include "support/ImportTestSupport.h"

#include <QRandomGenerator>
#include <QTest>

#include <clocale>
#include <memory>

using namespace Qt::StringLiterals;
using ImportTestSupport::dump;

namespace
{

bool localeInstalled(const char *name)
{
    locale_t probe = newlocale(LC_TIME_MASK, name, locale_t(nullptr));
    if (probe == locale_t(nullptr))
        return false;
    freelocale(probe);
    return true;
}

QString countersText(const ImportCounters &n)
{
    return u"%1 flights, %2 airlines, %3 airports, %4 distances"_s.arg(n.flights)
        .arg(n.airlines)
        .arg(n.airports)
        .arg(n.distances);
}

} // namespace

class TestCsvImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void linesBecomeRows_data();
    void linesBecomeRows();
    void flightFieldsAreNormalised_data();
    void flightFieldsAreNormalised();
    void rememberedTextsAgreeWithTheNormalisers_data();
    void rememberedTextsAgreeWithTheNormalisers();
    void recentTextsAnswerOnlyTheirOwnIds();
    void secondImportOfTheSameFile();
    void duplicatesWithinTheFile_data();
    void duplicatesWithinTheFile();
    void reversedDistanceIsAnotherRow();
    void flightReferences_data();
    void flightReferences();
    void repeatedFlightFillsInAgainWhatALineChanged_data();
    void repeatedFlightFillsInAgainWhatALineChanged();
    void flightOfTheLogFillsInItsDistance_data();
    void flightOfTheLogFillsInItsDistance();
    void wholeFileAgreesWithLineByLine_data();
    void wholeFileAgreesWithLineByLine();
    void sortsAsTheOptionsSay_data();
    void sortsAsTheOptionsSay();
    void modifiedWhenRowsWereRead_data();
    void modifiedWhenRowsWereRead();
    void importKindByExtension_data();
    void importKindByExtension();
    void pageAfterImport_data();
    void pageAfterImport();

private:
    ImportResult import(const QByteArray &bytes, const QString &name = u"in.csv"_s);
    // A log of one flight JFK-LAX on AA, with its rows and counts, plus ORD and UA unused.
    void fillSmallLog();

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<LogDocument> doc;
    OptionSet options;
    TLumFlatFile airlinesDef;
    TLumFlatFile airportsDef;
    ImportTestSupport::RecordingHost host;
    QByteArray savedLcAll;
    bool hadLcAll = false;
};

void TestCsvImport::init()
{
    dir = std::make_unique<QTemporaryDir>();
    doc = std::make_unique<LogDocument>();
    host = ImportTestSupport::RecordingHost();
    // File order stays visible unless a test asks for the sorts; nothing is filled in unless a
    // test asks for it.
    options = OptionSet();
    options.displayLatestFlightsFirst = false;
    options.sortAlphabeticalCodes = false;
    options.autoPopulateAirlines = false;
    options.autoPopulateAirports = false;
    options.autoPopulateDistances = false;
    airlinesDef.AddVolatileData(u"AF"_s, u"Air France"_s, true);
    airportsDef.AddVolatileData(u"CDG"_s, u"Charles de Gaulle|Paris, France"_s, true);
    airportsDef.AddVolatileData(u"JFK"_s, u"John F Kennedy Intl|New York, United States"_s, true);
    hadLcAll = qEnvironmentVariableIsSet("LC_ALL");
    savedLcAll = qgetenv("LC_ALL");
}

void TestCsvImport::cleanup()
{
    if (hadLcAll)
        qputenv("LC_ALL", savedLcAll);
    else
        qunsetenv("LC_ALL");
    ResetSystemDefaultShortDatePattern();
}

ImportResult TestCsvImport::import(const QByteArray &bytes, const QString &name)
{
    const QString path = ImportTestSupport::writeFile(*dir, name, bytes);
    return ImportFromCSVFile(*doc, path, {airlinesDef, airportsDef}, options, host);
}

void TestCsvImport::fillSmallLog()
{
    doc->Flights.appendRow({u"2021-03-04"_s, u"09:05"_s, u"JFK"_s, u"LAX"_s, u"AA"_s, u"100"_s});
    doc->Airlines.appendRow({u"AA"_s, u"American"_s});
    doc->Airlines.appendRow({u"UA"_s, u"United"_s});
    doc->Airports.appendRow({u"JFK"_s, u"Kennedy"_s, u"New York"_s, u"United States"_s});
    doc->Airports.appendRow({u"LAX"_s, u"Los Angeles"_s, u"Los Angeles"_s, u"United States"_s});
    doc->Airports.appendRow({u"ORD"_s, u"O'Hare"_s, u"Chicago"_s, u"United States"_s});
    doc->Distances.appendRow({u"JFK"_s, u"LAX"_s, u"2475"_s});
    doc->Distances.appendRow({u"JFK"_s, u"ORD"_s, u"740"_s});
    doc->countReferences();
}

// Each file goes into an empty log; with automatic filling off, each table shows exactly the
// lines read into it.
void TestCsvImport::linesBecomeRows_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("flights");
    QTest::addColumn<QStringList>("airlines");
    QTest::addColumn<QStringList>("airports");
    QTest::addColumn<QStringList>("distances");
    const QStringList none;
    const QStringList flight{u"2021-03-04|09:05|JFK|LAX|AA|100"_s};

    QTest::newRow("header skipped")
        << "Date,Time,From,To,Airline,Flight\r\n2021-03-04,09:05,JFK,LAX,AA,100\r\n"_ba << flight
        << none << none << none;
    QTest::newRow("quoted header skipped")
        << "\"Date\",\"Time\",\"From\",\"To\",\"Airline\",\"Flight\"\n"
           "\"2021-03-04\",\"09:05\",\"JFK\",\"LAX\",\"AA\",\"100\"\n"_ba
        << flight << none << none << none;
    QTest::newRow("one-line file imports nothing")
        << "2021-03-04,09:05,JFK,LAX,AA,100\n"_ba << none << none << none << none;
    QTest::newRow("semicolon in the first line: cut at semicolons")
        << "Airline;Name, or not\nAA;American, Inc\nJFK,LAX,2475\n"_ba << none
        << QStringList{u"AA|American, Inc#0"_s} << none << none;
    QTest::newRow("TAB file") << "Airline\tName\nAA\tAmerican Airlines\n"_ba << none
                              << QStringList{u"AA|American Airlines#0"_s} << none << none;
    QTest::newRow("no separator in the first line: every line one piece")
        << "flights\nAA,American\n"_ba << none << none << none << none;
    QTest::newRow("empty Time between two commas: five pieces")
        << "h,h\n2021-03-04,,JFK,LAX,AA,100\n"_ba << none << none << none << none;
    QTest::newRow("empty Time as two quotes")
        << "h,h\n2021-03-04,\"\",JFK,LAX,AA,100\n"_ba
        << QStringList{u"2021-03-04||JFK|LAX|AA|100"_s} << none << none << none;
    QTest::newRow("airline codes of two and three characters only")
        << "Airline,Name\nAA,American\nBAW,British\nABCD,Four\nA,One\n"_ba << none
        << QStringList{u"AA|American#0"_s, u"BAW|British#0"_s} << none << none;
    QTest::newRow("distances and airports, with their headers")
        << "From,To,Miles\nJFK,LAX,2475\nJF,LAX,1\n"
           "Airport,Name,City,Country\nJFK,Kennedy,New York,United States\n"_ba
        << none << none << QStringList{u"JFK|Kennedy|New York|United States#0"_s}
        << QStringList{u"JFK|LAX|2475#0"_s};
    QTest::newRow("city holding the separator: five pieces")
        << "h,h\nJFK,Kennedy,New York, NY,United States\n"_ba << none << none << none << none;
    QTest::newRow("seven pieces") << "h,h\n2021-03-04,09:05,JFK,LAX,AA,100,x\n"_ba << none << none
                                  << none << none;
    QTest::newRow("runs of separators and separators at the ends")
        << "h,h\n,AA,,American,\n"_ba << none << QStringList{u"AA|American#0"_s} << none << none;
    QTest::newRow("quotes do not protect the separator")
        << "h,h\n\"AA\",\"American, Inc\"\n"_ba << none << none << none << none;
    QTest::newRow("apostrophes removed, blanks and case kept")
        << "h,h\n'aa', American \n"_ba << none << QStringList{u"aa| American #0"_s} << none << none;
    QTest::newRow("empty and one-piece lines")
        << "h,h\n\n\nhello\n"_ba << none << none << none << none;
    QTest::newRow("values are not checked")
        << "h,h\nXYZ,ABC,far\n"_ba << none << none << none << QStringList{u"XYZ|ABC|far#0"_s};
}

void TestCsvImport::linesBecomeRows()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, flights);
    QFETCH(QStringList, airlines);
    QFETCH(QStringList, airports);
    QFETCH(QStringList, distances);
    const ImportResult result = import(file);
    QVERIFY(result.ran);
    QVERIFY(result.ok);
    QCOMPARE(dump(doc->Flights), flights);
    QCOMPARE(dump(doc->Airlines), airlines);
    QCOMPARE(dump(doc->Airports), airports);
    QCOMPARE(dump(doc->Distances), distances);
    ImportCounters expected;
    expected.flights = int(flights.size());
    expected.airlines = int(airlines.size());
    expected.airports = int(airports.size());
    expected.distances = int(distances.size());
    QCOMPARE(countersText(result.counters), countersText(expected));
}

void TestCsvImport::flightFieldsAreNormalised_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("date");
    QTest::newRow("month first") << "en_US.UTF-8"_ba << u"2021-03-04"_s;
    QTest::newRow("day first") << "de_DE.UTF-8"_ba << u"2021-04-03"_s;
}

void TestCsvImport::flightFieldsAreNormalised()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, date);
    if (!localeInstalled(locale.constData()))
        QSKIP("locale not installed (scripts/install-deps.sh generates it)");
    qputenv("LC_ALL", locale);
    ResetSystemDefaultShortDatePattern();
    import("h,h\n3/4/2021,9:05 PM,JFK,LAX,AA,5\n"_ba);
    QCOMPARE(dump(doc->Flights), QStringList{date + u"|21:05|JFK|LAX|AA|005"_s});
}

// The importers' shortcuts for the log's own forms, and their memo, give what the normalisers
// give; only an empty time stays empty instead of being padded.
void TestCsvImport::rememberedTextsAgreeWithTheNormalisers_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::newRow("log forms") << u"2021-03-04"_s << u"09:05"_s;
    QTest::newRow("year first with slashes") << u"2021/03/04"_s << u"23:59"_s;
    QTest::newRow("short parts after a year") << u"2021-3-4"_s << u"9:05"_s;
    QTest::newRow("five-character first part") << u"12345-1-1"_s << u"99:99"_s;
    QTest::newRow("day or month first") << u"3/4/2021"_s << u"9:05 PM"_s;
    QTest::newRow("two-digit year") << u"03-04-21"_s << u"12:15 a.m."_s;
    QTest::newRow("letters") << u"abcd-ef"_s << u"14h30"_s;
    QTest::newRow("separator in the first four") << u"1-2-3456"_s << u"0905 "_s;
}

void TestCsvImport::rememberedTextsAgreeWithTheNormalisers()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    NormalizedTexts texts;
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(texts.date(date), NormalizeDate(date));
        QCOMPARE(texts.time(time), NormalizeTime(time));
    }
    QCOMPARE(texts.time(QString()), QString());
}

// Reference rows are updated in place; a flight whose Date and Time the file already wrote in
// the log's form is overwritten, one that needed normalising is not found again.
// The small table of a column's recent texts shares slots between texts: a text must get its
// own id back or nothing, never the id of a text that took its slot.
void TestCsvImport::recentTextsAnswerOnlyTheirOwnIds()
{
    QStringList texts;
    for (int i = 0; i < 20000; ++i) // 1 to 15 characters, many alike ("7", "77", "0007")
        texts << QString::number(i % 9973).repeated(1 + i % 3).left(1 + i % 15) +
                     (i < 9973 ? QString() : QString(QChar(u'A' + i % 26)));
    texts.removeDuplicates();
    RecentTextIds recent;
    for (int i = 0; i < texts.size(); ++i) {
        recent.remember(texts[i], TextPool::Id(i + 1));
        QCOMPARE(recent.find(texts[i]), std::optional<TextPool::Id>(TextPool::Id(i + 1)));
    }
    int found = 0;
    for (int i = 0; i < texts.size(); ++i) {
        const std::optional<TextPool::Id> id = recent.find(texts[i]);
        if (id) {
            QCOMPARE(*id, TextPool::Id(i + 1));
            ++found;
        }
    }
    QVERIFY(found > 0 && found < texts.size()); // slots were shared, and some kept
    // Texts the pool keys otherwise are never kept.
    recent.remember(u"ZRH\u00e9"_qs, 7);
    recent.remember(u"A very long airport name"_qs, 8);
    QCOMPARE(recent.find(u"ZRH\u00e9"_qs), std::nullopt);
    QCOMPARE(recent.find(u"A very long airport name"_qs), std::nullopt);
}

void TestCsvImport::secondImportOfTheSameFile()
{
    fillSmallLog();
    const QByteArray file = "Airline,Name\n"
                            "AA,American Airlines\n"
                            "JFK,John F Kennedy Intl,New York,United States\n"
                            "JFK,LAX,2475\n"
                            "2021-03-04,09:05,JFK,LAX,AA,200\n"
                            "2021-03-04,9:05 PM,JFK,LAX,AA,300\n"_ba;
    import(file);
    import(file);
    QCOMPARE(dump(doc->Flights), (QStringList{u"2021-03-04|09:05|JFK|LAX|AA|200"_s,
                                              u"2021-03-04|21:05|JFK|LAX|AA|300"_s,
                                              u"2021-03-04|21:05|JFK|LAX|AA|300"_s}));
    QCOMPARE(dump(doc->Airlines), (QStringList{u"AA|American Airlines#3"_s, u"UA|United#0"_s}));
    QCOMPARE(dump(doc->Airports).first(), u"JFK|John F Kennedy Intl|New York|United States#3"_s);
    QCOMPARE(doc->Airports.count(), 3);
    QCOMPARE(dump(doc->Distances), (QStringList{u"JFK|LAX|2475#3"_s, u"JFK|ORD|740#0"_s}));
}

void TestCsvImport::duplicatesWithinTheFile_data()
{
    QTest::addColumn<bool>("logHasRows");
    QTest::addColumn<int>("added");
    QTest::newRow("empty log: every line appended") << false << 2;
    QTest::newRow("log with rows: the second line overwrites the first") << true << 1;
}

void TestCsvImport::duplicatesWithinTheFile()
{
    QFETCH(bool, logHasRows);
    QFETCH(int, added);
    if (logHasRows)
        fillSmallLog();
    const int before[] = {doc->Flights.count(), doc->Airlines.count(), doc->Airports.count(),
                          doc->Distances.count()};
    import("h,h\n"
           "BA,British\nBA,British Airways\n"
           "LHR,Heathrow,London,United Kingdom\nLHR,Heathrow,London,UK\n"
           "LHR,CDG,214\nLHR,CDG,215\n"
           "2022-01-01,10:00,LHR,CDG,BA,1\n2022-01-01,10:00,LHR,CDG,BA,2\n"_ba);
    const QList<LogTable *> tables = doc->tables();
    for (int t = 0; t < 4; ++t)
        QCOMPARE(tables[t]->count() - before[t], added);
    // The row kept is the last line's.
    QCOMPARE(doc->Airlines.cell(doc->Airlines.count() - 1, 1), u"British Airways"_s);
}

void TestCsvImport::reversedDistanceIsAnotherRow()
{
    fillSmallLog();
    import("From,To,Miles\nLAX,JFK,2475\n"_ba);
    QCOMPARE(dump(doc->Distances),
             (QStringList{u"JFK|LAX|2475#1"_s, u"JFK|ORD|740#0"_s, u"LAX|JFK|2475#0"_s}));
}

// One flight of the small log is overwritten: its old values give back their references, the
// new ones take theirs, creating rows only where automatic filling is on.
void TestCsvImport::flightReferences_data()
{
    QTest::addColumn<bool>("autoPopulate");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("airlines");
    QTest::addColumn<QStringList>("airports");
    QTest::addColumn<QStringList>("distances");

    QTest::newRow("off: known codes")
        << false << "2021-03-04,09:05,ORD,JFK,UA,7"_ba
        << QStringList{u"AA|American#0"_s, u"UA|United#1"_s}
        << QStringList{u"JFK|Kennedy|New York|United States#1"_s,
                       u"LAX|Los Angeles|Los Angeles|United States#0"_s,
                       u"ORD|O'Hare|Chicago|United States#1"_s}
        << QStringList{u"JFK|LAX|2475#0"_s, u"JFK|ORD|740#1"_s};
    QTest::newRow("off: unknown codes create nothing")
        << false << "2021-03-04,09:05,SFO,JFK,XX,7"_ba
        << QStringList{u"AA|American#0"_s, u"UA|United#0"_s}
        << QStringList{u"JFK|Kennedy|New York|United States#1"_s,
                       u"LAX|Los Angeles|Los Angeles|United States#0"_s,
                       u"ORD|O'Hare|Chicago|United States#0"_s}
        << QStringList{u"JFK|LAX|2475#0"_s, u"JFK|ORD|740#0"_s};
    QTest::newRow("on: unknown codes get rows, the distance lower code first")
        << true << "2021-03-04,09:05,SFO,JFK,XX,7"_ba
        << QStringList{u"AA|American#0"_s, u"UA|United#0"_s, u"XX|#1"_s}
        << QStringList{u"JFK|John F Kennedy Intl|New York|United States#1"_s,
                       u"LAX|Los Angeles|Los Angeles|United States#0"_s,
                       u"ORD|O'Hare|Chicago|United States#0"_s, u"SFO|||#1"_s}
        << QStringList{u"JFK|LAX|2475#0"_s, u"JFK|ORD|740#0"_s, u"JFK|SFO|0#1"_s};
    QTest::newRow("on: names from the reference files")
        << true << "2021-03-04,09:05,CDG,LAX,AF,7"_ba
        << QStringList{u"AA|American#0"_s, u"UA|United#0"_s, u"AF|Air France#1"_s}
        << QStringList{u"JFK|Kennedy|New York|United States#0"_s,
                       u"LAX|Los Angeles|Los Angeles|United States#1"_s,
                       u"ORD|O'Hare|Chicago|United States#0"_s,
                       u"CDG|Charles de Gaulle|Paris|France#1"_s}
        << QStringList{u"JFK|LAX|2475#0"_s, u"JFK|ORD|740#0"_s, u"CDG|LAX|0#1"_s};
}

void TestCsvImport::flightReferences()
{
    QFETCH(bool, autoPopulate);
    QFETCH(QByteArray, line);
    QFETCH(QStringList, airlines);
    QFETCH(QStringList, airports);
    QFETCH(QStringList, distances);
    fillSmallLog();
    options.autoPopulateAirlines = autoPopulate;
    options.autoPopulateAirports = autoPopulate;
    options.autoPopulateDistances = autoPopulate;
    import("h,h\n"_ba + line + '\n');
    QCOMPARE(doc->Flights.count(), 1);
    QCOMPARE(dump(doc->Airlines), airlines);
    QCOMPARE(dump(doc->Airports), airports);
    QCOMPARE(dump(doc->Distances), distances);
}

// The same flight twice, with a line between them that changes a row the first one filled in:
// the second fills it in again.
void TestCsvImport::repeatedFlightFillsInAgainWhatALineChanged_data()
{
    QTest::addColumn<QByteArray>("between");
    QTest::addColumn<int>("table");
    QTest::addColumn<QStringList>("rows");
    const QStringList airports{u"JFK|John F Kennedy Intl|New York|United States#1"_s,
                               u"LAX|Los Angeles|Los Angeles|United States#0"_s,
                               u"ORD|O'Hare|Chicago|United States#0"_s,
                               u"CDG|Charles de Gaulle|Paris|France#1"_s};
    QTest::newRow("nothing between") << "h,h"_ba << 2 << airports;
    QTest::newRow("airport renamed") << "JFK,Typed,Town,Land"_ba << 2 << airports;
    QTest::newRow("airline renamed")
        << "AF,Typed"_ba << 1
        << QStringList{u"AA|American#0"_s, u"UA|United#0"_s, u"AF|Air France#1"_s};
    QTest::newRow("miles emptied")
        << "CDG,JFK,\"\""_ba << 3
        << QStringList{u"JFK|LAX|2475#0"_s, u"JFK|ORD|740#0"_s, u"CDG|JFK|0#1"_s};
    QTest::newRow("the pair out of code order found first")
        << "JFK,CDG,5"_ba << 3
        << QStringList{u"JFK|LAX|2475#0"_s, u"JFK|ORD|740#0"_s, u"CDG|JFK|0#1"_s, u"CDG|JFK|5#0"_s};
}

void TestCsvImport::repeatedFlightFillsInAgainWhatALineChanged()
{
    QFETCH(QByteArray, between);
    QFETCH(int, table);
    QFETCH(QStringList, rows);
    options.autoPopulateAirlines = true;
    options.autoPopulateAirports = true;
    options.autoPopulateDistances = true;
    fillSmallLog();
    const QByteArray flight = "2021-03-04,09:05,JFK,CDG,AF,1\n"_ba;
    // The second line finds everything settled, which the line between must undo.
    import("h,h\n"_ba + flight + flight + between + '\n' + flight);
    QCOMPARE(dump(*doc->tables().at(table)), rows);
}

// A line that repeats a flight of the log with its own codes skips the references only where
// its distance row is already as filling it in leaves it.
void TestCsvImport::flightOfTheLogFillsInItsDistance_data()
{
    QTest::addColumn<QStringList>("before"); // the first Distances row
    QTest::addColumn<bool>("otherWay");      // a row LAX-JFK too, and the flight that way round
    QTest::addColumn<QByteArray>("line");    // a line of the file between the flight's two
    QTest::addColumn<QStringList>("after");
    const QStringList settled{u"JFK"_s, u"LAX"_s, u"2475"_s};
    QTest::newRow("settled") << settled << false << "h,h"_ba
                             << QStringList{u"JFK|LAX|2475#1"_s, u"JFK|ORD|740#0"_s};
    QTest::newRow("Miles empty") << QStringList{u"JFK"_s, u"LAX"_s, u""_s} << false << "h,h"_ba
                                 << QStringList{u"JFK|LAX|0#1"_s, u"JFK|ORD|740#0"_s};
    QTest::newRow("out of code order")
        << QStringList{u"LAX"_s, u"JFK"_s, u"2475"_s} << false << "h,h"_ba
        << QStringList{u"JFK|LAX|2475#1"_s, u"JFK|ORD|740#0"_s};
    QTest::newRow("missing") << QStringList() << false << "h,h"_ba
                             << QStringList{u"JFK|ORD|740#0"_s, u"JFK|LAX|0#1"_s};
    QTest::newRow("Miles emptied by a line") << settled << false << "JFK,LAX,\"\""_ba
                                             << QStringList{u"JFK|LAX|0#1"_s, u"JFK|ORD|740#0"_s};
    QTest::newRow("reversed pair added by a line")
        << settled << false << "LAX,JFK,9"_ba
        << QStringList{u"JFK|LAX|2475#1"_s, u"JFK|ORD|740#0"_s, u"LAX|JFK|9#0"_s};
    // The flight LAX-JFK finds its own way round first, out of code order, not the settled row.
    QTest::newRow("the other way round settled")
        << settled << true << "h,h"_ba
        << QStringList{u"JFK|LAX|2475#0"_s, u"JFK|ORD|740#0"_s, u"JFK|LAX|9#1"_s};
}

void TestCsvImport::flightOfTheLogFillsInItsDistance()
{
    QFETCH(QStringList, before);
    QFETCH(bool, otherWay);
    QFETCH(QByteArray, line);
    QFETCH(QStringList, after);
    options.autoPopulateDistances = true;
    fillSmallLog();
    if (before.isEmpty())
        doc->Distances.removeRowAt(0);
    else
        for (int c = 0; c < before.size(); ++c)
            doc->Distances.setCell(0, c, before[c]);
    QByteArray flight = "2021-03-04,09:05,JFK,LAX,AA,100\n"_ba;
    if (otherWay) {
        doc->Distances.appendRow({u"LAX"_s, u"JFK"_s, u"9"_s});
        doc->Flights.setCell(0, 2, u"LAX"_s);
        doc->Flights.setCell(0, 3, u"JFK"_s);
        flight = "2021-03-04,09:05,LAX,JFK,AA,100\n"_ba;
    }
    doc->countReferences();
    // The flight, the line, the flight again: what the line changed must not be taken as
    // settled from what the first look found.
    import("h,h\n"_ba + flight + line + '\n' + flight);
    QCOMPARE(dump(doc->Distances), after);
}

// Within one import, flights that keep their codes skip giving back and taking again the
// references that earlier lines settled. The same lines imported one file each (where nothing
// is settled yet at the start) must leave the same log: rows, texts and counts.
void TestCsvImport::wholeFileAgreesWithLineByLine_data()
{
    QTest::addColumn<bool>("autoPopulate");
    QTest::newRow("automatic filling on") << true;
    QTest::newRow("automatic filling off") << false;
}

void TestCsvImport::wholeFileAgreesWithLineByLine()
{
    QFETCH(bool, autoPopulate);
    options.autoPopulateAirlines = autoPopulate;
    options.autoPopulateAirports = autoPopulate;
    options.autoPopulateDistances = autoPopulate;
    // Few codes and keys, so that lines often overwrite a flight with its own codes; JFK, CDG
    // and AF are in the reference files, so filling them in renames what lines wrote. Short
    // files, so that what the last lines did is not covered up by later ones.
    const QStringList airports{u"JFK"_s, u"CDG"_s, u"LAX"_s};
    const QStringList airlines{u"AF"_s, u"XX"_s};
    const QStringList times{u"09:05"_s, u"9:05 PM"_s};
    const QStringList miles{u"100"_s, u"\"\""_s};
    const auto startLog = [this] {
        doc = std::make_unique<LogDocument>();
        fillSmallLog();
        // Both orientations of a pair, out of code order, Miles empty.
        doc->Distances.appendRow({u"LAX"_s, u"JFK"_s, u""_s});
        doc->Distances.appendRow({u"JFK"_s, u"CDG"_s, u""_s});
    };
    const auto tables = [this] {
        QStringList all;
        for (const LogTable *table : doc->tables())
            all << dump(*table) << u"--"_s;
        return all;
    };
    for (quint32 seed = 1; seed <= 20; ++seed) {
        QRandomGenerator random(seed);
        const auto pick = [&random](const QStringList &from) {
            return from.at(random.bounded(int(from.size())));
        };
        QByteArrayList lines;
        for (int i = 0; i < 20; ++i) {
            const int kind = random.bounded(8);
            QString line;
            if (kind == 0)
                line = pick(airlines) + u",Name "_s + QString::number(i);
            else if (kind == 1)
                line = pick(airports) + u",Port "_s + QString::number(i) + u",City,Country"_s;
            else if (kind == 2)
                line = pick(airports) + u',' + pick(airports) + u',' + pick(miles);
            else
                line = u"2021-03-04,"_s + pick(times) + u',' + pick(airports) + u',' +
                       pick(airports) + u',' + pick(airlines) + u",1"_s;
            lines << line.toLatin1();
        }
        startLog();
        import("h,h\n"_ba + lines.join('\n') + '\n');
        const QStringList whole = tables();
        startLog();
        for (const QByteArray &line : lines)
            import("h,h\n"_ba + line + '\n');
        QVERIFY2(tables() == whole, qPrintable(u"seed "_s + QString::number(seed)));
    }
}

// The first column of each table after the import, rows joined by blanks.
void TestCsvImport::sortsAsTheOptionsSay_data()
{
    QTest::addColumn<bool>("latestFirst");
    QTest::addColumn<bool>("sortCodes");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    const QByteArray flight = "h,h\n2022-05-05,08:00,ORD,ABQ,DL,1\n"_ba;
    QTest::newRow("options off: appended at the end")
        << false << false << flight
        << QStringList{u"2021-03-04 2022-05-05"_s, u"AA UA DL"_s, u"JFK LAX ORD ABQ"_s,
                       u"JFK JFK ABQ"_s};
    QTest::newRow("latest flights first, codes as they are")
        << true << false << flight
        << QStringList{u"2022-05-05 2021-03-04"_s, u"AA UA DL"_s, u"JFK LAX ORD ABQ"_s,
                       u"JFK JFK ABQ"_s};
    QTest::newRow("codes sorted: every table a flight wrote to")
        << false << true << flight
        << QStringList{u"2021-03-04 2022-05-05"_s, u"AA DL UA"_s, u"ABQ JFK LAX ORD"_s,
                       u"ABQ JFK JFK"_s};
    QTest::newRow("airline lines alone sort the airlines")
        << true << true << "h,h\nBA,British\n"_ba
        << QStringList{u"2021-03-04"_s, u"AA BA UA"_s, u"JFK LAX ORD"_s, u"JFK JFK"_s};
    QTest::newRow("distance lines sort the distances")
        << true << true << "h,h\nABC,XYZ,5\n"_ba
        << QStringList{u"2021-03-04"_s, u"AA UA"_s, u"JFK LAX ORD"_s, u"ABC JFK JFK"_s};
}

void TestCsvImport::sortsAsTheOptionsSay()
{
    QFETCH(bool, latestFirst);
    QFETCH(bool, sortCodes);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    fillSmallLog();
    options.displayLatestFlightsFirst = latestFirst;
    options.sortAlphabeticalCodes = sortCodes;
    options.autoPopulateAirlines = true;
    options.autoPopulateAirports = true;
    options.autoPopulateDistances = true;
    import(file);
    QStringList firstColumns;
    for (const LogTable *table : doc->tables()) {
        QStringList codes;
        for (int r = 0; r < table->count(); ++r)
            codes << table->cell(r, 0);
        firstColumns << codes.join(u' ');
    }
    QCOMPARE(firstColumns, expected);
}

void TestCsvImport::modifiedWhenRowsWereRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("modified");
    QTest::newRow("rows read") << "h,h\nAA,American\n"_ba << true;
    QTest::newRow("no usable line") << "h,h\nnothing here\n"_ba << false;
}

void TestCsvImport::modifiedWhenRowsWereRead()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, modified);
    import(file);
    QCOMPARE(doc->isModified(), modified);
}

void TestCsvImport::importKindByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exactCase");
    QTest::addColumn<int>("kind");
    QTest::newRow("csv") << u"/a/flights.csv"_s << true << int(ImportKind::Csv);
    QTest::newRow("txt") << u"/a/airports.txt"_s << true << int(ImportKind::Txt);
    QTest::newRow("def") << u"/a/log.def"_s << true << int(ImportKind::Def);
    QTest::newRow("upper case from the dialog")
        << u"/a/FLIGHTS.CSV"_s << true << int(ImportKind::None);
    QTest::newRow("upper case dropped") << u"/a/FLIGHTS.CSV"_s << false << int(ImportKind::Csv);
    QTest::newRow("mixed case dropped") << u"/a/x.Def"_s << false << int(ImportKind::Def);
    QTest::newRow("log file") << u"/a/log.xml"_s << false << int(ImportKind::None);
    QTest::newRow("no extension") << u"/a/csv"_s << false << int(ImportKind::None);
    QTest::newRow("dot in a folder only") << u"/a.csv/file"_s << false << int(ImportKind::None);
    QTest::newRow("last extension counts") << u"/a/x.csv.bak"_s << false << int(ImportKind::None);
}

void TestCsvImport::importKindByExtension()
{
    QFETCH(QString, name);
    QFETCH(bool, exactCase);
    QFETCH(int, kind);
    QCOMPARE(int(ImportKindOf(name, exactCase ? Qt::CaseSensitive : Qt::CaseInsensitive)), kind);
}

void TestCsvImport::pageAfterImport_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("page");
    QTest::newRow("flights first")
        << "h,h\nAA,American\n2021-03-04,09:05,JFK,LAX,AA,1\nJFK,LAX,1\n"_ba
        << int(TableKind::Flights);
    QTest::newRow("airlines before airports")
        << "h,h\nJFK,Kennedy,New York,United States\nAA,American\n"_ba << int(TableKind::Airlines);
    QTest::newRow("airports before distances")
        << "h,h\nJFK,LAX,1\nJFK,Kennedy,New York,United States\n"_ba << int(TableKind::Airports);
    QTest::newRow("distances") << "h,h\nJFK,LAX,1\n"_ba << int(TableKind::Distances);
    QTest::newRow("nothing read: no page change") << "h,h\n"_ba << -1;
}

void TestCsvImport::pageAfterImport()
{
    QFETCH(QByteArray, file);
    QFETCH(int, page);
    const std::optional<TableKind> shown = ImportedPage(import(file).counters);
    QCOMPARE(shown ? int(*shown) : -1, page);
}

QTEST_GUILESS_MAIN(TestCsvImport)
#include "tst_csvimport.moc"
