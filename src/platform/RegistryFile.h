#pragma once

#include "platform/RegistryTree.h"

#include <QString>

#include <functional>
#include <memory>

// The per-user settings file that stands in for the system registry: one REGEDIT4 text file,
// by default $XDG_CONFIG_HOME/Marovek/Wingbook.reg (~/.config when the variable is unset).
//
// Every read looks at the file afresh and every change is a read-modify-write done under a lock
// file ("<file>.lock"), the new content replacing the old file in one step. So two programs
// writing at once lose no value, and a crash leaves either the old or the new file, never part
// of one. A file that cannot be fully read, and anything at the path that is not a regular file
// (a pipe, a folder, a device), is moved aside as "<file>.broken-<timestamp>"; what could be
// read from it is written back as the new file, or the store starts empty.
//
// The tree last read from a file is kept with the file's bytes, so a file is parsed once per
// change of its content, however many operations read it.
class RegistryFile
{
public:
    // The per-user file, decided from the environment at the moment of the call.
    static QString defaultPath();

    explicit RegistryFile(QString path = defaultPath());

    const QString &path() const { return m_path; }

    // The current tree; empty when the file is missing or unreadable.
    std::shared_ptr<const RegistryTree> read() const;
    // Reads the tree under the lock, lets change modify it and writes it back when change
    // returns true and the content differs. False when the lock or the write failed, or when
    // change returned false.
    bool modify(const std::function<bool(RegistryTree &)> &change) const;
    // The name under which a damaged file was last set aside by this object; empty if none.
    const QString &lastBrokenCopy() const { return m_lastBrokenCopy; }

    // How many times this process has parsed a settings file's text.
    static quint64 parseCount();

private:
    bool lockedRead(std::shared_ptr<const RegistryTree> &tree) const;
    bool writeTree(std::shared_ptr<const RegistryTree> tree) const;

    QString m_path;
    mutable QString m_lastBrokenCopy;
};
