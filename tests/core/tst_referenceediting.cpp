#include "editing/ReferenceEditing.h"
#include "editing/ReferenceFilling.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace
{

QStringList dump(const LogTable &table)
{
    QStringList rows;
    for (int r = 0; r < table.count(); ++r)
        rows << table.row(r).cells.join(u'|') + u'#' + QString::number(table.referenceCount(r));
    return rows;
}

} // namespace

class TestReferenceEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void airlineValidation_data();
    void airlineValidation();
    void airportValidation_data();
    void airportValidation();
    void distanceValidation_data();
    void distanceValidation();

    void addedRowsStartAtZeroAndAreSortedByCode();
    void addedRowsFollowTheLastHeaderSortWhenCodesAreNotSorted();
    void modifyKeepsCountAndLeavesFlightsAlone();
    void distanceKeepsTheEnteredOrderUntilAFlightCountsIt();
    void cancelOfTheDistanceDialogSortsToo();

    void airportCountryChoices();
    void distanceFieldsFromRow_data();
    void distanceFieldsFromRow();
    void newDistanceTakesTheFirstCodeInSortedOrder();

private:
    std::unique_ptr<LogDocument> doc;
    OptionSet options;
};

void TestReferenceEditing::init()
{
    doc = std::make_unique<LogDocument>();
    options = OptionSet();
    doc->Airlines.appendRow({u"AF"_s, u"Air France"_s});
    doc->Airports.appendRow({u"JFK"_s, u"Kennedy"_s, u"New York"_s, u"United States"_s});
    doc->Distances.appendRow({u"JFK"_s, u"CDG"_s, u"3625"_s});
}

void TestReferenceEditing::airlineValidation_data()
{
    QTest::addColumn<bool>("add");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty code") << true << QString() << u"The airline value must be non-empty."_s;
    QTest::newRow("empty code, modify")
        << false << QString() << u"The airline value must be non-empty."_s;
    QTest::newRow("existing code") << true << u"AF"_s << u"The airline already exists."_s;
    QTest::newRow("existing code, modify") << false << u"AF"_s << QString();
    QTest::newRow("other case is another code") << true << u"af"_s << QString();
}

void TestReferenceEditing::airlineValidation()
{
    QFETCH(bool, add);
    QFETCH(QString, code);
    QFETCH(QString, message);
    doc->Airlines.appendRow({u"DL"_s, u"Delta"_s});
    const RecordDialogMode mode = add ? RecordDialogMode::Add : RecordDialogMode::Modify;
    QCOMPARE(SubmitAirline(*doc, mode, 1, {code, u"Name"_s}, options), message);
    QCOMPARE(doc->isModified(), message.isEmpty());
    QCOMPARE(doc->Airlines.count(), add && message.isEmpty() ? 3 : 2);
}

void TestReferenceEditing::airportValidation_data()
{
    QTest::addColumn<bool>("add");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty code") << true << QString() << u"The airport value must be non-empty."_s;
    QTest::newRow("existing code") << true << u"JFK"_s << u"The airport already exists."_s;
    QTest::newRow("existing code, modify") << false << u"JFK"_s << QString();
    QTest::newRow("new code") << true << u"CDG"_s << QString();
}

void TestReferenceEditing::airportValidation()
{
    QFETCH(bool, add);
    QFETCH(QString, code);
    QFETCH(QString, message);
    const RecordDialogMode mode = add ? RecordDialogMode::Add : RecordDialogMode::Modify;
    QCOMPARE(SubmitAirport(*doc, mode, 0, {code, {}, {}, {}}, options), message);
    QCOMPARE(doc->isModified(), message.isEmpty());
}

