#include "options/CheckListText.h"

QStringList CheckListToLines(const QList<TCheckListItem> &items)
{
    QStringList lines;
    lines.reserve(items.size());
    for (const TCheckListItem &item : items)
        lines.append(item.checked ? CheckMark + item.text : item.text);
    return lines;
}

QList<TCheckListItem> LinesToCheckList(const QStringList &lines)
{
    QList<TCheckListItem> items;
    items.reserve(lines.size());
    for (const QString &line : lines) {
        if (line.startsWith(CheckMark))
            items.append({line.mid(1), true});
        else
            items.append({line, false});
    }
    return items;
}
