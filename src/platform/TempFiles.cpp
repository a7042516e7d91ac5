#include "platform/TempFiles.h"

#include "platform/SpecialFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

QString createUniqueTempFile(const QString &prefix, QString *error)
{
    const QString folder = TempFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        // The system names a temporary folder that does not exist (TMPDIR).
        if (error)
            *error = QStringLiteral("The temporary folder \"%1\" does not exist.")
                         .arg(QDir::toNativeSeparators(
                             qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp"))));
        return QString();
    }
    QTemporaryFile file(folder + u'/' + prefix + QStringLiteral("XXXXXX.tmp"));
    file.setAutoRemove(false);
    if (!file.open()) {
        if (error)
            *error = QStringLiteral("Cannot create a temporary file in \"%1\". %2")
                         .arg(QDir::toNativeSeparators(folder), file.errorString());
        return QString();
    }
    return file.fileName();
}
