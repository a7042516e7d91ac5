#include "components/LumFlatFile.h"
#include "editing/ReferenceFilling.h"
#include "geography/AirportPositions.h"
#include "geography/DistanceFilling.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// Cells of the Distances table, one row a string "From|To|Miles".
QStringList dump(const LogTable &table)
{
    QStringList rows;
    for (int r = 0; r < table.count(); ++r)
        rows << table.row(r).cells.join(u'|');
    return rows;
}

} // namespace

// Miles from the airports' positions: the automatic filling of a new distance with the option
// on (and unchanged with it off), and the Compute Distances command.
class TestDistanceFilling : public QObject
{
    Q_OBJECT

private:
    AirportPositions m_positions;
    TLumFlatFile m_airlines;
    TLumFlatFile m_airports;

    void fillDistances(LogDocument &doc, const QStringList &rows)
    {
        for (const QString &row : rows) {
            const QStringList cells = row.split(u'|');
            doc.Distances.appendRow(cells);
        }
    }

private slots:
    void initTestCase()
    {
        m_positions.loadText(u"JFK\t40.639751\t-73.778925\n"
                             "LHR\t51.4775\t-0.461389\n"
                             "LAX\t33.942536\t-118.408075\n"_s);
    }

    void milesUnknown_data()
    {
        QTest::addColumn<QString>("miles");
        QTest::addColumn<bool>("unknown");
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("0") << u"0"_s << true;
        QTest::newRow("00 is the number 0") << u"00"_s << true;
        QTest::newRow("blanks") << u" "_s << true;
        QTest::newRow("a distance") << u"3451"_s << false;
        QTest::newRow("not a number is a value of the user's") << u"far"_s << false;
    }
    void milesUnknown()
    {
        QFETCH(QString, miles);
        QFETCH(bool, unknown);
        QCOMPARE(MilesUnknown(miles), unknown);
    }

