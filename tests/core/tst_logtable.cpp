#include "model/CellCompare.h"
#include "model/LogDocument.h"
#include "model/RegionalSettings.h"
#include "options/WingbookOptions.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <numeric>

// The tables, their lookups, the named sorts, reference counting and the preferred values.
class TestLogTable : public QObject
{
    Q_OBJECT

private slots:
    void rowsHaveTheirTableShape();
    void lookupsTakeTheFirstExactMatch();
    void lookupIndexesFollowChanges();
    void findByTextAnyColumnAndBounds();
    void itemCaptionsSkipEmptyCodes();
    void sortIsStableAndRemembered();
    void sortAsIsRepeatsTheLastSort();
    void sortFollowsTheCellComparison_data();
    void sortFollowsTheCellComparison();
    void mixedColumnSortsAlikeFromAnyOrder();
    void sortFlightsPutsLatestFirst();
    void sortDistancesByFromThenTo();
    void customSortDecidesWhatItHandles();
    void resortPlacesChangedRowsLikeAFullSort();
    void referenceCounting();
    void preferredValues();
    void preferredValuesKeptWhenNoRowBeats();
    void countsTextGroupsThousands();
    void settersKeepOnlyWhatALogCanCarry_data();
    void settersKeepOnlyWhatALogCanCarry();
};

void TestLogTable::rowsHaveTheirTableShape()
{
    LogDocument doc;
    QCOMPARE(doc.Flights.columnTotal(), 6);
    QCOMPARE(doc.Airports.columns()[3].caption, QStringLiteral("Country"));
    QCOMPARE(doc.Airports.columns()[1].width, 400);
    const int r = doc.Airlines.appendRow({QStringLiteral("AF")});
    QCOMPARE(doc.Airlines.row(r).cells.size(), 2);
    QVERIFY(doc.Airlines.row(r).hasData());
    QCOMPARE(doc.Airlines.referenceCount(r), 0);
    const int f = doc.Flights.appendRow({"a", "b", "c", "d", "e", "f", "extra"});
    QCOMPARE(doc.Flights.row(f).cells.size(), 6);
    QVERIFY(!doc.Flights.row(f).hasData());
}

void TestLogTable::lookupsTakeTheFirstExactMatch()
{
    LogDocument doc;
    doc.Airlines.appendRow({"AF", "First"});
    doc.Airlines.appendRow({"af", "Lower"});
    doc.Airlines.appendRow({"AF", "Second"});
    QCOMPARE(doc.Airlines.FindItemByText("AF", 0), 0);
    QCOMPARE(doc.Airlines.FindItemByText("af", 0), 1);
    QCOMPARE(doc.Airlines.FindItemByText("Af", 0), -1);
    QCOMPARE(doc.Airlines.FindItemByText("Second", 1), 2);

    doc.Distances.appendRow({"CDG", "JFK", "3625"});
    doc.Distances.appendRow({"JFK", "CDG", "1"});
    QCOMPARE(doc.Distances.FindItemByPair("JFK", "CDG"), 1);
    QCOMPARE(doc.Distances.findPairEitherWay("JFK", "CDG"), 1);
    QCOMPARE(doc.Distances.findPairEitherWay("CDG", "JFK"), 0);
    QCOMPARE(doc.Distances.findPairEitherWay("CDG", "LHR"), -1);
}

void TestLogTable::lookupIndexesFollowChanges()
{
    LogTable t(TableKind::Airports);
    t.appendRow({"ZRH"});
    t.appendRow({"CDG"});
    QCOMPARE(t.FindItemByText("CDG", 0), 1); // builds the index
    t.appendRow({"CDG"});                    // a later duplicate does not take over
    QCOMPARE(t.FindItemByText("CDG", 0), 1);
    t.Sort(0, true);
    QCOMPARE(t.FindItemByText("ZRH", 0), 2);
    t.removeRowAt(0);
    QCOMPARE(t.FindItemByText("CDG", 0), 0);
    t.setCell(0, 0, "LHR");
    QCOMPARE(t.FindItemByText("LHR", 0), 0);
    QCOMPARE(t.FindItemByText("ZRH", 0), 1);
    t.clear();
    QCOMPARE(t.FindItemByText("ZRH", 0), -1);
}

