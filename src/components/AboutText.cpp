#include "components/AboutText.h"

#include "components/TextHelpers.h"

#include <QStringList>

QString formatVersionNumbers(const QString &fileVersion, bool pad)
{
    QStringList numbers = fileVersion.split(u'.', Qt::SkipEmptyParts);
    if (numbers.size() != 4)
        return numbers.join(u'.');
    numbers.removeLast();
    if (pad) {
        for (qsizetype i = 1; i < numbers.size(); ++i) {
            if (numbers[i].size() < 2)
                numbers[i].prepend(u'0');
        }
    }
    return numbers.join(u'.');
}

QString versionBuildNumber(const QString &fileVersion)
{
    const QStringList numbers = fileVersion.split(u'.', Qt::SkipEmptyParts);
    return numbers.size() == 4 ? numbers.last() : QStringLiteral("0");
}

QString extractVersionText(const std::optional<VersionResource> &resource, TLumAboutOptions options,
                           bool includeBuildNumber)
{
    if (!options.testFlag(opEnableVersionInfo) || !resource)
        return QStringLiteral("x.xx.xx");
    const bool format = options.testFlag(opFormatVersionInfo);
    QString text = formatVersionNumbers(resource->FileVersion, format);
    if (includeBuildNumber && options.testFlag(opShowBuildNumber))
        text += (format ? u'b' : u'.') + versionBuildNumber(resource->FileVersion);
    return text;
}

QString ExtractVersion(bool includeBuildNumber)
{
    return extractVersionText(programVersionResource(), kProgramAboutOptions, includeBuildNumber);
}

QString buildDateText(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yy.MM.dd")) : QString();
}

QString operatingSystemLine(const OsIdentity &os)
{
    return QStringLiteral("Unknown %1.%2").arg(os.majorVersion).arg(os.minorVersion);
}

QString physicalMemoryText(quint64 bytes, TLangType language, const QLocale &locale)
{
    const QString unit = language == ltFrench ? QStringLiteral("KO") : QStringLiteral("KB");
    return FormatCount(qint64(bytes / 1024), locale) + u' ' + unit;
}

AboutTexts composeAboutTexts(const AboutSettings &s, const std::optional<VersionResource> &resource,
                             const OsIdentity &os, const PhysicalMemoryInfo &memory,
                             const QLocale &locale)
{
    AboutTexts t;
    const bool french = s.LangType == ltFrench;
    // Creating the window: the system line, the memory and the icon's hint.
    t.osInfo = operatingSystemLine(os);
    t.physMem = QStringLiteral("-");
    if (memory.ok)
        t.physMem = physicalMemoryText(memory.bytes, s.LangType, locale);
    else
        t.memoryError = memory.error;
    if (s.releaseNotesExist)
        t.programIconHint = QStringLiteral("Double-click");

    t.tolvarLogoVisible = s.Options.testFlag(opShowTolvarLogo);
    // The platform logo needs Windows XP or later, which this system never is.
    t.windowsLogoVisible = false;

    const QString prefix = french ? QStringLiteral("A propos de") : QStringLiteral("About");
    t.newCopyright = s.Copyright;
    t.newVersion = s.Version;
    QString build;
    const bool useResource = s.Options.testFlag(opEnableVersionInfo) && resource;
    const QString name = useResource && !resource->FileDescription.isEmpty()
                             ? resource->FileDescription
                             : s.applicationTitle;
    t.title = prefix + u' ' + name;
    t.application = name;
    if (useResource) {
        t.newCopyright = resource->LegalCopyright + u' ' + resource->CompanyName;
        t.newVersion =
            QStringLiteral("Version ") +
            formatVersionNumbers(resource->FileVersion, s.Options.testFlag(opFormatVersionInfo));
        build = versionBuildNumber(resource->FileVersion);
    }

    t.author = s.Author;
    t.copyright = t.newCopyright;
    t.email = s.Email;
    t.text = s.Text;
    t.url = s.URL;
    t.version = t.newVersion;
    const QString platform =
        os.systemName.isEmpty() ? QStringLiteral("this system") : os.systemName;
    t.memoryLabel = (french ? QStringLiteral("Mémoire physique disponible pour ")
                            : QStringLiteral("Physical memory available to ")) +
                    platform + QStringLiteral(" :");

    t.authorVisible = s.Options.testFlag(opShowAuthor);
    t.emailVisible = s.Options.testFlag(opShowEmail);
    t.osInfoVisible = s.Options.testFlag(opShowOSInfo);
    t.textVisible = s.Options.testFlag(opShowText);
    t.urlVisible = s.Options.testFlag(opShowURL);

    if (s.Options.testFlag(opShowBuildNumber)) {
        if (!s.Options.testFlag(opEnableVersionInfo))
            build = buildDateText(s.programFileDate);
        if (s.Options.testFlag(opFormatVersionInfo))
            t.version += QStringLiteral(" - Build ") + build;
        else
            t.version += u'.' + build;
    }
    return t;
}
