#include "exchange/TableExport.h"
#include "model/LogTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TableKind)
Q_DECLARE_METATYPE(ExportFormat)

using Rows = QList<QStringList>;

namespace
{

// Q stands for one double quote and | ends a line (CR LF), which keeps expected files readable.
QByteArray fileText(QString text)
{
    text.replace(u'Q', u'"');
    text.replace(u"|"_s, u"\r\n"_s);
    return text.toUtf8();
}

void fill(LogTable &table, const Rows &rows)
{
    for (const QStringList &row : rows)
        table.appendRow(row);
}

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void writeFile(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Records what the export shows, and asks to stop once a number of rows has been built.
class RecordingHost : public ExportHost
{
public:
    int stopAfterRows = -1;
    int polls = 0;
    int busyDepth = 0;
    bool toolbarDisabled = false;
    bool processing = false;
    bool processingSeen = false;
    QString status;
    int progressMaximum = -1;
    int progressSteps = 0;
    int progressShown = -1;
    int statusBarUpdates = 0;

    void beginBusy(bool disableToolbar) override
    {
        ++busyDepth;
        toolbarDisabled = disableToolbar;
    }
    void endBusy() override
    {
        --busyDepth;
        toolbarDisabled = false;
    }
    void setStatusText(const QString &text) override { status = text; }
    void setProgressRange(int maximum) override { progressMaximum = maximum; }
    void setProgressPosition(int position) override { progressShown = position; }
    void stepProgress() override { ++progressSteps; }
    void updateStatusBar() override { ++statusBarUpdates; }
    void setProcessing(bool on) override
    {
        processing = on;
        processingSeen = processingSeen || on;
    }
    bool takeStopRequest() override
    {
        if (stopAfterRows >= 0 && polls++ >= stopAfterRows) {
            processing = false;
            return true;
        }
        return false;
    }
};

const Rows kOneFlight{{"2021-03-04", "09:05", "JFK", "LAX", "AA", "100"}};

} // namespace

class TestTableExport : public QObject
{
    Q_OBJECT

private slots:
    void formatOfExtension_data();
    void formatOfExtension();
    void writtenFile_data();
    void writtenFile();
    void backups_data();
    void backups();
    void stoppedExportKeepsRowsBuilt();
    void windowStateDuringExport();
    void failedWrite_data();
    void failedWrite();
    void readOnlyFileKeptAsItWas();
};

void TestTableExport::formatOfExtension_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<ExportFormat>("format");

    QTest::newRow("csv") << u"/tmp/report.csv"_s << ExportFormat::CSV;
    QTest::newRow("def") << u"/tmp/report.def"_s << ExportFormat::DEF;
    QTest::newRow("upper-case csv") << u"/tmp/report.CSV"_s << ExportFormat::None;
    QTest::newRow("mixed-case def") << u"/tmp/report.Def"_s << ExportFormat::None;
    QTest::newRow("txt") << u"/tmp/report.txt"_s << ExportFormat::None;
    QTest::newRow("no extension") << u"/tmp/report"_s << ExportFormat::None;
    QTest::newRow("dot in the folder only") << u"/tmp/out.csv/report"_s << ExportFormat::None;
    QTest::newRow("last extension counts") << u"/tmp/report.csv.bak"_s << ExportFormat::None;
    QTest::newRow("two extensions") << u"/tmp/report.txt.csv"_s << ExportFormat::CSV;
}

void TestTableExport::formatOfExtension()
{
    QFETCH(QString, fileName);
    QFETCH(ExportFormat, format);
    QCOMPARE(ExportFormatOf(fileName), format);
}

