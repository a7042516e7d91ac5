// wingbook-cli import: CSV, TXT and DEF files merged into a log from the command line.
#include "CliTestRun.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace
{

const QString kDefs = QStringLiteral(WINGBOOK_FIXTURES "/editing");

const QByteArray kFlightsCsv = "Date,Time,From,To,Airline,Flight\n"
                               "2023-01-05,07:45,JFK,CDG,AF,7\n"
                               "2023-01-09,18:00,CDG,JFK,AF,8\n";

} // namespace

class TestCliImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_settings.isValid()); }
    void init();
    void flightsFillTheLogAndAreSaved();
    void filesAreImportedInOrder();
    void extensionsWhateverTheirCase();
    void dryRunSavesNothing();
    void webLogbookExportSummaryOnStandardError();
    void refused_data();
    void refused();

private:
    QString path(const QString &name) const { return m_work->filePath(name); }
    CliResult import(const QStringList &words, const QStringList &global = QStringList());
    QJsonObject showJson(const QString &log);

    TestSupport::PrivateSettingsFolder m_settings; // keeps the user's settings out of every run
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestCliImport::init()
{
    failOnAnyWarning();
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
}

CliResult TestCliImport::import(const QStringList &words, const QStringList &global)
{
    return runWingbookCli(QStringList{QStringLiteral("--def-files-path"), kDefs} + global +
                          QStringList{QStringLiteral("import")} + words);
}

QJsonObject TestCliImport::showJson(const QString &log)
{
    const CliResult run = runWingbookCli({QStringLiteral("show"), log, QStringLiteral("--json")});
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

void TestCliImport::flightsFillTheLogAndAreSaved()
{
    // A log that does not exist starts empty; the flights fill in their airline, airports and
    // distance from the reference files and count them.
    const QString log = path(QStringLiteral("log.xml"));
    const QString csv = path(QStringLiteral("flights.csv"));
    QVERIFY(writeFile(csv, kFlightsCsv));
    const CliResult first = import({log, csv});
    QCOMPARE(first.status, 0);
    QCOMPARE(first.err, QString());
    QCOMPARE(first.out,
             QStringLiteral("2 flight(s) - 1 airline(s) - 2 airport(s) - 1 distance(s)\n"));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("log.~xml"))));
    const QJsonObject saved = showJson(log);
    QCOMPARE(rowFields(saved.value(QLatin1String("Airlines")),
                       {QStringLiteral("Airline"), QStringLiteral("Name"),
                        QStringLiteral("ReferenceCount")}),
             QStringLiteral("AF:Air France:2"));
    QCOMPARE(rowFields(saved.value(QLatin1String("Airports")),
                       {QStringLiteral("Airport"), QStringLiteral("City"),
                        QStringLiteral("ReferenceCount")}),
             QStringLiteral("CDG:Paris:2,JFK:New York:2"));
    QCOMPARE(rowFields(saved.value(QLatin1String("Distances")), {QStringLiteral("ReferenceCount")}),
             QStringLiteral("2"));

    // The same file again overwrites its flights: the counts stay, and the log it replaced is
    // kept as the backup.
    const QByteArray before = fileContents(log);
    const CliResult again = import({log, csv, QStringLiteral("--json")});
    QCOMPARE(again.status, 0);
    QCOMPARE(fileContents(path(QStringLiteral("log.~xml"))), before);
    const QJsonObject printed = QJsonDocument::fromJson(again.out.toUtf8()).object();
    QCOMPARE(printed, saved);
    QCOMPARE(showJson(log), saved);
}

void TestCliImport::filesAreImportedInOrder()
{
    // A later file overwrites what an earlier one wrote; DEF and TXT lines count nothing.
    const QString log = path(QStringLiteral("log.xml"));
    const QString def = path(QStringLiteral("names.def"));
    const QString txt = path(QStringLiteral("airports.txt"));
    QVERIFY(writeFile(def, "AF\tFirst name\nJFK\tKennedy|New York, United States\n"));
    QVERIFY(writeFile(txt, "JFK\tNew York [Kennedy Intl], United States\n"));
    const QString later = path(QStringLiteral("later.def"));
    QVERIFY(writeFile(later, "AF\tSecond name\n"));
    const CliResult run = import({log, def, txt, later, QStringLiteral("--json")});
    QCOMPARE(run.status, 0);
    const QJsonObject printed = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QCOMPARE(rowFields(printed.value(QLatin1String("Airlines")),
                       {QStringLiteral("Name"), QStringLiteral("ReferenceCount")}),
             QStringLiteral("Second name:0"));
    QCOMPARE(rowFields(printed.value(QLatin1String("Airports")),
                       {QStringLiteral("Airport"), QStringLiteral("Name"),
                        QStringLiteral("ReferenceCount")}),
             QStringLiteral("JFK:Kennedy Intl:0"));
    QCOMPARE(showJson(log), printed);
}

void TestCliImport::extensionsWhateverTheirCase()
{
    const QString log = path(QStringLiteral("log.xml"));
    const QString csv = path(QStringLiteral("FLIGHTS.CSV"));
    const QString def = path(QStringLiteral("names.Def"));
    QVERIFY(writeFile(csv, kFlightsCsv));
    QVERIFY(writeFile(def, "DL\tDelta\n"));
    const CliResult run = import({log, csv, def});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out,
             QStringLiteral("2 flight(s) - 2 airline(s) - 2 airport(s) - 1 distance(s)\n"));
}

