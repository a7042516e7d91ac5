#include "platform/ReplacingFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace
{

constexpr int kNameAttempts = 100;

std::atomic<bool> unnamedFilesAllowed{true};

QString reasonOf(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// ".NAME.saving-" beside NAME.
QByteArray stagingPrefixOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return path.left(slash + 1) + '.' + path.mid(slash + 1) + ".saving-";
}

QByteArray randomSuffix()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(6, '\0');
    for (char &c : suffix)
        c = letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return suffix;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes the hidden files that writers of the same file left when they were killed: no
// process holds a lock on them any more. A file whose lock is held belongs to a writer at work.
void removeAbandoned(const QByteArray &prefix)
{
    DIR *folder = ::opendir(folderOf(prefix).constData());
    if (folder == nullptr)
        return;
    const QByteArray start = prefix.mid(prefix.lastIndexOf('/') + 1);
    const int folderFd = ::dirfd(folder);
    while (const dirent *entry = ::readdir(folder)) {
        if (std::strncmp(entry->d_name, start.constData(), size_t(start.size())) != 0)
            continue;
        // Not blocking: a FIFO of that name must not hang the save.
        const int fd =
            ::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat held = {};
        struct stat named = {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(folderFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            sameFile(held, named))
            ::unlinkat(folderFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(folder);
}

} // namespace

void ReplacingFile::allowUnnamedFiles(bool allowed)
{
    unnamedFilesAllowed = allowed;
}

ReplacingFile::ReplacingFile(const QString &fileName) : m_fileName(fileName) {}

ReplacingFile::~ReplacingFile()
{
    cancel();
}

bool ReplacingFile::fail(int error)
{
    m_error = reasonOf(error);
    return false;
}

bool ReplacingFile::open()
{
    cancel();
    m_error.clear();
    QFileInfo info(m_fileName);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    if (info.isSymLink())
        return fail(ELOOP);
    m_final = QFile::encodeName(info.filePath());

    struct stat old = {};
    const bool exists = ::stat(m_final.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return fail(EISDIR);
    if (exists && ::access(m_final.constData(), W_OK) != 0)
        return fail(errno);

    const QByteArray prefix = stagingPrefixOf(m_final);
    removeAbandoned(prefix);
    // The mode is the usual one for a new file (less the umask), or the old file's.
    m_fd = unnamedFilesAllowed
               ? ::open(folderOf(m_final).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)
               : -1;
    if (m_fd < 0) {
        // EISDIR: a system without unnamed files; EOPNOTSUPP: a file system without them.
        if (unnamedFilesAllowed && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return fail(errno);
        if (!createStaged(prefix))
            return false;
    } else {
        ::flock(m_fd, LOCK_EX | LOCK_NB);
    }
    if (exists)
        ::fchmod(m_fd, old.st_mode & 07777);
    return true;
}

// Where files without names are not to be had: the hidden file from the start, locked before
// any other writer can take it for abandoned.
bool ReplacingFile::createStaged(const QByteArray &prefix)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QByteArray name = prefix + randomSuffix();
        const int fd = ::open(name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return fail(errno);
        }
        // Between its making and its lock, another writer may have removed it: take another.
        struct stat held = {};
        struct stat named = {};
        ::flock(fd, LOCK_EX | LOCK_NB);
        if (::fstat(fd, &held) == 0 && ::stat(name.constData(), &named) == 0 &&
            sameFile(held, named)) {
            m_fd = fd;
            m_staged = name;
            return true;
        }
        ::close(fd);
    }
    return fail(EEXIST);
}

bool ReplacingFile::write(const char *data, qint64 size)
{
    if (m_fd < 0)
        return fail(EBADF);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(qMin<qint64>(size, 1 << 30)));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (written == 0)
            return fail(EIO);
        data += written;
        size -= written;
    }
    return true;
}

bool ReplacingFile::replaceWith(const QByteArray &content)
{
    return open() && write(content.constData(), content.size()) && commit();
}

bool ReplacingFile::linkStaged(const QByteArray &prefix)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QByteArray name = prefix + randomSuffix();
        int linked =
            ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW);
        // Without /proc, the file itself (which needs a privilege most users lack).
        if (linked != 0 && errno == ENOENT)
            linked = ::linkat(m_fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH);
        if (linked == 0) {
            m_staged = name;
            return true;
        }
        if (errno != EEXIST)
            return fail(errno);
    }
    return fail(EEXIST);
}

bool ReplacingFile::commit()
{
    if (m_fd < 0)
        return fail(EBADF);
    // EINVAL: a file that cannot be synchronised, as on some special file systems.
    if (::fsync(m_fd) != 0 && errno != EINVAL) {
        const int error = errno;
        cancel();
        return fail(error);
    }
    // A file without a name gets its hidden one only now.
    if (m_staged.isEmpty() && !linkStaged(stagingPrefixOf(m_final))) {
        cancel();
        return false;
    }
    if (::rename(m_staged.constData(), m_final.constData()) != 0) {
        const int error = errno;
        cancel();
        return fail(error);
    }
    m_staged.clear();
    // Closing lets go of the lock, after the hidden name is gone.
    ::close(m_fd);
    m_fd = -1;
    return true;
}

void ReplacingFile::cancel()
{
    if (!m_staged.isEmpty())
        ::unlink(m_staged.constData());
    m_staged.clear();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