void TestTableExport::writtenFile_data()
{
    QTest::addColumn<TableKind>("kind");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<ExportFormat>("format");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("flights csv") << TableKind::Flights << kOneFlight << ExportFormat::CSV
                                 << fileText(u"QDateQ,QTimeQ,QFromQ,QToQ,QAirlineQ,QFlightQ|"
                                             u"Q2021-03-04Q,Q09:05Q,QJFKQ,QLAXQ,QAAQ,Q100Q|"_s);
    QTest::newRow("flights def") << TableKind::Flights << kOneFlight << ExportFormat::DEF
                                 << QByteArray("2021-03-04 09:05\tJFK-LAX|AA100\r\n");
    QTest::newRow("empty table csv: header only")
        << TableKind::Distances << Rows{} << ExportFormat::CSV
        << fileText(u"QFromQ,QToQ,QMilesQ|"_s);
    QTest::newRow("empty table def: empty file")
        << TableKind::Airlines << Rows{} << ExportFormat::DEF << QByteArray();
    QTest::newRow("quote, comma and line break written as they are")
        << TableKind::Airlines << Rows{{"AA", "The \"Big\" One"}, {"BA", "British, Airways"}}
        << ExportFormat::CSV
        << QByteArray("\"Airline\",\"Name\"\r\n\"AA\",\"The \"Big\" One\"\r\n"
                      "\"BA\",\"British, Airways\"\r\n");
    QTest::newRow("empty values quoted")
        << TableKind::Airports << Rows{{"CDG", "", "", "France"}} << ExportFormat::CSV
        << fileText(u"QAirportQ,QNameQ,QCityQ,QCountryQ|QCDGQ,QQ,QQ,QFranceQ|"_s);
    QTest::newRow("rows in table order")
        << TableKind::Distances << Rows{{"LAX", "JFK", "2475"}, {"CDG", "JFK", "3625"}}
        << ExportFormat::DEF << QByteArray("LAX-JFK\t2475\r\nCDG-JFK\t3625\r\n");
    QTest::newRow("airline def") << TableKind::Airlines << Rows{{"BAW", "British Airways"}}
                                 << ExportFormat::DEF << QByteArray("BAW\tBritish Airways\r\n");
    QTest::newRow("airport def") << TableKind::Airports
                                 << Rows{{"CDG", "Charles de Gaulle", "Paris", "France"}}
                                 << ExportFormat::DEF
                                 << QByteArray("CDG\tCharles de Gaulle|Paris, France\r\n");
    QTest::newRow("airport def without city and country")
        << TableKind::Airports << Rows{{"XYZ", "Nowhere", "", ""}} << ExportFormat::DEF
        << QByteArray("XYZ\tNowhere|, \r\n");
    QTest::newRow("flight def without time")
        << TableKind::Flights << Rows{{"2021-03-04", "", "JFK", "LAX", "AA", "100"}}
        << ExportFormat::DEF << QByteArray("2021-03-04 \tJFK-LAX|AA100\r\n");
    QTest::newRow("flight def all empty") << TableKind::Flights << Rows{{"", "", "", "", "", ""}}
                                          << ExportFormat::DEF << QByteArray(" \t-|\r\n");
    QTest::newRow("distance def without miles") << TableKind::Distances << Rows{{"JFK", "LAX", ""}}
                                                << ExportFormat::DEF << QByteArray("JFK-LAX\t\r\n");
    QTest::newRow("UTF-8 without byte-order mark")
        << TableKind::Airports << Rows{{"ZRH", "Zürich", "Zürich", "Schweiz"}} << ExportFormat::DEF
        << QByteArray("ZRH\tZ\xc3\xbcrich|Z\xc3\xbcrich, Schweiz\r\n");
}

void TestTableExport::writtenFile()
{
    QFETCH(TableKind, kind);
    QFETCH(Rows, rows);
    QFETCH(ExportFormat, format);
    QFETCH(QByteArray, expected);

    LogTable table(kind);
    fill(table, rows);
    QTemporaryDir dir;
    const QString fileName =
        dir.filePath(format == ExportFormat::CSV ? u"out.csv"_s : u"out.def"_s);
    RecordingHost host;
    const ExportOutcome outcome = ExportTable(table, format, fileName, host);
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    QCOMPARE(outcome.rowsWritten, rows.size());
    QCOMPARE(readAll(fileName), expected);
    QCOMPARE(table.count(), rows.size());
}

void TestTableExport::backups_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("backupName");
    QTest::addColumn<bool>("olderBackup");

    QTest::newRow("extension") << u"report.csv"_s << u"report.~csv"_s << false;
    QTest::newRow("older backup replaced") << u"report.csv"_s << u"report.~csv"_s << true;
    QTest::newRow("no extension") << u"report"_s << u"report.~"_s << false;
}

