// The document's lifecycle: New, Open, Save, Save As, the save question, the recent-file menus'
// click rules, the start-up file and the release notes.
#include "app/MainWindowLogHost.h"
#include "app/WingbookUnit1.h"
#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "options/StartupFile.h"
#include "platform/SpecialFolders.h"
#include "platform/ui/FileDialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>
#include <exception>

namespace
{

const QString kSaveQuestion = QStringLiteral("Do you want to save the current file?");

// File types of the dialogs and recent menus are told by their exact extension.
bool hasExtension(const QString &path, const QString &extension,
                  Qt::CaseSensitivity cs = Qt::CaseSensitive)
{
    const QString name = QFileInfo(path).fileName();
    return name.size() > extension.size() && name.endsWith(extension, cs);
}

QString extensionOf(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QStringList logFileFilters()
{
    return {QStringLiteral("XML files (*.xml)"), QStringLiteral("All files (*)")};
}

QString menuCaption(const QString &path)
{
    // A path is shown as it is: "&" is not an accelerator marker here.
    QString caption = path;
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString missingFileText(const QString &verb, const QString &path)
{
    return verb + QStringLiteral(" \"") + path + QStringLiteral("\".\r") +
           QStringLiteral("The file has been deleted or moved.");
}

} // namespace

bool TForm1::SaveCurrent()
{
    LogDocument &document = *m_document;
    if (!document.isModified()) {
        if (document.isEmpty())
            return true;
        if (!document.SaveFileName.isEmpty())
            return true;
    }
    if (MessageBoxes::confirm(this, kSaveQuestion))
        return save() != SaveOutcome::Failed;
    document.setModified(false);
    return true;
}

void TForm1::NewToolButtonClick()
{
    if (!SaveCurrent())
        return;
    m_document->clearTables();
    m_document->DocumentFileName.clear();
    m_document->SaveFileName.clear();
    m_logHost->setProgressPosition(0);
    UpdateStatusBar();
}

void TForm1::OpenToolButtonClick()
{
    if (!SaveCurrent())
        return;
    if (m_openDialogFolder.isEmpty())
        m_openDialogFolder = PersonalDocumentsFolder();
    FileDialogs::Request request;
    request.title = QStringLiteral("Open");
    request.filters = logFileFilters();
    request.filterIndex = 0;
    request.defaultExtension = QStringLiteral("xml");
    request.folder = m_openDialogFolder;
    // A cancelled dialog leaves DocumentFileName as it was.
    const FileDialogs::Result result = FileDialogs::execute(this, request);
    if (!result.accepted)
        return;
    m_document->DocumentFileName = result.path;
    m_openDialogFolder = QFileInfo(result.path).absolutePath();
    if (hasExtension(result.path, QStringLiteral(".xml")))
        openLogFile(result.path);
    PageControl1Change();
}

bool TForm1::openLogFile(const QString &fileName)
{
    const LogFileResult result = OpenXMLFile(*m_document, fileName, options(), *m_logHost);
    if (result.ok)
        return true;
    // The tables were emptied before the file proved unreadable: the counts must say so.
    UpdateStatusBar();
    MessageBoxes::standardError(this, result.error);
    return false;
}

bool TForm1::saveLogFile(const QString &fileName)
{
    const LogFileResult result = SaveXMLFile(*m_document, fileName, options(), *m_logHost);
    if (result.ok) {
        // Cells that a log file cannot carry were mended: the user learns how many.
        if (!result.notice.isEmpty())
            MessageBoxes::information(this, result.notice);
        return true;
    }
    MessageBoxes::standardError(this, result.error);
    return false;
}

TForm1::SaveOutcome TForm1::save()
{
    const QString fileName = m_document->SaveFileName;
    // A bare name (left by a cancelled Save As) is no place to write: it would land in
    // whatever folder the program was started from.
    const QFileInfo info(fileName);
    if (hasExtension(fileName, QStringLiteral(".xml")) && info.isAbsolute() && info.isFile())
        return saveLogFile(fileName) ? SaveOutcome::Written : SaveOutcome::Failed;
    return saveAs();
}

TForm1::SaveOutcome TForm1::saveAs()
{
    LogDocument &document = *m_document;
    FileDialogs::Request request;
    request.save = true;
    request.title = QStringLiteral("Save As");
    request.filters = logFileFilters();
    request.defaultExtension = QStringLiteral("xml");
    request.overwritePrompt = options().PromptBeforeOverwritingFiles();
    QString proposed;
    if (!document.DocumentFileName.isEmpty()) {
        const QFileInfo info(document.DocumentFileName);
        request.folder = info.absolutePath();
        proposed = info.fileName();
    } else {
        request.folder = PersonalDocumentsFolder();
    }
    request.proposedName = proposed;
    document.SaveFileName = proposed;
    if (hasExtension(proposed, QStringLiteral(".def")))
        request.filterIndex = 0;
    else if (hasExtension(proposed, QStringLiteral(".xml")))
        request.filterIndex = 1;
    else
        request.filterIndex = m_saveDialogFilterIndex;

    const FileDialogs::Result result = FileDialogs::execute(this, request);
    if (!result.accepted)
        return SaveOutcome::Skipped;
    m_saveDialogFilterIndex = result.filterIndex;
    document.SaveFileName = result.path;
    if (!hasExtension(result.path, QStringLiteral(".xml")))
        return SaveOutcome::Skipped;
    if (!saveLogFile(result.path))
        return SaveOutcome::Failed;
    document.DocumentFileName = result.path;
    document.setModified(false);
    UpdateStatusBar();
    return SaveOutcome::Written;
}

void TForm1::SaveToolButtonClick()
{
    save();
}

void TForm1::SaveAsToolButtonClick()
{
    saveAs();
}

void TForm1::FindToolButtonClick()
{
    if (TLumListView *view = GetActiveLumListView())
        view->Find();
}

void TForm1::AddToolButtonClick()
{
    // The toolbar's Add always adds: the selection is cleared first.
    const TableKind kind = activeTable();
    if (!page(kind).items[size_t(RecordCommand::Add)].handler)
        return;
    listView(kind)->clearSelection();
    runRecordCommand(kind, RecordCommand::Add);
}

void TForm1::ExitToolButtonClick()
{
    close();
}

void TForm1::ReleaseNotesClick()
{
    const QString program = QCoreApplication::applicationFilePath();
    const QFileInfo info(program);
    const qsizetype dot = info.fileName().lastIndexOf(QLatin1Char('.'));
    const QString notes = dot < 0 ? program + QStringLiteral(".txt")
                                  : info.path() + QLatin1Char('/') + info.fileName().left(dot) +
                                        QStringLiteral(".txt");
    if (QFileInfo::exists(notes))
        QDesktopServices::openUrl(QUrl::fromLocalFile(notes));
}

void TForm1::rebuildRecentMenu(QMenu *menu, const RecentFileList &list, bool openMenu)
{
    menu->clear();
    for (const QString &path : list.entries()) {
        menu->addAction(menuCaption(path), this, [this, path, openMenu] {
            if (openMenu)
                OpenPopupMenuClick(path);
            else
                ImportPopupMenuClick(path);
        });
    }
}

void TForm1::trimRecentLists()
{
    m_document->OpenRecent.trimTo(options().RecentlyUsedFileList());
    ImportRecent.trimTo(options().RecentlyUsedFileList());
}

void TForm1::setFileImporter(const QString &extension,
                             std::function<void(const QString &)> importer)
{
    m_importers.insert(extension, std::move(importer));
}

void TForm1::OpenPopupMenuClick(const QString &path)
{
    if (!SaveCurrent())
        return;
    if (QFileInfo::exists(path)) {
        if (hasExtension(path, QStringLiteral(".xml")))
            openLogFile(path);
        return;
    }
    MessageBoxes::error(this, missingFileText(QStringLiteral("Cannot open"), path));
    m_document->OpenRecent.remove(path);
}

void TForm1::ImportPopupMenuClick(const QString &path)
{
    if (!SaveCurrent())
        return;
    if (QFileInfo::exists(path)) {
        const auto importer = m_importers.value(extensionOf(path));
        if (importer)
            importer(path);
        return;
    }
    MessageBoxes::error(this, missingFileText(QStringLiteral("Cannot import"), path));
    ImportRecent.remove(path);
}

void TForm1::openStartupFile(const QStringList &arguments)
{
    const QString chosen = ChooseStartupFile(arguments, options().OpenLastOpenedFileAtStartup(),
                                             m_document->OpenRecent.entries());
    QString path;
    try {
        path = StartupLogFile(chosen, m_shortcutResolver);
    } catch (const std::exception &error) {
        MessageBoxes::standardError(this, QString::fromUtf8(error.what()));
    }
    if (!path.isEmpty()) {
        openLogFile(path);
        m_logHost->fillProgress();
    }
    UpdateStatusBar();
}
