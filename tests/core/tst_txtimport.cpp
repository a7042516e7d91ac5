#include "exchange/Importers.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include "support/ImportTestSupport.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using ImportTestSupport::dump;

class TestTxtImport : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void lineBecomesAirport_data();
    void lineBecomesAirport();
    void knownCodeIsOverwrittenAndKeepsItsCount();
    void duplicatesInAnEmptyTableAreKept();
    void sortedByCodeWhenTheOptionSaysSo_data();
    void sortedByCodeWhenTheOptionSaysSo();

private:
    ImportResult import(const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<LogDocument> doc;
    OptionSet options;
    ImportTestSupport::RecordingHost host;
};

void TestTxtImport::init()
{
    dir = std::make_unique<QTemporaryDir>();
    doc = std::make_unique<LogDocument>();
    options = OptionSet();
    options.sortAlphabeticalCodes = false;
}

ImportResult TestTxtImport::import(const QByteArray &bytes)
{
    return ImportFromTXTFile(*doc, ImportTestSupport::writeFile(*dir, u"a.txt"_s, bytes), options,
                             host);
}

void TestTxtImport::lineBecomesAirport_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("airports");
    const QStringList none;
    QTest::newRow("city with region")
        << "JFK\tNew York, NY [John F Kennedy Intl], USA"_ba
        << QStringList{u"JFK|John F Kennedy Intl|New York, NY|United States#0"_s};
    QTest::newRow("city alone") << "ORY\tParis [Orly], France"_ba
                                << QStringList{u"ORY|Orly|Paris|France#0"_s};
    QTest::newRow("no comma, no brackets") << "XXX\tSomewhere"_ba << QStringList{u"XXX|||#0"_s};
    QTest::newRow("no brackets") << "LHR\tLondon, United Kingdom"_ba
                                 << QStringList{u"LHR||London|United Kingdom#0"_s};
    QTest::newRow("three commas: no city, no country")
        << "AAA\tA, B, C [Name], D"_ba << QStringList{u"AAA|Name||#0"_s};
    QTest::newRow("only exactly USA is renamed")
        << "BBB\tB [N], Usa\nCCC\tC [N], USA.\n"_ba
        << QStringList{u"BBB|N|B|Usa#0"_s, u"CCC|N|C|USA.#0"_s};
    QTest::newRow("quoted code") << "'Q'\tQ [N], Z"_ba << QStringList{u"Q|N|Q|Z#0"_s};
    QTest::newRow("runs of TABs, further pieces ignored")
        << "\tCDG\t\tParis [Charles de Gaulle], France\textra"_ba
        << QStringList{u"CDG|Charles de Gaulle|Paris|France#0"_s};
    QTest::newRow("four-letter code") << "KJFK\tNew York [Kennedy], USA"_ba << none;
    QTest::newRow("code alone") << "JFK"_ba << none;
    QTest::newRow("empty lines") << "\n\n"_ba << none;
}

void TestTxtImport::lineBecomesAirport()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, airports);
    const ImportResult result = import(line + '\n');
    QCOMPARE(dump(doc->Airports), airports);
    QCOMPARE(result.counters.airports, int(airports.size()));
    QVERIFY(doc->Flights.isEmpty() && doc->Airlines.isEmpty() && doc->Distances.isEmpty());
}

void TestTxtImport::knownCodeIsOverwrittenAndKeepsItsCount()
{
    doc->Airports.appendRow({u"ORY"_s, u"Old"_s, u"Old city"_s, u"Old country"_s});
    doc->Airports.setReferenceCount(0, 5);
    import("ORY\tParis [Orly], France\nory\tlower [case], other\n"_ba);
    QCOMPARE(dump(doc->Airports),
             (QStringList{u"ORY|Orly|Paris|France#5"_s, u"ory|case|lower|other#0"_s}));
}

void TestTxtImport::duplicatesInAnEmptyTableAreKept()
{
    import("ORY\tParis [Orly], France\nORY\tParis [Orly Sud], France\n"_ba);
    QCOMPARE(doc->Airports.count(), 2);
}

void TestTxtImport::sortedByCodeWhenTheOptionSaysSo_data()
{
    QTest::addColumn<bool>("sortCodes");
    QTest::addColumn<QString>("codes");
    QTest::newRow("on") << true << u"CDG ORY ZRH"_s;
    QTest::newRow("off") << false << u"ZRH ORY CDG"_s;
}

void TestTxtImport::sortedByCodeWhenTheOptionSaysSo()
{
    QFETCH(bool, sortCodes);
    QFETCH(QString, codes);
    options.sortAlphabeticalCodes = sortCodes;
    doc->Airports.appendRow({u"ZRH"_s});
    const ImportResult result = import("ORY\tParis [Orly], France\nCDG\tParis [CDG], France\n"_ba);
    QStringList order;
    for (int r = 0; r < doc->Airports.count(); ++r)
        order << doc->Airports.cell(r, 0);
    QCOMPARE(order.join(u' '), codes);
    QCOMPARE(ImportedPage(result.counters), std::optional<TableKind>(TableKind::Airports));
}

QTEST_GUILESS_MAIN(TestTxtImport)
#include "tst_txtimport.moc"
