#pragma once

#include "components/UpdateCheck.h"
#include "components/UpdateDownload.h"
#include "components/UpdateFormat.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QPlainTextEdit;
class QPushButton;
class TLumAppUpdateDownloadBox;
class UpdateFetcher;

// The window that announces a newer version: its release notes, the update page and the
// download. The update check fills its fields and shows it modally.
class TLumAppUpdateNotifyBox : public QDialog
{
    Q_OBJECT

public:
    explicit TLumAppUpdateNotifyBox(QWidget *parent = nullptr);

    QPlainTextEdit *ReadmeMemo = nullptr;
    QPushButton *DownloadButton = nullptr;
    QPushButton *OpenWebPageButton = nullptr;
    QPushButton *OKButton = nullptr;

    // --- fields, filled by the update check ---
    QString DownloadFileURL;
    QString ReadmeFileURL;
    QString UpdatePageURL;
    QString Version;
    QString MD5Hash;
    QString SHA1Hash;
    QString SHA256Hash;
    TLumAppUpdateFileSizeUnit FileSizeUnit = TLumAppUpdateFileSizeUnit::Auto;
    THashType HashType = htNone;

    // The window's http and https clients, which the check fetches with.
    UpdateFetcher &fetcher() { return *m_fetcher; }
    void setProxy(const QString &address, const QString &port);
    // Takes what the check found: the fields, the release notes, the Download button's state.
    void applyCheck(const UpdateCheckResult &result);

    QString FormatFileSize(qint64 bytes) const;

    // The window a finished download closes before it opens the file.
    void setMainWindow(QWidget *window) { m_mainWindow = window; }
    // What ends the application after a finished download (tests replace it).
    void setApplicationEnder(std::function<void()> ender) { m_ender = std::move(ender); }

    // The download window while Download runs.
    TLumAppUpdateDownloadBox *downloadBox() const;

public slots:
    void DownloadButtonClick();
    void OpenWebPageButtonClick();

signals:
    // A download window was made (shown only when the size is known).
    void downloadBoxCreated(TLumAppUpdateDownloadBox *box);

protected:
    void showEvent(QShowEvent *event) override;

private:
    UpdateDescription description() const;

    UpdateFetcher *m_fetcher;
    QPointer<QWidget> m_mainWindow;
    std::function<void()> m_ender;
    QPointer<TLumAppUpdateDownloadBox> m_downloadBox;
};
