#include "model/LogDocument.h"
#include "statistics/Statistics.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

using Rows = QList<QStringList>;
// A reference row and the count it carries: {cells..., count}.
using CountedRows = QList<QStringList>;

namespace
{

const QDateTime kNow(QDate(2024, 6, 1), QTime(12, 0));

// Flights given as "date time" texts; every other cell is a fixed code.
void addFlights(LogDocument &document, const QStringList &moments)
{
    for (const QString &moment : moments) {
        const QString date = moment.section(u' ', 0, 0);
        const QString time = moment.section(u' ', 1);
        document.Flights.appendRow({date, time, u"JFK"_s, u"LAX"_s, u"AA"_s, u"100"_s});
    }
}

// The last cell of each row is its ReferenceCount.
void addCounted(LogTable &table, const CountedRows &rows)
{
    for (QStringList cells : rows) {
        const qint32 count = cells.takeLast().toInt();
        table.setReferenceCount(table.appendRow(cells), count);
    }
}

QString figure(const QList<StatisticsFigure> &figures, const QString &title)
{
    for (const StatisticsFigure &f : figures) {
        if (f.title == title)
            return f.value;
    }
    return u"<no figure %1>"_s.arg(title);
}

Rows rowsOf(const LogTable &table)
{
    Rows rows;
    for (int r = 0; r < table.count(); ++r)
        rows.append(table.row(r).cells);
    return rows;
}

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void fixedTwoDecimals_data();
    void fixedTwoDecimals();
    void period_data();
    void period();
    void rankings_data();
    void rankings();
    void milesTotals_data();
    void milesTotals();
    void regionalSeparators_data();
    void regionalSeparators();
    void noRowsAtAll();
    void recomputeReplacesEverything();
    void rankingExport_data();
    void rankingExport();
    void rankingExportKeepsBackup();
};

