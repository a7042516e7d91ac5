// The main window's about dialog and update check: how the program sets them up, and the two
// Help commands that run them.
#include "app/WingbookUnit1.h"
#include "components/MakerInfo.h"
#include "components/ProgramAbout.h"
#include "components/ui/LumAboutDialog.h"
#include "components/ui/LumAppUpdate.h"
#include "platform/ui/DefaultFont.h"

void TForm1::createUpdateComponents()
{
    const AboutSettings about = programAboutSettings();
    LumAboutDialog1 = new TLumAboutDialog(this);
    LumAboutDialog1->Options = about.Options;
    LumAboutDialog1->Author = about.Author;
    LumAboutDialog1->Email = about.Email;
    LumAboutDialog1->URL = about.URL;
    LumAboutDialog1->Text = about.Text;

    LumAppUpdate1 = new TLumAppUpdate(this);
    LumAppUpdate1->UpdateFileURL = makerUpdateFileUrl();
    LumAppUpdate1->UpdatePageURL = makerUpdatePageUrl();
    LumAppUpdate1->FileSizeUnit = TLumAppUpdateFileSizeUnit::KiloBytes;
    LumAppUpdate1->HashType = htNone;
}

void TForm1::applyUpdateComponentFonts()
{
    LumAboutDialog1->Font = defaultFont(TFontKind::fkInterface);
    LumAppUpdate1->Font = defaultFont(TFontKind::fkInterface);
    LumAppUpdate1->FontReadme = defaultFont(TFontKind::fkText);
}

void TForm1::CheckForUpdatesClick()
{
    LumAppUpdate1->Version = LumAboutDialog1->ExtractVersion(false);
    LumAppUpdate1->Execute(false);
}

void TForm1::AboutToolButtonClick()
{
    LumAboutDialog1->Execute();
}
