#pragma once

#include <QString>

// What the running system says about itself (uname).
struct OsIdentity {
    QString systemName; // "Linux"
    QString release;    // "6.1.0-18-amd64"
    int majorVersion = 0;
    int minorVersion = 0;
};
OsIdentity operatingSystemIdentity();

// The leading "major.minor" of a kernel release text ("6.1.0-18-amd64" gives 6 and 1); missing
// numbers are 0.
void parseKernelRelease(const QString &release, int &majorVersion, int &minorVersion);

// The total physical memory (sysinfo), or the system's text for why it is not known.
struct PhysicalMemoryInfo {
    bool ok = false;
    quint64 bytes = 0;
    QString error;
};
PhysicalMemoryInfo totalPhysicalMemory();
