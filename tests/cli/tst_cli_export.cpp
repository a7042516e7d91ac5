// wingbook-cli export: each table as CSV and DEF, the extension rule, backups and failed writes.
#include "CliTestRun.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace
{

const QString kLog = QStringLiteral(WINGBOOK_FIXTURES "/logs/exportstats.xml");
const QString kNoData = QStringLiteral("wingbook-cli: No data has been exported.\n");

} // namespace

class TestCliExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { failOnAnyWarning(); }
    void writesTheTable_data();
    void writesTheTable();
    void otherExtensionWritesNothing_data();
    void otherExtensionWritesNothing();
    void keepsTheOldFileAsBackup();
    void failures_data();
    void failures();

private:
    QString path(const QString &name) const { return m_work.filePath(name); }

    TestSupport::PrivateSettingsFolder m_settings;
    QTemporaryDir m_work;
};

void TestCliExport::initTestCase()
{
    QVERIFY(m_settings.isValid());
    QVERIFY(m_work.isValid());
}

void TestCliExport::writesTheTable_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("flights csv")
        << "Flights"
        << "flights.csv"
        << QByteArray("\"Date\",\"Time\",\"From\",\"To\",\"Airline\",\"Flight\"\r\n"
                      "\"2022-03-05\",\"18:00\",\"JFK\",\"BOS\",\"DL\",\"0201\"\r\n"
                      "\"2022-03-05\",\"09:05\",\"LAX\",\"JFK\",\"DL\",\"0200\"\r\n"
                      "\"2021-03-04\",\"09:05\",\"JFK\",\"LAX\",\"AA\",\"0100\"\r\n");
    QTest::newRow("flights def, lower case") << "flights"
                                             << "flights.def"
                                             << QByteArray("2022-03-05 18:00\tJFK-BOS|DL0201\r\n"
                                                           "2022-03-05 09:05\tLAX-JFK|DL0200\r\n"
                                                           "2021-03-04 09:05\tJFK-LAX|AA0100\r\n");
    // Quotes and commas inside a value are written as they are.
    QTest::newRow("airlines csv, upper case") << "AIRLINES"
                                              << "airlines.csv"
                                              << QByteArray("\"Airline\",\"Name\"\r\n"
                                                            "\"AA\",\"American \"AA\", Inc\"\r\n"
                                                            "\"DL\",\"Delta Air Lines\"\r\n");
    QTest::newRow("airlines def") << "Airlines"
                                  << "airlines.def"
                                  << QByteArray("AA\tAmerican \"AA\", Inc\r\n"
                                                "DL\tDelta Air Lines\r\n");
    QTest::newRow("airports csv") << "Airports"
                                  << "airports.csv"
                                  << QByteArray(
                                         "\"Airport\",\"Name\",\"City\",\"Country\"\r\n"
                                         "\"BOS\",\"Logan\",\"Boston\",\"United States\"\r\n"
                                         "\"JFK\",\"Kennedy\",\"New York\",\"United States\"\r\n"
                                         "\"LAX\",\"Los Angeles\",\"\",\"\"\r\n");
    // An airport without city and country keeps the "|" and ", " around nothing.
    QTest::newRow("airports def") << "aIrPoRtS"
                                  << "airports.def"
                                  << QByteArray("BOS\tLogan|Boston, United States\r\n"
                                                "JFK\tKennedy|New York, United States\r\n"
                                                "LAX\tLos Angeles|, \r\n");
    QTest::newRow("distances csv") << "Distances"
                                   << "distances.csv"
                                   << QByteArray("\"From\",\"To\",\"Miles\"\r\n"
                                                 "\"BOS\",\"JFK\",\"187\"\r\n"
                                                 "\"JFK\",\"LAX\",\"2475\"\r\n"
                                                 "\"JFK\",\"ORD\",\"740\"\r\n");
    QTest::newRow("distances def") << "distances"
                                   << "distances.def"
                                   << QByteArray("BOS-JFK\t187\r\n"
                                                 "JFK-LAX\t2475\r\n"
                                                 "JFK-ORD\t740\r\n");
}

