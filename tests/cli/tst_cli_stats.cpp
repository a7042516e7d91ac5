// wingbook-cli stats under a German locale (thousands ".", decimals ","): the figures and rankings
// as text and JSON, with "." forced as decimal point, and the ranking export.
#include "CliTestRun.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace
{

// Three flights from 2021-03-04 09:05 to 2022-03-05 18:00, a year and a day apart: one whole
// year, 12 months, 52 weeks. DL flies two of them, AA one; JFK-LAX is flown both ways.
const QString kLog = QStringLiteral(WINGBOOK_FIXTURES "/logs/exportstats.xml");
const QString kNoData = QStringLiteral("wingbook-cli: No data has been exported.\n");

} // namespace

class TestCliStats : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { failOnAnyWarning(); }
    void json();
    void text();
    void exportRanking_data();
    void exportRanking();
    void rankingNotWritten_data();
    void rankingNotWritten();
    void failures_data();
    void failures();

private:
    QString path(const QString &name) const { return m_work.filePath(name); }

    TestSupport::PrivateSettingsFolder m_settings;
    QTemporaryDir m_work;
};

void TestCliStats::initTestCase()
{
    QVERIFY(m_settings.isValid());
    QVERIFY(m_work.isValid());
}

void TestCliStats::json()
{
    const CliResult run = runWingbookCli({QStringLiteral("stats"), kLog, QStringLiteral("--json")});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QJsonParseError error;
    const QJsonObject stats = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    // 2475 x 2 + 187 x 1 + 740 x 0 miles, grouped with the user's separator; 5137 div 3.
    const QJsonObject figures{
        {"Total number of flights", "3"},
        {"Total number of miles", "5.137"},
        {"Average number of miles per flight", "1.712"},
        {"Average number of flights per year", "3.00"},
        {"Average number of flights per month", "0.25"},
        {"Average number of flights per week", "0.06"},
        {"Start date time", "2021-03-04 09:05"},
        {"End date time", "2022-03-05 18:00"},
    };
    for (auto figure = figures.begin(); figure != figures.end(); ++figure)
        QCOMPARE(stats.value(figure.key()).toString(), figure.value().toString());
    QCOMPARE(stats.size(), figures.size() + 3);
    // Each ranking by flights, most first, keyed by the list's captions.
    QCOMPARE(rowFields(stats.value(QLatin1String("Airlines")), {"Airline", "Flights", "% Flights"}),
             QStringLiteral("DL:2:66.67,AA:1:33.33"));
    QCOMPARE(rowFields(stats.value(QLatin1String("Airports")), {"Airport", "Flights", "% Flights"}),
             QStringLiteral("JFK:3:100.00,LAX:2:66.67,BOS:1:33.33"));
    QCOMPARE(
        rowFields(stats.value(QLatin1String("Distances")), {"From", "To", "Flights", "% Flights"}),
        QStringLiteral("JFK:LAX:2:66.67,BOS:JFK:1:33.33,JFK:ORD:0:0.00"));
    QCOMPARE(compactJson(stats.value(QLatin1String("Airlines"))[0]),
             QStringLiteral("{\"% Flights\":\"66.67\",\"Airline\":\"DL\",\"Flights\":\"2\"}"));
}

void TestCliStats::text()
{
    const CliResult run = runWingbookCli({QStringLiteral("stats"), kLog});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QStringLiteral("Flights\n"
                                     "  Total number of flights :             3\n"
                                     "  Total number of miles :               5.137\n"
                                     "  Average number of miles per flight :  1.712\n"
                                     "  Average number of flights per year :  3.00\n"
                                     "  Average number of flights per month : 0.25\n"
                                     "  Average number of flights per week :  0.06\n"
                                     "\n"
                                     "Date Time\n"
                                     "  Start date time :                     2021-03-04 09:05\n"
                                     "  End date time :                       2022-03-05 18:00\n"
                                     "\n"
                                     "Airlines\n"
                                     "Airline  Flights  % Flights\n"
                                     "DL       2        66.67\n"
                                     "AA       1        33.33\n"
                                     "2 airline(s)\n"
                                     "\n"
                                     "Airports\n"
                                     "Airport  Flights  % Flights\n"
                                     "JFK      3        100.00\n"
                                     "LAX      2        66.67\n"
                                     "BOS      1        33.33\n"
                                     "3 airport(s)\n"
                                     "\n"
                                     "Distances\n"
                                     "From  To   Flights  % Flights\n"
                                     "JFK   LAX  2        66.67\n"
                                     "BOS   JFK  1        33.33\n"
                                     "JFK   ORD  0        0.00\n"
                                     "3 distance(s)\n"
                                     "\n"));
}

