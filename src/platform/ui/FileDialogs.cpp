#include "platform/ui/FileDialogs.h"

#include "platform/SpecialFolders.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace
{

FileDialogs::Responder &responder()
{
    static FileDialogs::Responder instance;
    return instance;
}

FileDialogs::Result showDialog(QWidget *parent, const FileDialogs::Request &request)
{
    QFileDialog dialog(parent, request.title, NearestExistingFolder(request.folder));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (request.filterIndex >= 0 && request.filterIndex < request.filters.size())
        dialog.selectNameFilter(request.filters[request.filterIndex]);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    FileDialogs::Result result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    result.accepted = true;
    result.path = dialog.selectedFiles().constFirst();
    result.filterIndex = int(request.filters.indexOf(dialog.selectedNameFilter()));
    if (result.filterIndex < 0)
        result.filterIndex = request.filterIndex;
    return result;
}

} // namespace

void FileDialogs::setResponder(Responder r)
{
    responder() = std::move(r);
}

FileDialogs::Result FileDialogs::execute(QWidget *parent, const Request &request)
{
    Result result = responder() ? responder()(request) : showDialog(parent, request);
    if (result.accepted)
        result.path = withDefaultExtension(result.path, request.defaultExtension);
    return result;
}

QString FileDialogs::withDefaultExtension(const QString &path, const QString &extension)
{
    if (path.isEmpty() || extension.isEmpty())
        return path;
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || name.contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + extension;
}