void TestReferenceEditing::distanceValidation_data()
{
    QTest::addColumn<bool>("add");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::newRow("both empty: from first")
        << true << QString() << QString() << u"The from value must be non-empty."_s;
    QTest::newRow("to") << true << u"JFK"_s << QString() << u"The to value must be non-empty."_s;
    QTest::newRow("same order") << true << u"JFK"_s << u"CDG"_s
                                << u"The distance already exists."_s;
    QTest::newRow("opposite order")
        << true << u"CDG"_s << u"JFK"_s << u"The distance already exists."_s;
    QTest::newRow("opposite order, modify") << false << u"CDG"_s << u"JFK"_s << QString();
    QTest::newRow("new pair") << true << u"CDG"_s << u"LHR"_s << QString();
}

void TestReferenceEditing::distanceValidation()
{
    QFETCH(bool, add);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    const RecordDialogMode mode = add ? RecordDialogMode::Add : RecordDialogMode::Modify;
    QCOMPARE(SubmitDistance(*doc, mode, 0, {from, to, u"1"_s}, options), message);
    QCOMPARE(doc->isModified(), message.isEmpty());
}

void TestReferenceEditing::addedRowsStartAtZeroAndAreSortedByCode()
{
    doc->Flights.appendRow({u"2023-01-05"_s, u"07:45"_s, u"CDG"_s, u"JFK"_s, u"BA"_s, u"1"_s});
    doc->countReferences();
    QCOMPARE(SubmitAirline(*doc, RecordDialogMode::Add, -1, {u"BA"_s, u"British"_s}, options),
             QString());
    QCOMPARE(SubmitAirport(*doc, RecordDialogMode::Add, -1,
                           {u"CDG"_s, u"Charles de Gaulle"_s, u"Paris"_s, u"France"_s}, options),
             QString());
    QCOMPARE(dump(doc->Airlines), (QStringList{u"AF|Air France#0"_s, u"BA|British#0"_s}));
    QCOMPARE(dump(doc->Airports), (QStringList{u"CDG|Charles de Gaulle|Paris|France#0"_s,
                                               u"JFK|Kennedy|New York|United States#1"_s}));
    QCOMPARE(
        SubmitDistance(*doc, RecordDialogMode::Add, -1, {u"BOS"_s, u"ATL"_s, u"946"_s}, options),
        QString());
    QCOMPARE(dump(doc->Distances), (QStringList{u"BOS|ATL|946#0"_s, u"JFK|CDG|3625#1"_s}));
}

void TestReferenceEditing::addedRowsFollowTheLastHeaderSortWhenCodesAreNotSorted()
{
    options.sortAlphabeticalCodes = false;
    SubmitAirline(*doc, RecordDialogMode::Add, -1, {u"AA"_s, u"American"_s}, options);
    QCOMPARE(doc->Airlines.cell(1, 0), u"AA"_s); // no header sort: appended last
    doc->Airlines.Sort(1, false);                // the user sorted by name, descending
    SubmitAirline(*doc, RecordDialogMode::Add, -1, {u"ZZ"_s, u"Zulu"_s}, options);
    // Zulu, American, Air France.
    QCOMPARE(doc->Airlines.cell(0, 0), u"ZZ"_s);
    QCOMPARE(doc->Airlines.cell(1, 0), u"AA"_s);
}

void TestReferenceEditing::modifyKeepsCountAndLeavesFlightsAlone()
{
    doc->Flights.appendRow({u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s, u"1"_s});
    doc->countReferences();
    QCOMPARE(SubmitAirline(*doc, RecordDialogMode::Modify, 0, {u"XA"_s, u"Renamed"_s}, options),
             QString());
    QCOMPARE(dump(doc->Airlines), QStringList{u"XA|Renamed#1"_s});
    QCOMPARE(doc->Flights.cell(0, 4), u"AF"_s);
    QCOMPARE(
        SubmitDistance(*doc, RecordDialogMode::Modify, 0, {u"CDG"_s, u"JFK"_s, u"3626"_s}, options),
        QString());
    QCOMPARE(dump(doc->Distances), QStringList{u"CDG|JFK|3626#1"_s});
    QCOMPARE(SubmitAirport(*doc, RecordDialogMode::Modify, 0,
                           {u"JFK"_s, u"Kennedy"_s, u"NYC"_s, QString()}, options),
             QString());
    QCOMPARE(dump(doc->Airports), QStringList{u"JFK|Kennedy|NYC|#1"_s});
}

