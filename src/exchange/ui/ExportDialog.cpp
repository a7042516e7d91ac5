#include "exchange/ui/ExportDialog.h"

#include "platform/SpecialFolders.h"

#include <QFileInfo>

QString ExecuteExportDialog(QWidget *parent, const QStringList &filters,
                            const QString &documentFileName, bool promptBeforeOverwriting)
{
    FileDialogs::Request request;
    request.save = true;
    request.title = QStringLiteral("Export");
    request.filters = filters;
    request.filterIndex = 0;
    request.defaultExtension = QStringLiteral("csv");
    request.overwritePrompt = promptBeforeOverwriting;
    request.folder = documentFileName.isEmpty() ? PersonalDocumentsFolder()
                                                : QFileInfo(documentFileName).absolutePath();
    const FileDialogs::Result result = FileDialogs::execute(parent, request);
    return result.accepted ? result.path : QString();
}