void TestLogTable::findByTextAnyColumnAndBounds()
{
    LogTable t(TableKind::Airports);
    t.appendRow({"CDG", "Charles de Gaulle", "Paris", "France"});
    t.appendRow({"ORY", "Orly", "Paris", "France"});
    QCOMPARE(t.FindItemByText("Paris", -1), 0);
    QCOMPARE(t.FindItemByText("Orly", -1), 1);
    QCOMPARE(t.FindItemByText("Paris", 7), -1);
    QCOMPARE(t.FindItemByText("Paris", -2), -1);
    QCOMPARE(t.cell(5, 0), QString());
}

void TestLogTable::itemCaptionsSkipEmptyCodes()
{
    LogTable t(TableKind::Airlines);
    t.appendRow({"UA"});
    t.appendRow({""});
    t.appendRow({"AA"});
    QStringList list{"old"};
    GetItemCaptions(t, list);
    QCOMPARE(list, QStringList({"UA", "AA"}));
}

void TestLogTable::sortIsStableAndRemembered()
{
    LogTable t(TableKind::Airlines);
    QSignalSpy spy(&t, &LogTable::sortStateChanged);
    t.appendRow({"abc", "first"});
    t.appendRow({"XYZ", "x"});
    t.appendRow({"ABC", "second"});
    t.appendRow({"100", "n"});
    t.appendRow({"25", "n"});
    QCOMPARE(t.LastSortIndex(), -1);
    QVERIFY(t.LastSortAscending());
    t.Sort(0, true);
    QCOMPARE(t.LastSortIndex(), 0);
    QCOMPARE(spy.count(), 1);
    // Numbers compare as numbers; abc and ABC compare equal and keep their order.
    QStringList order;
    for (int r = 0; r < t.count(); ++r)
        order << t.cell(r, 0) + ":" + t.cell(r, 1);
    QCOMPARE(order, QStringList({"25:n", "100:n", "abc:first", "ABC:second", "XYZ:x"}));
    t.Sort(0, false);
    QCOMPARE(t.cell(0, 0), QStringLiteral("XYZ"));
    QCOMPARE(t.cell(1, 0), QStringLiteral("abc")); // stable in descending order too
    QVERIFY(!t.LastSortAscending());
}

// Columns of numbers alone or of dates and times alone are ranked by their values: the order
// must be the one that comparing the texts gives, equal values keeping their order.
void TestLogTable::sortFollowsTheCellComparison_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("numbers, some equal")
        << QStringList{"10", "2", "1.0", "-3", "1", "01", "2.5", "2"};
    // Dates and times as the regional settings write them.
    const RegionalSettings &regional = RegionalSettings::system();
    const auto date = [&regional](int year, int month, int day) {
        const QString y = QString::number(year), m = QString::number(month),
                      d = QString::number(day);
        using Order = RegionalSettings::DateOrder;
        const QStringList parts = regional.dateOrder == Order::MonthDayYear ? QStringList{m, d, y}
                                  : regional.dateOrder == Order::DayMonthYear
                                      ? QStringList{d, m, y}
                                      : QStringList{y, m, d};
        return parts.join(regional.dateSeparator);
    };
    const auto time = [&regional](int hour, int minute) {
        return QString::number(hour) + regional.timeSeparator +
               QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0'));
    };
    QTest::newRow("dates and times, some equal")
        << QStringList{date(2023, 1, 2), time(10, 0), date(2023, 1, 1),
                       date(2023, 1, 2), time(9, 30), date(1999, 12, 31)};
    QTest::newRow("numbers and an empty cell") << QStringList{"3", "", "12", "3", ""};
    QTest::newRow("codes") << QStringList{"jfk", "CDG", "JFK", "aaa", "ZRH"};
    // Texts of one shape, digits and the same signs at the same places, whatever the regional
    // formats: ordered by their digits without collation keys.
    QTest::newRow("texts of one shape") << QStringList{"2020-10-03", "2019-01-31", "2020-10-03",
                                                       "2020-09-30", "1999-12-31", "0000-00-00"};
    QTest::newRow("one shape, more digits than a number holds")
        << QStringList{"12345678901234567890-2", "12345678901234567890-1", "02345678901234567899-9",
                       "12345678901234567889-9"};
    QTest::newRow("shapes that differ")
        << QStringList{"2020-1-3", "2020-10-03", "2020/10/03", "2020-10-3", "202-010-03"};
    QTest::newRow("one shape with letters") << QStringList{"A1-B2", "a1-b2", "B1-A2", "a0-z9"};
}