void TestTableExport::backups()
{
    QFETCH(QString, name);
    QFETCH(QString, backupName);
    QFETCH(bool, olderBackup);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(name);
    writeFile(fileName, "previous export\r\n");
    if (olderBackup)
        writeFile(dir.filePath(backupName), "much older export\r\n");
    LogTable table(TableKind::Flights);
    fill(table, kOneFlight);
    RecordingHost host;
    // Written as CSV whatever the name: the command-line tool picks the format from the name,
    // the backup rule applies to any name.
    QVERIFY(ExportTable(table, ExportFormat::CSV, fileName, host).ok);
    QCOMPARE(readAll(dir.filePath(backupName)), QByteArray("previous export\r\n"));
    QVERIFY(readAll(fileName).startsWith("\"Date\""));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

void TestTableExport::stoppedExportKeepsRowsBuilt()
{
    LogTable table(TableKind::Airlines);
    fill(table, {{"AA", "American"}, {"BA", "British"}, {"CA", "Air China"}});
    QTemporaryDir dir;
    const QString fileName = dir.filePath(u"part.csv"_s);
    RecordingHost host;
    host.stopAfterRows = 2;
    const ExportOutcome outcome = ExportToCSVFile(table, fileName, host);
    QVERIFY(outcome.ok);
    QVERIFY(outcome.stopped);
    QCOMPARE(outcome.rowsWritten, 2);
    QCOMPARE(host.progressShown, 2);
    QCOMPARE(readAll(fileName), fileText(u"QAirlineQ,QNameQ|QAAQ,QAmericanQ|QBAQ,QBritishQ|"_s));
}

void TestTableExport::windowStateDuringExport()
{
    LogTable table(TableKind::Distances);
    fill(table, {{"JFK", "LAX", "2475"}, {"CDG", "JFK", "3625"}});
    QTemporaryDir dir;
    const QString fileName = dir.filePath(u"d.def"_s);
    RecordingHost host;
    QVERIFY(ExportToDEFFile(table, fileName, host).ok);
    QCOMPARE(host.status, u"Exporting "_s + fileName);
    QCOMPARE(host.progressMaximum, 2);
    QCOMPARE(host.progressSteps, 2);
    QCOMPARE(host.progressShown, 2);
    QVERIFY(host.processingSeen);
    QVERIFY(!host.processing);
    QCOMPARE(host.busyDepth, 0);
    QVERIFY(!host.toolbarDisabled);
    QCOMPARE(host.statusBarUpdates, 1);

    // A failed write gives the window back all the same.
    RecordingHost failing;
    QVERIFY(!ExportToDEFFile(table, dir.filePath(u"missing/d.def"_s), failing).ok);
    QCOMPARE(failing.busyDepth, 0);
    QVERIFY(!failing.processing);
}

void TestTableExport::failedWrite_data()
{
    QTest::addColumn<QString>("relativePath");

    QTest::newRow("missing folder") << u"no/such/folder/out.csv"_s;
    QTest::newRow("folder is a file") << u"plain.txt/out.csv"_s;
    QTest::newRow("name is a folder") << u"folder.csv"_s;
}

void TestTableExport::failedWrite()
{
    QFETCH(QString, relativePath);
    QTemporaryDir dir;
    writeFile(dir.filePath(u"plain.txt"_s), "a file, not a folder");
    QVERIFY(QDir(dir.path()).mkdir(u"folder.csv"_s));
    const QString fileName = dir.filePath(relativePath);
    LogTable table(TableKind::Flights);
    fill(table, kOneFlight);
    RecordingHost host;
    const ExportOutcome outcome = ExportToCSVFile(table, fileName, host);
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.error.contains(fileName), qPrintable(outcome.error));
    QVERIFY(QFileInfo(dir.filePath(u"plain.txt"_s)).isFile());
    QVERIFY(QFileInfo(dir.filePath(u"folder.csv"_s)).isDir());
}

void TestTableExport::readOnlyFileKeptAsItWas()
{
    if (geteuid() == 0)
        QSKIP("the superuser writes read-only files and folders");
    LogTable table(TableKind::Flights);
    fill(table, kOneFlight);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(u"locked.csv"_s);
    writeFile(fileName, "keep me\r\n");
    QVERIFY(QFile::setPermissions(fileName, QFileDevice::ReadOwner));
    RecordingHost host;
    QVERIFY(!ExportToCSVFile(table, fileName, host).ok);
    QCOMPARE(readAll(fileName), QByteArray("keep me\r\n"));

    // A folder that cannot be written: the existing export stays whole.
    const QString sub = dir.filePath(u"sub"_s);
    QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
    const QString inSub = sub + u"/out.csv"_s;
    writeFile(inSub, "old\r\n");
    QVERIFY(QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QVERIFY(!ExportToCSVFile(table, inSub, host).ok);
    QCOMPARE(readAll(inSub), QByteArray("old\r\n"));
    QFile::setPermissions(sub,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QTEST_GUILESS_MAIN(TestTableExport)
#include "tst_tableexport.moc"
