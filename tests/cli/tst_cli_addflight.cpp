// wingbook-cli add-flight: the Add mode of the flight dialog from the command line.
#include "CliTestRun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace
{

const QString kDefs = QStringLiteral(WINGBOOK_FIXTURES "/editing");

QStringList words(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *word : list)
        result << QString::fromUtf8(word);
    return result;
}

// add-flight over LOG with the test reference files; GLOBAL go before the command.
CliResult addFlight(const QString &log, const QStringList &fields,
                    const QStringList &global = QStringList())
{
    return runWingbookCli(QStringList{QStringLiteral("--def-files-path"), kDefs} + global +
                          QStringList{QStringLiteral("add-flight"), log} + fields);
}

QJsonObject showJson(const QString &log)
{
    const CliResult run = runWingbookCli({QStringLiteral("show"), log, QStringLiteral("--json")});
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

QByteArray digest(const QString &fileName)
{
    return QCryptographicHash::hash(fileContents(fileName), QCryptographicHash::Md5);
}

} // namespace

class TestCliAddFlight : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_settings.isValid()); }
    void init();
    void firstFlightCreatesTheLog();
    void refused_data();
    void refused();
    void dryRun();
    void optionsDecideTheFilling();
    void unreadableLogIsLeftAlone();

private:
    TestSupport::PrivateSettingsFolder m_settings; // keeps the user's settings out of every run
    std::unique_ptr<QTemporaryDir> m_work;
    QString m_log;
};

void TestCliAddFlight::init()
{
    failOnAnyWarning();
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
    QVERIFY(QDir(m_work->path()).mkdir(QStringLiteral("new")));
    m_log = m_work->filePath(QStringLiteral("new/log.xml"));
    // Every case but the first starts from the log that the first flight creates.
    if (QTest::currentTestFunction() != QLatin1String("firstFlightCreatesTheLog")) {
        const CliResult first =
            addFlight(m_log, words({"2023-01-05", "07:45", "jfk", "cdg", "af", "7"}));
        QCOMPARE(first.status, 0);
    }
}

void TestCliAddFlight::firstFlightCreatesTheLog()
{
    // A log that does not exist yet is created; codes are upper-cased, the number padded, the
    // reference rows filled from the reference files.
    const CliResult run = addFlight(m_log, words({"2023-01-05", "07:45", "jfk", "cdg", "af", "7"}));
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out,
             QStringLiteral("1 flight(s) - 1 airline(s) - 2 airport(s) - 1 distance(s)\n"));
    QVERIFY(QFileInfo(m_log).isFile());

    const QJsonObject log = showJson(m_log);
    QCOMPARE(compactJson(log.value(QLatin1String("Flights"))),
             QStringLiteral("[{\"Airline\":\"AF\",\"Date\":\"2023-01-05\",\"Flight\":\"007\","
                            "\"From\":\"JFK\",\"Time\":\"07:45\",\"To\":\"CDG\"}]"));
    QCOMPARE(compactJson(log.value(QLatin1String("Airlines"))),
             QStringLiteral("[{\"Airline\":\"AF\",\"Name\":\"Air France\",\"ReferenceCount\":1}]"));
    QCOMPARE(rowFields(log.value(QLatin1String("Airports")),
                       {QStringLiteral("Airport"), QStringLiteral("Name"), QStringLiteral("City"),
                        QStringLiteral("Country"), QStringLiteral("ReferenceCount")}),
             QStringLiteral("CDG:Charles de Gaulle:Paris:France:1,"
                            "JFK:John F Kennedy Intl:New York:United States:1"));
    QCOMPARE(
        compactJson(log.value(QLatin1String("Distances"))),
        QStringLiteral("[{\"From\":\"CDG\",\"Miles\":\"0\",\"ReferenceCount\":1,\"To\":\"JFK\"}]"));
}

