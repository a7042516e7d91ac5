#pragma once

#include <QString>
#include <QStringList>

// What the update description file says about one program. Missing keys are empty.
struct UpdateDescription {
    QString DownloadFileURL;
    QString ReadmeFileURL;
    QString UpdatePageURL;
    QString Version;
    QString MD5Hash;
    QString SHA1Hash;
    QString SHA256Hash;
};

// The section of the update description file that a program reads: its executable's file name
// without the folder, cut before the first "."; for the DLL runner "rundll32.exe" the name is
// taken from the second argument instead, up to its first ",".
QString programSectionName(const QString &executablePath, const QStringList &arguments);

// Reads one section of the description file (an INI file). Section and key names match
// without regard to case; a value is the text after the first "=" with the blanks around it
// removed; the first section and the first key of a name count. A file that cannot be read
// gives an empty description.
UpdateDescription readUpdateSection(const QString &fileName, const QString &section);

// Whether the published version text is newer than the running one: the texts are compared
// code unit by code unit, a prefix sorting first (so 1.00.17b5 is newer than 1.00.17, and
// 10.00.00 is not newer than 9.99.99).
bool isNewerVersion(const QString &running, const QString &published);
