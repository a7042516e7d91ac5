#pragma once

#include <QObject>
#include <QStringList>

// A recent-file list: full paths, most recent first. The menus on screen mirror it.
class RecentFileList : public QObject
{
    Q_OBJECT

public:
    explicit RecentFileList(QObject *parent = nullptr);

    const QStringList &entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }

    // Puts the path at the top. An entry that matches it (ignoring case in the user's locale
    // and accelerator markers) moves to the top and keeps its spelling; a new one is inserted,
    // and the list is cut to the maximum. False for an empty path.
    bool AddToRecentMenu(const QString &path, int maximum);
    // Removes the entry with exactly this caption.
    void remove(const QString &path);
    // Removes entries from the end until at most `maximum` remain.
    void trimTo(int maximum);
    void setEntries(const QStringList &entries);
    void clear();

    // Whether two captions name the same entry.
    static bool sameEntry(const QString &a, const QString &b);

signals:
    void changed();

private:
    QStringList m_entries;
};
