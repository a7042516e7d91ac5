#include "components/ui/LumAppUpdate.h"

#include "components/ComponentError.h"
#include "components/UpdateCheck.h"
#include "components/UpdateDescription.h"
#include "components/UpdateFetcher.h"
#include "components/ui/LumAppUpdateNotify.h"
#include "components/ui/MessageBoxes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QUrl>
#include <QWidget>

#include <memory>

TLumAppUpdate::TLumAppUpdate(QWidget *owner)
    : QObject(owner), m_owner(owner),
      m_section(programSectionName(QCoreApplication::applicationFilePath(),
                                   QCoreApplication::arguments()))
{
    Font = QFont(QStringLiteral("Segoe UI"), 9);
    FontReadme = QFont(QStringLiteral("Calibri"), 9);
}

TLumAppUpdateNotifyBox *TLumAppUpdate::notifyBox() const
{
    return m_box;
}

bool TLumAppUpdate::Execute(bool NoMessageDlg)
{
    if (m_checking)
        return false; // the first check's answer is still awaited
    m_checking = true;
    const auto done = qScopeGuard([this] { m_checking = false; });

    auto box = std::make_unique<TLumAppUpdateNotifyBox>(m_owner);
    m_box = box.get();
    box->setFont(Font);
    box->ReadmeMemo->setFont(FontReadme);
    box->setProxy(ProxyAddress, ProxyPort);
    box->FileSizeUnit = FileSizeUnit;
    box->HashType = HashType;
    box->setMainWindow(m_owner);
    if (m_ender)
        box->setApplicationEnder(m_ender);
    TLumAppUpdateNotifyBox *notify = box.get();
    box->fetcher().onInvalidSource = [notify, this](const QString &message) {
        MessageBoxes::error(m_owner ? m_owner : notify, message);
    };

    UpdateCheckResult result;
    try {
        result = runUpdateCheck({UpdateFileURL, UpdatePageURL, Version, m_section}, box->fetcher());
    } catch (const ComponentError &e) {
        MessageBoxes::standardError(m_owner, e.message());
        return false;
    }
    box->applyCheck(result);
    emit notifyBoxReady(notify);
    if (result.newer) {
        box->exec();
        return true;
    }
    if (!NoMessageDlg) {
        const QString text = updateCheckMessageText(result.message);
        if (result.message == UpdateCheckMessage::NoAdvertisedVersions) {
            if (MessageBoxes::confirm(m_owner, text))
                QDesktopServices::openUrl(QUrl(box->UpdatePageURL));
        } else {
            MessageBoxes::information(m_owner, text);
        }
    }
    return false;
}
