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
    void progressCountsEveryNodeBelowTheRoot_data();
    void progressCountsEveryNodeBelowTheRoot();
    void readsEveryCharacterOfACell_data();
    void readsEveryCharacterOfACell();
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
    void saveMendsCellsALogCannotCarry();

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

void TestLogFile::progressCountsEveryNodeBelowTheRoot_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("nodes");
    // Below the root: text, Flights, text, Flight, text(inside Flights), comment = 6 nodes.
    QTest::newRow("whitespace text and a comment")
        << QByteArray("<Wingbook>\n<Flights>\n<Flight Date=\"x\"/>\n</Flights><!--c--></Wingbook>")
        << 6;
    // A reference does not split a text; a CDATA section is a node of its own.
    QTest::newRow("text, references, CDATA, instruction")
        << QByteArray("<Wingbook>a&amp;b&#65;<![CDATA[x]]>c<?pi data?></Wingbook>") << 4;
    QTest::newRow("text longer than one read")
        << "<Wingbook>" + QByteArray(3 << 20, 'x') + "<Flight/></Wingbook>" << 2;
    QTest::newRow("nothing below the root") << QByteArray("<?pi?><Wingbook/><!--after-->") << 0;
}

void TestLogFile::progressCountsEveryNodeBelowTheRoot()
{
    QFETCH(QByteArray, content);
    QFETCH(int, nodes);
    const QString path = writeFile(m_dir, "progress.xml", content);
    LogDocument doc;
    RecordingHost host;
    QVERIFY(OpenXMLFile(doc, path, m_options, host).ok);
    QCOMPARE(host.maximum, nodes);
    QCOMPARE(host.steps, nodes);
    host.visible = false;
    QVERIFY(OpenXMLFile(doc, path, m_options, host).ok);
    QCOMPARE(host.maximum, 2147483647);
}

void TestLogFile::readsEveryCharacterOfACell_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    // "Zürich – “Kloten” €" in windows-1252: en dash, curly quotes and euro sign are bytes of
    // their own there, and would turn into replacement characters if read as UTF-8.
    QTest::newRow("windows-1252")
        << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<Wingbook><Airports>"
                      "<Airport Airport=\"ZRH\" Name=\"Z\xfcrich \x96 \x93Kloten\x94 \x80\"/>"
                      "</Airports></Wingbook>")
        << QString::fromUtf8("Z\u00fcrich \u2013 \u201cKloten\u201d \u20ac");
    QTest::newRow("ISO-8859-1")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Wingbook><Airports>"
                      "<Airport Airport=\"ZRH\" Name=\"Z\xfcrich \xe9t\xe9 \xa4\"/>"
                      "</Airports></Wingbook>")
        << QString::fromUtf8("Z\u00fcrich \u00e9t\u00e9 \u00a4");
    static const char16_t utf16[] =
        u"\uFEFF<Wingbook><Airport Airport=\"ZRH\" Name=\"Z\u00fcrich\"/></Wingbook>";
    QTest::newRow("UTF-16 with byte-order mark")
        << QByteArray(reinterpret_cast<const char *>(utf16), sizeof utf16 - sizeof(char16_t))
        << QString::fromUtf8("Z\u00fcrich");
    // A byte-order mark inside a value is a character of the cell.
    QTest::newRow("U+FEFF as a reference")
        << QByteArray("<W><Airport Airport=\"A\" Name=\"&#xFEFF;Zeta\"/></W>")
        << QString(QChar(0xFEFF)) + "Zeta";
    QTest::newRow("U+FEFF as UTF-8")
        << QByteArray("<W><Airport Airport=\"A\" Name=\"\xef\xbb\xbfZeta\"/></W>")
        << QString(QChar(0xFEFF)) + "Zeta";
    QTest::newRow("U+FEFF twice in front, once inside")
        << QByteArray("<W><Airport Airport=\"A\" Name=\"&#xFEFF;&#xFEFF;Ze&#xFEFF;ta\"/></W>")
        << QString(QChar(0xFEFF)) + QChar(0xFEFF) + "Ze" + QChar(0xFEFF) + "ta";
    // The mark in front of the file says how it is encoded; it is no part of a cell.
    QTest::newRow("mark of the file only")
        << QByteArray("\xef\xbb\xbf<W><Airport Airport=\"A\" Name=\"Zeta\"/></W>")
        << QStringLiteral("Zeta");
    // Every way of writing an ampersand is one "&" of the cell, and only one.
    QTest::newRow("ampersands")
        << QByteArray("<W><Airport Airport=\"A\" Name=\"Air &amp; Sea &#38; Co &#x26;&#38;#38;"
                      "&amp;amp;\"/></W>")
        << QStringLiteral("Air & Sea & Co &&#38;&amp;");
}

