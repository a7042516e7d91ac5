#include "model/RecentFileList.h"

namespace
{

// Menu captions may carry "&" accelerator markers; "&&" stands for one "&".
QString withoutAccelerators(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
                plain.append(QLatin1Char('&'));
                ++i;
            }
            continue;
        }
        plain.append(caption[i]);
    }
    return plain;
}

} // namespace

RecentFileList::RecentFileList(QObject *parent) : QObject(parent) {}

bool RecentFileList::sameEntry(const QString &a, const QString &b)
{
    // Unicode case folding stands in for the locale's case-insensitive comparison.
    return withoutAccelerators(a).compare(withoutAccelerators(b), Qt::CaseInsensitive) == 0;
}

bool RecentFileList::AddToRecentMenu(const QString &path, int maximum)
{
    if (path.isEmpty())
        return false;
    qsizetype found = -1;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (sameEntry(m_entries[i], path)) {
            found = i;
            break;
        }
    }
    if (found < 0) {
        m_entries.prepend(path);
        trimTo(qMax(0, maximum));
    } else if (found > 0) {
        m_entries.move(found, 0);
    }
    emit changed();
    return true;
}

void RecentFileList::remove(const QString &path)
{
    if (m_entries.removeOne(path))
        emit changed();
}

void RecentFileList::trimTo(int maximum)
{
    const qsizetype limit = qMax(0, maximum);
    if (m_entries.size() <= limit)
        return;
    m_entries.resize(limit);
    emit changed();
}

void RecentFileList::setEntries(const QStringList &entries)
{
    m_entries = entries;
    emit changed();
}

void RecentFileList::clear()
{
    setEntries({});
}
