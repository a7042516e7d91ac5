#include "components/ui/LumAppUpdateNotify.h"

#include "components/UpdateFetcher.h"
#include "components/ui/CentreOnScreen.h"
#include "components/ui/LumAppUpdateDownload.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

TLumAppUpdateNotifyBox::TLumAppUpdateNotifyBox(QWidget *parent)
    : QDialog(parent), m_fetcher(new UpdateFetcher(this))
{
    setWindowTitle(QStringLiteral("New Version Available"));
    ReadmeMemo = new QPlainTextEdit(this);
    ReadmeMemo->setReadOnly(true);
    ReadmeMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ReadmeMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ReadmeMemo->setBackgroundRole(QPalette::Window);
    QPalette palette = ReadmeMemo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    ReadmeMemo->setPalette(palette);
    ReadmeMemo->setFixedSize(460, 260);
    ReadmeMemo->setPlainText(QString());

    DownloadButton = new QPushButton(QStringLiteral("Download"), this);
    OpenWebPageButton = new QPushButton(QStringLiteral("Open Web Page"), this);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    DownloadButton->setAutoDefault(false);
    OpenWebPageButton->setAutoDefault(false);
    DownloadButton->setEnabled(false);
    connect(DownloadButton, &QPushButton::clicked, this,
            &TLumAppUpdateNotifyBox::DownloadButtonClick);
    connect(OpenWebPageButton, &QPushButton::clicked, this,
            &TLumAppUpdateNotifyBox::OpenWebPageButtonClick);
    // OK is also the cancel button: Escape closes the window too.
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(DownloadButton);
    buttons->addWidget(OpenWebPageButton);
    buttons->addStretch();
    buttons->addWidget(OKButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ReadmeMemo);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TLumAppUpdateNotifyBox::setProxy(const QString &address, const QString &port)
{
    m_fetcher->setProxy(address, port);
}

void TLumAppUpdateNotifyBox::applyCheck(const UpdateCheckResult &result)
{
    const UpdateDescription &d = result.fields;
    DownloadFileURL = d.DownloadFileURL;
    ReadmeFileURL = d.ReadmeFileURL;
    UpdatePageURL = d.UpdatePageURL;
    Version = d.Version;
    MD5Hash = d.MD5Hash;
    SHA1Hash = d.SHA1Hash;
    SHA256Hash = d.SHA256Hash;
    ReadmeMemo->setPlainText(result.readme);
    DownloadButton->setEnabled(result.downloadEnabled);
}

TLumAppUpdateDownloadBox *TLumAppUpdateNotifyBox::downloadBox() const
{
    return m_downloadBox;
}

QString TLumAppUpdateNotifyBox::FormatFileSize(qint64 bytes) const
{
    return ::FormatFileSize(bytes, FileSizeUnit);
}

UpdateDescription TLumAppUpdateNotifyBox::description() const
{
    return {DownloadFileURL, ReadmeFileURL, UpdatePageURL, Version, MD5Hash, SHA1Hash, SHA256Hash};
}

void TLumAppUpdateNotifyBox::OpenWebPageButtonClick()
{
    QDesktopServices::openUrl(QUrl(UpdatePageURL));
}

void TLumAppUpdateNotifyBox::DownloadButtonClick()
{
    TLumAppUpdateDownloadBox box(parentWidget());
    box.setFont(font());
    box.FileSizeUnit = FileSizeUnit;
    box.setMainWindow(m_mainWindow);
    if (m_ender)
        box.setApplicationEnder(m_ender);
    m_downloadBox = &box;
    emit downloadBoxCreated(&box);
    // This window goes away once the command has finished.
    close();
    box.Download(description(), HashType, m_fetcher->proxyAddress(), m_fetcher->proxyPort());
    m_downloadBox = nullptr;
}

void TLumAppUpdateNotifyBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}
