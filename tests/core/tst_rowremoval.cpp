#include "editing/Properties.h"
#include "editing/RowRemoval.h"
#include "model/LogDocument.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace
{

QList<qint32> counts(const LogTable &table)
{
    QList<qint32> result;
    for (int r = 0; r < table.count(); ++r)
        result << table.referenceCount(r);
    return result;
}

} // namespace

class TestRowRemoval : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void deleteFlightsReleasesReferences_data();
    void deleteFlightsReleasesReferences();
    void deleteWithoutSelectionStillMarksTheLog();
    void deleteReferenceRowsLeavesFlights();
    void clearFlightsZeroesEveryCount();
    void clearReferenceTableLeavesTheRest();
    void swapTwiceRestores();

private:
    std::unique_ptr<LogDocument> doc;
};

// Five flights: 0 JFK-CDG AF, 1 CDG-JFK AF, 2 JFK-JFK DL, 3 LHR-JFK AF, 4 JFK-CDG DL.
void TestRowRemoval::init()
{
    doc = std::make_unique<LogDocument>();
    const QList<QStringList> flights{
        {u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s, u"007"_s},
        {u"2023-01-06"_s, u"07:45"_s, u"CDG"_s, u"JFK"_s, u"AF"_s, u"008"_s},
        {u"2023-01-07"_s, u"07:45"_s, u"JFK"_s, u"JFK"_s, u"DL"_s, u"001"_s},
        {u"2023-01-08"_s, u"07:45"_s, u"LHR"_s, u"JFK"_s, u"AF"_s, u"002"_s},
        {u"2023-01-09"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"DL"_s, u"003"_s}};
    for (const QStringList &f : flights)
        doc->Flights.appendRow(f);
    doc->Airlines.appendRow({u"AF"_s});
    doc->Airlines.appendRow({u"DL"_s});
    doc->Airports.appendRow({u"CDG"_s});
    doc->Airports.appendRow({u"JFK"_s});
    doc->Distances.appendRow({u"CDG"_s, u"JFK"_s, u"3625"_s});
    doc->Distances.appendRow({u"JFK"_s, u"JFK"_s, u"0"_s});
    doc->countReferences();
    QCOMPARE(counts(doc->Airlines), (QList<qint32>{3, 2}));
    QCOMPARE(counts(doc->Airports), (QList<qint32>{3, 6}));
    QCOMPARE(counts(doc->Distances), (QList<qint32>{3, 1}));
}

void TestRowRemoval::deleteFlightsReleasesReferences_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("remaining"); // flight numbers
    QTest::addColumn<QList<qint32>>("airlines");
    QTest::addColumn<QList<qint32>>("airports");
    QTest::addColumn<QList<qint32>>("distances");
    QTest::newRow("to its own airport: two off the airport")
        << QList<int>{2} << QStringList{u"007"_s, u"008"_s, u"002"_s, u"003"_s}
        << QList<qint32>{3, 1} << QList<qint32>{3, 4} << QList<qint32>{3, 0};
    QTest::newRow("three of five, any order, repeated")
        << QList<int>{4, 0, 3, 0} << QStringList{u"008"_s, u"001"_s} << QList<qint32>{1, 1}
        << QList<qint32>{1, 3} << QList<qint32>{1, 1};
    QTest::newRow("last flights of an airline: the row stays at 0")
        << QList<int>{2, 4} << QStringList{u"007"_s, u"008"_s, u"002"_s} << QList<qint32>{3, 0}
        << QList<qint32>{2, 3} << QList<qint32>{2, 0};
    QTest::newRow("codes without rows are skipped, out of range ignored")
        << QList<int>{3, 99, -1} << QStringList{u"007"_s, u"008"_s, u"001"_s, u"003"_s}
        << QList<qint32>{2, 2} << QList<qint32>{3, 5} << QList<qint32>{3, 1};
}

