#include "platform/RegistryFile.h"

#include "platform/RegistryText.h"
#include "platform/ReplacingFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>

#include <atomic>
#include <list>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// A settings file is a few kilobytes; anything this large is not ours and is not read whole.
constexpr qint64 MaximumFileSize = 4 * 1024 * 1024;
// Long enough for another program to finish its read-modify-write on a slow disk.
constexpr int LockTimeoutMs = 15000;
// A lock file whose holder cannot be read (a program killed right after creating it) counts as
// left behind after this long; a lock of a running program is never taken over.
constexpr int StaleLockMs = 5000;

enum class ReadOutcome { roMissing, roRead, roTooLarge, roNotRegular, roFailed };

// Reads the whole file without ever waiting: a pipe, a folder or a device at the settings path
// is reported, never opened for a read that could block every command.
ReadOutcome readBytes(const QString &path, QByteArray &bytes)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {
    };
    if (::stat(native.constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadOutcome::roMissing : ReadOutcome::roFailed;
    if (!S_ISREG(info.st_mode))
        return ReadOutcome::roNotRegular;
    if (info.st_size > MaximumFileSize)
        return ReadOutcome::roTooLarge;

    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadOutcome::roMissing : ReadOutcome::roFailed;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return ReadOutcome::roFailed;
    }
    // The path may have been replaced between the two looks.
    if (::fstat(fd, &info) != 0)
        return ReadOutcome::roFailed;
    if (!S_ISREG(info.st_mode))
        return ReadOutcome::roNotRegular;
    // Sized by the file, not by the limit: a 4 MB buffer for every read of a small file costs.
    bytes = file.read(qMin<qint64>(info.st_size, MaximumFileSize) + 1);
    if (bytes.size() > info.st_size && bytes.size() <= MaximumFileSize) // grew since
        bytes += file.read(MaximumFileSize + 1 - bytes.size());
    if (file.error() != QFileDevice::NoError)
        return ReadOutcome::roFailed;
    return bytes.size() > MaximumFileSize ? ReadOutcome::roTooLarge : ReadOutcome::roRead;
}

QString brokenCopyName(const QString &path)
{
    const QString stem = path + QStringLiteral(".broken-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = stem;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = stem + u'-' + QString::number(n);
    return name;
}

std::atomic<quint64> g_parseCount{0};

RegistryParseResult parse(const QByteArray &bytes)
{
    ++g_parseCount;
    return ParseRegistryText(bytes);
}

const std::shared_ptr<const RegistryTree> &emptyTree()
{
    static const auto empty = std::make_shared<const RegistryTree>();
    return empty;
}

// The trees last read or written, each with the exact bytes of its file: the same bytes give
// the same tree, so a file is parsed again only when its content has changed. Comparing the
// bytes (not the modification time) also sees an edit that keeps the size and the time stamp.
class ParsedFiles
{
public:
    std::shared_ptr<const RegistryTree> find(const QString &path, const QByteArray &bytes)
    {
        QMutexLocker locker(&m_mutex);
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->path == path && it->bytes == bytes) {
                m_entries.splice(m_entries.begin(), m_entries, it);
                return m_entries.front().tree;
            }
        }
        return nullptr;
    }

    void remember(const QString &path, const QByteArray &bytes,
                  std::shared_ptr<const RegistryTree> tree)
    {
        QMutexLocker locker(&m_mutex);
        m_entries.remove_if([&path](const Entry &e) { return e.path == path; });
        m_entries.push_front({path, bytes, std::move(tree)});
        // The program uses one file; tests and tools a few more.
        while (m_entries.size() > 4)
            m_entries.pop_back();
    }

private:
    struct Entry {
        QString path;
        QByteArray bytes;
        std::shared_ptr<const RegistryTree> tree;
    };
    QMutex m_mutex;
    std::list<Entry> m_entries;
};

ParsedFiles &parsedFiles()
{
    static ParsedFiles files;
    return files;
}

} // namespace

QString RegistryFile::defaultPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // Only an absolute path counts; anything else means the default.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/Marovek/Wingbook.reg"));
}

RegistryFile::RegistryFile(QString path) : m_path(std::move(path)) {}

quint64 RegistryFile::parseCount()
{
    return g_parseCount;
}

std::shared_ptr<const RegistryTree> RegistryFile::read() const
{
    QByteArray bytes;
    const ReadOutcome outcome = readBytes(m_path, bytes);
    if (outcome == ReadOutcome::roMissing || outcome == ReadOutcome::roFailed)
        return emptyTree();
    RegistryParseResult parsed;
    if (outcome == ReadOutcome::roRead) {
        if (auto known = parsedFiles().find(m_path, bytes))
            return known;
        parsed = parse(bytes);
        if (parsed.status == RegistryParseResult::psClean) {
            auto tree = std::make_shared<const RegistryTree>(std::move(parsed.tree));
            parsedFiles().remember(m_path, bytes, tree);
            return tree;
        }
    }

    // Damaged: set it aside under the lock, so that only one program does it, once.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    std::shared_ptr<const RegistryTree> tree;
    if (lock.tryLock(LockTimeoutMs) && lockedRead(tree))
        return tree;
    if (outcome == ReadOutcome::roRead)
        return std::make_shared<const RegistryTree>(std::move(parsed.tree));
    return emptyTree();
}

bool RegistryFile::modify(const std::function<bool(RegistryTree &)> &change) const
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockTimeoutMs))
        return false;
    std::shared_ptr<const RegistryTree> current;
    if (!lockedRead(current))
        return false;
    auto changed = std::make_shared<RegistryTree>(*current);
    if (!change(*changed))
        return false;
    return writeTree(std::move(changed));
}

// Reads the file while the lock is held. A damaged file, or anything at the path that is not a
// regular file, is moved aside and what could be read from it becomes the new file. False when
// the file exists but cannot be read at all, so that nobody overwrites it.
bool RegistryFile::lockedRead(std::shared_ptr<const RegistryTree> &tree) const
{
    QByteArray bytes;
    const ReadOutcome outcome = readBytes(m_path, bytes);
    if (outcome == ReadOutcome::roMissing) {
        tree = emptyTree();
        return true;
    }
    if (outcome == ReadOutcome::roFailed)
        return false;

    RegistryParseResult parsed;
    if (outcome == ReadOutcome::roRead) {
        if ((tree = parsedFiles().find(m_path, bytes)))
            return true;
        parsed = parse(bytes);
        if (parsed.status == RegistryParseResult::psClean) {
            tree = std::make_shared<const RegistryTree>(std::move(parsed.tree));
            parsedFiles().remember(m_path, bytes, tree);
            return true;
        }
    }

    const QString aside = brokenCopyName(m_path);
    if (!QFile::rename(m_path, aside))
        return false;
    m_lastBrokenCopy = aside;
    tree = std::make_shared<const RegistryTree>(std::move(parsed.tree));
    if (!tree->isEmpty())
        writeTree(tree);
    return true;
}

bool RegistryFile::writeTree(std::shared_ptr<const RegistryTree> tree) const
{
    const QByteArray content = WriteRegistryText(*tree);
    QByteArray current;
    if (readBytes(m_path, current) == ReadOutcome::roRead && current == content) {
        parsedFiles().remember(m_path, content, std::move(tree));
        return true; // nothing changed: leave the file alone
    }

    if (!ReplacingFile(m_path).replaceWith(content))
        return false; // what was written is dropped, the old file stays
    parsedFiles().remember(m_path, content, std::move(tree));
    return true;
}
