#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// Records what reading and writing show, the way the main window would display it.
struct RecordingHost : LogFileHost {
    QStringList events;
    int maximum = -1;
    int steps = 0;
    bool visible = true;
    int busyDepth = 0;
    int repaintDepth = 0;

    void beginBusy(bool disableToolbar) override
    {
        ++busyDepth;
        events << (disableToolbar ? "busy+toolbar" : "busy");
    }
    void endBusy() override
    {
        --busyDepth;
        events << "idle";
    }
    void setStatusText(const QString &text) override { events << "status:" + text; }
    void setProgressRange(int max) override { maximum = max; }
    void stepProgress() override { ++steps; }
    void suspendRepaint() override { ++repaintDepth; }
    void resumeRepaint() override { --repaintDepth; }
    bool isWindowVisible() const override { return visible; }
    void updateStatusBar() override { events << "update"; }
};

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write fixture");
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList rows(const LogTable &table)
{
    QStringList list;
    for (int r = 0; r < table.count(); ++r) {
        QString line = table.row(r).cells.join('|');
        if (table.hasUsage())
            line += "#" + QString::number(table.referenceCount(r));
        list << line;
    }
    return list;
}

} // namespace

class TestLogFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsForgivingly();
    void readingSortsCountsAndPrefers();
    void readingWithoutSortOptionsKeepsFileOrder();
    void progressCountsEveryNodeBelowTheRoot();
    void missingFileChangesNothing();
    void malformedFiles_data();
    void malformedFiles();
    void hostileFilesAreSafe_data();
    void hostileFilesAreSafe();
    void writesTheExactLayout();
    void emptyLogRoundTrip();
    void roundTripKeepsEveryText();
    void saveKeepsABackup_data();
    void saveKeepsABackup();
    void failedSaveKeepsOldFileAndModifiedState();

private:
    QTemporaryDir m_dir;
    OptionSet m_options;
};

void TestLogFile::init()
{
    m_options = OptionSet();
}

void TestLogFile::readsForgivingly()
{
    const QString path = writeFile(m_dir, "forgiving.xml", R"(<?xml version="1.0" encoding="UTF-8"?>
<Logbook>
  <Flight Date="2023-01-05" Time="07:45" From="CDG" To="JFK" Airline="AF" Flight="006" Miles="9"/>
  <flight Date="ignored" Time="ignored"/>
  <Airline Airline="AF" Name="Air France">
    <Flight Date="2023-01-04" From="JFK" To="CDG" Airline="AF" Extra="x"/>
  </Airline>
  <!-- a comment --><?pi data?>
  <Stuff><Deeper><Airport Airport="JFK" City="New York"/></Deeper></Stuff>
  <Distance From="JFK" To="CDG" Miles="3625"/>
  <Distance From="JFK" To="CDG" Miles="1"/>
</Logbook>
)");
    LogDocument doc;
    RecordingHost host;
    m_options.displayLatestFlightsFirst = false;
    m_options.sortAlphabeticalCodes = false;
    QVERIFY(OpenXMLFile(doc, path, m_options, host).ok);
    QCOMPARE(rows(doc.Flights),
             QStringList({"2023-01-05|07:45|CDG|JFK|AF|006", "2023-01-04||JFK|CDG|AF|"}));
    QCOMPARE(rows(doc.Airlines), QStringList({"AF|Air France#2"}));
    QCOMPARE(rows(doc.Airports), QStringList({"JFK||New York|#2"}));
    // Reversed orientation is kept, duplicates too; only the first counts.
    QCOMPARE(rows(doc.Distances), QStringList({"JFK|CDG|3625#2", "JFK|CDG|1#0"}));
    QCOMPARE(doc.DocumentFileName, path);
    QCOMPARE(doc.SaveFileName, path);
    QCOMPARE(doc.OpenRecent.entries().value(0), path);
    QVERIFY(!doc.isModified());
    QCOMPARE(host.busyDepth, 0);
    QCOMPARE(host.repaintDepth, 0);
    QCOMPARE(host.events.first(), QStringLiteral("busy+toolbar"));
    QVERIFY(host.events.contains("status:Opening " + path));
}

