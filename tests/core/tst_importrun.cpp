#include "components/LumFlatFile.h"
#include "editing/ReferenceFilling.h"
#include "exchange/Importers.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include "support/ImportTestSupport.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using ImportTestSupport::dump;

// What every import does around its lines, the same for the three importers: what it shows,
// how it stops, and how it ends when the file is missing, unreadable or garbage.
class TestImportRun : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void showsItsWorkAndGivesTheWindowBack_data();
    void showsItsWorkAndGivesTheWindowBack();
    void missingFileDoesNothing_data();
    void missingFileDoesNothing();
    void unreadableFileIsReportedAndLosesNothing_data();
    void unreadableFileIsReportedAndLosesNothing();
    void stopEndsTheLoopBetweenTwoLines_data();
    void stopEndsTheLoopBetweenTwoLines();
    void garbageImportsWithoutHarm_data();
    void garbageImportsWithoutHarm();

private:
    ImportResult import(const QString &path);
    void addKindColumn();

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<LogDocument> doc;
    OptionSet options;
    TLumFlatFile airlinesDef;
    TLumFlatFile airportsDef;
    ImportTestSupport::RecordingHost host;
};

void TestImportRun::init()
{
    dir = std::make_unique<QTemporaryDir>();
    doc = std::make_unique<LogDocument>();
    host = ImportTestSupport::RecordingHost();
    options = OptionSet();
    doc->Flights.appendRow({u"2020-01-01"_s, u"10:00"_s, u"JFK"_s, u"LAX"_s, u"AA"_s, u"001"_s});
    doc->Airlines.appendRow({u"AA"_s, u"American"_s});
    doc->Airports.appendRow({u"JFK"_s, u"Kennedy"_s, u"New York"_s, u"United States"_s});
    doc->Distances.appendRow({u"JFK"_s, u"LAX"_s, u"2475"_s});
    doc->countReferences();
}

ImportResult TestImportRun::import(const QString &path)
{
    const ImportKind kind = ImportKindOf(path, Qt::CaseSensitive);
    return ImportFile(kind, *doc, path, {airlinesDef, airportsDef}, options, host);
}

void TestImportRun::showsItsWorkAndGivesTheWindowBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("steps");
    // The CSV importer steps once more, when it has chosen the separator.
    QTest::newRow("csv") << u"a.csv"_s << "h,h\nBA,British\nLHR,CDG,214\n"_ba << 4;
    QTest::newRow("txt") << u"a.txt"_s << "LHR\tLondon [Heathrow], United Kingdom\n"_ba << 1;
    QTest::newRow("def") << u"a.def"_s << "BA\tBritish\n# note\nLHR-CDG\t214\n"_ba << 3;
}

void TestImportRun::showsItsWorkAndGivesTheWindowBack()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(int, steps);
    const QString path = ImportTestSupport::writeFile(*dir, name, file);
    const ImportResult result = import(path);
    QVERIFY(result.ran && result.ok && !result.stopped);
    const int lines = int(file.count('\n'));
    QCOMPARE(host.calls,
             (QStringList{u"recent "_s + path, u"busy+toolbar"_s, u"status Importing "_s + path,
                          u"dialog "_s + path, u"range "_s + QString::number(lines), u"suspend"_s,
                          u"processing on"_s, u"resume"_s, u"fill"_s, u"processing off"_s,
                          u"updateStatusBar"_s, u"endBusy"_s}));
    QCOMPARE(host.steps, steps);
    QCOMPARE(host.stopQuestions, lines);
    QVERIFY(doc->isModified());
}

void TestImportRun::addKindColumn()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("csv") << u"in.csv"_s;
    QTest::newRow("txt") << u"in.txt"_s;
    QTest::newRow("def") << u"in.def"_s;
}

void TestImportRun::missingFileDoesNothing_data()
{
    addKindColumn();
}

void TestImportRun::missingFileDoesNothing()
{
    QFETCH(QString, name);
    const QStringList before = dump(doc->Flights) + dump(doc->Airlines);
    const ImportResult result = import(dir->filePath(name));
    QVERIFY(!result.ran);
    QVERIFY(result.ok);
    QVERIFY(host.calls.isEmpty());
    QCOMPARE(dump(doc->Flights) + dump(doc->Airlines), before);
    QVERIFY(!doc->isModified());
}

// A folder of that name exists but cannot be read as a file (root reads any file, so a
// permission test would not fail here).
void TestImportRun::unreadableFileIsReportedAndLosesNothing_data()
{
    addKindColumn();
}