void TestStatistics::fixedTwoDecimals_data()
{
    QTest::addColumn<qint64>("numerator");
    QTest::addColumn<qint64>("denominator");
    QTest::addColumn<QString>("text");

    QTest::newRow("a third") << qint64(100) << qint64(3) << u"33.33"_s;
    QTest::newRow("two thirds") << qint64(200) << qint64(3) << u"66.67"_s;
    QTest::newRow("whole") << qint64(2) << qint64(1) << u"2.00"_s;
    QTest::newRow("zero") << qint64(0) << qint64(7) << u"0.00"_s;
    QTest::newRow("half rounds away from zero") << qint64(100) << qint64(800) << u"0.13"_s;
    QTest::newRow("below a half rounds down") << qint64(2) << qint64(52) << u"0.04"_s;
    QTest::newRow("negative") << qint64(-100) << qint64(3) << u"-33.33"_s;
    QTest::newRow("negative rounding to zero") << qint64(-1) << qint64(1000) << u"0.00"_s;
    QTest::newRow("past 32 bits") << qint64(300'000'000'000) << qint64(3) << u"100000000000.00"_s;
}

void TestStatistics::fixedTwoDecimals()
{
    QFETCH(qint64, numerator);
    QFETCH(qint64, denominator);
    QFETCH(QString, text);
    QCOMPARE(FixedTwoDecimals(numerator, denominator), text);
}

void TestStatistics::period_data()
{
    QTest::addColumn<QStringList>("flights");
    QTest::addColumn<QString>("perYear");
    QTest::addColumn<QString>("perMonth");
    QTest::addColumn<QString>("perWeek");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");

    // The statistics start at kNow, 2024-06-01 12:00.
    QTest::newRow("no flights: from the zero point to now")
        << QStringList{} << u"0.00"_s << u"0.00"_s << u"0.00"_s << u"n/a"_s << u"n/a"_s;
    QTest::newRow("one flight in the past")
        << QStringList{u"2024-06-01 09:05"_s} << u"n/a"_s << u"n/a"_s << u"n/a"_s
        << u"2024-06-01 09:05"_s << u"2024-06-01 09:05"_s;
    QTest::newRow("365 days apart")
        << QStringList{u"2022-01-01 08:00"_s, u"2021-01-01 08:00"_s} << u"n/a"_s << u"0.18"_s
        << u"0.04"_s << u"2021-01-01 08:00"_s << u"2022-01-01 08:00"_s;
    QTest::newRow("366 days apart")
        << QStringList{u"2020-01-01 08:00"_s, u"2021-01-01 08:00"_s} << u"2.00"_s << u"0.17"_s
        << u"0.04"_s << u"2020-01-01 08:00"_s << u"2021-01-01 08:00"_s;
    QTest::newRow("all flights in the future: period from now")
        << QStringList{u"2025-06-02 12:00"_s, u"2024-07-01 12:00"_s} << u"2.00"_s << u"0.17"_s
        << u"0.04"_s << u"n/a"_s << u"n/a"_s;
    QTest::newRow("past and future flights")
        << QStringList{u"2024-06-01 11:59"_s, u"2024-06-15 11:59"_s} << u"n/a"_s << u"n/a"_s
        << u"1.00"_s << u"2024-06-01 11:59"_s << u"2024-06-15 11:59"_s;
    QTest::newRow("a flight at the starting moment is not before it")
        << QStringList{u"2024-06-01 12:00"_s} << u"n/a"_s << u"n/a"_s << u"n/a"_s << u"n/a"_s
        << u"n/a"_s;
    QTest::newRow("unreadable dates and times left out")
        << QStringList{u"04.03.2021 09:05"_s, u"2021-03-04 9:5x"_s, u"2023-02-30 10:00"_s,
                       u"2024-05-25 10:00"_s, u"2024-05-18 10:00"_s}
        << u"n/a"_s << u"n/a"_s << u"5.00"_s << u"2024-05-18 10:00"_s << u"2024-05-25 10:00"_s;
    QTest::newRow("a date without time is at midnight")
        << QStringList{u"2024-05-20"_s, u"2024-05-28 23:30"_s} << u"n/a"_s << u"n/a"_s << u"2.00"_s
        << u"2024-05-20 00:00"_s << u"2024-05-28 23:30"_s;
}

void TestStatistics::period()
{
    QFETCH(QStringList, flights);
    QFETCH(QString, perYear);
    QFETCH(QString, perMonth);
    QFETCH(QString, perWeek);
    QFETCH(QString, start);
    QFETCH(QString, end);

    LogDocument document;
    addFlights(document, flights);
    StatisticsReport report;
    report.compute(document, kNow, RegionalSettings::fromLocale(QLocale::c()));
    const QList<StatisticsFigure> &f = report.flightFigures();
    QCOMPARE(figure(f, u"Total number of flights"_s), QString::number(flights.size()));
    QCOMPARE(figure(f, u"Average number of flights per year"_s), perYear);
    QCOMPARE(figure(f, u"Average number of flights per month"_s), perMonth);
    QCOMPARE(figure(f, u"Average number of flights per week"_s), perWeek);
    QCOMPARE(figure(report.dateTimeFigures(), u"Start date time"_s), start);
    QCOMPARE(figure(report.dateTimeFigures(), u"End date time"_s), end);
}

void TestStatistics::rankings_data()
{
    QTest::addColumn<int>("flights");
    QTest::addColumn<CountedRows>("airlines");
    QTest::addColumn<CountedRows>("distances");
    QTest::addColumn<Rows>("airlineRanking");
    QTest::addColumn<Rows>("distanceRanking");

    QTest::newRow("one airline named by two of three flights")
        << 3 << CountedRows{{"BA", "British", "1"}, {"AA", "American", "2"}}
        << CountedRows{{"JFK", "LAX", "2475", "3"}}
        << Rows{{"AA", "2", "66.67"}, {"BA", "1", "33.33"}} << Rows{{"JFK", "LAX", "3", "100.00"}};
    QTest::newRow("equal counts keep table order, counts compared as numbers")
        << 12 << CountedRows{{"ZZ", "", "2"}, {"AA", "", "10"}, {"MM", "", "2"}, {"BB", "", "9"}}
        << CountedRows{}
        << Rows{{"AA", "10", "83.33"},
                {"BB", "9", "75.00"},
                {"ZZ", "2", "16.67"},
                {"MM", "2", "16.67"}}
        << Rows{};
    QTest::newRow("no flights: shares not available")
        << 0 << CountedRows{{"AA", "American", "0"}} << CountedRows{{"JFK", "LAX", "0", "0"}}
        << Rows{{"AA", "0", "n/a"}} << Rows{{"JFK", "LAX", "0", "n/a"}};
    QTest::newRow("counts left apart from the flights show as they are")
        << 2 << CountedRows{{"AA", "", "5"}, {"BA", "", "-1"}} << CountedRows{}
        << Rows{{"AA", "5", "250.00"}, {"BA", "-1", "-50.00"}} << Rows{};
}

void TestStatistics::rankings()
{
    QFETCH(int, flights);
    QFETCH(CountedRows, airlines);
    QFETCH(CountedRows, distances);
    QFETCH(Rows, airlineRanking);
    QFETCH(Rows, distanceRanking);

    LogDocument document;
    for (int i = 0; i < flights; ++i)
        addFlights(document, {u"2020-01-01 10:00"_s});
    addCounted(document.Airlines, airlines);
    addCounted(document.Distances, distances);
    StatisticsReport report;
    report.compute(document, kNow, RegionalSettings::fromLocale(QLocale::c()));
    QCOMPARE(rowsOf(report.ranking(RankingKind::Airlines)), airlineRanking);
    QCOMPARE(rowsOf(report.ranking(RankingKind::Distances)), distanceRanking);
    QCOMPARE(report.countText(RankingKind::Airlines),
             QString::number(airlineRanking.size()) + u" airline(s)"_s);
    QCOMPARE(report.countText(RankingKind::Distances),
             QString::number(distanceRanking.size()) + u" distance(s)"_s);
    // The log itself is left in its order.
    QCOMPARE(document.Airlines.count(), airlines.size());
    if (!airlines.isEmpty())
        QCOMPARE(document.Airlines.cell(0, 0), airlines.first().first());
}

void TestStatistics::milesTotals_data()
{
    QTest::addColumn<int>("flights");
    QTest::addColumn<CountedRows>("distances");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("totalText");
    QTest::addColumn<QString>("perFlight");

    QTest::newRow("miles times counts")
        << 3 << CountedRows{{"JFK", "LAX", "2475", "2"}, {"CDG", "JFK", "100", "0"}} << qint64(4950)
        << u"4,950"_s << u"1,650"_s;
    QTest::newRow("per flight truncated")
        << 4 << CountedRows{{"JFK", "LAX", "7", "1"}} << qint64(7) << u"7"_s << u"1"_s;
    QTest::newRow("no flights") << 0 << CountedRows{{"JFK", "LAX", "2475", "0"}} << qint64(0)
                                << u"0"_s << u"n/a"_s;
    QTest::newRow("miles that are no whole number left out")
        << 2
        << CountedRows{{"A", "B", "12.5", "1"},
                       {"C", "D", "", "1"},
                       {"E", "F", "abc", "1"},
                       {"G", "H", "99999999999", "1"},
                       {"I", "J", "10", "2"}}
        << qint64(20) << u"20"_s << u"10"_s;
    QTest::newRow("total past 2^31") << 100000 << CountedRows{{"JFK", "SYD", "30000", "100000"}}
                                     << qint64(3'000'000'000) << u"3,000,000,000"_s << u"30,000"_s;
    QTest::newRow("product past 2^31 in one row")
        << 1 << CountedRows{{"JFK", "SYD", "2147483647", "2147483647"}}
        << qint64(4'611'686'014'132'420'609) << u"4,611,686,014,132,420,609"_s
        << u"4,611,686,014,132,420,609"_s;
    QTest::newRow("sum stops at the 64-bit limit")
        << 1
        << CountedRows{{"A", "B", "2147483647", "2147483647"},
                       {"C", "D", "2147483647", "2147483647"},
                       {"E", "F", "2147483647", "2147483647"}}
        << std::numeric_limits<qint64>::max() << u"9,223,372,036,854,775,807"_s
        << u"9,223,372,036,854,775,807"_s;
}

void TestStatistics::milesTotals()
{
    QFETCH(int, flights);
    QFETCH(CountedRows, distances);
    QFETCH(qint64, total);
    QFETCH(QString, totalText);
    QFETCH(QString, perFlight);

    LogDocument document;
    for (int i = 0; i < flights; ++i)
        document.Flights.appendRow({u"2020-01-01"_s, u"10:00"_s});
    addCounted(document.Distances, distances);
    StatisticsReport report;
    report.compute(document, kNow, RegionalSettings::fromLocale(QLocale(QLocale::English)));
    QCOMPARE(report.totalMiles(), total);
    QCOMPARE(figure(report.flightFigures(), u"Total number of miles"_s), totalText);
    QCOMPARE(figure(report.flightFigures(), u"Average number of miles per flight"_s), perFlight);
}

void TestStatistics::regionalSeparators_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("totalMiles");
    QTest::addColumn<QString>("perWeek");
    QTest::addColumn<QString>("share");
    QTest::addColumn<QString>("start");

    QTest::newRow("comma thousands")
        << u"en_US"_s << u"4,950"_s << u"3.00"_s << u"66.67"_s << u"2024-05-18 09:05"_s;
    QTest::newRow("point thousands, decimals still with a point")
        << u"de_DE"_s << u"4.950"_s << u"3.00"_s << u"66.67"_s << u"2024-05-18 09:05"_s;
    QTest::newRow("blank thousands, point time separator")
        << u"fi_FI"_s << u"4\u00a0950"_s << u"3.00"_s << u"66.67"_s << u"2024-05-18 09.05"_s;
}

void TestStatistics::regionalSeparators()
{
    QFETCH(QString, locale);
    QFETCH(QString, totalMiles);
    QFETCH(QString, perWeek);
    QFETCH(QString, share);
    QFETCH(QString, start);

    LogDocument document;
    addFlights(document, {u"2024-05-18 09:05"_s, u"2024-05-25 09:05"_s, u"2024-05-31 09:05"_s});
    addCounted(document.Airlines, {{"AA", "", "2"}, {"BA", "", "1"}});
    addCounted(document.Distances, {{"JFK", "LAX", "2475", "2"}});
    StatisticsReport report;
    report.compute(document, kNow, RegionalSettings::fromLocale(QLocale(locale)));
    QCOMPARE(figure(report.flightFigures(), u"Total number of miles"_s), totalMiles);
    QCOMPARE(figure(report.flightFigures(), u"Average number of flights per week"_s), perWeek);
    QCOMPARE(report.ranking(RankingKind::Airlines).cell(0, 2), share);
    QCOMPARE(figure(report.dateTimeFigures(), u"Start date time"_s), start);
}

void TestStatistics::noRowsAtAll()
{
    LogDocument document;
    StatisticsReport report;
    report.compute(document, kNow);
    const QStringList titles{u"Total number of flights"_s,
                             u"Total number of miles"_s,
                             u"Average number of miles per flight"_s,
                             u"Average number of flights per year"_s,
                             u"Average number of flights per month"_s,
                             u"Average number of flights per week"_s};
    const QStringList values{u"0"_s, u"0"_s, u"n/a"_s, u"0.00"_s, u"0.00"_s, u"0.00"_s};
    QCOMPARE(report.flightFigures().size(), titles.size());
    for (int i = 0; i < titles.size(); ++i) {
        QCOMPARE(report.flightFigures()[i].title, titles[i]);
        QCOMPARE(report.flightFigures()[i].value, values[i]);
    }
    QCOMPARE(report.countText(RankingKind::Airlines), u"0 airline(s)"_s);
    QCOMPARE(report.countText(RankingKind::Airports), u"0 airport(s)"_s);
    QCOMPARE(report.countText(RankingKind::Distances), u"0 distance(s)"_s);
}

void TestStatistics::recomputeReplacesEverything()
{
    LogDocument document;
    addFlights(document, {u"2020-01-01 10:00"_s});
    addCounted(document.Airports, {{"JFK", "", "", "", "1"}, {"LAX", "", "", "", "1"}});
    StatisticsReport report;
    report.compute(document, kNow);
    QCOMPARE(report.ranking(RankingKind::Airports).count(), 2);

    document.clearTables();
    addCounted(document.Airports, {{"CDG", "", "", "", "0"}});
    report.compute(document, kNow);
    QCOMPARE(rowsOf(report.ranking(RankingKind::Airports)), (Rows{{"CDG", "0", "n/a"}}));
    QCOMPARE(figure(report.dateTimeFigures(), u"Start date time"_s), u"n/a"_s);
}

void TestStatistics::rankingExport_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("written");

    QTest::newRow("csv") << u"stats.csv"_s << true;
    QTest::newRow("upper-case CSV writes nothing") << u"stats.CSV"_s << false;
    QTest::newRow("txt writes nothing") << u"stats.txt"_s << false;
    QTest::newRow("def writes nothing") << u"stats.def"_s << false;
    QTest::newRow("no extension writes nothing") << u"stats"_s << false;
}