void TestCliStats::exportRanking_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("content");
    // The file is ordered by code, not by count.
    QTest::newRow("airlines") << QStringList{QStringLiteral("--export-ranking"),
                                             QStringLiteral("Airlines")}
                              << QByteArray("\"Airline\",\"Flights\",\"% Flights\"\r\n"
                                            "\"AA\",\"1\",\"33.33\"\r\n"
                                            "\"DL\",\"2\",\"66.67\"\r\n");
    QTest::newRow("airports, lower case, with --json")
        << QStringList{QStringLiteral("--json"), QStringLiteral("--export-ranking"),
                       QStringLiteral("airports")}
        << QByteArray("\"Airport\",\"Flights\",\"% Flights\"\r\n"
                      "\"BOS\",\"1\",\"33.33\"\r\n"
                      "\"JFK\",\"3\",\"100.00\"\r\n"
                      "\"LAX\",\"2\",\"66.67\"\r\n");
    QTest::newRow("distances") << QStringList{QStringLiteral("--export-ranking=DISTANCES")}
                               << QByteArray("\"From\",\"To\",\"Flights\",\"% Flights\"\r\n"
                                             "\"BOS\",\"JFK\",\"1\",\"33.33\"\r\n"
                                             "\"JFK\",\"LAX\",\"2\",\"66.67\"\r\n"
                                             "\"JFK\",\"ORD\",\"0\",\"0.00\"\r\n");
}

void TestCliStats::exportRanking()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, content);
    const QString out = path(QStringLiteral("ranking.csv"));
    QVERIFY(writeFile(out, "previous"));
    const CliResult run =
        runWingbookCli(QStringList{QStringLiteral("stats"), kLog} + options + QStringList{out});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QCOMPARE(fileContents(out), content);
    QCOMPARE(fileContents(path(QStringLiteral("ranking.~csv"))), QByteArray("previous"));
    // The statistics are printed all the same, in the form asked for.
    const bool json = options.contains(QStringLiteral("--json"));
    QCOMPARE(run.out.startsWith(QLatin1Char('{')), json);
    QCOMPARE(run.out.startsWith(QLatin1String("Flights\n")), !json);
}

void TestCliStats::rankingNotWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("upper-case CSV") << "stats.CSV";
    QTest::newRow("def") << "stats.def";
    QTest::newRow("txt") << "stats.txt";
}

void TestCliStats::rankingNotWritten()
{
    QFETCH(QString, name);
    const QString out = path(name);
    const CliResult run =
        runWingbookCli({QStringLiteral("stats"), kLog, QStringLiteral("--export-ranking"),
                        QStringLiteral("Airlines"), out});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, kNoData);
    QCOMPARE(run.out, QString());
    QVERIFY(!QFileInfo::exists(out));
}

void TestCliStats::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("firstErrorLine"); // "@" stands for the work folder

    QTest::newRow("flights have no ranking")
        << QStringList{kLog, QStringLiteral("--export-ranking"), QStringLiteral("Flights"),
                       QStringLiteral("@/out.csv")}
        << 2 << "wingbook-cli: unknown ranking \"Flights\": Airlines, Airports or Distances";
    QTest::newRow("ranking without OUT")
        << QStringList{kLog, QStringLiteral("--export-ranking"), QStringLiteral("Airlines")} << 2
        << "wingbook-cli: --export-ranking needs TABLE and OUT";
    QTest::newRow("OUT without a ranking") << QStringList{kLog, QStringLiteral("@/out.csv")} << 2
                                           << "wingbook-cli: OUT is written by --export-ranking";
    QTest::newRow("missing log") << QStringList{QStringLiteral("@/missing.xml")} << 1
                                 << "wingbook-cli: \"@/missing.xml\" does not exist";
    QTest::newRow("ranking into a missing folder")
        << QStringList{kLog, QStringLiteral("--export-ranking"), QStringLiteral("Airlines"),
                       QStringLiteral("@/no/such/out.csv")}
        << 1 << "wingbook-cli: Cannot export to \"@/no/such/out.csv\": ";
}

void TestCliStats::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, firstErrorLine);
    const QString work = QDir::cleanPath(m_work.path());
    arguments.replaceInStrings(QStringLiteral("@"), work);
    firstErrorLine.replace(QLatin1Char('@'), work);
    const CliResult run = runWingbookCli(QStringList{QStringLiteral("stats")} + arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.startsWith(firstErrorLine), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QVERIFY(!QFileInfo::exists(work + QStringLiteral("/out.csv")));
}

// The user's locale is read when the program starts: it is set before the application exists.
int main(int argc, char **argv)
{
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LANG", "de_DE.UTF-8");
    QCoreApplication app(argc, argv);
    TestCliStats test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_cli_stats.moc"