void TestLogFile::readsEveryCharacterOfACell()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    const QString path = writeFile(m_dir, "encoded.xml", content);
    LogDocument doc;
    RecordingHost host;
    const LogFileResult read = OpenXMLFile(doc, path, m_options, host);
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(doc.Airports.cell(0, 1), name);
    // Saved, the log is UTF-8 and reads back the same.
    const QString saved = m_dir.filePath("encoded-saved.xml");
    QVERIFY(SaveXMLFile(doc, saved, m_options, host).ok);
    QVERIFY(readFile(saved).contains(name.toUtf8().replace("&", "&amp;")));
    LogDocument again;
    QVERIFY(OpenXMLFile(again, saved, m_options, host).ok);
    QCOMPARE(again.Airports.cell(0, 1), name);
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
    QTest::newRow("plain text") << QByteArray("just some text\nnot xml")
                                << "Line: 1\njust some text";
    // The parser finds the start tag unclosed where the file ends, on the empty line 4.
    QTest::newRow("unclosed element")
        << QByteArray("<Wingbook>\n<Flights>\n<Flight Date=\"2023-01-01\" Time=\"this line is long "
                      "enough to be cut at forty\"\n")
        << "Line: 4\n";
    QTest::newRow("broken tag on line 3, cut at forty")
        << QByteArray("<Wingbook>\n<Flights>\n<Flight Date=\"2023-01-01\" Time=\"this line is long "
                      "enough to be cut at forty\" / >\n</Flights></Wingbook>\n")
        << "Line: 3\n<Flight Date=\"2023-01-01\" Time=\"this lin";
    // Two logs pasted into one file: the second would be lost at the next save.
    QTest::newRow("second root element")
        << QByteArray("<Wingbook>\n</Wingbook>\n<Wingbook><Flight Date=\"x\"/></Wingbook>\n")
        << "Line: 3\n<Wingbook><Flight Date=\"x\"/></Wingbook>";
    QTest::newRow("duplicate attribute")
        << QByteArray("<Wingbook>\n<Flight Date=\"a\" Date=\"b\"/></Wingbook>")
        << "Line: 2\n<Flight Date=\"a\" Date=\"b\"/></Wingbook>";
    QTest::newRow("< inside an attribute value")
        << QByteArray("<Wingbook>\n<Flight Date=\"a<b\"/></Wingbook>")
        << "Line: 2\n<Flight Date=\"a<b\"/></Wingbook>";
    QTest::newRow("undefined entity")
        << QByteArray("<Wingbook>\n<Flight Date=\"&nbsp;\"/></Wingbook>")
        << "Line: 2\n<Flight Date=\"&nbsp;\"/></Wingbook>";
    QTest::newRow("reference to character 0")
        << QByteArray("<Wingbook>\n<Flight Date=\"a&#0;\"/></Wingbook>")
        << "Line: 2\n<Flight Date=\"a&#0;\"/></Wingbook>";
    QTest::newRow("reference to a control character")
        << QByteArray("<Wingbook>\n<Flight Date=\"a&#01;\"/></Wingbook>")
        << "Line: 2\n<Flight Date=\"a&#01;\"/></Wingbook>";
    QTest::newRow("reference to U+FFFE")
        << QByteArray("<Wingbook>\n<Flight Date=\"a&#xFFFE;\"/></Wingbook>")
        << "Line: 2\n<Flight Date=\"a&#xFFFE;\"/></Wingbook>";
    QTest::newRow("raw control character")
        << QByteArray("<Wingbook>\n<Flight Date=\"a\x01\"/></Wingbook>")
        << "Line: 2\n<Flight Date=\"a\x01\"/></Wingbook>";
    QTest::newRow("invalid UTF-8")
        << QByteArray("<Wingbook>\n<Flight Date=\"a\xc3\x28\"/></Wingbook>")
        << "Line: 2\n<Flight Date=\"a\uFFFD(\"/></Wingbook>";
    QTest::newRow("declared encoding the parser does not know")
        << QByteArray("<?xml version=\"1.0\" encoding=\"no-such-code\"?>\n<Wingbook/>")
        << "Line: 1\n<?xml version=\"1.0\" encoding=\"no-such-co";
    QTest::newRow("UTF-8 of a lone surrogate")
        << QByteArray("<Wingbook>\n<Flight Date=\"a\xed\xa0\x80\"/></Wingbook>")
        << "Line: 2\n<Flight Date=\"a\uFFFD\uFFFD\uFFFD\"/></Wingbook>";
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
    // A reference to an external entity in an attribute value is not well-formed XML.
    QTest::newRow("external entity is not fetched")
        << QByteArray("<!DOCTYPE w [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                      "<Wingbook><Flight Date=\"&x;\"/></Wingbook>")
        << 0;
    QTest::newRow("external entity in text is not fetched")
        << QByteArray("<!DOCTYPE w [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                      "<Wingbook><Flight Date=\"d\"/>&x;</Wingbook>")
        << 1;
    QByteArray bomb = "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY e0 \"ha\">";
    for (int i = 1; i < 10; ++i) {
        bomb += "<!ENTITY e" + QByteArray::number(i) + " \"";
        for (int k = 0; k < 10; ++k)
            bomb += "&e" + QByteArray::number(i - 1) + ";";
        bomb += "\">";
    }
    bomb += "]><Wingbook><Flight Date=\"&e9;\"/><Flight Date=\"x\">&e9;</Flight></Wingbook>";
    // The parser refuses a file whose entities would grow beyond reason.
    QTest::newRow("entity expansion bomb") << bomb << 0;
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
    QVERIFY(!result.error.contains(QLatin1String("root:")));
    // An entity is never expanded: a cell holds at most the reference itself.
    for (int r = 0; r < doc.Flights.count(); ++r) {
        QVERIFY(!doc.Flights.cell(r, 0).contains(QLatin1String("root:")));
        QVERIFY(doc.Flights.cell(r, 0).size() < 10);
    }
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

