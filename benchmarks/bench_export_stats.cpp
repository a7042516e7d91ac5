// Times the statistics and the exports beside opening and saving the same log:
//   bench_export_stats LOG.xml [LOG.xml ...]
// Opening is the whole read the window does; the statistics are every figure and the three
// rankings, sorted; the exports write the Flights table as CSV and DEF, as Export does, and
// the airport ranking as its Export... does. Peak memory is the process's high-water mark.
#include "exchange/TableExport.h"
#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"
#include "statistics/Statistics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>

namespace
{

double seconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

double megabytes(const QString &path)
{
    return double(QFileInfo(path).size()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList files = app.arguments().mid(1);
    if (files.isEmpty()) {
        QTextStream(stderr) << "usage: bench_export_stats LOG.xml [LOG.xml ...]\n";
        return 2;
    }
    QTemporaryDir scratch;
    OptionSet options;
    LogFileHost host;
    ExportHost exportHost;
    for (const QString &file : files) {
        LogDocument doc;
        QElapsedTimer timer;
        timer.start();
        const LogFileResult opened = OpenXMLFile(doc, file, options, host);
        const double open = seconds(timer);
        if (!opened.ok) {
            QTextStream(stderr) << opened.error << '\n';
            return 1;
        }

        StatisticsReport report;
        timer.restart();
        report.compute(doc, QDateTime::currentDateTime());
        const double stats = seconds(timer);

        const QString saved = scratch.filePath(QStringLiteral("saved.xml"));
        timer.restart();
        const LogFileResult save = SaveXMLFile(doc, saved, options, host);
        const double saveTime = seconds(timer);

        const QString csv = scratch.filePath(QStringLiteral("flights.csv"));
        timer.restart();
        const ExportOutcome csvOut = ExportToCSVFile(doc.Flights, csv, exportHost);
        const double csvTime = seconds(timer);

        const QString def = scratch.filePath(QStringLiteral("flights.def"));
        timer.restart();
        const ExportOutcome defOut = ExportToDEFFile(doc.Flights, def, exportHost);
        const double defTime = seconds(timer);

        const QString ranking = scratch.filePath(QStringLiteral("airports.csv"));
        timer.restart();
        const auto rankingOut = ExportLumListView(report.ranking(RankingKind::Airports), ranking);
        const double rankingTime = seconds(timer);

        if (!save.ok || !csvOut.ok || !defOut.ok || !rankingOut || !rankingOut->ok) {
            QTextStream(stderr) << "a write failed: " << save.error << csvOut.error << defOut.error
                                << '\n';
            return 1;
        }
        out << QFileInfo(file).fileName() << ": " << doc.Flights.count() << " flights, "
            << report.ranking(RankingKind::Distances).count() << " distances\n";
        out << QStringLiteral("  open                      %1 s\n").arg(open, 0, 'f', 3);
        out << QStringLiteral("  statistics                %1 s (%2 of the open time)\n")
                   .arg(stats, 0, 'f', 3)
                   .arg(stats / open, 0, 'f', 3);
        out << QStringLiteral("  save                      %1 s (%2 MB, %3 MB/s)\n")
                   .arg(saveTime, 0, 'f', 3)
                   .arg(megabytes(saved), 0, 'f', 1)
                   .arg(megabytes(saved) / saveTime, 0, 'f', 0);
        out << QStringLiteral("  export Flights as CSV     %1 s (%2 MB, %3 MB/s, %4 rows/s)\n")
                   .arg(csvTime, 0, 'f', 3)
                   .arg(megabytes(csv), 0, 'f', 1)
                   .arg(megabytes(csv) / csvTime, 0, 'f', 0)
                   .arg(double(csvOut.rowsWritten) / csvTime, 0, 'f', 0);
        out << QStringLiteral("  export Flights as DEF     %1 s (%2 MB, %3 MB/s, %4 rows/s)\n")
                   .arg(defTime, 0, 'f', 3)
                   .arg(megabytes(def), 0, 'f', 1)
                   .arg(megabytes(def) / defTime, 0, 'f', 0)
                   .arg(double(defOut.rowsWritten) / defTime, 0, 'f', 0);
        out << QStringLiteral("  save, rows per second     %1\n")
                   .arg(double(doc.totalRows()) / saveTime, 0, 'f', 0);
        out << QStringLiteral("  export airport ranking    %1 s\n").arg(rankingTime, 0, 'f', 3);
        out.flush();
    }
    out << "peak memory: " << peakMegabytes() << " MB\n";
    return 0;
}
