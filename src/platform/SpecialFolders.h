#pragma once

#include <QString>

// The system's special folders. Each returns "" when the folder is unknown (for example before
// the application object exists); none ends in a separator.

// The installed data folder (<prefix>/share), found beside the folder of the executable
// (<prefix>/bin), so that a build tree (<build>/bin, <build>/share) works the same way.
QString CommonAppDataFolder();
QString PersonalDocumentsFolder();
QString LocalAppDataFolder();
QString TempFolder();

// The folder itself when it exists, else the nearest folder above it that does (a file dialog
// asked to start in a missing folder would offer the folder's name as the file name); "" when
// none does.
QString NearestExistingFolder(const QString &folder);

// Default folders of the reference files, each ending in "/": Countries.def lies in the common
// one, Airlines.def and Airports.def in the program's own. "" when the data folder is unknown.
QString DefaultCommonDefFilesPath();
QString DefaultDefFilesPath();

// The release notes: the program file's own path with its extension replaced by ".txt" (or
// ".txt" added when it has none). "" before the application object exists.
QString releaseNotesFile();
