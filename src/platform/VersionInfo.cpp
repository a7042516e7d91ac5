#include "platform/VersionInfo.h"

#include <QStringList>

QString ProgramFileVersion()
{
    return QStringLiteral(WINGBOOK_VERSION);
}

QString ExtractVersion(const QString &fileVersion, bool includeBuildNumber)
{
    QStringList parts = fileVersion.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (parts.size() != 4)
        return parts.join(QLatin1Char('.'));
    const QString build = parts.takeLast();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].size() < 2)
            parts[i].prepend(QLatin1Char('0'));
    }
    QString text = parts.join(QLatin1Char('.'));
    if (includeBuildNumber)
        text += QLatin1Char('b') + build;
    return text;
}

QString ExtractVersion(bool includeBuildNumber)
{
    return ExtractVersion(ProgramFileVersion(), includeBuildNumber);
}
