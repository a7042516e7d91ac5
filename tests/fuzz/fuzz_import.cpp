// The CSV, TXT and DEF importers on any bytes. The first byte chooses the importer (its value
// modulo 3), whether flights fill in their airline, airports and distance (bit 2) and whether
// the codes are sorted (bit 3); the second byte, when bit 4 is set, is the line before which
// the user answers Yes to the stop question. The rest is the file, imported into a small log.
#include "FuzzSupport.h"

#include "components/LumFlatFile.h"
#include "editing/ReferenceFilling.h"
#include "exchange/Importers.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

namespace
{

// Counts what the import asks and answers the stop question at the chosen line.
class FuzzHost : public ImportHost
{
public:
    int steps = 0;
    int questions = 0;
    int stopBefore = -1;
    bool processing = false;
    bool busy = false;

    void beginBusy(bool) override { busy = true; }
    void endBusy() override { busy = false; }
    void stepProgress() override { ++steps; }
    void setProcessing(bool on) override { processing = on; }
    bool takeStopRequest() override
    {
        ++questions;
        if (stopBefore < 0 || questions <= stopBefore)
            return false;
        processing = false;
        return true;
    }
};

void fillLog(LogDocument &doc)
{
    doc.Flights.appendRow({QStringLiteral("2021-03-04"), QStringLiteral("09:05"),
                           QStringLiteral("JFK"), QStringLiteral("LAX"), QStringLiteral("AA"),
                           QStringLiteral("100")});
    doc.Airlines.appendRow({QStringLiteral("AA"), QStringLiteral("American")});
    doc.Airports.appendRow({QStringLiteral("JFK"), QStringLiteral("Kennedy"),
                            QStringLiteral("New York"), QStringLiteral("United States")});
    doc.Airports.appendRow({QStringLiteral("LAX")});
    doc.Distances.appendRow({QStringLiteral("JFK"), QStringLiteral("LAX"), QStringLiteral("2475")});
    doc.countReferences();
}

qint64 countsOf(const LogTable &table)
{
    qint64 total = 0;
    for (int r = 0; r < table.count(); ++r)
        total += table.referenceCount(r);
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static const char *const names[] = {"in.csv", "in.txt", "in.def"};
    const int which = data[0] % 3;
    OptionSet options;
    options.autoPopulateAirlines = options.autoPopulateAirports = options.autoPopulateDistances =
        (data[0] & 4) != 0;
    options.sortAlphabeticalCodes = (data[0] & 8) != 0;
    FuzzHost host;
    if (data[0] & 16)
        host.stopBefore = data[1];
    const QByteArray content = Fuzz::bytesOf(data + 2, size - 2);
    const QString path = Fuzz::writeFile(QString::fromLatin1(names[which]), content);

    LogDocument doc;
    fillLog(doc);
    QList<int> before;
    QList<qint64> countsBefore;
    for (LogTable *table : doc.tables()) {
        before << table->count();
        countsBefore << countsOf(*table);
    }
    TLumFlatFile airlines, airports;
    airlines.AddVolatileData(QStringLiteral("AA"), QStringLiteral("American Airlines"), true);
    airports.AddVolatileData(QStringLiteral("JFK"),
                             QStringLiteral("John F Kennedy Intl|New York, United States"), true);
    const ImportResult result = ImportFile(ImportKindOf(path, Qt::CaseSensitive), doc, path,
                                           {airlines, airports}, options, host);

    Fuzz::check(result.ran && result.ok, "a file that exists is imported", result.error);
    Fuzz::check(!host.busy && !host.processing, "the import gives the window back");
    Fuzz::check(result.stopped == (host.stopBefore >= 0 && host.questions > host.stopBefore),
                "the import stops exactly when asked to");
    const ImportCounters &n = result.counters;
    const int read = n.flights + n.airlines + n.airports + n.distances;
    Fuzz::check(read <= host.questions, "at most one row per line read");
    // Rows are only overwritten or appended; a flight may add its airline, two airports and
    // its distance.
    const QList<LogTable *> tables = doc.tables();
    const int bound[] = {n.flights, n.airlines + n.flights, n.airports + 2 * n.flights,
                         n.distances + n.flights};
    for (int t = 0; t < 4; ++t) {
        const int added = tables[t]->count() - before[t];
        Fuzz::check(added >= 0 && added <= bound[t], "rows are only overwritten or appended",
                    QString::number(t));
        // TXT and DEF lines never change a count, and the rows they add count nothing.
        if (which != 0)
            Fuzz::check(countsOf(*tables[t]) == countsBefore[t], "TXT and DEF leave the counts");
        for (int r = 0; r < tables[t]->count(); ++r) {
            for (int c = 0; c < tables[t]->columnTotal(); ++c)
                (void)tables[t]->cell(r, c).size();
        }
    }
    Fuzz::check(doc.isModified() == (read > 0), "the log is modified exactly when rows were read");
    return 0;
}