void TestLogTable::sortFollowsTheCellComparison()
{
    QFETCH(QStringList, texts);
    for (const bool ascending : {true, false}) {
        LogTable t(TableKind::Airlines);
        for (int i = 0; i < texts.size(); ++i)
            t.appendRow({texts[i], QString::number(i)});
        QList<int> expected(texts.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            const int c = CompareCellTexts(texts[a], texts[b]);
            return ascending ? c < 0 : c > 0;
        });
        t.Sort(0, ascending);
        QList<int> sorted;
        for (int r = 0; r < t.count(); ++r)
            sorted << t.cell(r, 1).toInt();
        QCOMPARE(sorted, expected);
    }
}

// Numbers and texts in one column can compare in a circle; the sorted order must still depend
// on the texts alone, or a log sorted, saved and read again comes back in another order.
void TestLogTable::mixedColumnSortsAlikeFromAnyOrder()
{
    QStringList texts{"2023.01,05", "203", "2024-01-04", "abc", "7"};
    QStringList first[2]; // descending, ascending
    std::sort(texts.begin(), texts.end());
    do {
        for (const bool ascending : {true, false}) {
            LogTable t(TableKind::Airlines);
            for (const QString &text : texts)
                t.appendRow({text});
            t.Sort(0, ascending);
            QStringList sorted;
            for (int r = 0; r < t.count(); ++r)
                sorted << t.cell(r, 0);
            if (first[ascending].isEmpty())
                first[ascending] = sorted;
            QCOMPARE(sorted, first[ascending]);
            // Sorting the sorted rows again changes nothing.
            t.Sort(0, ascending);
            for (int r = 0; r < t.count(); ++r)
                QCOMPARE(t.cell(r, 0), sorted[r]);
        }
    } while (std::next_permutation(texts.begin(), texts.end()));
}

void TestLogTable::sortAsIsRepeatsTheLastSort()
{
    LogTable t(TableKind::Airlines);
    t.appendRow({"B"});
    t.appendRow({"A"});
    t.SortAsIs(); // nothing remembered: nothing happens
    QCOMPARE(t.cell(0, 0), QStringLiteral("B"));
    t.applyOrder({0, 0}); // not a permutation: refused
    QCOMPARE(t.cell(1, 0), QStringLiteral("A"));
    t.applyOrder({1, 0});
    QCOMPARE(t.cell(0, 0), QStringLiteral("A"));
    t.applyOrder({1, 0});
    t.Sort(0, true);
    t.appendRow({"0"});
    t.SortAsIs();
    QCOMPARE(t.cell(0, 0), QStringLiteral("0"));
}

void TestLogTable::sortFlightsPutsLatestFirst()
{
    LogDocument doc;
    doc.Flights.appendRow({"2023-01-04", "23:00"});
    doc.Flights.appendRow({"2023-01-05", "07:45"});
    doc.Flights.appendRow({"2023-01-05", "19:10"});
    doc.SortFlights();
    QCOMPARE(doc.Flights.cell(0, 1), QStringLiteral("19:10"));
    QCOMPARE(doc.Flights.cell(1, 1), QStringLiteral("07:45"));
    QCOMPARE(doc.Flights.cell(2, 0), QStringLiteral("2023-01-04"));
    QCOMPARE(doc.Flights.LastSortIndex(), 0);
    QVERIFY(!doc.Flights.LastSortAscending());
}

void TestLogTable::sortDistancesByFromThenTo()
{
    LogDocument doc;
    doc.Distances.appendRow({"JFK", "LHR", "1"});
    doc.Distances.appendRow({"CDG", "ZRH", "2"});
    doc.Distances.appendRow({"CDG", "JFK", "3"});
    doc.SortDistances();
    QCOMPARE(doc.Distances.cell(0, 2), QStringLiteral("3"));
    QCOMPARE(doc.Distances.cell(1, 2), QStringLiteral("2"));
    QCOMPARE(doc.Distances.cell(2, 2), QStringLiteral("1"));
}

