#include "components/LumShellLink.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

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

    m_target = LocalTarget(localPath);
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
