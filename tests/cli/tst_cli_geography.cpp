// wingbook-cli fill-distances and travel, and the option ComputeDistances of add-flight: the
// miles from the airports' positions and the figures of the travel charts.
#include "CliTestRun.h"
#include "cli/CliOptions.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace
{

const QString kFixtures = QStringLiteral(WINGBOOK_FIXTURES "/geography");

// "From-To:Miles" of every Distances row of the JSON of a log.
QString distancesOf(const QJsonObject &log)
{
    return rowFields(log.value(QLatin1String("Distances")),
                     {QStringLiteral("From"), QStringLiteral("To"), QStringLiteral("Miles")});
}

QJsonObject showJson(const QString &log)
{
    const CliResult run = runWingbookCli({QStringLiteral("show"), log, QStringLiteral("--json")});
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

} // namespace

class TestCliGeography : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_settings.isValid()); }
    void init();

    void fillDistances_data();
    void fillDistances();
    void fillDistancesJson();
    void fillDistancesLeavesAFilledLogAlone();
    void fillDistancesRefused_data();
    void fillDistancesRefused();
    void addFlightComputesWithTheOption_data();
    void addFlightComputesWithTheOption();
    void travelJson();
    void travelText();
    void travelOfAnEmptyLog();
    void commandWord_data();
    void commandWord();

private:
    // A copy of a fixture log in the work folder.
    QString copyOfLog(const QString &name);
    // The run with the fixture reference folder (positions included).
    CliResult run(const QStringList &words, const QString &defs = kFixtures);

    TestSupport::PrivateSettingsFolder m_settings;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestCliGeography::init()
{
    failOnAnyWarning();
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
}

QString TestCliGeography::copyOfLog(const QString &name)
{
    const QString copy = m_work->filePath(name);
    if (!QFile::copy(kFixtures + u'/' + name, copy))
        return QString();
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return copy;
}

CliResult TestCliGeography::run(const QStringList &words, const QString &defs)
{
    return runWingbookCli(QStringList{QStringLiteral("--def-files-path"), defs} + words);
}

void TestCliGeography::fillDistances_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("distances"); // of the log in the file afterwards
    QTest::addColumn<QString>("out");

    const QString before = QStringLiteral("JFK:LAX:,JFK:LHR:0,JFK:ZZZ:0,NRT:SFO:5000");
    const QString report = QStringLiteral("Filled the miles of 2 distance(s).\n"
                                          "No position is known for: ZZZ.\n");
    // The empty and zero Miles are filled, the known one stays; a code without a position
    // is named.
    QTest::newRow("unknown ones") << QStringList()
                                  << "JFK:LAX:2475,JFK:LHR:3451,JFK:ZZZ:0,NRT:SFO:5000" << report;
    QTest::newRow("all") << QStringList{QStringLiteral("--all")}
                         << "JFK:LAX:2475,JFK:LHR:3451,JFK:ZZZ:0,NRT:SFO:5124"
                         << "Filled the miles of 3 distance(s).\nNo position is known for: ZZZ.\n";
    QTest::newRow("dry run") << QStringList{QStringLiteral("--dry-run")} << before << report;
    QTest::newRow("dry run of all")
        << QStringList{QStringLiteral("--all"), QStringLiteral("--dry-run")} << before
        << "Filled the miles of 3 distance(s).\n"
           "No position is known for: ZZZ.\n";
}

void TestCliGeography::fillDistances()
{
    QFETCH(QStringList, options);
    QFETCH(QString, distances);
    QFETCH(QString, out);

    const QString log = copyOfLog(QStringLiteral("distances.xml"));
    QVERIFY(!log.isEmpty());
    const CliResult filled = run(QStringList{QStringLiteral("fill-distances"), log} + options);
    QCOMPARE(filled.status, 0);
    QCOMPARE(filled.err, QString());
    QCOMPARE(filled.out, out);
    QCOMPARE(distancesOf(showJson(log)), distances);
}

void TestCliGeography::fillDistancesJson()
{
    // The log as filled on standard output, which holds the JSON alone; the report beside it.
    const QString log = copyOfLog(QStringLiteral("distances.xml"));
    QVERIFY(!log.isEmpty());
    const QByteArray before = fileContents(log);
    const CliResult filled = run({QStringLiteral("fill-distances"), log, QStringLiteral("--json"),
                                  QStringLiteral("--dry-run")});
    QCOMPARE(filled.status, 0);
    const QJsonObject printed = QJsonDocument::fromJson(filled.out.toUtf8()).object();
    QCOMPARE(distancesOf(printed),
             QStringLiteral("JFK:LAX:2475,JFK:LHR:3451,JFK:ZZZ:0,NRT:SFO:5000"));
    QCOMPARE(printed.value(QLatin1String("Flights")).toArray().size(), 4);
    QCOMPARE(filled.err, QStringLiteral("wingbook-cli: Filled the miles of 2 distance(s).\n"
                                        "wingbook-cli: No position is known for: ZZZ.\n"));
    QCOMPARE(fileContents(log), before);
}