void TestRowRemoval::deleteFlightsReleasesReferences()
{
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, remaining);
    QFETCH(QList<qint32>, airlines);
    QFETCH(QList<qint32>, airports);
    QFETCH(QList<qint32>, distances);
    DeleteRows(*doc, TableKind::Flights, selected);
    QStringList numbers;
    for (int r = 0; r < doc->Flights.count(); ++r)
        numbers << doc->Flights.cell(r, 5);
    QCOMPARE(numbers, remaining);
    QCOMPARE(counts(doc->Airlines), airlines);
    QCOMPARE(counts(doc->Airports), airports);
    QCOMPARE(counts(doc->Distances), distances);
    QVERIFY(doc->isModified());
}

void TestRowRemoval::deleteWithoutSelectionStillMarksTheLog()
{
    DeleteFlights(*doc, {});
    QCOMPARE(doc->Flights.count(), 5);
    QCOMPARE(counts(doc->Airports), (QList<qint32>{3, 6}));
    QVERIFY(doc->isModified());
}

void TestRowRemoval::deleteReferenceRowsLeavesFlights()
{
    DeleteRows(*doc, TableKind::Airlines, {0});
    QCOMPARE(doc->Airlines.count(), 1);
    QCOMPARE(doc->Airlines.cell(0, 0), u"DL"_s);
    QCOMPARE(doc->Flights.count(), 5);
    QCOMPARE(doc->Flights.cell(0, 4), u"AF"_s);
    QCOMPARE(LocateFromFlight(*doc, 0, LocateTarget::Airline).error,
             u"The airline can't be located."_s);
    DeleteRows(*doc, TableKind::Airports, {1, 0});
    QVERIFY(doc->Airports.isEmpty());
    QCOMPARE(doc->Distances.count(), 2); // distances naming removed airports stay
    QVERIFY(doc->isModified());
}

void TestRowRemoval::clearFlightsZeroesEveryCount()
{
    ClearTable(*doc, TableKind::Flights);
    QVERIFY(doc->Flights.isEmpty());
    QCOMPARE(counts(doc->Airlines), (QList<qint32>{0, 0}));
    QCOMPARE(counts(doc->Airports), (QList<qint32>{0, 0}));
    QCOMPARE(counts(doc->Distances), (QList<qint32>{0, 0}));
    QVERIFY(doc->isModified());
}

void TestRowRemoval::clearReferenceTableLeavesTheRest()
{
    ClearTable(*doc, TableKind::Airlines);
    QVERIFY(doc->Airlines.isEmpty());
    QCOMPARE(doc->Flights.count(), 5);
    QCOMPARE(counts(doc->Airports), (QList<qint32>{3, 6}));
    QVERIFY(doc->isModified());
}

void TestRowRemoval::swapTwiceRestores()
{
    doc->Distances.appendRow({u"ATL"_s, u"BOS"_s, u"946"_s});
    SwapDistances(*doc, {0, 2});
    QCOMPARE(doc->Distances.row(0).cells, (QStringList{u"JFK"_s, u"CDG"_s, u"3625"_s}));
    QCOMPARE(doc->Distances.row(2).cells, (QStringList{u"BOS"_s, u"ATL"_s, u"946"_s}));
    QCOMPARE(doc->Distances.referenceCount(0), 3);
    QCOMPARE(doc->Distances.FindItemByPair(u"JFK"_s, u"CDG"_s), 0); // lookups see the change
    QVERIFY(doc->isModified());
    SwapDistances(*doc, {2, 0});
    QCOMPARE(doc->Distances.row(0).cells, (QStringList{u"CDG"_s, u"JFK"_s, u"3625"_s}));
    QCOMPARE(doc->Distances.row(2).cells, (QStringList{u"ATL"_s, u"BOS"_s, u"946"_s}));
}

QTEST_GUILESS_MAIN(TestRowRemoval)
#include "tst_rowremoval.moc"
