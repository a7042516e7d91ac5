#include "platform/VersionInfo.h"

std::optional<TVersionResource> ProgramVersionResource()
{
    const QString version = QStringLiteral(WINGBOOK_VERSION);
    if (version.isEmpty())
        return std::nullopt;
    return TVersionResource{QStringLiteral(WINGBOOK_DESCRIPTION), version,
                            QStringLiteral(WINGBOOK_COPYRIGHT), QStringLiteral(WINGBOOK_COMPANY)};
}