void TestCliGeography::fillDistancesLeavesAFilledLogAlone()
{
    // Nothing to fill: the log is not written again, so its backup stays as it was.
    const QString log = copyOfLog(QStringLiteral("distances.xml"));
    QVERIFY(!log.isEmpty());
    QCOMPARE(run({QStringLiteral("fill-distances"), log}).status, 0);
    const QStringList files = QDir(m_work->path()).entryList(QDir::Files);
    const QByteArray once = fileContents(log);
    const QByteArray backup = fileContents(files.filter(u"~").value(0));
    const CliResult again = run({QStringLiteral("fill-distances"), log});
    QCOMPARE(again.status, 0);
    QCOMPARE(again.out, QStringLiteral("Filled the miles of 0 distance(s).\n"
                                       "No position is known for: ZZZ.\n"));
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Files), files);
    QCOMPARE(fileContents(log), once);
    QCOMPARE(fileContents(files.filter(u"~").value(0)), backup);
}

void TestCliGeography::fillDistancesRefused_data()
{
    QTest::addColumn<QString>("logName"); // in the work folder
    QTest::addColumn<bool>("withPositions");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err");

    QTest::newRow("missing log") << "none.xml" << true << 1 << "does not exist";
    // A reference folder without the positions file has no positions: nothing can be filled.
    QTest::newRow("no positions")
        << "distances.xml" << false << 1
        << "wingbook-cli: No airport positions are known: the file AirportPositions.tsv is "
           "missing beside Airports.def.\n";
    QTest::newRow("no log named") << "" << true << 2 << "usage: wingbook-cli fill-distances LOG";
}

void TestCliGeography::fillDistancesRefused()
{
    QFETCH(QString, logName);
    QFETCH(bool, withPositions);
    QFETCH(int, status);
    QFETCH(QString, err);

    QString defs = kFixtures;
    if (!withPositions) {
        defs = m_work->filePath(QStringLiteral("defs"));
        QVERIFY(QDir().mkpath(defs));
        for (const char *name : {"Airlines.def", "Airports.def"})
            QVERIFY(QFile::copy(kFixtures + u'/' + QLatin1String(name),
                                defs + u'/' + QLatin1String(name)));
    }
    QStringList words{QStringLiteral("fill-distances")};
    if (logName == QLatin1String("distances.xml"))
        words << copyOfLog(logName);
    else if (!logName.isEmpty())
        words << m_work->filePath(logName);
    const QString log = words.value(1);
    const QByteArray before = log.isEmpty() ? QByteArray() : fileContents(log);
    const CliResult refused = run(words, defs);
    QCOMPARE(refused.status, status);
    QCOMPARE(refused.out, QString());
    QVERIFY2(refused.err.contains(err), qPrintable(refused.err));
    if (!log.isEmpty())
        QCOMPARE(fileContents(log), before);
}

void TestCliGeography::addFlightComputesWithTheOption_data()
{
    QTest::addColumn<QStringList>("global");
    QTest::addColumn<QString>("distances");

    // Off (the default), a new distance has 0 miles, as without positions.
    QTest::newRow("default") << QStringList() << "JFK:LHR:0";
    QTest::newRow("on") << QStringList{QStringLiteral("--option"),
                                       QStringLiteral("ComputeDistances=on")}
                        << "JFK:LHR:3451";
    // The option works through the automatic filling of distances.
    QTest::newRow("on without filling distances")
        << QStringList{QStringLiteral("--option"), QStringLiteral("ComputeDistances=on"),
                       QStringLiteral("--option"), QStringLiteral("AutoPopulateDistances=off")}
        << "";
}

void TestCliGeography::addFlightComputesWithTheOption()
{
    QFETCH(QStringList, global);
    QFETCH(QString, distances);

    const QString log = m_work->filePath(QStringLiteral("new.xml"));
    const CliResult added =
        run(global + QStringList{QStringLiteral("add-flight"), log, QStringLiteral("2023-01-05"),
                                 QStringLiteral("07:45"), QStringLiteral("LHR"),
                                 QStringLiteral("JFK"), QStringLiteral("BA"), QStringLiteral("1")});
    QCOMPARE(added.status, 0);
    QCOMPARE(distancesOf(showJson(log)), distances);
}

