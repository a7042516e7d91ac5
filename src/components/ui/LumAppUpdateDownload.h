#pragma once

#include "components/UpdateDescription.h"
#include "components/UpdateDownload.h"
#include "components/UpdateFormat.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class UpdateFetcher;

// The progress window of a download: file, speed, status, elapsed and remaining time, the
// amount transferred, a progress bar and Cancel. Made hidden for one press of Download and
// shown once the expected size is known.
class TLumAppUpdateDownloadBox : public QDialog
{
    Q_OBJECT

public:
    explicit TLumAppUpdateDownloadBox(QWidget *parent = nullptr);
    ~TLumAppUpdateDownloadBox() override;

    QLabel *FileLabel = nullptr;
    QLabel *SpeedLabel = nullptr;
    QLabel *StatusLabel = nullptr;
    QLabel *ElapsedTimeLabel = nullptr;
    QLabel *RemainingTimeLabel = nullptr;
    QLabel *TransferLabel = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *CancelButton = nullptr;
    QTimer *Timer1 = nullptr;
    // When the transfer started.
    QElapsedTimer StartTime;

    TLumAppUpdateFileSizeUnit FileSizeUnit = TLumAppUpdateFileSizeUnit::Auto;
    void setMainWindow(QWidget *window) { m_mainWindow = window; }
    void setApplicationEnder(std::function<void()> ender) { m_ender = std::move(ender); }
    // The folder the file goes to; the first existing of the usual ones when not set.
    void setTargetFolder(const QString &folder) { m_targetFolder = folder; }

    // Downloads the file the description names into the target folder, verifies it and, when
    // all is well, closes the main window, ends the application and opens the file. False
    // when the download did not take place, failed, was cancelled or did not verify; the file
    // is then deleted.
    bool Download(const UpdateDescription &description, THashType hashType,
                  const QString &proxyAddress, const QString &proxyPort);

    // The bytes received so far (the progress bar shows them while they fit its range).
    qint64 received() const { return m_received; }
    qint64 expected() const { return m_expected; }

public slots:
    void CancelButtonClick();
    void Timer1Timer();

protected:
    // Escape and the window's close button ask to cancel, like Cancel.
    void reject() override;
    void showEvent(QShowEvent *event) override;

private:
    void showProgress(qint64 received);
    void setProgressRange(qint64 expected);

    UpdateFetcher *m_fetcher;
    QPointer<QWidget> m_mainWindow;
    std::function<void()> m_ender;
    QString m_targetFolder;
    qint64 m_received = 0;
    qint64 m_expected = 0;
    // Sizes beyond the progress bar's integer range are shown in KB steps.
    int m_progressShift = 0;
};
