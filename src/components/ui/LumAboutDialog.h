#pragma once

#include "components/AboutText.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QObject>
#include <optional>

class TLumAboutBox;

// The about dialog component: its properties shape the about window, which each Execute
// builds, shows modally and destroys. It also makes the program's version text.
class TLumAboutDialog : public QObject
{
    Q_OBJECT

public:
    // Reads the program file's path and version resource.
    explicit TLumAboutDialog(QObject *parent = nullptr);

    QString Author;
    QString Copyright;
    QString Email;
    QString Text;
    QString URL;
    QString Version = QStringLiteral("Version x.xx.xx");
    QFont Font;
    QColor FontColor;
    QIcon Icon; // empty: the application's icon
    TLangType LangType = ltEnglish;
    TLumAboutOptions Options = kAboutInitialOptions;

    // Shows the about window; true when it was closed with OK.
    bool Execute();
    // The version text (1.00.17, or 1.00.17b0 with the build number); also sets Version.
    QString ExtractVersion(bool IncludeBuildNumber);

    // The texts the about window would show now; Execute takes their new Copyright and
    // Version as its own. Asks the system for its memory and name.
    AboutTexts texts() const;

    // Another version resource, or none (the program's own is read at creation).
    void setVersionResource(std::optional<VersionResource> resource);

signals:
    // The about window was made and filled, before it is shown.
    void aboutBoxReady(TLumAboutBox *box);

private:
    QString m_programFile;
    std::optional<VersionResource> m_resource;
};
