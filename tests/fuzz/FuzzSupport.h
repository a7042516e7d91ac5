#pragma once

// What every fuzz target shares: a private folder for the files the readers are given, and a
// way to stop with a message when a check fails (libFuzzer then keeps the input that did it).
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz
{

// A folder of this process, removed at exit; in memory where the system has such a folder.
inline const QString &folder()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/wingbook-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/wingbook-fuzz-XXXXXX"));
    static const QString path = dir.path();
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a folder for the fuzz inputs\n");
        std::abort();
    }
    return path;
}

// Empties the folder, so that files set aside by one input never meet the next.
inline void clearFolder()
{
    QDir dir(folder());
    for (const QString &name :
         dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        QFileInfo(dir.filePath(name)).isDir() ? QDir(dir.filePath(name)).removeRecursively()
                                              : QFile::remove(dir.filePath(name));
}

// Writes the bytes to a file of that name in the folder and returns its path.
inline QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = folder() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A failed check: the message, then an abort that libFuzzer reports as a crash.
[[noreturn]] inline void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "check failed: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}

inline void check(bool ok, const char *what, const QString &detail = QString())
{
    if (!ok)
        fail(what, detail);
}

} // namespace Fuzz