void TestLogFile::readingSortsCountsAndPrefers()
{
    const QString path = writeFile(m_dir, "sorted.xml", R"(<Wingbook><Flights>
<Flight Date="2023-01-04" Time="23:00" From="ORD" To="ORD" Airline="UA"/>
<Flight Date="2023-01-05" Time="07:45" From="JFK" To="ORD" Airline="UA"/>
<Flight Date="2023-01-05" Time="19:10" From="JFK" To="LAX" Airline="AA"/>
</Flights><Airlines><Airline Airline="UA"/><Airline Airline="AA"/></Airlines>
<Airports><Airport Airport="ORD" Country="United States"/><Airport Airport="JFK" Country="USA"/>
<Airport Airport="LAX" Country="US"/></Airports>
<Distances><Distance From="ORD" To="JFK" Miles="740"/></Distances></Wingbook>)");
    LogDocument doc;
    doc.PreferredAirline = "ZZ";
    RecordingHost host;
    QVERIFY(OpenXMLFile(doc, path, m_options, host).ok);
    QCOMPARE(doc.Flights.cell(0, 1), QStringLiteral("19:10"));
    QCOMPARE(doc.Flights.cell(1, 1), QStringLiteral("07:45"));
    QCOMPARE(doc.Flights.cell(2, 0), QStringLiteral("2023-01-04"));
    QCOMPARE(rows(doc.Airlines), QStringList({"AA|#1", "UA|#2"}));
    QCOMPARE(rows(doc.Airports),
             QStringList({"JFK|||USA#2", "LAX|||US#1", "ORD|||United States#3"}));
    QCOMPARE(rows(doc.Distances), QStringList({"ORD|JFK|740#1"}));
    QCOMPARE(doc.PreferredAirline, QStringLiteral("UA"));
    QCOMPARE(doc.PreferredFromAirport, QStringLiteral("ORD"));
    QCOMPARE(doc.PreferredToAirport, QStringLiteral("JFK"));
    QCOMPARE(doc.HomeCountry, QStringLiteral("United States"));
}

void TestLogFile::readingWithoutSortOptionsKeepsFileOrder()
{
    const QString path = writeFile(m_dir, "order.xml",
                                   "<Wingbook><Airline Airline=\"UA\"/><Airline Airline=\"AA\"/>"
                                   "<Flight Date=\"2020-01-01\"/><Flight Date=\"2021-01-01\"/>"
                                   "</Wingbook>");
    LogDocument doc;
    RecordingHost host;
    m_options.displayLatestFlightsFirst = false;
    m_options.sortAlphabeticalCodes = false;
    QVERIFY(OpenXMLFile(doc, path, m_options, host).ok);
    QCOMPARE(doc.Airlines.cell(0, 0), QStringLiteral("UA"));
    QCOMPARE(doc.Flights.cell(0, 0), QStringLiteral("2020-01-01"));
}

void TestLogFile::progressCountsEveryNodeBelowTheRoot()
{
    // Below the root: text, Flights, text, Flight, text(inside Flights), comment = 6 nodes.
    const QString path = writeFile(m_dir, "progress.xml",
                                   "<Wingbook>\n<Flights>\n<Flight Date=\"x\"/>\n</Flights>"
                                   "<!--c--></Wingbook>");
    LogDocument doc;
    RecordingHost host;
    QVERIFY(OpenXMLFile(doc, path, m_options, host).ok);
    QCOMPARE(host.maximum, 6);
    QCOMPARE(host.steps, 6);
    host.visible = false;
    QVERIFY(OpenXMLFile(doc, path, m_options, host).ok);
    QCOMPARE(host.maximum, 2147483647);
}

void TestLogFile::missingFileChangesNothing()
{
    LogDocument doc;
    doc.Flights.appendRow({"2020-01-01"});
    doc.DocumentFileName = "kept";
    RecordingHost host;
    QVERIFY(OpenXMLFile(doc, m_dir.filePath("nothing-here.xml"), m_options, host).ok);
    QCOMPARE(doc.Flights.count(), 1);
    QCOMPARE(doc.DocumentFileName, QStringLiteral("kept"));
    QVERIFY(host.events.isEmpty());
}

