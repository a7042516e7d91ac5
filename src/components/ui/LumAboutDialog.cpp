#include "components/ui/LumAboutDialog.h"

#include "components/ui/LumAbout.h"
#include "components/ui/MessageBoxes.h"
#include "platform/SpecialFolders.h"

#include <QApplication>
#include <QFileInfo>
#include <QPalette>

TLumAboutDialog::TLumAboutDialog(QObject *parent)
    : QObject(parent), Font(QStringLiteral("Segoe UI"), 9),
      FontColor(QPalette().color(QPalette::ToolTipText)),
      m_programFile(QCoreApplication::applicationFilePath()), m_resource(programVersionResource())
{
}

void TLumAboutDialog::setVersionResource(std::optional<VersionResource> resource)
{
    m_resource = std::move(resource);
}

QString TLumAboutDialog::ExtractVersion(bool IncludeBuildNumber)
{
    const QString text = extractVersionText(m_resource, Options, IncludeBuildNumber);
    if (Options.testFlag(opEnableVersionInfo) && m_resource)
        Version = QStringLiteral("Version ") + extractVersionText(m_resource, Options, false);
    return text;
}

AboutTexts TLumAboutDialog::texts() const
{
    AboutSettings settings;
    settings.Author = Author;
    settings.Copyright = Copyright;
    settings.Email = Email;
    settings.Text = Text;
    settings.URL = URL;
    settings.Version = Version;
    settings.Options = Options;
    settings.LangType = LangType;
    settings.applicationTitle = QCoreApplication::applicationName();
    settings.programFileDate = QFileInfo(m_programFile).lastModified().date();
    settings.releaseNotesExist = QFileInfo::exists(releaseNotesFile());
    return composeAboutTexts(settings, m_resource, operatingSystemIdentity(),
                             totalPhysicalMemory());
}

bool TLumAboutDialog::Execute()
{
    QWidget *owner = qobject_cast<QWidget *>(parent());
    const AboutTexts shown = texts();
    TLumAboutBox box(owner);
    if (!shown.memoryError.isEmpty())
        MessageBoxes::error(owner, shown.memoryError);
    Copyright = shown.newCopyright;
    Version = shown.newVersion;
    box.fill(shown);
    box.setReleaseNotesFile(releaseNotesFile());
    box.setFont(Font);
    QPalette palette = box.palette();
    if (FontColor.isValid())
        palette.setColor(QPalette::WindowText, FontColor);
    box.setPalette(palette);
    for (QLabel *link :
         {static_cast<QLabel *>(box.EmailLabel), static_cast<QLabel *>(box.URLLabel)}) {
        QFont linkFont = Font;
        linkFont.setUnderline(true);
        link->setFont(linkFont);
        QPalette linkPalette = link->palette();
        linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 128));
        link->setPalette(linkPalette);
    }
    const QIcon icon = Icon.isNull() ? QApplication::windowIcon() : Icon;
    box.ProgramIconImage->setPixmap(icon.pixmap(40, 40));
    emit aboutBoxReady(&box);
    return box.exec() == QDialog::Accepted;
}
