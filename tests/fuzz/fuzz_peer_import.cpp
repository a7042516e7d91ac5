// A web logbook's flight export on any bytes, imported twice into an empty log through the
// import dispatch, as a dropped file is.
#include "FuzzSupport.h"

#include "components/LumFlatFile.h"
#include "editing/ReferenceFilling.h"
#include "exchange/Importers.h"
#include "exchange/PeerCsvFormat.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace
{

class SummaryHost : public ImportHost
{
public:
    QStringList summaries;
    void showImportSummary(const QString &text) override { summaries << text; }
};

struct Counts {
    int imported = -1;
    int already = -1;
    int skipped = -1;
};

// The numbers of the summary's first line; the lines after it list at most ten skips.
Counts countsOf(const QString &summary)
{
    static const QRegularExpression first(QStringLiteral(
        "^(\\d+) flight\\(s\\) imported, (\\d+) already in the log, (\\d+) line\\(s\\) skipped$"));
    const QStringList lines = summary.split(u'\n');
    const QRegularExpressionMatch m = first.match(lines.first());
    Fuzz::check(m.hasMatch(), "the summary starts with its counts", summary);
    Counts c{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
    Fuzz::check(lines.size() - 1 <= 11 && lines.size() - 1 <= c.skipped + 1,
                "at most ten skipped lines are listed", summary);
    return c;
}

QStringList dump(const LogTable &table)
{
    QStringList rows;
    for (int r = 0; r < table.count(); ++r) {
        QStringList cells;
        for (int c = 0; c < table.columnTotal(); ++c)
            cells << table.cell(r, c);
        rows << cells.join(u'|') + u'#' + QString::number(table.referenceCount(r));
    }
    return rows;
}

QStringList dumpAll(LogDocument &document)
{
    QStringList all;
    for (LogTable *table : document.tables())
        all << dump(*table) << QStringLiteral("--");
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::clearFolder();
    const QString path = Fuzz::writeFile(QStringLiteral("export.csv"), Fuzz::bytesOf(data, size));
    if (!IsPeerCsvFile(path))
        return 0;

    TLumFlatFile airlines;
    airlines.AddVolatileData(QStringLiteral("BA"), QStringLiteral("British Airways"), true);
    airlines.AddVolatileData(QStringLiteral("LH"), QStringLiteral("Lufthansa"), true);
    TLumFlatFile airports;
    airports.AddVolatileData(QStringLiteral("LHR"), QStringLiteral("Heathrow|London, UK"), true);
    const ReferenceFiles files{airlines, airports};
    OptionSet options; // automatic filling and sorting on, as by default
    LogDocument document;
    SummaryHost host;

    const ImportResult first = ImportFile(ImportKind::Csv, document, path, files, options, host);
    Fuzz::check(first.ran && first.ok, "an export that exists and is recognised is read",
                first.error);
    Fuzz::check(host.summaries.size() == 1, "one summary at the end");
    const Counts c = countsOf(host.summaries.first());
    Fuzz::check(c.imported == document.Flights.count(), "every imported flight is in the log");
    Fuzz::check(first.counters.flights == c.imported, "the page follows the imported flights");
    for (int r = 0; r < document.Flights.count(); ++r) {
        const QString date = document.Flights.cell(r, 0);
        const QString time = document.Flights.cell(r, 1);
        Fuzz::check(QDate::fromString(date, QStringLiteral("yyyy-MM-dd")).isValid(),
                    "a flight's date is a date of the log", date);
        Fuzz::check(time.isEmpty() || QTime::fromString(time, QStringLiteral("HH:mm")).isValid(),
                    "a flight's time is empty or a time of the log", time);
        for (int col = 2; col <= 4; ++col)
            Fuzz::check(!document.Flights.cell(r, col).isEmpty(), "codes are never empty");
    }
    // The counts are those that reading the log would give.
    const QStringList imported = dumpAll(document);
    document.countReferences();
    Fuzz::check(dumpAll(document) == imported, "reference counts as a fresh count gives",
                imported.join(u'\n'));

    // The same file again adds nothing and changes nothing.
    host.summaries.clear();
    const ImportResult second = ImportFile(ImportKind::Csv, document, path, files, options, host);
    Fuzz::check(second.ok && host.summaries.size() == 1, "the second import is read too");
    const Counts again = countsOf(host.summaries.first());
    Fuzz::check(again.imported == 0 && again.already == c.imported + c.already &&
                    again.skipped == c.skipped,
                "a second import finds every flight in the log", host.summaries.first());
    Fuzz::check(dumpAll(document) == imported, "a second import changes no row");
    return 0;
}
