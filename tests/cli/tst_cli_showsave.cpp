// wingbook-cli show and save over a hand-made log.
#include "CliTestRun.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace
{

const QString kFixtures = QStringLiteral(WINGBOOK_FIXTURES);
const QString kLog = kFixtures + QStringLiteral("/logs/handmade.xml");

} // namespace

class TestCliShowSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { failOnAnyWarning(); }
    void showJson();
    void showWithOptions_data();
    void showWithOptions();
    void showText();
    void saveInPlace();
    void saveToAnotherFile();
    void failures_data();
    void failures();

private:
    QString path(const QString &name) const { return m_work.filePath(name); }

    TestSupport::PrivateSettingsFolder m_settings; // keeps the user's settings out of every run
    QTemporaryDir m_work;
};

void TestCliShowSave::initTestCase()
{
    QVERIFY(m_settings.isValid());
    QVERIFY(m_work.isValid());
}

void TestCliShowSave::showJson()
{
    // Sorted, counted, the preferred values from their start-up values.
    const CliResult run = runWingbookCli({QStringLiteral("show"), kLog, QStringLiteral("--json")});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out.toUtf8(),
             fileContents(kFixtures + QStringLiteral("/logs/handmade.expected.json")));
}

void TestCliShowSave::showWithOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("firstFlight"); // date and time
    QTest::newRow("stored defaults: latest first") << QStringList{} << "2023-01-05 19:10";
    QTest::newRow("options off: file order")
        << QStringList{QStringLiteral("--option"), QStringLiteral("DisplayLatestFlightsFirst=off"),
                       QStringLiteral("--option"), QStringLiteral("SortAlphabeticalCodes=off")}
        << "2023-01-04 23:00";
    QTest::newRow("joined form, upper-case value")
        << QStringList{QStringLiteral("--option=DisplayLatestFlightsFirst=OFF"),
                       QStringLiteral("--option=SortAlphabeticalCodes=Off")}
        << "2023-01-04 23:00";
    // Options apply in order: the last word on one name holds.
    QTest::newRow("off, then on again")
        << QStringList{QStringLiteral("--option"), QStringLiteral("DisplayLatestFlightsFirst=off"),
                       QStringLiteral("--option"), QStringLiteral("DisplayLatestFlightsFirst=on")}
        << "2023-01-05 19:10";
}

void TestCliShowSave::showWithOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QString, firstFlight);
    const CliResult run = runWingbookCli(
        options + QStringList{QStringLiteral("show"), kLog, QStringLiteral("--json")});
    QCOMPARE(run.status, 0);
    const QJsonObject log = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const QJsonValue first = log.value(QLatin1String("Flights"))[0];
    QCOMPARE(first[QLatin1String("Date")].toString() + QLatin1Char(' ') +
                 first[QLatin1String("Time")].toString(),
             firstFlight);
}

void TestCliShowSave::showText()
{
    // One table each, the counts line and the preferred values.
    const CliResult run = runWingbookCli({QStringLiteral("show"), kLog});
    QCOMPARE(run.status, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    QVERIFY2(
        lines.contains(QLatin1String("4 flight(s) - 3 airline(s) - 3 airport(s) - 2 distance(s)")),
        qPrintable(run.out));
    QVERIFY2(lines.contains(QLatin1String("PreferredFromAirport: JFK")), qPrintable(run.out));
}

void TestCliShowSave::saveInPlace()
{
    // save writes the log as Save does, with a backup of the file it replaces.
    const QString trip = path(QStringLiteral("trip.xml"));
    QVERIFY(QFile::copy(kLog, trip));
    const CliResult run = runWingbookCli({QStringLiteral("save"), trip});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    QCOMPARE(fileContents(path(QStringLiteral("trip.~xml"))), fileContents(kLog));
    const QByteArray saved = fileContents(trip);
    QVERIFY(saved.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    QVERIFY(saved.contains("\n    <Flights>\n"));
    // The saved log reads back as the original reads.
    QCOMPARE(runWingbookCli({QStringLiteral("show"), trip, QStringLiteral("--json")}).out,
             runWingbookCli({QStringLiteral("show"), kLog, QStringLiteral("--json")}).out);
}

void TestCliShowSave::saveToAnotherFile()
{
    const QString copy = path(QStringLiteral("copy.xml"));
    const CliResult run = runWingbookCli({QStringLiteral("save"), kLog, copy});
    QCOMPARE(run.status, 0);
    QVERIFY(QFileInfo(copy).isFile());
    // No backup when there was no file.
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("copy.~xml"))));
}

void TestCliShowSave::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("errorLine"); // a line that standard error must hold
    QTest::addColumn<QString>("notWritten");

    QTest::newRow("missing log") << QStringList{QStringLiteral("show"),
                                                QStringLiteral("@/missing.xml")}
                                 << "wingbook-cli: \"@/missing.xml\" does not exist" << QString();
    QTest::newRow("a folder for a log") << QStringList{QStringLiteral("show"), QStringLiteral("@")}
                                        << "wingbook-cli: \"@\" is not a file" << QString();
    // The parser's message names the line; nothing is written for a log that cannot be read.
    QTest::newRow("malformed log")
        << QStringList{QStringLiteral("save"), QStringLiteral("@/bad.xml"),
                       QStringLiteral("@/never.xml")}
        << "Line: 1"
        << "@/never.xml";
    QTest::newRow("save into a missing folder")
        << QStringList{QStringLiteral("save"), kLog, QStringLiteral("@/no/such/folder/out.xml")}
        << QString() << "@/no/such/folder/out.xml";
}

void TestCliShowSave::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, errorLine);
    QFETCH(QString, notWritten);
    QVERIFY(writeFile(path(QStringLiteral("bad.xml")), "not xml at all"));
    const QString work = QDir::cleanPath(m_work.path());
    arguments.replaceInStrings(QStringLiteral("@"), work);
    const CliResult run = runWingbookCli(arguments);
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.startsWith(QLatin1String("wingbook-cli: ")));
    if (!errorLine.isEmpty())
        QVERIFY2(
            run.err.split(QLatin1Char('\n')).contains(errorLine.replace(QLatin1Char('@'), work)),
            qPrintable(run.err));
    if (!notWritten.isEmpty())
        QVERIFY(!QFileInfo::exists(notWritten.replace(QLatin1Char('@'), work)));
    QCOMPARE(run.out, QString());
}

QTEST_GUILESS_MAIN(TestCliShowSave)
#include "tst_cli_showsave.moc"
