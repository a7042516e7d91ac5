// A table exported as CSV or DEF and imported into an empty log comes back cell for cell: the
// export writes the line forms the importers read.
#include "components/LumFlatFile.h"
#include "editing/ReferenceFilling.h"
#include "exchange/Importers.h"
#include "exchange/TableExport.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include "support/ImportTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ExportFormat)

namespace
{

LogTable &tableOf(LogDocument &document, int index)
{
    return *document.tables().at(index);
}

// Rows as the dialogs store them: normalised dates and times, flight numbers that the
// flight-number rule keeps as they are, and texts with blanks, quotes, accents and the
// characters the line forms use elsewhere.
void fillLog(LogDocument &document)
{
    document.Flights.appendRow({"2023-01-05", "07:45", "CDG", "JFK", "AF", "1006"});
    document.Flights.appendRow({"2021-12-31", "23:59", "ZRH", "LHR", "LX", "318"});
    document.Flights.appendRow({"2022-06-01", "00:00", "FRA", "ORD", "LH", "430"});
    document.Airlines.appendRow({"AF", u"Air \"France\" & Co"_s});
    document.Airlines.appendRow({"LX", u"Swiss International Air Lines"_s});
    document.Airports.appendRow({"ZRH", u"Zürich Kloten"_s, u"Zürich"_s, u"Switzerland"_s});
    document.Airports.appendRow({"CDG", u"Charles De Gaulle"_s, u"Paris"_s, u"France"_s});
    document.Distances.appendRow({"CDG", "JFK", "3625"});
    document.Distances.appendRow({"ZRH", "LHR", "490"});
}

// Exports the table to a file of the format and imports that file into `target`, with no
// filling from reference files and no sorting: nothing but the file's own lines.
void exportThenImport(LogTable &table, ExportFormat format, LogDocument &target)
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file =
        dir.filePath(format == ExportFormat::CSV ? u"table.csv"_s : u"table.def"_s);
    ExportHost exportHost;
    const ExportOutcome written = ExportTable(table, format, file, exportHost);
    QVERIFY2(written.ok, qPrintable(written.error));
    QCOMPARE(written.rowsWritten, table.count());

    OptionSet options;
    options.autoPopulateAirlines = false;
    options.autoPopulateAirports = false;
    options.autoPopulateDistances = false;
    options.displayLatestFlightsFirst = false;
    options.sortAlphabeticalCodes = false;
    TLumFlatFile airlinesDef;
    TLumFlatFile airportsDef;
    ImportTestSupport::RecordingHost importHost;
    const ImportResult read = ImportFile(ImportKindOf(file, Qt::CaseSensitive), target, file,
                                         {airlinesDef, airportsDef}, options, importHost);
    QVERIFY(read.ran);
    QVERIFY2(read.ok, qPrintable(read.error));
}

QStringList cellsOf(const LogTable &t)
{
    QStringList rows;
    for (int r = 0; r < t.count(); ++r) {
        QStringList row;
        for (int c = 0; c < t.columnTotal(); ++c)
            row << t.cell(r, c);
        rows << row.join(u'|');
    }
    return rows;
}

} // namespace

class TestExportImport : public QObject
{
    Q_OBJECT

private slots:
    void tableComesBack_data();
    void tableComesBack();
    void flightChangesOnTheWay_data();
    void flightChangesOnTheWay();
};

void TestExportImport::tableComesBack_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<ExportFormat>("format");
    const char *const names[] = {"Flights", "Airlines", "Airports", "Distances"};
    for (int t = 0; t < 4; ++t) {
        QTest::addRow("%s as CSV", names[t]) << t << ExportFormat::CSV;
        QTest::addRow("%s as DEF", names[t]) << t << ExportFormat::DEF;
    }
}

void TestExportImport::tableComesBack()
{
    QFETCH(int, table);
    QFETCH(ExportFormat, format);
    LogDocument source;
    fillLog(source);
    LogDocument target;
    exportThenImport(tableOf(source, table), format, target);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(cellsOf(tableOf(target, table)), cellsOf(tableOf(source, table)));
    for (int other = 0; other < 4; ++other) {
        if (other != table)
            QCOMPARE(tableOf(target, other).count(), 0);
    }
}

// What a round trip does not keep: a number padded with zeros passes through the
// flight-number rule again and loses them, and a flight without a time has no date-and-time
// piece that the DEF import reads.
void TestExportImport::flightChangesOnTheWay_data()
{
    QTest::addColumn<ExportFormat>("format");
    QTest::addColumn<QStringList>("flight");
    QTest::addColumn<QStringList>("expected");
    const QStringList padded{"2023-01-05", "07:45", "CDG", "JFK", "AF", "006"};
    const QStringList unpadded{"2023-01-05", "07:45", "CDG", "JFK", "AF", "6"};
    const QStringList noTime{"2022-06-01", "", "FRA", "ORD", "LH", "430"};
    QTest::newRow("padded number, CSV") << ExportFormat::CSV << padded << unpadded;
    QTest::newRow("padded number, DEF") << ExportFormat::DEF << padded << unpadded;
    QTest::newRow("no time, CSV") << ExportFormat::CSV << noTime << noTime;
    QTest::newRow("no time, DEF") << ExportFormat::DEF << noTime << QStringList();
}

void TestExportImport::flightChangesOnTheWay()
{
    QFETCH(ExportFormat, format);
    QFETCH(QStringList, flight);
    QFETCH(QStringList, expected);
    LogDocument source;
    source.Flights.appendRow(flight);
    LogDocument target;
    exportThenImport(source.Flights, format, target);
    if (QTest::currentTestFailed())
        return;

    const QStringList rows = cellsOf(target.Flights);
    QCOMPARE(rows, expected.isEmpty() ? QStringList() : QStringList{expected.join(u'|')});
}

QTEST_GUILESS_MAIN(TestExportImport)
#include "tst_exportimport.moc"
