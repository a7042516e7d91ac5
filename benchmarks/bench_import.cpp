// Times importing a CSV file into a log: bench_import [--figures] LOG.xml FILE.csv [--open-only]
// With --figures, one "name seconds" line per figure (benchmarks/run.sh reads them).
// The log is opened as the window opens it (not counted), then the file is imported as the
// Import command does, with automatic filling from the shipped reference files and the sorts
// on (the default options). With
// --open-only the import is left out, so that two whole-process runs, with and without it,
// give the import's share of the process as well.
#include "components/LumFlatFile.h"
#include "editing/ReferenceFilling.h"
#include "exchange/Importers.h"
#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "options/WingbookOptions.h"

#include "BenchClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

namespace
{

using BenchClock::cpuSeconds;
using BenchClock::peakMegabytes;
using BenchClock::seconds;

// Lets no events run and never stops, as the window does when nobody clicks.
class QuietHost : public ImportHost
{
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList args = app.arguments().mid(1);
    const bool openOnly = args.removeAll(QStringLiteral("--open-only")) > 0;
    const bool figures = args.removeAll(QStringLiteral("--figures")) > 0;
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: bench_import [--figures] LOG.xml FILE.csv [--open-only]\n";
        return 2;
    }
    OptionSet options;
    QuietHost host;
    LogDocument doc;
    QElapsedTimer timer;
    timer.start();
    const LogFileResult opened = OpenXMLFile(doc, args[0], options, host);
    const double open = seconds(timer);
    if (!opened.ok) {
        QTextStream(stderr) << opened.error << '\n';
        return 1;
    }
    if (!figures) {
        out << QFileInfo(args[0]).fileName() << ": " << doc.Flights.count() << " flights; open "
            << QString::number(open, 'f', 3) << " s\n";
        out.flush();
    }
    if (openOnly)
        return 0;
    // The shipped reference files, as the build tree lays them out beside the program.
    const QString defFiles =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/Marovek/Wingbook/");
    TLumFlatFile airlines, airports;
    airlines.setFileName(defFiles + QStringLiteral("Airlines.def"));
    airports.setFileName(defFiles + QStringLiteral("Airports.def"));
    if (!airlines.Initialize() || !airports.Initialize() || airlines.Count() <= 0) {
        QTextStream(stderr) << "cannot read the reference files in " << defFiles << '\n';
        return 1;
    }
    timer.restart();
    const double cpuBefore = cpuSeconds();
    const ImportResult result =
        ImportFromCSVFile(doc, args[1], {airlines, airports}, options, host);
    const double import = seconds(timer);
    const double importCpu = cpuSeconds() - cpuBefore;
    if (!result.ran || !result.ok) {
        QTextStream(stderr) << (result.ran ? result.error : QStringLiteral("no such file")) << '\n';
        return 1;
    }
    if (figures) {
        out << "import " << QString::number(import, 'f', 4) << "\nimport_cpu "
            << QString::number(importCpu, 'f', 4) << "\nimport_lines " << result.counters.flights
            << "\npeak_mb " << peakMegabytes() << '\n';
        return 0;
    }
    out << QFileInfo(args[1]).fileName() << ": " << result.counters.flights
        << " flight lines imported in " << QString::number(import, 'f', 3) << " s ("
        << QString::number(importCpu, 'f', 3) << " s CPU); " << doc.Flights.count()
        << " flights after; peak memory " << peakMegabytes() << " MB\n";
    return 0;
}
