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
      m_programFile(QCoreApplication::applicationFilePath()), m_resource(ProgramVersionResource())
{
}

void TLumAboutDialog::setVersionResource(std::optional<TVersionResource> resource)
{
    m_resource = std::move(resource);
}

QString TLumAboutDialog::ExtractVersion(bool IncludeBuildNumber)
{
    const QString text = ExtractVersionText(m_resource, Options, IncludeBuildNumber);
    if (Options.testFlag(opEnableVersionInfo) && m_resource)
        Version = QStringLiteral("Version ") + ExtractVersionText(m_resource, Options, false);
    return text;
}

TAboutTexts TLumAboutDialog::Texts() const
{
    TAboutSettings settings;
    settings.Author = Author;
    settings.Copyright = Copyright;
    settings.Email = Email;
    settings.Text = Text;
    settings.URL = URL;
    settings.Version = Version;
    settings.Options = Options;
    settings.LangType = LangType;
    settings.ApplicationTitle = QCoreApplication::applicationName();
    settings.ProgramFileDate = QFileInfo(m_programFile).lastModified().date();
    settings.ReleaseNotesExist = QFileInfo::exists(ReleaseNotesFile());
    return ComposeAboutTexts(settings, m_resource, OperatingSystemIdentity(),
                             TotalPhysicalMemory());
}

bool TLumAboutDialog::Execute()
{
    QWidget *owner = qobject_cast<QWidget *>(parent());
    const TAboutTexts texts = Texts();
    TLumAboutBox box(owner);
    if (!texts.MemoryError.isEmpty())
        MessageBoxes::error(owner, texts.MemoryError);
    Copyright = texts.NewCopyright;
    Version = texts.NewVersion;
    box.fill(texts);
    box.setReleaseNotesFile(ReleaseNotesFile());
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
