#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

namespace TestSupport
{

// A settings folder of the test's own: while it lives, XDG_CONFIG_HOME names a new temporary
// folder, so the program's settings store reads and writes there and never the user's.
class PrivateSettingsFolder
{
public:
    PrivateSettingsFolder() : m_previous(qgetenv("XDG_CONFIG_HOME"))
    {
        m_hadPrevious = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    }
    ~PrivateSettingsFolder()
    {
        if (m_hadPrevious)
            qputenv("XDG_CONFIG_HOME", m_previous);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    PrivateSettingsFolder(const PrivateSettingsFolder &) = delete;
    PrivateSettingsFolder &operator=(const PrivateSettingsFolder &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // The program's settings file.
    QString settingsFile() const { return filePath(QStringLiteral("Marovek/Wingbook.reg")); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

} // namespace TestSupport
