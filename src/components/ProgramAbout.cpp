#include "components/ProgramAbout.h"

#include "components/MakerInfo.h"
#include "platform/SpecialFolders.h"

#include <QCoreApplication>
#include <QFileInfo>

AboutSettings programAboutSettings()
{
    AboutSettings settings;
    settings.Author = makerAuthor();
    settings.Email = makerEmail();
    settings.URL = makerWebAddress();
    settings.Text = makerCreditLine();
    settings.Options = kProgramAboutOptions;
    // The title the program gives its application at start-up.
    settings.applicationTitle = QStringLiteral("Wingbook");
    settings.programFileDate =
        QFileInfo(QCoreApplication::applicationFilePath()).lastModified().date();
    settings.releaseNotesExist = QFileInfo::exists(releaseNotesFile());
    return settings;
}

AboutTexts programAboutTexts()
{
    return composeAboutTexts(programAboutSettings(), programVersionResource(),
                             operatingSystemIdentity(), totalPhysicalMemory());
}