void TestLogTable::customSortDecidesWhatItHandles()
{
    LogTable t(TableKind::Airlines);
    t.appendRow({"b"});
    t.appendRow({"LAST"});
    t.appendRow({"a"});
    // "LAST" always goes last in ascending order; other pairs are left to the built-in rule.
    t.OnCustomSort = [](int, const QString &a, const QString &b, int &res) {
        if (a == QLatin1String("LAST") || b == QLatin1String("LAST")) {
            res = a == b ? 0 : (a == QLatin1String("LAST") ? 1 : -1);
            return true;
        }
        return false;
    };
    t.Sort(0, true);
    QCOMPARE(t.cell(0, 0) + t.cell(1, 0) + t.cell(2, 0), QStringLiteral("abLAST"));
    t.Sort(0, false);
    QCOMPARE(t.cell(0, 0), QStringLiteral("LAST"));
}

// After a sort, rows added or changed are placed without sorting everything again; the result
// must be the one a full stable sort gives.
void TestLogTable::resortPlacesChangedRowsLikeAFullSort()
{
    QRandomGenerator random(7);
    const auto randomFlight = [&random] {
        return QStringList{
            QStringLiteral("2023-01-%1").arg(1 + random.bounded(5), 2, 10, QChar('0')),
            QStringLiteral("%1:00").arg(random.bounded(3), 2, 10, QChar('0')),
            QString::number(random.bounded(1000))};
    };
    LogDocument incremental, full;
    for (int i = 0; i < 3000; ++i) {
        const QStringList flight = randomFlight();
        incremental.Flights.appendRow(flight);
        full.Flights.appendRow(flight);
    }
    incremental.SortFlights();
    for (int round = 0; round < 5; ++round) {
        // Copy the present order into `full`, then make the same changes to both.
        full.Flights.clear();
        for (int r = 0; r < incremental.Flights.count(); ++r)
            full.Flights.appendRow(incremental.Flights.row(r).cells);
        for (int i = 0; i < 4; ++i) {
            const QStringList flight = randomFlight();
            incremental.Flights.appendRow(flight);
            full.Flights.appendRow(flight);
            const int r = random.bounded(incremental.Flights.count());
            const QString date = randomFlight()[0];
            incremental.Flights.setCell(r, 0, date);
            full.Flights.setCell(r, 0, date);
        }
        const QList<int> removed{random.bounded(100), 500 + random.bounded(100)};
        incremental.Flights.removeRowsAt(removed);
        full.Flights.removeRowsAt(removed);
        incremental.SortFlights();
        full.Flights.Sort(1, false);
        full.Flights.Sort(0, false);
        for (int r = 0; r < full.Flights.count(); ++r)
            QCOMPARE(incremental.Flights.row(r).cells, full.Flights.row(r).cells);
    }
}

void TestLogTable::referenceCounting()
{
    LogDocument doc;
    doc.Airlines.appendRow({"AF"});
    doc.Airlines.appendRow({"AF"});
    doc.Airports.appendRow({"CDG"});
    doc.Airports.appendRow({"JFK"});
    doc.Distances.appendRow({"JFK", "CDG", "3625"});
    doc.Distances.appendRow({"CDG", "CDG", "0"});
    doc.Flights.appendRow({"2023-01-01", "10:00", "CDG", "JFK", "AF", "006"});
    doc.Flights.appendRow({"2023-01-02", "10:00", "CDG", "CDG", "AF", "001"});
    doc.Flights.appendRow({"2023-01-03", "10:00", "XXX", "YYY", "ZZ", "001"});
    doc.Airports.setReferenceCount(0, 99); // stale counts are replaced
    doc.countReferences();
    QCOMPARE(doc.Airlines.referenceCount(0), 2); // only the first of two equal codes
    QCOMPARE(doc.Airlines.referenceCount(1), 0);
    QCOMPARE(doc.Airports.referenceCount(0), 3); // a self-flight counts twice
    QCOMPARE(doc.Airports.referenceCount(1), 1);
    QCOMPARE(doc.Distances.referenceCount(0), 1); // found in reversed orientation
    QCOMPARE(doc.Distances.referenceCount(1), 1);

    doc.adjustReferencesOfFlight(1, -1);
    QCOMPARE(doc.Airports.referenceCount(0), 1);
}

