#include "platform/SpecialFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

QString standardFolder(QStandardPaths::StandardLocation location)
{
    return QStandardPaths::writableLocation(location);
}

QString dataSubfolder(const QString &name)
{
    const QString common = CommonAppDataFolder();
    return common.isEmpty() ? QString() : common + QStringLiteral("/Marovek/") + name + u'/';
}

} // namespace

QString CommonAppDataFolder()
{
    if (!QCoreApplication::instance())
        return QString();
    // canonicalPath is "" when the folder does not exist.
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../share"))
        .canonicalPath();
}

QString PersonalDocumentsFolder()
{
    return standardFolder(QStandardPaths::DocumentsLocation);
}

QString NearestExistingFolder(const QString &folder)
{
    if (folder.isEmpty())
        return QString();
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QString();
        path = parent;
    }
    return path;
}

QString LocalAppDataFolder()
{
    return standardFolder(QStandardPaths::GenericDataLocation);
}

QString TempFolder()
{
    return standardFolder(QStandardPaths::TempLocation);
}

QString DefaultCommonDefFilesPath()
{
    return dataSubfolder(QStringLiteral("Common Files"));
}

QString DefaultDefFilesPath()
{
    return dataSubfolder(QStringLiteral("Wingbook"));
}

QString releaseNotesFile()
{
    if (!QCoreApplication::instance())
        return QString();
    const QString program = QCoreApplication::applicationFilePath();
    const QFileInfo info(program);
    const qsizetype dot = info.fileName().lastIndexOf(u'.');
    if (dot < 0)
        return program + QStringLiteral(".txt");
    return info.path() + u'/' + info.fileName().left(dot) + QStringLiteral(".txt");
}
