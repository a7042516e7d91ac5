#pragma once

#include "components/LangType.h"
#include "platform/SystemInfo.h"
#include "platform/VersionInfo.h"

#include <QDate>
#include <QFlags>
#include <QLocale>
#include <QString>
#include <optional>

// What the about dialog shows and how it shapes the version text.
enum TLumAboutOption : unsigned {
    opEnableVersionInfo = 1u << 0, // take name, version, build and copyright from the resource
    opFormatVersionInfo =
        1u << 1, // pad version numbers to two digits; " - Build " before the build
    opShowAuthor = 1u << 2,
    opShowBuildNumber = 1u << 3,
    opShowTolvarLogo = 1u << 4, // the development tool's logo
    opShowEmail = 1u << 5,
    opShowOSInfo = 1u << 6,
    opShowText = 1u << 7,
    opShowURL = 1u << 8,
    opShowWindowsLogo = 1u << 9, // the platform logo, shown only on Windows XP or later
};
Q_DECLARE_FLAGS(TLumAboutOptions, TLumAboutOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLumAboutOptions)

// The component's initial options, and the ones the program gives it.
inline constexpr TLumAboutOptions kAboutInitialOptions =
    TLumAboutOptions(opEnableVersionInfo | opFormatVersionInfo | opShowAuthor | opShowBuildNumber |
                     opShowEmail | opShowOSInfo | opShowText | opShowURL);
inline constexpr TLumAboutOptions kProgramAboutOptions = kAboutInitialOptions | opShowTolvarLogo;

// The version numbers without the build: with exactly four numbers the fourth is dropped and,
// when `pad`, every later number shorter than two characters gets a leading "0" (1.0.17.0
// gives 1.00.17); any other count is joined back unchanged (2.1.5). Empty pieces are dropped.
QString formatVersionNumbers(const QString &fileVersion, bool pad);
// The fourth number when there are exactly four, otherwise "0".
QString versionBuildNumber(const QString &fileVersion);

// The version text: without the option to read version information, or without a resource,
// "x.xx.xx"; otherwise the formatted numbers and, when asked and allowed by
// opShowBuildNumber, "b" (or "." without opFormatVersionInfo) and the build.
QString extractVersionText(const std::optional<VersionResource> &resource, TLumAboutOptions options,
                           bool includeBuildNumber);
// The same for the running program with the program's options: 1.00.17, or 1.00.17b0.
QString ExtractVersion(bool includeBuildNumber);

// The build text made from the program file's date: 23.05.17 for 17 May 2023.
QString buildDateText(const QDate &date);

// The operating-system line of a system that is not Windows: "Unknown 6.1".
QString operatingSystemLine(const OsIdentity &os);

// Memory in KB (KO in French) with grouped digits: "8,334,616 KB".
QString physicalMemoryText(quint64 bytes, TLangType language,
                           const QLocale &locale = QLocale::system());

// What the component is set to when it runs.
struct AboutSettings {
    QString Author;
    QString Copyright;
    QString Email;
    QString Text;
    QString URL;
    QString Version = QStringLiteral("Version x.xx.xx");
    TLumAboutOptions Options = kAboutInitialOptions;
    TLangType LangType = ltEnglish;
    QString applicationTitle; // the application's title, when the resource has no name
    QDate programFileDate;    // for the build text without version information
    bool releaseNotesExist = false;
};

// Everything the about window shows.
struct AboutTexts {
    QString title;
    QString application;
    QString version; // the version label
    QString copyright;
    QString text;
    QString author;
    QString email;
    QString url;
    QString memoryLabel; // "Physical memory available to Linux :"
    QString physMem;     // the amount, or "-" when the system could not tell
    QString memoryError; // the system's reason when it could not
    QString osInfo;
    QString programIconHint; // "Double-click" when there are release notes
    bool authorVisible = false;
    bool emailVisible = false;
    bool osInfoVisible = false;
    bool textVisible = false;
    bool urlVisible = false;
    bool tolvarLogoVisible = false;
    bool windowsLogoVisible = false;
    // The component's Copyright and Version after the run (rewritten from the resource).
    QString newCopyright;
    QString newVersion;
};

AboutTexts composeAboutTexts(const AboutSettings &settings,
                             const std::optional<VersionResource> &resource, const OsIdentity &os,
                             const PhysicalMemoryInfo &memory,
                             const QLocale &locale = QLocale::system());
