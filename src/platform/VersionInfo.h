#pragma once

#include <QString>

// The program's four-part version (a.b.c.d), compiled in.
QString ProgramFileVersion();

// The version text of a four-part version: a, then b and c padded to two digits, joined by
// "." (1.0.17.0 gives 1.00.17); with the build number, "b" and d follow (1.00.17b0). Any other
// number of parts is joined back unchanged.
QString ExtractVersion(const QString &fileVersion, bool includeBuildNumber);
// The same for the running program.
QString ExtractVersion(bool includeBuildNumber);
