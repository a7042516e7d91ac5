#include "components/ui/LumAppUpdateDownload.h"

#include "components/ComponentError.h"
#include "components/UpdateFetcher.h"
#include "components/ui/CentreOnScreen.h"
#include "components/ui/MessageBoxes.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

TLumAppUpdateDownloadBox::TLumAppUpdateDownloadBox(QWidget *parent)
    : QDialog(parent), m_fetcher(new UpdateFetcher(this)), m_ender([] { QCoreApplication::quit(); })
{
    setWindowTitle(QStringLiteral("Download New Version"));
    auto value = [this](const char *text) {
        auto *label = new QLabel(QLatin1String(text), this);
        label->setMinimumWidth(300);
        return label;
    };
    FileLabel = value("-");
    SpeedLabel = value("0 KB/sec");
    StatusLabel = value("Downloading file");
    ElapsedTimeLabel = value("00:00:00");
    RemainingTimeLabel = value("00:00:00");
    TransferLabel = value("0 KB of 0 KB");
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 0);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setDefault(true);
    connect(CancelButton, &QPushButton::clicked, this,
            &TLumAppUpdateDownloadBox::CancelButtonClick);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TLumAppUpdateDownloadBox::Timer1Timer);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("File :"), FileLabel);
    fields->addRow(QStringLiteral("Speed :"), SpeedLabel);
    fields->addRow(QStringLiteral("Status :"), StatusLabel);
    fields->addRow(QStringLiteral("Elapsed Time :"), ElapsedTimeLabel);
    fields->addRow(QStringLiteral("Remaining Time :"), RemainingTimeLabel);
    fields->addRow(QStringLiteral("Transfer :"), TransferLabel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(ProgressBar1);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_fetcher->onInvalidSource = [this](const QString &message) {
        MessageBoxes::error(this, message);
    };
    m_fetcher->onProgress = [this](qint64 bytes) { showProgress(bytes); };
    m_fetcher->isCancelled = [this] { return !CancelButton->isEnabled(); };
}

TLumAppUpdateDownloadBox::~TLumAppUpdateDownloadBox() = default;

void TLumAppUpdateDownloadBox::setProgressRange(qint64 expected)
{
    m_expected = expected;
    m_progressShift = 0;
    while ((expected >> m_progressShift) > qint64(INT_MAX))
        m_progressShift += 10;
    ProgressBar1->setRange(0, int(expected >> m_progressShift));
}

void TLumAppUpdateDownloadBox::showProgress(qint64 received)
{
    m_received = received;
    TransferLabel->setText(transferLine(received, m_expected, FileSizeUnit));
    ProgressBar1->setValue(int(qMin(received >> m_progressShift, qint64(INT_MAX))));
}

bool TLumAppUpdateDownloadBox::Download(const UpdateDescription &description, THashType hashType,
                                        const QString &proxyAddress, const QString &proxyPort)
{
    UpdateDownload download(description, hashType, *m_fetcher);
    download.chooseTarget(m_targetFolder.isEmpty() ? downloadTargetFolder() : m_targetFolder);
    FileLabel->setText(download.fileName());
    ProgressBar1->setValue(0);

    m_fetcher->setProxy(proxyAddress, proxyPort);
    qint64 expected = 0;
    try {
        expected = download.expectedSize([this](const QString &s) { StatusLabel->setText(s); });
    } catch (const ComponentError &e) {
        MessageBoxes::standardError(this, e.message());
        return false;
    }
    setProgressRange(expected);
    TransferLabel->setText(transferLine(0, expected, FileSizeUnit));
    CancelButton->setEnabled(true);
    if (expected == 0)
        return false; // the download object deletes the file it made

    Timer1->start();
    StartTime.start();
    show();
    bool failed = false;
    try {
        QString failure;
        if (!download.transfer(&failure)) {
            failed = true;
            if (!failure.isEmpty())
                StatusLabel->setText(failure);
        } else {
            showProgress(QFileInfo(download.targetPath()).size());
        }
    } catch (const ComponentError &e) {
        MessageBoxes::standardError(this, e.message());
        failed = true;
    }
    if (CancelButton->isEnabled()) {
        CancelButton->setEnabled(false);
        // The window closes when the command ends: the reason is told, not only shown.
        if (failed && StatusLabel->text().startsWith(QLatin1String("Failed: ")))
            MessageBoxes::error(this, StatusLabel->text());
    } else {
        failed = true; // cancelled
    }
    Timer1->stop();
    ProgressBar1->setValue(ProgressBar1->maximum());

    if (!failed && !download.verify()) {
        failed = true;
        MessageBoxes::error(this, QLatin1String(kDownloadCorruptedMessage));
    }
    if (failed) {
        download.discard();
        return false;
    }
    download.keep();
    MessageBoxes::information(this,
                              QStringLiteral("The application will close to start the update."));
    hide();
    if (m_mainWindow)
        m_mainWindow->close();
    QCoreApplication::processEvents();
    if (m_ender)
        m_ender();
    QDesktopServices::openUrl(QUrl::fromLocalFile(download.targetPath()));
    return true;
}

void TLumAppUpdateDownloadBox::CancelButtonClick()
{
    if (!CancelButton->isEnabled())
        return;
    if (!MessageBoxes::confirm(this, QStringLiteral("Do you want to cancel the download?")))
        return;
    // The transfer may have ended while the question was open: it then counts as cancelled.
    m_fetcher->abort();
    CancelButton->setEnabled(false);
    Timer1->stop();
    MessageBoxes::error(this, QStringLiteral("The update was not completed."));
}

void TLumAppUpdateDownloadBox::Timer1Timer()
{
    const qint64 seconds = StartTime.isValid() ? StartTime.elapsed() / 1000 : 0;
    SpeedLabel->setText(speedText(m_received, seconds, FileSizeUnit));
    ElapsedTimeLabel->setText(formatDuration(seconds));
    if (m_received > 0)
        RemainingTimeLabel->setText(
            formatDuration(remainingSeconds(m_received, m_expected, seconds)));
}

void TLumAppUpdateDownloadBox::reject()
{
    CancelButtonClick();
}

void TLumAppUpdateDownloadBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}
