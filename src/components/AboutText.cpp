#include "components/AboutText.h"

#include "components/TextHelpers.h"

#include <QStringList>

QString FormatVersionNumbers(const QString &fileVersion, bool pad)
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

QString VersionBuildNumber(const QString &fileVersion)
{
    const QStringList numbers = fileVersion.split(u'.', Qt::SkipEmptyParts);
    return numbers.size() == 4 ? numbers.last() : QStringLiteral("0");
}

QString ExtractVersionText(const std::optional<TVersionResource> &resource,
                           TLumAboutOptions options, bool includeBuildNumber)
{
    if (!options.testFlag(opEnableVersionInfo) || !resource)
        return QStringLiteral("x.xx.xx");
    const bool format = options.testFlag(opFormatVersionInfo);
    QString text = FormatVersionNumbers(resource->FileVersion, format);
    if (includeBuildNumber && options.testFlag(opShowBuildNumber))
        text += (format ? u'b' : u'.') + VersionBuildNumber(resource->FileVersion);
    return text;
}

QString ExtractVersion(bool includeBuildNumber)
{
    return ExtractVersionText(ProgramVersionResource(), kProgramAboutOptions, includeBuildNumber);
}

QString BuildDateText(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yy.MM.dd")) : QString();
}

QString OperatingSystemLine(const OsIdentity &os)
{
    return QStringLiteral("Unknown %1.%2").arg(os.majorVersion).arg(os.minorVersion);
}

QString PhysicalMemoryText(quint64 bytes, TLangType language, const QLocale &locale)
{
    const QString unit = language == ltFrench ? QStringLiteral("KO") : QStringLiteral("KB");
    return FormatCount(qint64(bytes / 1024), locale) + u' ' + unit;
}

TAboutTexts ComposeAboutTexts(const TAboutSettings &s,
                              const std::optional<TVersionResource> &resource, const OsIdentity &os,
                              const PhysicalMemoryInfo &memory, const QLocale &locale)
{
    TAboutTexts t;
    const bool french = s.LangType == ltFrench;
    // Creating the window: the system line, the memory and the icon's hint.
    t.OSInfo = OperatingSystemLine(os);
    t.PhysMem = QStringLiteral("-");
    if (memory.ok)
        t.PhysMem = PhysicalMemoryText(memory.bytes, s.LangType, locale);
    else
        t.MemoryError = memory.error;
    if (s.ReleaseNotesExist)
        t.ProgramIconHint = QStringLiteral("Double-click");

    t.TolvarLogoVisible = s.Options.testFlag(opShowTolvarLogo);
    // The platform logo needs Windows XP or later, which this system never is.
    t.WindowsLogoVisible = false;

    const QString prefix = french ? QStringLiteral("A propos de") : QStringLiteral("About");
    t.NewCopyright = s.Copyright;
    t.NewVersion = s.Version;
    QString build;
    const bool useResource = s.Options.testFlag(opEnableVersionInfo) && resource;
    const QString name = useResource && !resource->FileDescription.isEmpty()
                             ? resource->FileDescription
                             : s.ApplicationTitle;
    t.Title = prefix + u' ' + name;
    t.Application = name;
    if (useResource) {
        t.NewCopyright = resource->LegalCopyright + u' ' + resource->CompanyName;
        t.NewVersion =
            QStringLiteral("Version ") +
            FormatVersionNumbers(resource->FileVersion, s.Options.testFlag(opFormatVersionInfo));
        build = VersionBuildNumber(resource->FileVersion);
    }

    t.Author = s.Author;
    t.Copyright = t.NewCopyright;
    t.Email = s.Email;
    t.Text = s.Text;
    t.URL = s.URL;
    t.Version = t.NewVersion;
    const QString platform =
        os.systemName.isEmpty() ? QStringLiteral("this system") : os.systemName;
    t.MemoryLabel = (french ? QStringLiteral("Mémoire physique disponible pour ")
                            : QStringLiteral("Physical memory available to ")) +
                    platform + QStringLiteral(" :");

    t.AuthorVisible = s.Options.testFlag(opShowAuthor);
    t.EmailVisible = s.Options.testFlag(opShowEmail);
    t.OSInfoVisible = s.Options.testFlag(opShowOSInfo);
    t.TextVisible = s.Options.testFlag(opShowText);
    t.URLVisible = s.Options.testFlag(opShowURL);

    if (s.Options.testFlag(opShowBuildNumber)) {
        if (!s.Options.testFlag(opEnableVersionInfo))
            build = BuildDateText(s.ProgramFileDate);
        if (s.Options.testFlag(opFormatVersionInfo))
            t.Version += QStringLiteral(" - Build ") + build;
        else
            t.Version += u'.' + build;
    }
    return t;
}
