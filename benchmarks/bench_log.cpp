// Times opening, sorting, editing and saving logs: bench_log [--figures|--phases] LOG.xml ...
// With --figures, one "name seconds" line per figure (benchmarks/run.sh reads them). With
// --phases, the steps of opening one by one (read, sorts, reference counts, preferred values)
// with their processor time and the pages of memory the process touched for the first time,
// which cost as much as the work itself on some virtual machines.
// Opening is the whole read the window does: parse, rows, sorts, reference counts and
// preferred values. Peak memory is the process's high-water mark after all runs.
#include "components/LumFlatFile.h"
#include "editing/FlightEditing.h"
#include "editing/ReferenceFilling.h"
#include "editing/RowRemoval.h"
#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "model/LogFileReader.h"
#include "model/LogJsonWriter.h"
#include "options/WingbookOptions.h"

#include "BenchClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace
{

using BenchClock::cpuSeconds;
using BenchClock::peakMegabytes;
using BenchClock::seconds;

long minorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// The steps of OpenXMLFile, timed one by one.
int printPhases(QTextStream &out, const QString &file, const WingbookOptions &options)
{
    LogDocument doc;
    LogFileHost host;
    QElapsedTimer timer;
    double cpu = 0;
    long faults = 0;
    const auto start = [&] {
        timer.restart();
        cpu = cpuSeconds();
        faults = minorFaults();
    };
    const auto report = [&](const char *name) {
        out << qSetFieldWidth(24) << Qt::left << name << qSetFieldWidth(0)
            << QString::asprintf("%8.1f ms  processor %8.1f ms  %7ld new pages\n",
                                 seconds(timer) * 1000, (cpuSeconds() - cpu) * 1000,
                                 minorFaults() - faults);
    };
    timer.start();
    start();
    for (LogTable *t : doc.tables())
        t->beginBulkLoad();
    const QString error = ReadLogRecords(file, doc, host);
    for (LogTable *t : doc.tables())
        t->endBulkLoad();
    if (!error.isEmpty()) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    report("read (parse, rows)");
    out << "  (" << doc.Flights.textPool().size() << " texts in the pool)\n";
    start();
    doc.sortAsOptionsSay(options);
    report("sorts");
    start();
    doc.countReferences();
    report("reference counts");
    start();
    doc.choosePreferredValues();
    report("preferred values");
    start();
    qint64 jsonBytes = 0;
    WriteLogJson(doc, [&jsonBytes](std::string_view block) {
        jsonBytes += qint64(block.size());
        return true;
    });
    report("JSON of the log");
    out << "  (" << jsonBytes / 1000000 << " MB, not kept)\n";
    // Lookups read the column until they come often enough to pay for an index: the ninth
    // lookup of a table builds it, and that cost falls on whichever edit makes it.
    start();
    for (int i = 0; i <= LookupIndexState::kScansBeforeIndex; ++i)
        doc.Flights.FindItemByPair(QStringLiteral("2027-06-01"), QStringLiteral("12:30"));
    report("9 flight lookups");
    start();
    for (int i = 0; i <= LookupIndexState::kScansBeforeIndex; ++i)
        doc.Distances.findPairEitherWay(doc.Distances.cell(0, 1), doc.Distances.cell(0, 0));
    report("9 distance lookups");
    // The indexes keep up with sorts: the rows moved, the next lookups stay quick.
    start();
    doc.Flights.Sort(2, true);
    doc.SortFlights();
    report("two sorts of the flights");
    start();
    for (int i = 0; i <= LookupIndexState::kScansBeforeIndex; ++i)
        doc.Flights.FindItemByPair(QStringLiteral("2027-06-01"), QStringLiteral("12:30"));
    report("9 flight lookups again");
    out << "peak memory " << peakMegabytes() << " MB\n";
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList files = app.arguments().mid(1);
    const bool figures = files.removeAll(QStringLiteral("--figures")) > 0;
    const bool phases = files.removeAll(QStringLiteral("--phases")) > 0;
    if (files.isEmpty()) {
        QTextStream(stderr) << "usage: bench_log [--figures|--phases] LOG.xml [LOG.xml ...]\n";
        return 2;
    }
    OptionSet options;
    if (phases) {
        for (const QString &file : files) {
            if (printPhases(out, file, options) != 0)
                return 1;
        }
        return 0;
    }
    QTemporaryDir scratch;
    LogFileHost host;
    for (const QString &file : files) {
        LogDocument doc;
        QElapsedTimer timer;
        timer.start();
        double cpu = cpuSeconds();
        const LogFileResult opened = OpenXMLFile(doc, file, options, host);
        const double open = seconds(timer);
        const double openCpu = cpuSeconds() - cpu;
        if (!opened.ok) {
            QTextStream(stderr) << opened.error << '\n';
            return 1;
        }
        timer.restart();
        doc.Flights.Sort(2, true); // "From": text
        doc.Flights.Sort(5, true); // "Flight": numbers
        doc.SortFlights();         // time, then date
        const double sort = seconds(timer);
        // One flight added, modified and deleted, as the flight dialog and Delete do. The
        // generated logs end in 2026: the new flights are new, and go to the top.
        TLumFlatFile airlines, airports; // no reference files: codes stay unnamed
        const ReferenceFiles references{airlines, airports};
        FlightFields fields{QDate(2027, 6, 1),      QTime(12, 30),          doc.Flights.cell(0, 2),
                            doc.Flights.cell(0, 3), doc.Flights.cell(0, 4), QStringLiteral("42")};
        // Each edit's wall-clock and processor time (which other work does not stretch).
        struct Edit {
            double wall = 0;
            double cpu = 0;
        };
        const auto timed = [&timer](const auto &edit) {
            timer.restart();
            const double start = cpuSeconds();
            edit();
            return Edit{seconds(timer), cpuSeconds() - start};
        };
        QString added, addedAgain, modified, modifiedAgain;
        const Edit add = timed([&] {
            added = SubmitFlight(doc, FlightDialogMode::Add, -1, fields, references, options);
        });
        fields.date = QDate(2027, 6, 2);
        const Edit addAgain = timed([&] {
            addedAgain = SubmitFlight(doc, FlightDialogMode::Add, -1, fields, references, options);
        });
        fields.date = QDate(2027, 6, 1);
        const int row =
            doc.Flights.FindItemByPair(QStringLiteral("2027-06-01"), QStringLiteral("12:30"));
        fields.time = QTime(6, 15);
        const Edit modify = timed([&] {
            modified =
                SubmitFlight(doc, FlightDialogMode::Modify, row, fields, references, options);
        });
        fields.time = QTime(6, 20);
        const Edit modifyAgain = timed([&] {
            modifiedAgain = SubmitFlight(
                doc, FlightDialogMode::Modify,
                doc.Flights.FindItemByPair(QStringLiteral("2027-06-01"), QStringLiteral("06:15")),
                fields, references, options);
        });
        const Edit remove = timed([&] { DeleteFlights(doc, {doc.Flights.count() / 2}); });
        const Edit removeAgain = timed([&] { DeleteFlights(doc, {doc.Flights.count() / 3}); });
        if (!added.isEmpty() || !addedAgain.isEmpty() || !modified.isEmpty() ||
            !modifiedAgain.isEmpty()) {
            QTextStream(stderr) << added << addedAgain << modified << modifiedAgain << '\n';
            return 1;
        }
        timer.restart();
        cpu = cpuSeconds();
        const LogFileResult saved =
            SaveXMLFile(doc, scratch.filePath(QStringLiteral("saved.xml")), options, host);
        const double save = seconds(timer);
        const double saveCpu = cpuSeconds() - cpu;
        if (!saved.ok) {
            QTextStream(stderr) << saved.error << '\n';
            return 1;
        }
        const auto figure = [](double value) { return QString::number(value, 'f', 4); };
        if (figures) {
            // One figure a line, for benchmarks/run.sh.
            out << "flights " << doc.Flights.count() << "\nopen " << figure(open) << "\nsorts "
                << figure(sort) << "\nsave " << figure(save) << "\nopen_cpu " << figure(openCpu)
                << "\nsave_cpu " << figure(saveCpu) << '\n';
            const std::pair<const char *, Edit> edits[] = {
                {"add", add},       {"add_again", addAgain},
                {"modify", modify}, {"modify_again", modifyAgain},
                {"delete", remove}, {"delete_again", removeAgain}};
            for (const auto &[name, edit] : edits)
                out << name << ' ' << figure(edit.wall) << '\n'
                    << name << "_cpu " << figure(edit.cpu) << '\n';
        } else {
            out << QFileInfo(file).fileName() << ": " << doc.Flights.count() << " flights, "
                << QFileInfo(file).size() / (1024 * 1024) << " MB; open " << figure(open)
                << " s, four sorts " << figure(sort) << " s, add flight " << figure(add.wall)
                << " s, another " << figure(addAgain.wall) << " s, modify " << figure(modify.wall)
                << " s, again " << figure(modifyAgain.wall) << " s, delete " << figure(remove.wall)
                << " s, again " << figure(removeAgain.wall) << " s, save " << figure(save)
                << " s; processor time: open " << figure(openCpu) << " s, save " << figure(saveCpu)
                << " s\n";
        }
        out.flush();
    }
    if (figures) {
        out << "peak_mb " << peakMegabytes() << '\n';
        return 0;
    }
    out << "peak memory: " << peakMegabytes() << " MB\n";
    return 0;
}
