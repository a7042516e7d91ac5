#pragma once

// Writes small Windows shortcut (.lnk) files for the tests, laid out as the Shell Link Binary
// File Format describes them: a ShellLinkHeader with the HasLinkInfo flag and a LinkInfo block
// holding a VolumeID and the LocalBasePath of the target, then the terminal extra-data block.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

namespace ShellLinkFile
{

inline void appendU16(QByteArray &bytes, quint16 value)
{
    char buffer[2];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 2);
}

inline void appendU32(QByteArray &bytes, quint32 value)
{
    char buffer[4];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 4);
}

constexpr quint32 HasLinkInfo = 0x00000002;

// A shortcut whose LinkInfo names localBasePath (in the 8-bit code page: keep it ASCII); with
// an empty path the link has no LinkInfo at all and so no local path.
inline QByteArray linkTo(const QByteArray &localBasePath, quint32 showCommand = 1,
                         quint16 hotKey = 0)
{
    const bool withLinkInfo = !localBasePath.isEmpty();
    QByteArray bytes;
    appendU32(bytes, 0x4C); // HeaderSize
    const unsigned char clsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    bytes.append(reinterpret_cast<const char *>(clsid), 16);
    appendU32(bytes, withLinkInfo ? HasLinkInfo : 0); // LinkFlags
    appendU32(bytes, 0x20);                           // FileAttributes: archive
    bytes.append(24, '\0');                           // creation, access and write times
    appendU32(bytes, 0x1234);                         // FileSize
    appendU32(bytes, 0);                              // IconIndex
    appendU32(bytes, showCommand);                    // ShowCommand: 1 normal
    appendU16(bytes, hotKey);                         // HotKey
    bytes.append(10, '\0');                           // reserved
    if (withLinkInfo) {
        QByteArray volume;
        appendU32(volume, 0);          // VolumeIDSize, set below
        appendU32(volume, 3);          // DriveType: fixed
        appendU32(volume, 0x12345678); // DriveSerialNumber
        appendU32(volume, 0x10);       // VolumeLabelOffset
        volume.append('\0');           // empty label
        qToLittleEndian(quint32(volume.size()), volume.data());

        const quint32 headerSize = 0x1C;
        const quint32 localBasePathOffset = headerSize + quint32(volume.size());
        const quint32 suffixOffset = localBasePathOffset + quint32(localBasePath.size()) + 1;
        const quint32 linkInfoSize = suffixOffset + 1;
        appendU32(bytes, linkInfoSize);
        appendU32(bytes, headerSize);
        appendU32(bytes, 1); // VolumeIDAndLocalBasePath
        appendU32(bytes, headerSize);
        appendU32(bytes, localBasePathOffset);
        appendU32(bytes, 0); // no network part
        appendU32(bytes, suffixOffset);
        bytes.append(volume);
        bytes.append(localBasePath);
        bytes.append('\0');
        bytes.append('\0'); // empty CommonPathSuffix
    }
    appendU32(bytes, 0); // TerminalBlock
    return bytes;
}

inline bool write(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace ShellLinkFile
