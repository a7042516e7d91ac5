#pragma once

#include <QByteArray>
#include <QString>

// Writes the new content of a file and puts it in the file's place in one step, so that the
// file is always either its whole old self or its whole new self, whenever the writer stops.
//
// The content goes into a file without a name where the file system has them, and gets a name
// only for the rename that puts it in place: a hidden name beside the file, ".NAME.saving-XXXXXX".
// (Elsewhere the hidden file is made at the start.) The writer holds a lock on its file while
// it works. A hidden file that nobody holds a lock on was left by a writer that was killed in
// that moment; the next writer of the same file removes it.
//
// A symbolic link is followed: its target gets the new content. The old file's permissions
// are kept.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString &fileName);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    // Each returns false with the system's reason in errorString().
    bool open();
    bool write(const char *data, qint64 size);
    // Writes the content through to the disk and puts the file in place.
    bool commit();
    // The three at once, for a file whose whole content is at hand.
    bool replaceWith(const QByteArray &content);

    // Drops what was written; the file stays as it was.
    void cancel();
    int handle() const { return m_fd; }
    const QString &errorString() const { return m_error; }

    // Off: every writer works as where the file system has no files without names (tests).
    static void allowUnnamedFiles(bool allowed);

private:
    bool fail(int error);
    bool createStaged(const QByteArray &prefix);
    bool linkStaged(const QByteArray &prefix);

    QString m_fileName;
    QByteArray m_final;  // the path that gets the content, links resolved
    QByteArray m_staged; // the hidden name while it has one
    int m_fd = -1;
    QString m_error;
};
