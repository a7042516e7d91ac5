// import: CSV, TXT and DEF files merged into a log as the window imports dropped files, then
// the log saved as Save does.
#include "cli/CliLog.h"
#include "cli/CliReferenceFiles.h"
#include "components/LumFlatFile.h"
#include "editing/ReferenceFilling.h"
#include "exchange/Importers.h"
#include "exchange/PeerCsvFormat.h"

#include <QFileInfo>
#include <exception>

namespace
{

// Shows nothing while the files are read; the end message of a web logbook's export, one line
// a skipped line, goes to standard error.
class CliImportHost : public ImportHost
{
public:
    explicit CliImportHost(CliContext &ctx) : m_ctx(ctx) {}
    void showImportSummary(const QString &text) override
    {
        for (const QString &line : text.split(u'\n'))
            m_ctx.notice(line);
    }

private:
    CliContext &m_ctx;
};

} // namespace

int importCommand(CliContext &ctx)
{
    const QString &logName = ctx.arguments.first();
    // A missing log starts an empty one, so an empty name cannot stand for one.
    if (logName.isEmpty())
        return ctx.usageError();
    const QStringList fileNames = ctx.arguments.mid(1);

    // Every file is checked before the first is imported: a wrong name changes nothing.
    QList<ImportKind> kinds;
    bool anyCsv = false;
    bool anyPeer = false; // a web logbook's export: its airline names are looked up
    for (const QString &fileName : fileNames) {
        if (!QFileInfo::exists(fileName))
            return ctx.fail(QStringLiteral("\"%1\" does not exist").arg(fileName));
        // As for a dropped file, the extension is compared without regard to case.
        const ImportKind kind = ImportKindOf(fileName, Qt::CaseInsensitive);
        if (kind == ImportKind::None)
            return ctx.fail(
                QStringLiteral("\"%1\" is not a .csv, .txt or .def file").arg(fileName));
        kinds << kind;
        anyCsv = anyCsv || kind == ImportKind::Csv;
        anyPeer = anyPeer || (kind == ImportKind::Csv && IsPeerCsvFile(fileName));
    }

    LogDocument document;
    if (QFileInfo::exists(logName) && !readLogForCli(ctx, document, logName))
        return 1;

    // Only imported flights fill in airlines and airports from the reference files.
    TLumFlatFile airlines;
    TLumFlatFile airports;
    if (anyCsv && (((ctx.options.AutoPopulateAirlines() || anyPeer) &&
                    !loadCliReferenceFile(ctx, airlines, QStringLiteral("Airlines.def"))) ||
                   (ctx.options.AutoPopulateAirports() &&
                    !loadCliReferenceFile(ctx, airports, QStringLiteral("Airports.def")))))
        return 1;
    const ReferenceFiles files{airlines, airports};

    CliImportHost host(ctx);
    for (qsizetype i = 0; i < fileNames.size(); ++i) {
        ImportResult result;
        try {
            result = ImportFile(kinds[i], document, fileNames[i], files, ctx.options, host);
        } catch (const std::exception &error) {
            return ctx.fail(QStringLiteral("Cannot import \"%1\": %2")
                                .arg(fileNames[i], QString::fromLocal8Bit(error.what())));
        }
        // A file that vanished since the check is as missing as one that never was.
        if (!result.ran)
            return ctx.fail(QStringLiteral("\"%1\" does not exist").arg(fileNames[i]));
        if (!result.ok)
            return ctx.fail(result.error);
    }

    return saveAndPrintChangedLog(ctx, document, logName);
}
