#include "components/LumShellLink.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <initializer_list>

// Debian's liblnk header includes libbfio's header for its file-handle functions, which the
// package does not bring along; none of those functions is used here.
#include <liblnk/features.h>
#undef LIBLNK_HAVE_BFIO
#include <liblnk.h>

namespace
{

// The fixed shortcut header: its size and where the show command and the hot key lie in it.
constexpr qint64 HeaderSize = 76;
constexpr int ShowCommandOffset = 60;
constexpr int HotKeyOffset = 64;
// Shortcuts are a few kilobytes; a larger file is not read.
constexpr qint64 MaximumLinkSize = 1024 * 1024;
constexpr quint32 HasLinkTargetIdList = 0x1;
constexpr quint32 HasLinkInfo = 0x2;

// The little-endian number of the given width at `at`; the caller has checked the bounds.
quint32 numberAt(const QByteArray &bytes, qint64 at, int width = 4)
{
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

quint32 u32At(const QByteArray &bytes, qint64 at)
{
    return numberAt(bytes, at);
}

// Whether a block of size bytes at offset `at` lies inside the data, and each of the given
// offsets (relative to the block, 0 meaning absent) inside the block.
bool blockFits(qint64 total, qint64 at, qint64 size, std::initializer_list<qint64> offsets)
{
    if (at < 0 || size < 0 || at + size > total)
        return false;
    for (qint64 offset : offsets) {
        if (offset >= size)
            return false;
    }
    return true;
}

// The location block of a shortcut names the sizes and offsets of its parts; liblnk takes them
// as they stand and would allocate gigabytes for a few hand-made bytes. A block whose parts do
// not lie inside it is refused before liblnk sees the file.
bool locationBlockIsConsistent(const QByteArray &bytes)
{
    const qint64 total = bytes.size();
    if (total < HeaderSize)
        return false;
    const quint32 flags = u32At(bytes, 0x14);
    qint64 at = HeaderSize;
    if (flags & HasLinkTargetIdList) {
        if (at + 2 > total)
            return false;
        at += 2 + numberAt(bytes, at, 2);
    }
    if (!(flags & HasLinkInfo))
        return true;
    if (at + 0x1C > total)
        return false;
    const qint64 size = u32At(bytes, at);
    if (size < 0x1C || !blockFits(total, at, size, {}))
        return false;
    const qint64 headerSize = u32At(bytes, at + 4);
    const quint32 infoFlags = u32At(bytes, at + 8);
    const qint64 volume = u32At(bytes, at + 12);
    const qint64 network = u32At(bytes, at + 20);
    if (!blockFits(total, at, size,
                   {headerSize, volume, qint64(u32At(bytes, at + 16)), network,
                    qint64(u32At(bytes, at + 24))}))
        return false;
    if (headerSize >= 0x24 && (at + 0x24 > total || !blockFits(total, at, size,
                                                               {qint64(u32At(bytes, at + 28)),
                                                                qint64(u32At(bytes, at + 32))})))
        return false;
    if (infoFlags & 0x1) {
        if (volume + 0x14 > size)
            return false;
        const qint64 volumeSize = u32At(bytes, at + volume);
        const qint64 label = u32At(bytes, at + volume + 12);
        if (volumeSize < 0x10 || !blockFits(size, volume, volumeSize, {label}))
            return false;
        if (label == 0x14 &&
            !blockFits(size, volume, volumeSize, {qint64(u32At(bytes, at + volume + 16))}))
            return false;
    }
    if (infoFlags & 0x2) {
        if (network + 0x1C > size)
            return false;
        const qint64 networkSize = u32At(bytes, at + network);
        const qint64 netName = u32At(bytes, at + network + 8);
        if (networkSize < 0x14 || !blockFits(size, network, networkSize,
                                             {netName, qint64(u32At(bytes, at + network + 12))}))
            return false;
        if (netName > 0x14 && !blockFits(size, network, networkSize,
                                         {qint64(u32At(bytes, at + network + 20)),
                                          qint64(u32At(bytes, at + network + 24))}))
            return false;
    }
    return true;
}

void freeError(liblnk_error_t *&error)
{
    if (error)
        liblnk_error_free(&error);
    error = nullptr;
}

bool french(TLangType lang)
{
    return lang == ltFrench;
}

// A string property of an open link through liblnk's size-then-copy pair; empty when the
// link does not hold it.
using SizeGetter = int (*)(liblnk_file_t *, size_t *, liblnk_error_t **);
using TextGetter = int (*)(liblnk_file_t *, uint8_t *, size_t, liblnk_error_t **);

bool readText(liblnk_file_t *file, SizeGetter sizeOf, TextGetter textOf, QString &text)
{
    text.clear();
    size_t size = 0;
    liblnk_error_t *error = nullptr;
    const int found = sizeOf(file, &size, &error);
    if (found != 1 || size == 0) {
        freeError(error);
        return false;
    }
    QByteArray buffer(qsizetype(size), '\0');
    if (textOf(file, reinterpret_cast<uint8_t *>(buffer.data()), size, &error) != 1) {
        freeError(error);
        return false;
    }
    text = QString::fromUtf8(buffer.constData()); // stops at the terminating NUL
    return true;
}

struct LinkFile {
    liblnk_file_t *file = nullptr;
    bool opened = false;
    ~LinkFile()
    {
        if (opened)
            liblnk_file_close(file, nullptr);
        if (file)
            liblnk_file_free(&file, nullptr);
    }
};

bool isDriveLetter(const QString &path)
{
    return path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter();
}

} // namespace

TLumShellLink::TLumShellLink(QObject *parent) : QObject(parent) {}

void TLumShellLink::setFileName(const QString &value)
{
    if (value == m_fileName)
        return;
    m_fileName = value;
    if (!m_fileName.endsWith(QLatin1String(".lnk"), Qt::CaseInsensitive))
        m_fileName += QLatin1String(".lnk");
}

QString TLumShellLink::LocalTarget(const QString &storedPath)
{
    if (storedPath.startsWith(QLatin1Char('/')) || QFileInfo::exists(storedPath))
        return storedPath;
    QString path = storedPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (isDriveLetter(path))
        path.remove(0, 2);
    return path;
}

void TLumShellLink::Read()
{
    const QFileInfo info(m_fileName);
    if (m_fileName.isEmpty() || !info.isFile())
        throw ELumShellLink(LinkNotFoundMessage());

    {
        QFile raw(m_fileName);
        if (info.size() > MaximumLinkSize || !raw.open(QIODevice::ReadOnly) ||
            !locationBlockIsConsistent(raw.read(MaximumLinkSize)))
            throw ELumShellLink(ReadErrorMessage());
    }

    LinkFile link;
    liblnk_error_t *error = nullptr;
    if (liblnk_file_initialize(&link.file, &error) != 1) {
        freeError(error);
        throw ELumShellLink(CoCreateInstanceMessage());
    }
    const QByteArray name = QFile::encodeName(m_fileName);
    if (liblnk_file_open(link.file, name.constData(), LIBLNK_OPEN_READ, &error) != 1) {
        freeError(error);
        throw ELumShellLink(ReadErrorMessage());
    }
    link.opened = true;

    QString localPath;
    if (!readText(link.file, liblnk_file_get_utf8_local_path_size, liblnk_file_get_utf8_local_path,
                  localPath) ||
        localPath.isEmpty())
        throw ELumShellLink(ReadErrorMessage());

    // A bare drive ("C:") names no file here: refused rather than read as an empty target.
    const QString target = LocalTarget(localPath);
    if (target.isEmpty())
        throw ELumShellLink(ReadErrorMessage());
    m_target = target;
    readText(link.file, liblnk_file_get_utf8_description_size, liblnk_file_get_utf8_description,
             m_description);
    readText(link.file, liblnk_file_get_utf8_working_directory_size,
             liblnk_file_get_utf8_working_directory, m_workingDir);
    readText(link.file, liblnk_file_get_utf8_command_line_arguments_size,
             liblnk_file_get_utf8_command_line_arguments, m_arguments);
    readText(link.file, liblnk_file_get_utf8_icon_location_size, liblnk_file_get_utf8_icon_location,
             m_fileIcon.fileName);

    // This liblnk release returns the header's file size for both the show command and the hot
    // key, so those two fields are taken from the fixed header that liblnk has just validated.
    QFile raw(m_fileName);
    if (raw.open(QIODevice::ReadOnly)) {
        char header[HeaderSize];
        if (raw.read(header, HeaderSize) == HeaderSize) {
            m_windowState = int(qFromLittleEndian<quint32>(header + ShowCommandOffset));
            m_hotKey = qFromLittleEndian<quint16>(header + HotKeyOffset);
        }
    }
    uint32_t iconIndex = 0;
    if (liblnk_file_get_icon_index(link.file, &iconIndex, &error) == 1)
        m_fileIcon.index = int(iconIndex);
    freeError(error);
}

void TLumShellLink::Write()
{
    throw ELumShellLink(WriteErrorMessage());
}

QString TLumShellLink::LinkNotFoundMessage() const
{
    return french(m_langType) ? QStringLiteral("Lien non trouvé.")
                              : QStringLiteral("Link not found.");
}

QString TLumShellLink::CoCreateInstanceMessage() const
{
    return french(m_langType) ? QStringLiteral("\"CoCreateInstance\" a échoué.")
                              : QStringLiteral("\"CoCreateInstance\" failed.");
}

QString TLumShellLink::PersistFileMessage() const
{
    return french(m_langType) ? QStringLiteral("\"PersistFile QueryInterface\" a échoué.")
                              : QStringLiteral("\"PersistFile QueryInterface\" failed.");
}

QString TLumShellLink::ReadErrorMessage() const
{
    return french(m_langType) ? QStringLiteral("Erreur en lecture.")
                              : QStringLiteral("Read error.");
}

QString TLumShellLink::WriteErrorMessage() const
{
    return french(m_langType) ? QStringLiteral("Erreur en écriture.")
                              : QStringLiteral("Write error.");
}

QString ResolveShortcut(const QString &linkPath)
{
    TLumShellLink link;
    link.setFileName(linkPath);
    link.Read();
    return link.Target();
}