void TestCliGeography::travelJson()
{
    const QString log = copyOfLog(QStringLiteral("travel.xml"));
    QVERIFY(!log.isEmpty());
    const CliResult travel = run({QStringLiteral("travel"), log, QStringLiteral("--json")});
    QCOMPARE(travel.status, 0);
    QCOMPARE(travel.err, QString());
    const QJsonObject figures = QJsonDocument::fromJson(travel.out.toUtf8()).object();
    // The flight whose date cannot be read counts under "Unknown" and is listed.
    QCOMPARE(compactJson(figures.value(QLatin1String("FlightsPerYear"))),
             QStringLiteral(R"({"2022":1,"2023":2,"Unknown":1})"));
    QCOMPARE(compactJson(figures.value(QLatin1String("MilesPerYear"))),
             QStringLiteral(R"({"2022":3451,"2023":7916,"Unknown":0})"));
    QCOMPARE(compactJson(figures.value(QLatin1String("FlightsPerMonth"))),
             QStringLiteral("[0,0,2,0,0,0,1,0,0,0,0,0]"));
    // 2022-03-14 a Monday, 2023-03-15 a Wednesday, 2023-07-01 a Saturday.
    QCOMPARE(compactJson(figures.value(QLatin1String("FlightsPerWeekday"))),
             QStringLiteral("[1,0,1,0,0,1,0]"));
    // A domestic flight counts once for its country; an airport without a row is "Unknown".
    QCOMPARE(compactJson(figures.value(QLatin1String("Countries"))),
             QStringLiteral(R"([{"Airports":2,"Country":"United States","Flights":4},)"
                            R"({"Airports":1,"Country":"United Kingdom","Flights":2},)"
                            R"({"Airports":1,"Country":"Unknown","Flights":1}])"));
    QCOMPARE(compactJson(figures.value(QLatin1String("Longest"))),
             QStringLiteral(R"({"Airline":"BA","Date":"2023-03-15","Flight":"002",)"
                            R"("From":"LHR","Miles":5441,"Time":"09:00","To":"LAX"})"));
    QCOMPARE(compactJson(figures.value(QLatin1String("Shortest"))),
             QStringLiteral(R"({"Airline":"UA","Date":"2023-07-01","Flight":"003",)"
                            R"("From":"JFK","Miles":2475,"Time":"10:00","To":"LAX"})"));
    QCOMPARE(rowFields(figures.value(QLatin1String("UnknownDateFlights")),
                       {QStringLiteral("Date"), QStringLiteral("From"), QStringLiteral("To")}),
             QStringLiteral("someday:JFK:ZZZ"));
}

void TestCliGeography::travelText()
{
    const QString log = copyOfLog(QStringLiteral("travel.xml"));
    QVERIFY(!log.isEmpty());
    const CliResult travel = run({QStringLiteral("travel"), log});
    QCOMPARE(travel.status, 0);
    QCOMPARE(travel.out,
             QStringLiteral("Year  Flights  Miles\n"
                            "2022  1  3451\n"
                            "2023  2  7916\n"
                            "Unknown  1  0\n"
                            "\n"
                            "Flights per month: Jan 0 Feb 0 Mar 2 Apr 0 May 0 Jun 0 Jul 1 Aug 0 "
                            "Sep 0 Oct 0 Nov 0 Dec 0\n"
                            "Flights per weekday: Mon 1 Tue 0 Wed 1 Thu 0 Fri 0 Sat 1 Sun 0\n"
                            "\n"
                            "Country  Airports  Flights\n"
                            "United States  2  4\n"
                            "United Kingdom  1  2\n"
                            "Unknown  1  1\n"
                            "\n"
                            "Longest: 2023-03-15  09:00  LHR  LAX  BA  002, 5441 miles\n"
                            "Shortest: 2023-07-01  10:00  JFK  LAX  UA  003, 2475 miles\n"
                            "\n"
                            "Flights whose date cannot be read (counted under Unknown):\n"
                            "someday  11:00  JFK  ZZZ  UA  004\n"));
}

void TestCliGeography::travelOfAnEmptyLog()
{
    // No flight: no years, no countries, no longest or shortest flight.
    const QString log = m_work->filePath(QStringLiteral("empty.xml"));
    QVERIFY(writeFile(log, "<?xml version=\"1.0\"?>\n<Logbook/>\n"));
    const CliResult travel = run({QStringLiteral("travel"), log, QStringLiteral("--json")});
    QCOMPARE(travel.status, 0);
    QCOMPARE(QString::fromUtf8(
                 QJsonDocument::fromJson(travel.out.toUtf8()).toJson(QJsonDocument::Compact)),
             QStringLiteral(R"({"Countries":[],"FlightsPerMonth":[0,0,0,0,0,0,0,0,0,0,0,0],)"
                            R"("FlightsPerWeekday":[0,0,0,0,0,0,0],"FlightsPerYear":{},)"
                            R"("Longest":null,"MilesPerYear":{},"Shortest":null,)"
                            R"("UnknownDateFlights":[]})"));
}

void TestCliGeography::commandWord_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("command");

    QTest::newRow("first word") << QStringList{"map", "log.xml", "out.png"} << "map";
    QTest::newRow("after an option's value")
        << QStringList{"--option", "ComputeDistances=on", "map", "log.xml"} << "map";
    // The value of --def-files-path is no command, whatever it is called.
    QTest::newRow("value named like a command")
        << QStringList{"--def-files-path", "map", "show", "log.xml"} << "show";
    QTest::newRow("value in the same word")
        << QStringList{"--def-files-path=/defs", "map"} << "map";
    QTest::newRow("switches") << QStringList{"--help"} << "";
    QTest::newRow("after --") << QStringList{"--", "map"} << "map";
    QTest::newRow("none") << QStringList() << "";
}

void TestCliGeography::commandWord()
{
    QFETCH(QStringList, words);
    QFETCH(QString, command);
    QCOMPARE(cliCommandWord(QStringList{QStringLiteral("wingbook-cli")} + words), command);
}

QTEST_GUILESS_MAIN(TestCliGeography)
#include "tst_cli_geography.moc"
