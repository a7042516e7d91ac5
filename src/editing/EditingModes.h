#pragma once

#include <QString>
#include <QStringList>

// The modes in which the record dialogs open.
enum class FlightDialogMode { Add, Modify, Derive, Properties };
enum class RecordDialogMode { Add, Modify, Properties };

// The entry that a drop-down list selects for a code: the entry equal to the code, failing
// that the first entry equal to it without regard to letter case; empty when there is none.
QString ListEntryFor(const QStringList &list, const QString &code);
