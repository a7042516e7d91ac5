// What the main window reads from and writes to the settings store when it is created, closed
// and destroyed.
#include "app/WingbookUnit1.h"
#include "components/LumFlatFile.h"
#include "components/LumRegistryEnhanced.h"
#include "components/ui/LumRegistryWidgets.h"
#include "components/ui/LumAboutDialog.h"
#include "components/ui/MessageBoxes.h"
#include "geography/AirportPositions.h"
#include "model/LogDocument.h"
#include "platform/SpecialFolders.h"

#include <QCoreApplication>

namespace
{

const QString kOpenHistory = QStringLiteral("History Lists\\Open");
const QString kImportHistory = QStringLiteral("History Lists\\Import");
const QString kPlacement = QStringLiteral("FormInfo\\Main Window");

QString withSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

} // namespace

void TForm1::loadRecentLists()
{
    QStringList captions;
    if (LumRegistryEnhanced1->GetMenu(kOpenHistory, captions))
        m_document->OpenRecent.setEntries(captions);
    captions.clear();
    if (LumRegistryEnhanced1->GetMenu(kImportHistory, captions))
        ImportRecent.setEntries(captions);
}

void TForm1::storeRecentLists()
{
    LumRegistryEnhanced1->SetMenu(kImportHistory, ImportRecent.entries());
    LumRegistryEnhanced1->SetMenu(kOpenHistory, m_document->OpenRecent.entries());
}

void TForm1::refreshStoredVersion()
{
    const QString version = LumAboutDialog1->ExtractVersion(true);
    const QString stored =
        LumRegistryEnhanced1->GetValueDefault(QStringLiteral("Version"), QString()).toString();
    if (stored == version)
        return;
    LumRegistryEnhanced1->SetValue(QStringLiteral("ApplicationPath"),
                                   withSeparator(QCoreApplication::applicationDirPath()));
    LumRegistryEnhanced1->SetValue(QStringLiteral("Version"), version);
}

void TForm1::readReferenceFolders()
{
    CommonDefFilesPath = withSeparator(
        LumRegistryEnhanced1
            ->GetValueDefault(QStringLiteral("CommonDefFilesPath"), DefaultCommonDefFilesPath())
            .toString());
    DefFilesPath = withSeparator(
        LumRegistryEnhanced1->GetValueDefault(QStringLiteral("DefFilesPath"), DefaultDefFilesPath())
            .toString());
}

void TForm1::loadReferenceFiles()
{
    const std::pair<TLumFlatFile *, QString> files[] = {
        {AirlinesLumFlatFile, QStringLiteral("Airlines.def")},
        {AirportsLumFlatFile, QStringLiteral("Airports.def")},
    };
    for (const auto &[flatFile, name] : files) {
        // Without a folder there is nothing to read (a bare name would be looked up in the
        // folder the program was started from).
        flatFile->setFileName(DefFilesPath.isEmpty() ? QString() : DefFilesPath + name);
        if (!flatFile->FileName().isEmpty() && !flatFile->Initialize())
            MessageBoxes::standardError(this, flatFile->LastError());
    }
    // The positions beside Airports.def; a folder without them has none.
    if (!DefFilesPath.isEmpty() &&
        !m_airportPositions->load(DefFilesPath + AirportPositions::fileName()))
        MessageBoxes::standardError(this, m_airportPositions->error());
}

void TForm1::restorePlacement()
{
    LumRegistryWidgets::GetFormInfo(*LumRegistryEnhanced1, kPlacement, this, true);
}

void TForm1::storePlacement()
{
    LumRegistryWidgets::SetFormInfo(*LumRegistryEnhanced1, kPlacement, this);
}