void TestLogFile::malformedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expectedTail");
    QTest::newRow("empty file") << QByteArray() << "Line: 1\n";
    QTest::newRow("plain text") << QByteArray("just some text\nnot xml") << "Line: 2\nnot xml";
    QTest::newRow("unclosed element on line 3")
        << QByteArray("<Wingbook>\n<Flights>\n<Flight Date=\"2023-01-01\" Time=\"this line is long "
                      "enough to be cut at forty\"\n")
        << "Line: 3\n<Flight Date=\"2023-01-01\" Time=\"this lin";
}

void TestLogFile::malformedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expectedTail);
    const QString path = writeFile(m_dir, "bad.xml", content);
    LogDocument doc;
    doc.Flights.appendRow({"2020-01-01"});
    doc.setModified(true);
    RecordingHost host;
    const LogFileResult result = OpenXMLFile(doc, path, m_options, host);
    QVERIFY(!result.ok);
    const QStringList lines = result.error.split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(!lines[0].isEmpty()); // the parser's reason
    QVERIFY2(result.error.endsWith(expectedTail), qPrintable(result.error));
    QVERIFY(lines[2].size() <= 40);
    // Tables already emptied; names and recent entry point at the file; modified unchanged.
    QCOMPARE(doc.Flights.count(), 0);
    QCOMPARE(doc.DocumentFileName, path);
    QCOMPARE(doc.OpenRecent.entries().value(0), path);
    QVERIFY(doc.isModified());
    QCOMPARE(host.busyDepth, 0);
    QCOMPARE(host.repaintDepth, 0);
}

void TestLogFile::hostileFilesAreSafe_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("flights");
    QByteArray deep = "<Wingbook>";
    for (int i = 0; i < 200000; ++i)
        deep += "<a>";
    deep += "<Flight Date=\"deep\"/>";
    for (int i = 0; i < 200000; ++i)
        deep += "</a>";
    deep += "</Wingbook>";
    QTest::newRow("deep nesting") << deep << 1;
    QTest::newRow("entities are not expanded")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\">"
                      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                      "<Wingbook><Flight Date=\"&b;\"/></Wingbook>")
        << 1;
    QTest::newRow("external entity is not fetched")
        << QByteArray("<!DOCTYPE w [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                      "<Wingbook><Flight Date=\"&x;\"/></Wingbook>")
        << 1;
    QTest::newRow("binary junk") << QByteArray("\x00\xff\xfe<\x01\x02", 6) << 0;
}

void TestLogFile::hostileFilesAreSafe()
{
    QFETCH(QByteArray, content);
    QFETCH(int, flights);
    const QString path = writeFile(m_dir, "hostile.xml", content);
    LogDocument doc;
    RecordingHost host;
    const LogFileResult result = OpenXMLFile(doc, path, m_options, host);
    QCOMPARE(result.ok, flights > 0);
    QCOMPARE(doc.Flights.count(), flights);
    if (flights > 0)
        QVERIFY(!doc.Flights.cell(0, 0).contains(QLatin1String("root:")));
}

void TestLogFile::writesTheExactLayout()
{
    LogDocument doc;
    doc.Flights.appendRow({"2023-01-05", "", "CDG", "JFK", "AF", "006"});
    doc.Flights.appendRow({"", "07:45", "", "", "", ""});
    doc.Airlines.appendRow({"AF", "Air \"France\" & <Co>"});
    doc.Distances.appendRow({"CDG", "JFK", "3625"});
    RecordingHost host;
    const QString path = m_dir.filePath("layout.xml");
    doc.setModified(true);
    QVERIFY(SaveXMLFile(doc, path, m_options, host).ok);
    QVERIFY(!doc.isModified());
    QCOMPARE(host.maximum, 4);
    QCOMPARE(host.steps, 4);
    QVERIFY(host.events.contains("status:Saving " + path));
    QCOMPARE(doc.OpenRecent.entries().value(0), path);
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Wingbook>\n"
        "    <Flights>\n"
        "        <Flight Date=\"2023-01-05\" From=\"CDG\" To=\"JFK\" Airline=\"AF\" Flight=\"006\" "
        "/>\n"
        "        <Flight Date=\"\" Time=\"07:45\" />\n"
        "    </Flights>\n"
        "    <Airlines>\n"
        "        <Airline Airline=\"AF\" Name=\"Air &quot;France&quot; &amp; &lt;Co>\" />\n"
        "    </Airlines>\n"
        "    <Airports />\n"
        "    <Distances>\n"
        "        <Distance From=\"CDG\" To=\"JFK\" Miles=\"3625\" />\n"
        "    </Distances>\n"
        "</Wingbook>\n";
    QCOMPARE(readFile(path), expected);
}

