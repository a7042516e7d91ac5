#pragma once

#include "components/ComponentError.h"

#include "components/LumRegistryEnhanced.h" // TLangType

#include <QByteArray>
#include <QObject>
#include <QString>

#include <exception>

// The error kind of the shortcut component.
class ELumShellLink : public ComponentError
{
    using ComponentError::ComponentError;
};

// Special folders a shortcut's file name may be relative to; the program leaves sfNone.
enum TShellFolder { sfNone, sfDesktop, sfStartMenu, sfPrograms, sfStartup, sfSendTo };

struct TFileIcon {
    QString fileName;
    int index = 0;
};

// A Windows shortcut (".lnk") file, read with liblnk. Target is the local path the shortcut
// points to, made usable here: a target that is an absolute path of this system, or a file
// that exists as written, is kept; otherwise (a Windows path such as "C:\Logs\trip.xml") the
// backslashes become slashes and a leading drive letter is dropped ("/Logs/trip.xml").
class TLumShellLink : public QObject
{
    Q_OBJECT

public:
    explicit TLumShellLink(QObject *parent = nullptr);

    const QString &FileName() const { return m_fileName; }
    // A name whose extension is not ".lnk" (in any case) gets ".lnk" appended.
    void setFileName(const QString &value);

    const QString &Target() const { return m_target; }
    void setTarget(const QString &value) { m_target = value; }
    const QString &Description() const { return m_description; }
    void setDescription(const QString &value) { m_description = value; }
    const QString &WorkingDir() const { return m_workingDir; }
    void setWorkingDir(const QString &value) { m_workingDir = value; }
    const QString &Arguments() const { return m_arguments; }
    void setArguments(const QString &value) { m_arguments = value; }
    // The window state of the target as the shortcut stores it (1 normal, 3 maximised,
    // 7 minimised).
    int WindowState() const { return m_windowState; }
    void setWindowState(int value) { m_windowState = value; }
    // Low byte the key code, high byte the modifiers, as the shortcut stores it.
    int HotKey() const { return m_hotKey; }
    void setHotKey(int value) { m_hotKey = value; }
    const TFileIcon &FileIcon() const { return m_fileIcon; }
    void setFileIcon(const TFileIcon &value) { m_fileIcon = value; }
    TShellFolder ShellFolder() const { return m_shellFolder; }
    void setShellFolder(TShellFolder value) { m_shellFolder = value; }
    TLangType LangType() const { return m_langType; }
    void setLangType(TLangType value) { m_langType = value; }

    // Loads the shortcut named by FileName. Throws ELumShellLink: "Link not found." when there
    // is no such file, "Read error." when it is not a readable shortcut or names no local path.
    void Read();
    // Writing shortcuts is not supported here (liblnk only reads them): always throws
    // "Write error.".
    void Write();

    // The local path of this system that a shortcut's stored local path stands for.
    static QString LocalTarget(const QString &storedPath);

    // The component's messages in its language.
    QString LinkNotFoundMessage() const;
    QString CoCreateInstanceMessage() const;
    QString PersistFileMessage() const;
    QString ReadErrorMessage() const;
    QString WriteErrorMessage() const;

private:
    QString m_fileName;
    QString m_target;
    QString m_description;
    QString m_workingDir;
    QString m_arguments;
    int m_windowState = 1;
    int m_hotKey = 0;
    TFileIcon m_fileIcon;
    TShellFolder m_shellFolder = sfNone;
    TLangType m_langType = ltEnglish;
};

// Resolves a shortcut file to its target's local path; throws ELumShellLink when it cannot.
QString ResolveShortcut(const QString &linkPath);
