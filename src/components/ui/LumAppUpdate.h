#pragma once

#include "components/UpdateDownload.h"
#include "components/UpdateFormat.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;
class TLumAppUpdateNotifyBox;

// The update check: fetches the maker's update description, compares the published version
// with the running one and, when it is newer, shows the notification window.
class TLumAppUpdate : public QObject
{
    Q_OBJECT

public:
    // The program section is fixed here, from the running executable's name. The owner is
    // the window a finished download closes.
    explicit TLumAppUpdate(QWidget *owner);

    QString UpdateFileURL;
    QString UpdatePageURL;
    QString Version;
    QString ProxyAddress;
    QString ProxyPort = QStringLiteral("80");
    TLumAppUpdateFileSizeUnit FileSizeUnit = TLumAppUpdateFileSizeUnit::Auto;
    THashType HashType = htNone;
    QFont Font;
    QFont FontReadme;

    const QString &programSection() const { return m_section; }
    void setProgramSection(const QString &section) { m_section = section; }

    // Runs the check; true when a newer version was found and the notification window was
    // shown. With NoMessageDlg the messages saying there is nothing newer are not shown. A
    // check asked for while one is still waiting is refused (false).
    bool Execute(bool NoMessageDlg);
    bool isChecking() const { return m_checking; }

    // The notification window of the running check (while it exists).
    TLumAppUpdateNotifyBox *notifyBox() const;
    // What ends the application after a finished download (tests replace it).
    void setApplicationEnder(std::function<void()> ender) { m_ender = std::move(ender); }

signals:
    // The notification window of a check was made and filled, before it is shown.
    void notifyBoxReady(TLumAppUpdateNotifyBox *box);

private:
    QWidget *m_owner;
    QString m_section;
    bool m_checking = false;
    QPointer<TLumAppUpdateNotifyBox> m_box;
    std::function<void()> m_ender;
};