void TestCliExport::writesTheTable()
{
    QFETCH(QString, table);
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString out = path(name);
    QFile::remove(out);
    const CliResult run = runWingbookCli({QStringLiteral("export"), kLog, table, out});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QString());
    QCOMPARE(fileContents(out), content);
}

void TestCliExport::otherExtensionWritesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("upper-case CSV") << "report.CSV";
    QTest::newRow("Def") << "report.Def";
    QTest::newRow("txt") << "report.txt";
    QTest::newRow("no extension") << "report";
    QTest::newRow("csv as the name, not the extension") << "csv";
}

void TestCliExport::otherExtensionWritesNothing()
{
    QFETCH(QString, name);
    // An existing file of that name is neither replaced nor backed up.
    const QString out = path(name);
    QVERIFY(writeFile(out, "old"));
    const CliResult run =
        runWingbookCli({QStringLiteral("export"), kLog, QStringLiteral("Flights"), out});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, kNoData);
    QCOMPARE(run.out, QString());
    QCOMPARE(fileContents(out), QByteArray("old"));
    QCOMPARE(QDir(m_work.path()).entryList(QDir::Files).filter(QStringLiteral("~")), QStringList());
    QFile::remove(out);
}

void TestCliExport::keepsTheOldFileAsBackup()
{
    const QString out = path(QStringLiteral("report.csv"));
    QVERIFY(writeFile(out, "previous"));
    QVERIFY(writeFile(path(QStringLiteral("report.~csv")), "older backup"));
    const CliResult run =
        runWingbookCli({QStringLiteral("export"), kLog, QStringLiteral("Airlines"), out});
    QCOMPARE(run.status, 0);
    QCOMPARE(fileContents(path(QStringLiteral("report.~csv"))), QByteArray("previous"));
    QVERIFY(fileContents(out).startsWith("\"Airline\",\"Name\"\r\n"));
}

void TestCliExport::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("firstErrorLine"); // "@" stands for the work folder

    QTest::newRow("unknown table")
        << QStringList{kLog, QStringLiteral("Flight"), QStringLiteral("@/out.csv")} << 2
        << "wingbook-cli: unknown table \"Flight\": Flights, Airlines, Airports or Distances";
    QTest::newRow("missing log") << QStringList{QStringLiteral("@/missing.xml"),
                                                QStringLiteral("Flights"),
                                                QStringLiteral("@/out.csv")}
                                 << 1 << "wingbook-cli: \"@/missing.xml\" does not exist";
    // A write that cannot be made is reported and leaves nothing behind.
    QTest::newRow("missing folder")
        << QStringList{kLog, QStringLiteral("Flights"), QStringLiteral("@/no/such/out.csv")} << 1
        << "wingbook-cli: Cannot export to \"@/no/such/out.csv\": ";
    QTest::newRow("a folder in place of the file")
        << QStringList{kLog, QStringLiteral("Airports"), QStringLiteral("@/folder.def")} << 1
        << "wingbook-cli: Cannot export to \"@/folder.def\": ";
}

void TestCliExport::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, firstErrorLine);
    const QString work = QDir::cleanPath(m_work.path());
    QVERIFY(QDir(work).mkpath(QStringLiteral("folder.def")));
    arguments.replaceInStrings(QStringLiteral("@"), work);
    firstErrorLine.replace(QLatin1Char('@'), work);
    const CliResult run = runWingbookCli(QStringList{QStringLiteral("export")} + arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.startsWith(firstErrorLine), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QVERIFY(!QFileInfo::exists(work + QStringLiteral("/out.csv")));
    QVERIFY(QFileInfo(work + QStringLiteral("/folder.def")).isDir());
}

QTEST_GUILESS_MAIN(TestCliExport)
#include "tst_cli_export.moc"
