#include "editing/EditingModes.h"

QString ListEntryFor(const QStringList &list, const QString &code)
{
    if (list.contains(code))
        return code;
    for (const QString &entry : list) {
        if (entry.compare(code, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}
