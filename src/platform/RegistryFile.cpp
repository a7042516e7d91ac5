#include "platform/RegistryFile.h"

#include "platform/RegistryText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

namespace
{

// A settings file is a few kilobytes; anything this large is not ours and is not read whole.
constexpr qint64 MaximumFileSize = 4 * 1024 * 1024;
// Long enough for another program to finish its read-modify-write on a slow disk.
constexpr int LockTimeoutMs = 15000;
// A lock file whose holder cannot be read (a program killed right after creating it) counts as
// left behind after this long; a lock of a running program is never taken over.
constexpr int StaleLockMs = 5000;

enum class ReadOutcome { roMissing, roRead, roTooLarge, roFailed };

ReadOutcome readBytes(const QString &path, QByteArray &bytes)
{
    QFile file(path);
    if (!file.exists())
        return ReadOutcome::roMissing;
    if (file.size() > MaximumFileSize)
        return ReadOutcome::roTooLarge;
    if (!file.open(QIODevice::ReadOnly))
        return ReadOutcome::roFailed;
    bytes = file.read(MaximumFileSize + 1);
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

RegistryTree RegistryFile::read() const
{
    QByteArray bytes;
    const ReadOutcome outcome = readBytes(m_path, bytes);
    if (outcome == ReadOutcome::roMissing || outcome == ReadOutcome::roFailed)
        return {};
    if (outcome == ReadOutcome::roRead) {
        RegistryParseResult parsed = ParseRegistryText(bytes);
        if (parsed.status == RegistryParseResult::psClean)
            return std::move(parsed.tree);
    }

    // Damaged: set it aside under the lock, so that only one program does it, once.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    RegistryTree tree;
    if (lock.tryLock(LockTimeoutMs) && lockedRead(tree))
        return tree;
    if (outcome == ReadOutcome::roRead)
        return ParseRegistryText(bytes).tree;
    return {};
}

bool RegistryFile::modify(const std::function<bool(RegistryTree &)> &change) const
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockTimeoutMs))
        return false;
    RegistryTree tree;
    if (!lockedRead(tree) || !change(tree))
        return false;
    return writeTree(tree);
}

// Reads the file while the lock is held. A damaged file is moved aside and what could be read
// from it becomes the new file. False when the file exists but cannot be read at all, so that
// nobody overwrites it.
bool RegistryFile::lockedRead(RegistryTree &tree) const
{
    QByteArray bytes;
    const ReadOutcome outcome = readBytes(m_path, bytes);
    if (outcome == ReadOutcome::roMissing)
        return true;
    if (outcome == ReadOutcome::roFailed)
        return false;

    RegistryParseResult parsed;
    if (outcome == ReadOutcome::roTooLarge)
        parsed.status = RegistryParseResult::psUnreadable;
    else
        parsed = ParseRegistryText(bytes);
    if (parsed.status == RegistryParseResult::psClean) {
        tree = std::move(parsed.tree);
        return true;
    }

    const QString aside = brokenCopyName(m_path);
    if (!QFile::rename(m_path, aside))
        return false;
    m_lastBrokenCopy = aside;
    tree = std::move(parsed.tree);
    if (!tree.isEmpty())
        writeTree(tree);
    return true;
}

bool RegistryFile::writeTree(const RegistryTree &tree) const
{
    const QByteArray content = WriteRegistryText(tree);
    QFile current(m_path);
    if (current.open(QIODevice::ReadOnly) && current.size() == content.size() &&
        current.readAll() == content)
        return true; // nothing changed: leave the file alone
    current.close();

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size())
        return false; // the save file is discarded, the old file stays
    return file.commit();
}
