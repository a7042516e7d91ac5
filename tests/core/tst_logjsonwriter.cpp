// The log as JSON, written from the ids of the cells, against the same log built as a
// QJsonObject and written by QJsonDocument: the two must agree byte for byte.
#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "model/LogJsonWriter.h"
#include "options/WingbookOptions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <functional>

namespace
{

QJsonArray rowsAsJson(const LogTable &table)
{
    QJsonArray rows;
    for (int r = 0; r < table.count(); ++r) {
        QJsonObject row;
        for (int c = 0; c < table.columnTotal(); ++c)
            row.insert(table.columns()[c].caption, table.cell(r, c));
        if (table.hasUsage())
            row.insert(QStringLiteral("ReferenceCount"), table.referenceCount(r));
        rows.append(row);
    }
    return rows;
}

QByteArray expectedJson(const LogDocument &doc)
{
    QJsonObject json;
    json.insert(QStringLiteral("Flights"), rowsAsJson(doc.Flights));
    json.insert(QStringLiteral("Airlines"), rowsAsJson(doc.Airlines));
    json.insert(QStringLiteral("Airports"), rowsAsJson(doc.Airports));
    json.insert(QStringLiteral("Distances"), rowsAsJson(doc.Distances));
    json.insert(QStringLiteral("PreferredAirline"), doc.PreferredAirline);
    json.insert(QStringLiteral("PreferredFromAirport"), doc.PreferredFromAirport);
    json.insert(QStringLiteral("PreferredToAirport"), doc.PreferredToAirport);
    json.insert(QStringLiteral("HomeCountry"), doc.HomeCountry);
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

QByteArray writtenJson(const LogDocument &doc, int *blocks = nullptr)
{
    QByteArray out;
    int count = 0;
    const bool ok = WriteLogJson(doc, [&](std::string_view block) {
        out.append(block.data(), qsizetype(block.size()));
        ++count;
        return true;
    });
    if (blocks)
        *blocks = count;
    return ok ? out : QByteArray("sink failed");
}

// Every character below U+0080, and some beyond, in the cells of every table.
void fillWithAwkwardTexts(LogDocument &doc)
{
    QString ascii;
    for (char16_t c = 1; c < 0x80; ++c)
        ascii += QChar(c);
    const QString beyond =
        QStringLiteral("\u00e9\u20ac\u2028\ufeff") + QString::fromUtf8("\U0001F600");
    doc.Flights.appendRow({ascii, beyond, "abc", "ABC", "", "\"\\/"});
    doc.Flights.appendRow({"2023-01-05", "", "", "", "", ""});
    doc.Airlines.appendRow({"AA", ascii});
    doc.Airlines.appendRow({"AA", ""});
    doc.Airports.appendRow({"JFK", beyond, "New \"York\"", ""});
    doc.Distances.appendRow({"CDG", "JFK", "0"});
    doc.Airlines.setReferenceCount(0, 7);
    doc.Airlines.setReferenceCount(1, -3);
    doc.Distances.setReferenceCount(0, 2147483647);
    doc.PreferredAirline = QStringLiteral("tab\there");
    doc.PreferredFromAirport = beyond;
    doc.PreferredToAirport = QStringLiteral("\"");
    doc.HomeCountry = ascii; // cells blank out the controls XML cannot hold; this keeps them
}

} // namespace

class TestLogJsonWriter : public QObject
{
    Q_OBJECT

private slots:
    void sameAsTheJsonDocument_data();
    void sameAsTheJsonDocument();
    void largeLogInBlocks();
    void failingSink();
};

void TestLogJsonWriter::sameAsTheJsonDocument_data()
{
    QTest::addColumn<std::function<void(LogDocument &)>>("fill");
    QTest::newRow("empty log") << std::function<void(LogDocument &)>([](LogDocument &) {});
    QTest::newRow("texts to escape, duplicates, counts")
        << std::function<void(LogDocument &)>(fillWithAwkwardTexts);
    QTest::newRow("hand-made log, read, sorted and counted")
        << std::function<void(LogDocument &)>([](LogDocument &doc) {
               LogFileHost host;
               QVERIFY(OpenXMLFile(doc, QStringLiteral(WINGBOOK_FIXTURES "/logs/handmade.xml"),
                                   OptionSet(), host)
                           .ok);
           });
}

void TestLogJsonWriter::sameAsTheJsonDocument()
{
    QFETCH(std::function<void(LogDocument &)>, fill);
    LogDocument doc;
    fill(doc);
    QCOMPARE(writtenJson(doc), expectedJson(doc));
}

void TestLogJsonWriter::largeLogInBlocks()
{
    // Enough rows for several blocks: each block ends between two rows.
    LogDocument doc;
    for (int i = 0; i < 12000; ++i)
        doc.Flights.appendRow({QStringLiteral("2023-01-%1").arg(i % 28 + 1, 2, 10, QChar('0')),
                               QStringLiteral("07:45"), QStringLiteral("JFK"),
                               QStringLiteral("CDG \u00e9 %1").arg(i), QStringLiteral("AF"),
                               QStringLiteral("%1").arg(i)});
    int blocks = 0;
    QCOMPARE(writtenJson(doc, &blocks), expectedJson(doc));
    QVERIFY(blocks > 1);
}

void TestLogJsonWriter::failingSink()
{
    LogDocument doc;
    fillWithAwkwardTexts(doc);
    QVERIFY(!WriteLogJson(doc, [](std::string_view) { return false; }));
}

QTEST_GUILESS_MAIN(TestLogJsonWriter)
#include "tst_logjsonwriter.moc"
