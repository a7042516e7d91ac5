#include "exchange/ui/ImportCommands.h"

#include "app/WingbookUnit1.h"
#include "components/LumFlatFile.h"
#include "components/ui/MessageBoxes.h"
#include "editing/ReferenceFilling.h"
#include "model/LogDocument.h"
#include "platform/SpecialFolders.h"
#include "platform/ui/FileDialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <exception>
#include <utility>

namespace
{

const char *const kExtensions[] = {".csv", ".txt", ".def"};
const ImportKind kKinds[] = {ImportKind::Csv, ImportKind::Txt, ImportKind::Def};

// What the window shows while it reads or writes a log; an import shows the same.
LogFileHost &windowHost(TForm1 &form)
{
    return form.logFileHost();
}

} // namespace

ImportCommands::ImportCommands(TForm1 &form, QObject *parent) : QObject(parent), m_form(form)
{
    m_form.setCommandHandler(MainCommand::Import, [this] { ImportToolButtonClick(); });
    for (size_t i = 0; i < std::size(kKinds); ++i) {
        const ImportKind kind = kKinds[i];
        m_form.setFileImporter(
            QString::fromLatin1(kExtensions[i]),
            [this, kind](const QString &fileName) { importFile(kind, fileName); });
    }
}

void ImportCommands::ImportToolButtonClick()
{
    if (m_form.Processing || !m_form.SaveCurrent())
        return;
    if (m_dialogFolder.isEmpty())
        m_dialogFolder = PersonalDocumentsFolder();
    FileDialogs::Request request;
    request.title = QStringLiteral("Import");
    request.filters = {QStringLiteral("CSV files (*.csv)"), QStringLiteral("DEF files (*.def)"),
                       QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")};
    request.filterIndex = 0;
    request.defaultExtension = QStringLiteral("csv");
    request.folder = m_dialogFolder;
    // The dialog proposes no name: the last imported file is only remembered.
    const FileDialogs::Result result = FileDialogs::execute(&m_form, request);
    if (!result.accepted)
        return;
    // The dialog tells file types by their exact extension: FLIGHTS.CSV imports nothing.
    importFile(ImportKindOf(result.path, Qt::CaseSensitive), result.path);
    m_form.PageControl1Change();
}

void ImportCommands::importFile(ImportKind kind, const QString &fileName)
{
    // One import at a time: the commands that lead here are disabled while one runs.
    if (kind == ImportKind::None || m_form.Processing)
        return;
    const ReferenceFiles files{*m_form.AirlinesLumFlatFile, *m_form.AirportsLumFlatFile};
    ImportResult result;
    m_summary.clear();
    try {
        result = ImportFile(kind, m_form.Document(), fileName, files, m_form.options(), *this);
    } catch (const std::exception &error) {
        // The import has given the window back; what it read so far stays.
        MessageBoxes::standardError(&m_form, QString::fromLocal8Bit(error.what()));
        return;
    }
    if (!result.ok)
        MessageBoxes::standardError(&m_form, result.error);
    if (const std::optional<TableKind> page = ImportedPage(result.counters))
        m_form.setActiveTable(*page);
    if (!m_summary.isEmpty())
        MessageBoxes::information(&m_form, std::exchange(m_summary, QString()));
}

void ImportCommands::beginBusy(bool disableToolbar)
{
    windowHost(m_form).beginBusy(disableToolbar);
}

void ImportCommands::endBusy()
{
    windowHost(m_form).endBusy();
}

void ImportCommands::setStatusText(const QString &text)
{
    windowHost(m_form).setStatusText(text);
}

void ImportCommands::setProgressRange(int maximum)
{
    windowHost(m_form).setProgressRange(maximum);
}

void ImportCommands::stepProgress()
{
    windowHost(m_form).stepProgress();
}

void ImportCommands::fillProgress()
{
    windowHost(m_form).fillProgress();
}

void ImportCommands::suspendRepaint()
{
    windowHost(m_form).suspendRepaint();
}

void ImportCommands::resumeRepaint()
{
    windowHost(m_form).resumeRepaint();
}

void ImportCommands::updateStatusBar()
{
    m_form.UpdateStatusBar();
}

void ImportCommands::setProcessing(bool on)
{
    m_form.setProcessing(on);
    m_eventClock.invalidate();
}

bool ImportCommands::takeStopRequest()
{
    // Letting events run costs more than a line: they run often enough for the window to
    // answer at once, not before every line.
    if (!m_eventClock.isValid() || m_eventClock.elapsed() >= m_eventIntervalMs) {
        QCoreApplication::processEvents();
        m_eventClock.start();
    }
    if (!m_form.StopRequested)
        return false;
    m_form.setProcessing(false);
    return true;
}

void ImportCommands::addToRecentImports(const QString &fileName)
{
    m_form.ImportRecent.AddToRecentMenu(fileName, m_form.options().RecentlyUsedFileList());
}

void ImportCommands::setImportDialogFile(const QString &fileName)
{
    m_dialogFile = fileName;
    m_dialogFolder = QFileInfo(fileName).absolutePath();
}

void ImportCommands::showImportSummary(const QString &text)
{
    // Shown once the page of the imported rows is on screen (importFile).
    m_summary = text;
}
