#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The file named at start-up: all arguments joined with single blanks (a path with blanks that
// was not quoted comes back together), or, without arguments, the most recent log when
// openLastOpened is set and that file exists. Empty when there is none.
QString ChooseStartupFile(const QStringList &arguments, bool openLastOpened,
                          const QStringList &openRecent);

// The log to read for the chosen start-up file: a file that does not exist gives "" (ignored
// without a message); a shortcut (".lnk" in any case) is replaced by its target through
// resolveShortcut, which throws on a broken shortcut; then only a name ending in ".xml" in any
// case is kept, and a target that does not exist is ignored like a missing file. The result
// is an absolute path.
QString StartupLogFile(const QString &chosen,
                       const std::function<QString(const QString &)> &resolveShortcut);

// Whether a file name ends in the extension (".xml"), compared without regard to case.
bool HasExtensionIgnoringCase(const QString &path, const QString &extension);