void TestImportRun::unreadableFileIsReportedAndLosesNothing()
{
    QFETCH(QString, name);
    const QString path = dir->filePath(name);
    QVERIFY(QDir().mkpath(path));
    const QStringList before =
        dump(doc->Flights) + dump(doc->Airlines) + dump(doc->Airports) + dump(doc->Distances);
    const ImportResult result = import(path);
    QVERIFY(result.ran);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(path), qPrintable(result.error));
    QCOMPARE(host.calls.last(), u"endBusy"_s);
    QVERIFY(host.calls.contains(u"updateStatusBar"_s));
    QVERIFY(!host.processing);
    QCOMPARE(dump(doc->Flights) + dump(doc->Airlines) + dump(doc->Airports) + dump(doc->Distances),
             before);
    QVERIFY(!doc->isModified());
}

void TestImportRun::stopEndsTheLoopBetweenTwoLines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("stopBefore");
    QTest::addColumn<QStringList>("airlines");
    // The rows read before the stop stay, and the end steps still sort them.
    QTest::newRow("csv") << u"a.csv"_s << "h,h\nZZ,Zed\nBA,British\nCA,China\n"_ba << 3
                         << QStringList{u"AA|American#1"_s, u"BA|British#0"_s, u"ZZ|Zed#0"_s};
    QTest::newRow("def") << u"a.def"_s << "ZZ\tZed\nBA\tBritish\nCA\tChina\n"_ba << 2
                         << QStringList{u"AA|American#1"_s, u"BA|British#0"_s, u"ZZ|Zed#0"_s};
    QTest::newRow("stop before the first line")
        << u"a.def"_s << "ZZ\tZed\n"_ba << 0 << QStringList{u"AA|American#1"_s};
}

void TestImportRun::stopEndsTheLoopBetweenTwoLines()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(int, stopBefore);
    QFETCH(QStringList, airlines);
    host.stopBeforeLine = stopBefore;
    const ImportResult result = import(ImportTestSupport::writeFile(*dir, name, file));
    QVERIFY(result.stopped);
    QCOMPARE(dump(doc->Airlines), airlines);
    QCOMPARE(host.stopQuestions, stopBefore + 1);
    QVERIFY(!host.processing);
    // The host cleared Processing when it took the request; the end steps do not repeat it.
    QVERIFY(!host.calls.contains(u"processing off"_s));
    QCOMPARE(host.calls.mid(host.calls.size() - 4),
             (QStringList{u"resume"_s, u"fill"_s, u"updateStatusBar"_s, u"endBusy"_s}));
}

// Random bytes, and random text made of the characters the importers cut at, go through each
// importer to its end; what the log held before is still there.
void TestImportRun::garbageImportsWithoutHarm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("separators");
    for (const QString &name : {u"in.csv"_s, u"in.txt"_s, u"in.def"_s}) {
        QTest::addRow("%s, bytes", qPrintable(name)) << name << false;
        QTest::addRow("%s, separators", qPrintable(name)) << name << true;
    }
}

void TestImportRun::garbageImportsWithoutHarm()
{
    QFETCH(QString, name);
    QFETCH(bool, separators);
    QRandomGenerator random(20261209);
    const QByteArray alphabet = "AB1-|,;\t\"' #\r\n\xFF\xFE"_ba;
    QByteArray bytes(1 << 16, Qt::Uninitialized);
    for (char &b : bytes) {
        b = separators ? alphabet.at(random.bounded(int(alphabet.size())))
                       : char(random.bounded(256));
    }
    QList<int> before;
    for (const LogTable *table : doc->tables())
        before << table->count();
    const ImportResult result = import(ImportTestSupport::writeFile(*dir, name, bytes));
    QVERIFY(result.ran && result.ok);
    QCOMPARE(host.calls.last(), u"endBusy"_s);
    QVERIFY(!host.processing);
    // Rows are only ever overwritten or appended: one at most per line read, and a flight
    // may add its airline, two airports and its distance.
    const ImportCounters &n = result.counters;
    const int read[] = {n.flights, n.airlines + n.flights, n.airports + 2 * n.flights,
                        n.distances + n.flights};
    const QList<LogTable *> tables = doc->tables();
    for (int t = 0; t < 4; ++t) {
        QVERIFY(tables[t]->count() >= before[t]);
        QVERIFY(tables[t]->count() - before[t] <= read[t]);
    }
}

QTEST_GUILESS_MAIN(TestImportRun)
#include "tst_importrun.moc"