void TestCliImport::dryRunSavesNothing()
{
    // Nothing is written, not even a new log; the JSON shows the counts the import left.
    const QString log = path(QStringLiteral("log.xml"));
    const QString csv = path(QStringLiteral("flights.csv"));
    QVERIFY(writeFile(csv, kFlightsCsv));
    const CliResult run =
        import({log, csv, QStringLiteral("--dry-run"), QStringLiteral("--json")},
               {QStringLiteral("--option"), QStringLiteral("AutoPopulateAirports=off")});
    QCOMPARE(run.status, 0);
    QVERIFY(!QFileInfo::exists(log));
    const QJsonObject printed = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QCOMPARE(rowFields(printed.value(QLatin1String("Airlines")),
                       {QStringLiteral("Airline"), QStringLiteral("ReferenceCount")}),
             QStringLiteral("AF:2"));
    // Without automatic filling of airports, the flights' airports are not added.
    QCOMPARE(printed.value(QLatin1String("Airports")).toArray().size(), 0);
}

void TestCliImport::webLogbookExportSummaryOnStandardError()
{
    // An OpenFlights export: the airline of the second flight is known by its name only, which
    // is looked up even without automatic filling of airlines; a year-only date is skipped.
    const QString log = path(QStringLiteral("log.xml"));
    const QString csv = path(QStringLiteral("openflights.csv"));
    QVERIFY(writeFile(csv, "\xEF\xBB\xBF"
                           "Date,From,To,Flight_Number,Airline,Distance\n"
                           "2023-01-05 07:45,JFK,CDG,AF7,Air France,3624\n"
                           "2015,CDG,JFK,AF8,Air France,3624\n"
                           "2023-01-09,CDG,JFK,,\"Air France\",3624\n"));
    const QStringList noAirlines{QStringLiteral("--option"),
                                 QStringLiteral("AutoPopulateAirlines=off")};
    const CliResult first = import({log, csv}, noAirlines);
    QCOMPARE(first.status, 0);
    QCOMPARE(first.err,
             QStringLiteral("wingbook-cli: 2 flight(s) imported, 0 already in the log, 1 line(s) "
                            "skipped\nwingbook-cli: Line 3: date not readable (\"2015\")\n"));
    QCOMPARE(first.out,
             QStringLiteral("2 flight(s) - 0 airline(s) - 2 airport(s) - 1 distance(s)\n"));
    const QJsonObject saved = showJson(log);
    QCOMPARE(rowFields(saved.value(QLatin1String("Flights")),
                       {QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Airline"),
                        QStringLiteral("Flight")}),
             QStringLiteral("2023-01-09::AF:000,2023-01-05:07:45:AF:007"));
    QCOMPARE(rowFields(saved.value(QLatin1String("Distances")),
                       {QStringLiteral("Miles"), QStringLiteral("ReferenceCount")}),
             QStringLiteral("3624:2"));

    // The same export again adds nothing.
    const CliResult again = import({log, csv});
    QCOMPARE(again.status, 0);
    QVERIFY2(again.err.startsWith(QStringLiteral(
                 "wingbook-cli: 0 flight(s) imported, 2 already in the log, 1 line(s) skipped\n")),
             qPrintable(again.err));
    QCOMPARE(showJson(log).value(QLatin1String("Flights")), saved.value(QLatin1String("Flights")));
}

void TestCliImport::refused_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errorLine"); // a line that standard error must hold

    QTest::newRow("missing file") << QStringList{QStringLiteral("@/good.csv"),
                                                 QStringLiteral("@/missing.csv")}
                                  << 1 << "wingbook-cli: \"@/missing.csv\" does not exist";
    QTest::newRow("other extension")
        << QStringList{QStringLiteral("@/good.csv"), QStringLiteral("@/flights.xml")} << 1
        << "wingbook-cli: \"@/flights.xml\" is not a .csv, .txt or .def file";
    QTest::newRow("no extension") << QStringList{QStringLiteral("@/flights")} << 1
                                  << "wingbook-cli: \"@/flights\" is not a .csv, .txt or .def file";
    // A folder exists but cannot be read as a file; the import ends and nothing is saved.
    QTest::newRow("unreadable file")
        << QStringList{QStringLiteral("@/good.csv"), QStringLiteral("@/folder.csv")} << 1
        << QString();
    QTest::newRow("no file") << QStringList() << 2 << QString();
}

void TestCliImport::refused()
{
    QFETCH(QStringList, files);
    QFETCH(int, status);
    QFETCH(QString, errorLine);
    const QString work = QDir::cleanPath(m_work->path());
    QVERIFY(writeFile(path(QStringLiteral("good.csv")), kFlightsCsv));
    QVERIFY(writeFile(path(QStringLiteral("flights.xml")), kFlightsCsv));
    QVERIFY(writeFile(path(QStringLiteral("flights")), kFlightsCsv));
    QVERIFY(QDir(work).mkdir(QStringLiteral("folder.csv")));
    // The log exists: it must be left exactly as it was, without a backup.
    const QString log = path(QStringLiteral("log.xml"));
    QCOMPARE(import({log, path(QStringLiteral("good.csv"))}).status, 0);
    const QByteArray before = fileContents(log);
    QFile::remove(path(QStringLiteral("log.~xml")));

    files.replaceInStrings(QStringLiteral("@"), work);
    const CliResult run = import(QStringList{log} + files);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.startsWith(status == 2 ? QLatin1String("usage: wingbook-cli import ")
                                            : QLatin1String("wingbook-cli: ")),
             qPrintable(run.err));
    if (!errorLine.isEmpty())
        QVERIFY2(
            run.err.split(QLatin1Char('\n')).contains(errorLine.replace(QLatin1Char('@'), work)),
            qPrintable(run.err));
    else if (status == 1)
        QVERIFY2(run.err.contains(path(QStringLiteral("folder.csv"))), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QCOMPARE(fileContents(log), before);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("log.~xml"))));
}

QTEST_GUILESS_MAIN(TestCliImport)
#include "tst_cli_import.moc"