void TestCliAddFlight::refused_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err");

    // The same date and time is the same flight, whatever the route.
    QTest::newRow("duplicate") << words({"2023-01-05", "07:45", "CDG", "JFK", "DL", "8"}) << 1
                               << "The flight already exists.\n";
    // The checks run in the dialog's order.
    QTest::newRow("blank date first")
        << words({"", "", "", "", "", ""}) << 1 << "The date value must be non-empty.\n";
    QTest::newRow("blank time") << words({"2023-02-01", "", "", "", "", ""}) << 1
                                << "The time value must be non-empty.\n";
    QTest::newRow("from") << words({"2023-02-01", "10:00", "", "X", "Y", "1"}) << 1
                          << "The from value must be non-empty.\n";
    QTest::newRow("to") << words({"2023-02-01", "10:00", "JFK", "", "Y", "1"}) << 1
                        << "The to value must be non-empty.\n";
    QTest::newRow("airline") << words({"2023-02-01", "10:00", "JFK", "CDG", "", "1"}) << 1
                             << "The airline value must be non-empty.\n";
    QTest::newRow("flight") << words({"2023-02-01", "10:00", "JFK", "CDG", "AF", ""}) << 1
                            << "The flight value must be non-empty.\n";
    QTest::newRow("unreadable date named")
        << words({"2023-13-01", "10:00", "JFK", "CDG", "AF", "1"}) << 1
        << "wingbook-cli: \"2023-13-01\" is not a date written as yyyy-mm-dd\n";
    QTest::newRow("unreadable time named")
        << words({"2023-02-01", "7.45", "JFK", "CDG", "AF", "1"}) << 1
        << "wingbook-cli: \"7.45\" is not a time written as hh:nn\n";
    QTest::newRow("missing word")
        << words({"2023-02-01", "10:00", "JFK", "CDG", "AF"}) << 2
        << "usage: wingbook-cli add-flight LOG DATE TIME FROM TO AIRLINE FLIGHT [--json] "
           "[--dry-run]\n";
}

void TestCliAddFlight::refused()
{
    QFETCH(QStringList, fields);
    QFETCH(int, status);
    QFETCH(QString, err);
    const QByteArray before = digest(m_log);
    const CliResult run = addFlight(m_log, fields);
    QCOMPARE(run.status, status);
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, QString());
    // A refused flight leaves the file as it was.
    QCOMPARE(digest(m_log), before);
    QVERIFY(!QFileInfo::exists(m_work->filePath(QStringLiteral("new/log.~xml"))));
}

void TestCliAddFlight::dryRun()
{
    // --dry-run --json prints the log as the operation left it and writes nothing.
    const QByteArray before = digest(m_log);
    const CliResult run = addFlight(
        m_log, words({"2023-01-06", "09:00", "CDG", "JFK", "AF", "0012", "--dry-run", "--json"}));
    QCOMPARE(run.status, 0);
    QCOMPARE(digest(m_log), before);
    QVERIFY(!QFileInfo::exists(m_work->filePath(QStringLiteral("new/log.~xml"))));
    const QJsonObject log = QJsonDocument::fromJson(run.out.toUtf8()).object();
    // Latest first.
    QCOMPARE(rowFields(log.value(QLatin1String("Flights")),
                       {QStringLiteral("Date"), QStringLiteral("Flight")}),
             QStringLiteral("2023-01-06:12,2023-01-05:007"));
    // Both flights count on each airline, airport and distance row.
    QCOMPARE(
        rowFields(log.value(QLatin1String("Airlines")), {QStringLiteral("ReferenceCount")}) +
            QLatin1Char(',') +
            rowFields(log.value(QLatin1String("Airports")), {QStringLiteral("ReferenceCount")}) +
            QLatin1Char(',') +
            rowFields(log.value(QLatin1String("Distances")), {QStringLiteral("ReferenceCount")}),
        QStringLiteral("2,2,2,2"));
}

void TestCliAddFlight::optionsDecideTheFilling()
{
    // Saving keeps a backup of the old file; options decide the automatic filling.
    const QByteArray first = fileContents(m_log);
    const CliResult run = addFlight(m_log, words({"2023-01-07", "10:00", "PDX", "JFK", "ZZ", "1"}),
                                    words({"--option", "AutoPopulateAirlines=off"}));
    QCOMPARE(run.status, 0);
    QCOMPARE(fileContents(m_work->filePath(QStringLiteral("new/log.~xml"))), first);
    const QJsonObject log = showJson(m_log);
    QCOMPARE(rowFields(log.value(QLatin1String("Airlines")), {QStringLiteral("Airline")}),
             QStringLiteral("AF"));
    QCOMPARE(rowFields(log.value(QLatin1String("Airports")),
                       {QStringLiteral("Airport"), QStringLiteral("City"),
                        QStringLiteral("ReferenceCount")}),
             QStringLiteral("CDG:Paris:1,JFK:New York:2,PDX:Portland, Oregon:1"));
    QCOMPARE(rowFields(log.value(QLatin1String("Distances")),
                       {QStringLiteral("From"), QStringLiteral("To")}),
             QStringLiteral("CDG:JFK,JFK:PDX"));
}

void TestCliAddFlight::unreadableLogIsLeftAlone()
{
    const QString bad = m_work->filePath(QStringLiteral("bad.xml"));
    QVERIFY(writeFile(bad, "not xml"));
    const CliResult run = addFlight(bad, words({"2023-01-05", "07:45", "JFK", "CDG", "AF", "7"}));
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.startsWith(QLatin1String("wingbook-cli: ")));
    QCOMPARE(fileContents(bad), QByteArray("not xml"));
}

QTEST_GUILESS_MAIN(TestCliAddFlight)
#include "tst_cli_addflight.moc"
