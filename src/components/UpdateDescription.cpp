#include "components/UpdateDescription.h"

#include "components/TextFileReader.h"

namespace
{

QString baseName(const QString &path)
{
    // Either separator, so that a name from another system's command line works too.
    const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QString name = path.mid(slash + 1);
    return name.left(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
}

} // namespace

QString programSectionName(const QString &executablePath, const QStringList &arguments)
{
    const qsizetype slash =
        qMax(executablePath.lastIndexOf(u'/'), executablePath.lastIndexOf(u'\\'));
    const QString fileName = executablePath.mid(slash + 1);
    if (fileName.compare(QLatin1String("rundll32.exe"), Qt::CaseInsensitive) == 0 &&
        arguments.size() > 1) {
        const QString argument = arguments.at(1);
        return baseName(
            argument.left(argument.indexOf(u',') < 0 ? argument.size() : argument.indexOf(u',')));
    }
    return baseName(executablePath);
}

UpdateDescription readUpdateSection(const QString &fileName, const QString &section)
{
    UpdateDescription d;
    const TextFileContent content = ReadTextFile(fileName);
    if (!content.ok)
        return d;
    struct Key {
        QLatin1String name;
        QString *value;
        bool found = false;
    };
    Key keys[] = {
        {QLatin1String("DownloadFileURL"), &d.DownloadFileURL},
        {QLatin1String("ReadmeFileURL"), &d.ReadmeFileURL},
        {QLatin1String("UpdatePageURL"), &d.UpdatePageURL},
        {QLatin1String("Version"), &d.Version},
        {QLatin1String("MD5Hash"), &d.MD5Hash},
        {QLatin1String("SHA1Hash"), &d.SHA1Hash},
        {QLatin1String("SHA256Hash"), &d.SHA256Hash},
    };
    bool inSection = false;
    for (const QString &raw : content.lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close < 0)
                continue;
            if (inSection)
                break; // the first section of the name is the one read
            const QString name = line.mid(1, close - 1).trimmed();
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString name = line.left(equals).trimmed();
        for (Key &key : keys) {
            if (!key.found && name.compare(key.name, Qt::CaseInsensitive) == 0) {
                *key.value = line.mid(equals + 1).trimmed();
                key.found = true;
            }
        }
    }
    return d;
}

bool isNewerVersion(const QString &running, const QString &published)
{
    return QString::compare(running, published, Qt::CaseSensitive) < 0;
}