// A cell can hold what XML cannot carry only through the raw id path (the setters replace
// it); a save mends such cells, says how many, and the file reads again.
void TestLogFile::saveMendsCellsALogCannotCarry()
{
    LogDocument doc;
    TextPool &pool = doc.Airlines.textPool();
    const TextPool::Id code = pool.intern("AF");
    const TextPool::Id control = pool.intern(QStringLiteral("Air\u0001France"));
    const TextPool::Id fine = pool.intern("Air France");
    const TextPool::Id rows[][2] = {{code, control}, {code, fine}, {control, control}};
    for (const auto &ids : rows)
        doc.Airlines.appendRowIds(ids);
    doc.Flights.appendRow({"2023-01-05"});
    RecordingHost host;
    const QString path = m_dir.filePath("mended.xml");
    const LogFileResult saved = SaveXMLFile(doc, path, m_options, host);
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QVERIFY2(saved.notice.startsWith("3 cell(s)"), qPrintable(saved.notice));
    QCOMPARE(doc.Airlines.cell(0, 1), QStringLiteral("Air France"));
    QCOMPARE(doc.Airlines.cell(2, 0), QStringLiteral("Air France"));
    QVERIFY(!readFile(path).contains("&#01;"));
    LogDocument again;
    m_options.sortAlphabeticalCodes = false;
    const LogFileResult read = OpenXMLFile(again, path, m_options, host);
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(again.Airlines.cell(0, 1), QStringLiteral("Air France"));
    // Nothing left to mend: no notice.
    QVERIFY(SaveXMLFile(again, path, m_options, host).notice.isEmpty());
}

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