void TestStatistics::rankingExport()
{
    QFETCH(QString, name);
    QFETCH(bool, written);

    LogDocument document;
    addFlights(document, {u"2020-01-01 10:00"_s, u"2020-01-02 10:00"_s, u"2020-01-03 10:00"_s,
                          u"2020-01-04 10:00"_s});
    addCounted(document.Airlines, {{"ua", "", "1"}, {"BA", "", "2"}, {"AA", "", "1"}});
    StatisticsReport report;
    report.compute(document, kNow, RegionalSettings::fromLocale(QLocale(QLocale::English)));
    QTemporaryDir dir;
    const QString fileName = dir.filePath(name);
    const std::optional<ExportWriteResult> result =
        ExportLumListView(report.ranking(RankingKind::Airlines), fileName,
                          RegionalSettings::fromLocale(QLocale(QLocale::English)));
    QCOMPARE(result.has_value(), written);
    QCOMPARE(QFile::exists(fileName), written);
    if (!written)
        return;
    QVERIFY(result->ok);
    // By code, letter case ignored; not by count.
    QCOMPARE(readAll(fileName), QByteArray("\"Airline\",\"Flights\",\"% Flights\"\r\n"
                                           "\"AA\",\"1\",\"25.00\"\r\n"
                                           "\"BA\",\"2\",\"50.00\"\r\n"
                                           "\"ua\",\"1\",\"25.00\"\r\n"));
}

void TestStatistics::rankingExportKeepsBackup()
{
    LogDocument document;
    addCounted(document.Distances, {{"JFK", "LAX", "2475", "0"}});
    StatisticsReport report;
    report.compute(document, kNow);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(u"routes.csv"_s);
    {
        QFile old(fileName);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old ranking\r\n");
    }
    const auto result = ExportLumListView(report.ranking(RankingKind::Distances), fileName);
    QVERIFY(result && result->ok);
    QCOMPARE(readAll(dir.filePath(u"routes.~csv"_s)), QByteArray("old ranking\r\n"));
    QCOMPARE(readAll(fileName), QByteArray("\"From\",\"To\",\"Flights\",\"% Flights\"\r\n"
                                           "\"JFK\",\"LAX\",\"0\",\"n/a\"\r\n"));

    const auto failed =
        ExportLumListView(report.ranking(RankingKind::Distances), dir.filePath(u"x/y.csv"_s));
    QVERIFY(failed && !failed->ok);
    QVERIFY(!failed->error.isEmpty());
}

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