void TestReferenceEditing::distanceKeepsTheEnteredOrderUntilAFlightCountsIt()
{
    QCOMPARE(
        SubmitDistance(*doc, RecordDialogMode::Add, -1, {u"ORD"_s, u"LAX"_s, u"1745"_s}, options),
        QString());
    QCOMPARE(doc->Distances.FindItemByPair(u"ORD"_s, u"LAX"_s) >= 0, true);
    AddDistance(*doc, u"ORD"_s, u"LAX"_s);
    const int r = doc->Distances.FindItemByPair(u"LAX"_s, u"ORD"_s);
    QVERIFY(r >= 0);
    QCOMPARE(doc->Distances.cell(r, 2), u"1745"_s);
    QCOMPARE(doc->Distances.referenceCount(r), 1);
}

void TestReferenceEditing::cancelOfTheDistanceDialogSortsToo()
{
    doc->Distances.appendRow({u"ATL"_s, u"BOS"_s, u"946"_s});
    CancelDistanceDialog(*doc, options);
    QCOMPARE(doc->Distances.cell(0, 0), u"ATL"_s);
    QVERIFY(!doc->isModified());
}

void TestReferenceEditing::airportCountryChoices()
{
    const QStringList countries{u"France"_s, u"United States"_s};
    QCOMPARE(NewAirportFields(*doc, countries).country, u"United States"_s);
    doc->HomeCountry = u"Narnia"_s;
    QCOMPARE(NewAirportFields(*doc, countries).country, QString());
    doc->Airports.appendRow({u"CDG"_s, u"n"_s, u"Paris"_s, u"FRANCE"_s});
    doc->Airports.appendRow({u"XXX"_s, u"n"_s, u"c"_s, u"Narnia"_s});
    QCOMPARE(AirportFieldsFromRow(*doc, 1, countries).country, u"France"_s);
    QCOMPARE(AirportFieldsFromRow(*doc, 2, countries).country, QString());
    QCOMPARE(AirportFieldsFromRow(*doc, 2, countries).city, u"c"_s);
}

void TestReferenceEditing::distanceFieldsFromRow_data()
{
    QTest::addColumn<QString>("miles");
    QTest::addColumn<bool>("whole");
    QTest::newRow("digits") << u"3625"_s << true;
    QTest::newRow("zero") << u"0"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("decimal") << u"12.5"_s << false;
    QTest::newRow("letters") << u"12a"_s << false;
    QTest::newRow("blank around") << u" 12"_s << false;
    QTest::newRow("beyond 32 bits") << u"99999999999"_s << false;
}

void TestReferenceEditing::distanceFieldsFromRow()
{
    QFETCH(QString, miles);
    QFETCH(bool, whole);
    doc->Distances.setCell(0, 2, miles);
    DistanceFields shown{u"A"_s, u"B"_s, u"C"_s};
    const QString message = DistanceFieldsFromRow(*doc, 0, DistanceDialogAirports(*doc), shown);
    if (whole) {
        QCOMPARE(message, QString());
        QCOMPARE(shown.from, u"JFK"_s);
        QCOMPARE(shown.to, QString()); // CDG has no Airports row
        QCOMPARE(shown.miles, miles);
    } else {
        QVERIFY2(message.contains(u'"' + miles + u'"'), qPrintable(message));
        QCOMPARE(shown.from, u"A"_s);
    }
}

void TestReferenceEditing::newDistanceTakesTheFirstCodeInSortedOrder()
{
    const DistanceFields shown = NewDistanceFields({u"JFK"_s, u"cdg"_s, u"LHR"_s, u"ATL"_s});
    QCOMPARE(shown.from, u"ATL"_s);
    QCOMPARE(shown.to, u"ATL"_s);
    QCOMPARE(shown.miles, u"0"_s);
    QVERIFY(NewDistanceFields({}).from.isEmpty());
}

QTEST_GUILESS_MAIN(TestReferenceEditing)
#include "tst_referenceediting.moc"
