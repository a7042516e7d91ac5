#pragma once

#include "options/WingbookOptions.h"

class TLumRegistryEnhanced;

// Reads the options as the options dialog loads them: each stored value, else its default.
// Values of the wrong kind or out of range fall back to the default.
OptionSet LoadStoredOptions(const TLumRegistryEnhanced &store);

// The settings values of the options, below the program's key.
namespace OptionKeys
{
QString checkBox(const QString &name); // "Options\<name>"
inline const char *const RecentlyUsedFileList = "Options\\RecentlyUsedFileList";
inline const char *const InformationProvider = "Options\\InformationProvider";
inline const char *const DistanceCalculator = "Options\\DistanceCalculator";
inline const char *const Countries = "Countries";
inline const char *const DefFilesPath = "DefFilesPath";
inline const char *const CommonDefFilesPath = "CommonDefFilesPath";
} // namespace OptionKeys

// A stored boolean comes back as an integer: non-zero is true. Anything else gives fallback.
bool StoredBool(const QVariant &value, bool fallback);
// A stored integer within [minimum, maximum], else fallback.
int StoredInt(const QVariant &value, int fallback, int minimum, int maximum);