void TestLogFile::emptyLogRoundTrip()
{
    LogDocument doc;
    RecordingHost host;
    const QString path = m_dir.filePath("empty.xml");
    QVERIFY(SaveXMLFile(doc, path, m_options, host).ok);
    QCOMPARE(readFile(path), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Wingbook>\n"
                                        "    <Flights />\n    <Airlines />\n    <Airports />\n"
                                        "    <Distances />\n</Wingbook>\n"));
    LogDocument again;
    QVERIFY(OpenXMLFile(again, path, m_options, host).ok);
    QCOMPARE(again.totalRows(), 0);
}

void TestLogFile::roundTripKeepsEveryText()
{
    LogDocument doc;
    const QString odd = QString::fromUtf8("Z\xc3\xbcrich \xe2\x80\x94 \"quoted\"\ttab\nline\x01");
    doc.Airports.appendRow({"ZRH", odd, "  spaced  ", "Switzerland"});
    doc.Airports.appendRow({"ZRH", "duplicate"});
    RecordingHost host;
    const QString path = m_dir.filePath("roundtrip.xml");
    QVERIFY(SaveXMLFile(doc, path, m_options, host).ok);
    LogDocument again;
    m_options.sortAlphabeticalCodes = false;
    QVERIFY(OpenXMLFile(again, path, m_options, host).ok);
    QCOMPARE(again.Airports.count(), 2);
    QCOMPARE(again.Airports.row(0).cells, doc.Airports.row(0).cells);
    QCOMPARE(again.Airports.cell(1, 1), QStringLiteral("duplicate"));
}

void TestLogFile::saveKeepsABackup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("backup");
    QTest::newRow("with extension") << "trip.xml"
                                    << "trip.~xml";
    QTest::newRow("without extension") << "trip"
                                       << "trip.~";
    QTest::newRow("dotted folder") << "a.b/trip"
                                   << "a.b/trip.~";
}

void TestLogFile::saveKeepsABackup()
{
    QFETCH(QString, name);
    QFETCH(QString, backup);
    QCOMPARE(BackupFileName(m_dir.filePath(name)), m_dir.filePath(backup));
    QDir(m_dir.path()).mkpath("a.b");
    const QString path = writeFile(m_dir, name, "previous contents");
    writeFile(m_dir, backup, "old backup");
    LogDocument doc;
    RecordingHost host;
    QVERIFY(SaveXMLFile(doc, path, m_options, host).ok);
    QCOMPARE(readFile(m_dir.filePath(backup)), QByteArray("previous contents"));
    QVERIFY(readFile(path).contains("<Wingbook>"));
}

void TestLogFile::failedSaveKeepsOldFileAndModifiedState()
{
    LogDocument doc;
    doc.Flights.appendRow({"2023-01-05"});
    doc.setModified(true);
    RecordingHost host;

    const LogFileResult missingFolder =
        SaveXMLFile(doc, m_dir.filePath("gone/trip.xml"), m_options, host);
    QVERIFY(!missingFolder.ok);
    QVERIFY(missingFolder.error.contains("gone/trip.xml"));
    QVERIFY(doc.isModified());

    // A folder in the file's place cannot be replaced.
    QDir(m_dir.path()).mkpath("folder.xml");
    QVERIFY(!SaveXMLFile(doc, m_dir.filePath("folder.xml"), m_options, host).ok);
    QVERIFY(doc.isModified());

    const QString readOnly = writeFile(m_dir, "readonly.xml", "good old log");
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadUser);
    if (QFileInfo(readOnly).isWritable()) {
        QCOMPARE(host.busyDepth, 0);
        QSKIP("running as a user who may write read-only files");
    }
    const LogFileResult denied = SaveXMLFile(doc, readOnly, m_options, host);
    QVERIFY(!denied.ok);
    QVERIFY(doc.isModified());
    QCOMPARE(readFile(readOnly), QByteArray("good old log"));
    QCOMPARE(host.busyDepth, 0);
}

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