    // A flight stored with automatic filling: the option on computes the miles of a new
    // distance; off, or without a position, the distance gets "0" as it always did.
    void flightReferences_data()
    {
        QTest::addColumn<bool>("computeDistances");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("on: a new distance is computed")
            << true << QStringList() << u"LHR"_s << u"JFK"_s << QStringList{u"JFK|LHR|3451"_s};
        QTest::newRow("off: a new distance is 0")
            << false << QStringList() << u"LHR"_s << u"JFK"_s << QStringList{u"JFK|LHR|0"_s};
        QTest::newRow("on: without a position it is 0")
            << true << QStringList() << u"JFK"_s << u"XXX"_s << QStringList{u"JFK|XXX|0"_s};
        QTest::newRow("on: to the same airport it is 0 miles")
            << true << QStringList() << u"LAX"_s << u"LAX"_s << QStringList{u"LAX|LAX|0"_s};
        QTest::newRow("on: an existing 0 is the user's to fill")
            << true << QStringList{u"LHR|JFK|0"_s} << u"JFK"_s << u"LHR"_s
            << QStringList{u"JFK|LHR|0"_s};
        QTest::newRow("on: an existing empty Miles is computed")
            << true << QStringList{u"JFK|LAX|"_s} << u"LAX"_s << u"JFK"_s
            << QStringList{u"JFK|LAX|2475"_s};
        QTest::newRow("off: an existing empty Miles becomes 0")
            << false << QStringList{u"JFK|LAX|"_s} << u"LAX"_s << u"JFK"_s
            << QStringList{u"JFK|LAX|0"_s};
        QTest::newRow("on: a typed distance stays")
            << true << QStringList{u"JFK|LAX|2500"_s} << u"LAX"_s << u"JFK"_s
            << QStringList{u"JFK|LAX|2500"_s};
    }
    void flightReferences()
    {
        QFETCH(bool, computeDistances);
        QFETCH(QStringList, before);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, after);
        LogDocument doc;
        fillDistances(doc, before);
        OptionSet options;
        options.computeDistances = computeDistances;
        TakeFlightReferences(doc, {m_airlines, m_airports, &m_positions}, options, from, to,
                             u"BA"_s);
        QCOMPARE(dump(doc.Distances), after);
        QCOMPARE(doc.Distances.referenceCount(0), 1);
    }

    // Without positions (no file beside Airports.def) the option changes nothing.
    void flightReferencesWithoutPositions()
    {
        LogDocument doc;
        OptionSet options;
        options.computeDistances = true;
        TakeFlightReferences(doc, {m_airlines, m_airports}, options, u"JFK"_s, u"LHR"_s, u"BA"_s);
        QCOMPARE(dump(doc.Distances), QStringList{u"JFK|LHR|0"_s});
    }

    // Which rows the command looks at, what it would write and what it asks about.
    void plan_data()
    {
        QTest::addColumn<QStringList>("table");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("scope");
        QTest::addColumn<QStringList>("changes"); // "row:old>new"
        QTest::addColumn<int>("overwrites");
        QTest::addColumn<QStringList>("missing");
        const QStringList table{u"JFK|LHR|0"_s, u"JFK|LAX|2400"_s, u"JFK|XXX|0"_s,
                                u"LAX|LHR|"_s,  u"LAX|YYY|7"_s,    u"JFK|LHR|3451"_s};
        QTest::newRow("nothing selected: the unknown rows")
            << table << QList<int>() << int(DistanceRows::Unknown)
            << QStringList{u"0:0>3451"_s, u"3:>5456"_s} << 0 << QStringList{u"XXX"_s};
        QTest::newRow("all rows") << table << QList<int>() << int(DistanceRows::All)
                                  << QStringList{u"0:0>3451"_s, u"1:2400>2475"_s, u"3:>5456"_s} << 1
                                  << QStringList{u"XXX"_s, u"YYY"_s};
        QTest::newRow("the selection, known values included")
            << table << QList<int>{4, 1, 1, 99, -1} << int(DistanceRows::Unknown)
            << QStringList{u"1:2400>2475"_s} << 1 << QStringList{u"YYY"_s};
        QTest::newRow("a row already right is no change")
            << table << QList<int>{5} << int(DistanceRows::Unknown) << QStringList() << 0
            << QStringList();
        QTest::newRow("an empty table") << QStringList() << QList<int>() << int(DistanceRows::All)
                                        << QStringList() << 0 << QStringList();
    }
    void plan()
    {
        QFETCH(QStringList, table);
        QFETCH(QList<int>, selected);
        QFETCH(int, scope);
        QFETCH(QStringList, changes);
        QFETCH(int, overwrites);
        QFETCH(QStringList, missing);
        LogDocument doc;
        fillDistances(doc, table);
        const DistanceFillPlan plan =
            PlanDistanceFill(doc.Distances, m_positions, selected, DistanceRows(scope));
        QStringList got;
        for (const DistanceFillPlan::Change &c : plan.changes)
            got << QStringLiteral("%1:%2>%3").arg(c.row).arg(c.oldMiles, c.newMiles);
        QCOMPARE(got, changes);
        QCOMPARE(plan.overwrites(), overwrites);
        QCOMPARE(plan.codesWithoutPosition, missing);
        // Planning changes nothing.
        QCOMPARE(dump(doc.Distances), table);
    }

    // Declining to overwrite keeps the known distances and fills the others.
    void apply_data()
    {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<int>("written");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("overwrite")
            << true << 2 << QStringList{u"JFK|LHR|3451"_s, u"JFK|LAX|2475"_s};
        QTest::newRow("keep known values")
            << false << 1 << QStringList{u"JFK|LHR|3451"_s, u"JFK|LAX|2400"_s};
    }
    void apply()
    {
        QFETCH(bool, overwrite);
        QFETCH(int, written);
        QFETCH(QStringList, after);
        LogDocument doc;
        fillDistances(doc, {u"JFK|LHR|0"_s, u"JFK|LAX|2400"_s});
        const DistanceFillPlan plan = PlanDistanceFill(doc.Distances, m_positions, {0, 1});
        QCOMPARE(ApplyDistanceFill(doc.Distances, plan, overwrite), written);
        QCOMPARE(dump(doc.Distances), after);
        QVERIFY(!doc.isModified());
    }

    // The command asks only when a known distance would be replaced, and marks the log as
    // changed only when it wrote something.
    void fillCommand_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("asked"); // the number of overwrites asked about; 0: not asked
        QTest::addColumn<int>("filled");
        QTest::addColumn<QStringList>("after");
        const QList<int> none;
        QTest::newRow("nothing selected: the unknown row, no question")
            << none << false << 0 << 1 << QStringList{u"JFK|LAX|2400"_s, u"JFK|LHR|3451"_s};
        QTest::newRow("selected known row, Yes")
            << QList<int>{0} << true << 1 << 1 << QStringList{u"JFK|LAX|2475"_s, u"JFK|LHR|0"_s};
        QTest::newRow("selected known row, No")
            << QList<int>{0} << false << 1 << 0 << QStringList{u"JFK|LAX|2400"_s, u"JFK|LHR|0"_s};
        QTest::newRow("both selected, No: the unknown one is filled")
            << QList<int>{0, 1} << false << 1 << 1
            << QStringList{u"JFK|LAX|2400"_s, u"JFK|LHR|3451"_s};
    }
    void fillCommand()
    {
        QFETCH(QList<int>, selected);
        QFETCH(bool, answer);
        QFETCH(int, asked);
        QFETCH(int, filled);
        QFETCH(QStringList, after);
        LogDocument doc;
        fillDistances(doc, {u"JFK|LAX|2400"_s, u"JFK|LHR|0"_s});
        int question = 0;
        QStringList missing;
        const int written = FillDistances(
            doc, m_positions, selected, DistanceRows::Unknown,
            [&](int overwrites) {
                question = overwrites;
                return answer;
            },
            missing);
        QCOMPARE(question, asked);
        QCOMPARE(written, filled);
        QCOMPARE(dump(doc.Distances), after);
        QCOMPARE(doc.isModified(), filled > 0);
        QVERIFY(missing.isEmpty());
    }

    void report_data()
    {
        QTest::addColumn<int>("filled");
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<QString>("text");
        QTest::newRow("all known") << 3 << QStringList() << u"Filled the miles of 3 distance(s)."_s;
        QTest::newRow("codes without a position")
            << 0 << QStringList{QString(), u"XXX"_s, u"YYY"_s}
            << u"Filled the miles of 0 distance(s).\nNo position is known for: (empty), XXX, YYY."_s;
    }
    void report()
    {
        QFETCH(int, filled);
        QFETCH(QStringList, missing);
        QFETCH(QString, text);
        QCOMPARE(DistanceFillReport(filled, missing), text);
    }
};

QTEST_GUILESS_MAIN(TestDistanceFilling)
#include "tst_distancefilling.moc"
