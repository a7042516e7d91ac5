#pragma once

#include "components/AboutText.h"

#include <QDialog>
#include <QLabel>

class QPushButton;

// A label that tells of clicks and double-clicks (the about window's links and pictures).
class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// The about window: the program's icon, name, version and copyright, the credit line, the
// author, the e-mail and web addresses (links), the physical memory and the system line.
class TLumAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TLumAboutBox(QWidget *parent = nullptr);

    ClickLabel *ProgramIconImage = nullptr;
    ClickLabel *TolvarLogoImage = nullptr;
    QLabel *ApplicationLabel = nullptr;
    QLabel *VersionLabel = nullptr;
    QLabel *CopyrightLabel = nullptr;
    QLabel *TextLabel = nullptr;
    QLabel *AuthorLabel = nullptr;
    ClickLabel *EmailLabel = nullptr;
    ClickLabel *URLLabel = nullptr;
    QLabel *PhysicalMemoryLabel = nullptr;
    QLabel *PhysMem = nullptr;
    QLabel *OSInfoLabel = nullptr;
    ClickLabel *WindowsLogoImage = nullptr;
    QPushButton *OKButton = nullptr;

    // Fills the labels and sets what is visible.
    void fill(const AboutTexts &texts);
    // The release notes a double-click on the icon opens ("" when there are none).
    void setReleaseNotesFile(const QString &file) { m_releaseNotes = file; }

public slots:
    void EmailLabelClick();
    void URLLabelClick();
    void ProgramIconImageDblClick();
    void TolvarLogoImageDblClick();
    void WindowsLogoImageDblClick();

protected:
    // OK is also the cancel button: Escape closes the window with OK.
    void reject() override;
    void showEvent(QShowEvent *event) override;

private:
    QString m_releaseNotes;
};
