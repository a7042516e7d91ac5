#include "options/StartupFile.h"

#include <QFileInfo>

bool HasExtensionIgnoringCase(const QString &path, const QString &extension)
{
    const QString name = QFileInfo(path).fileName();
    return name.size() > extension.size() && name.endsWith(extension, Qt::CaseInsensitive);
}

QString ChooseStartupFile(const QStringList &arguments, bool openLastOpened,
                          const QStringList &openRecent)
{
    if (!arguments.isEmpty())
        return arguments.join(QLatin1Char(' '));
    if (openLastOpened && !openRecent.isEmpty() && QFileInfo::exists(openRecent.constFirst()))
        return openRecent.constFirst();
    return {};
}

QString StartupLogFile(const QString &chosen,
                       const std::function<QString(const QString &)> &resolveShortcut)
{
    if (chosen.isEmpty() || !QFileInfo::exists(chosen))
        return {};
    QString path = chosen;
    if (HasExtensionIgnoringCase(path, QStringLiteral(".lnk"))) {
        if (!resolveShortcut)
            return {};
        path = resolveShortcut(path);
    }
    const QFileInfo log(path);
    if (!HasExtensionIgnoringCase(path, QStringLiteral(".xml")) || !log.isFile())
        return {};
    // A name relative to the folder the program was started in would make a recent-file
    // entry that fails from any other folder.
    return log.absoluteFilePath();
}
