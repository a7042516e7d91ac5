#include "platform/SystemInfo.h"

#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

OsIdentity operatingSystemIdentity()
{
    OsIdentity id;
    utsname names{};
    if (uname(&names) != 0)
        return id;
    id.systemName = QString::fromLocal8Bit(names.sysname);
    id.release = QString::fromLocal8Bit(names.release);
    parseKernelRelease(id.release, id.majorVersion, id.minorVersion);
    return id;
}

void parseKernelRelease(const QString &release, int &majorVersion, int &minorVersion)
{
    static const QRegularExpression leading(QStringLiteral("^(\\d+)(?:\\.(\\d+))?"));
    const QRegularExpressionMatch m = leading.match(release);
    majorVersion = m.hasMatch() ? m.captured(1).toInt() : 0;
    minorVersion = m.hasCaptured(2) ? m.captured(2).toInt() : 0;
}

PhysicalMemoryInfo totalPhysicalMemory()
{
    PhysicalMemoryInfo info;
    struct sysinfo figures {
    };
    if (sysinfo(&figures) != 0) {
        info.error = QString::fromLocal8Bit(std::strerror(errno));
        return info;
    }
    info.ok = true;
    info.bytes = quint64(figures.totalram) * quint64(figures.mem_unit ? figures.mem_unit : 1);
    return info;
}
