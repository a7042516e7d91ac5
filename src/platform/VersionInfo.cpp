#include "platform/VersionInfo.h"

std::optional<VersionResource> programVersionResource()
{
    const QString version = QStringLiteral(WINGBOOK_VERSION);
    if (version.isEmpty())
        return std::nullopt;
    return VersionResource{QStringLiteral(WINGBOOK_DESCRIPTION), version,
                           QStringLiteral(WINGBOOK_COPYRIGHT), QStringLiteral(WINGBOOK_COMPANY)};
}
