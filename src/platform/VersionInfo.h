#pragma once

#include <QString>
#include <optional>

// The program file's version resource: its values are set once in CMake and compiled in.
struct VersionResource {
    QString FileDescription;
    QString FileVersion; // four dotted numbers, a.b.c.d
    QString LegalCopyright;
    QString CompanyName;
};

// The running program's version resource; none when the build gave it no version.
std::optional<VersionResource> programVersionResource();