void TestLogTable::preferredValues()
{
    LogDocument doc;
    doc.Airlines.appendRow({"AF"});
    doc.Airlines.appendRow({"UA"});
    doc.Airports.appendRow({"CDG", "", "", "France"});
    doc.Airports.appendRow({"JFK", "", "", "United States"});
    doc.Airports.appendRow({"ORD", "", "", "United States"});
    doc.Airlines.setReferenceCount(0, 2);
    doc.Airlines.setReferenceCount(1, 2); // a tie keeps the first
    doc.Airports.setReferenceCount(0, 1);
    doc.Airports.setReferenceCount(1, 3);
    doc.Airports.setReferenceCount(2, 3);
    doc.choosePreferredValues();
    QCOMPARE(doc.PreferredAirline, QStringLiteral("AF"));
    QCOMPARE(doc.PreferredFromAirport, QStringLiteral("JFK"));
    QCOMPARE(doc.PreferredToAirport, QStringLiteral("CDG"));
    QCOMPARE(doc.HomeCountry, QStringLiteral("United States"));
}

void TestLogTable::preferredValuesKeptWhenNoRowBeats()
{
    LogDocument doc;
    QCOMPARE(doc.HomeCountry, QStringLiteral("United States"));
    doc.PreferredFromAirport = "LHR";
    doc.Airports.appendRow({"CDG", "", "", "France"});
    doc.choosePreferredValues();
    QCOMPARE(doc.PreferredFromAirport, QStringLiteral("LHR"));
    QCOMPARE(doc.HomeCountry, QStringLiteral("United States"));
}

void TestLogTable::countsTextGroupsThousands()
{
    LogDocument doc;
    QCOMPARE(doc.countsText(QLocale(QLocale::English, QLocale::UnitedStates)),
             QStringLiteral("0 flight(s) - 0 airline(s) - 0 airport(s) - 0 distance(s)"));
    for (int i = 0; i < 1234; ++i)
        doc.Flights.appendRow({});
    QVERIFY(doc.countsText(QLocale(QLocale::English, QLocale::UnitedStates))
                .startsWith(QStringLiteral("1,234 flight(s) - 0 airline(s)")));
}

void TestLogTable::settersKeepOnlyWhatALogCanCarry_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("stored");
    const QChar high(0xD83D), low(0xDE80); // the two halves of U+1F680
    QTest::newRow("plain") << QStringLiteral("Zürich") << QStringLiteral("Zürich");
    QTest::newRow("tab, line feed, carriage return stay")
        << QStringLiteral("a\tb\nc\rd") << QStringLiteral("a\tb\nc\rd");
    QTest::newRow("control characters become blanks")
        << QStringLiteral("\u0001Air\u001fFrance\u000b") << QStringLiteral(" Air France ");
    QTest::newRow("NUL becomes a blank") << QString(QChar(0)) + "x" << QStringLiteral(" x");
    QTest::newRow("U+FFFE and U+FFFF become blanks")
        << QString(QChar(0xFFFE)) + "x" + QChar(0xFFFF) << QStringLiteral(" x ");
    QTest::newRow("a surrogate pair stays") << QString(high) + low << QString(high) + low;
    QTest::newRow("a lone half becomes a blank")
        << QString(high) + "x" + low << QStringLiteral(" x ");
    QTest::newRow("a reversed pair becomes two blanks")
        << QString(low) + high << QStringLiteral("  ");
    QTest::newRow("byte-order mark stays")
        << QString(QChar(0xFEFF)) + "Zeta" << QString(QChar(0xFEFF)) + "Zeta";
    QTest::newRow("DEL and C1 controls stay (XML carries them)")
        << QStringLiteral("a\u007f\u0085b") << QStringLiteral("a\u007f\u0085b");
}

void TestLogTable::settersKeepOnlyWhatALogCanCarry()
{
    QFETCH(QString, given);
    QFETCH(QString, stored);
    LogTable t(TableKind::Airlines);
    t.appendRow({"AF", given});
    QCOMPARE(t.cell(0, 1), stored);
    t.appendRow({"BA"});
    t.setCell(1, 1, given);
    QCOMPARE(t.cell(1, 1), stored);
    // The stored text is what lookups see; the unstorable one is in no cell.
    QCOMPARE(t.FindItemByText(stored, 1), 0);
    if (given != stored)
        QCOMPARE(t.FindItemByText(given, 1), -1);
}

QTEST_GUILESS_MAIN(TestLogTable)
#include "tst_logtable.moc"
