#pragma once

#include "components/LumRegistryEnhanced.h"

#include <QList>
#include <QString>
#include <QStringList>

// The country list as the string list editor shows it: one line per entry, a checked entry's
// name preceded by the mark "√" (U+221A).
inline const QChar CheckMark(0x221A);

QStringList CheckListToLines(const QList<TCheckListItem> &items);

// Each line becomes one entry: a line starting with the mark is a checked entry named by the
// text after that first mark; any other line, an empty one included, an unchecked entry.
QList<TCheckListItem> LinesToCheckList(const QStringList &lines);
