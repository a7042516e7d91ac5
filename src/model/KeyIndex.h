#pragma once

#include <QHash>
#include <algorithm>
#include <vector>

// The first row (in table order) of each key of a column. Rows that move, leave or change
// their key update it in place, so a lookup never has to scan the table again. Keys held by
// several rows also remember all of them, so the first can be found again when rows move.
template <typename Key> class KeyIndex
{
public:
    void clear()
    {
        m_first.clear();
        m_all.clear();
    }
    void reserve(qsizetype n) { m_first.reserve(n); }

    int first(const Key &key) const { return m_first.value(key, -1); }

    void add(const Key &key, int row)
    {
        auto it = m_first.find(key);
        if (it == m_first.end()) {
            m_first.insert(key, row);
            return;
        }
        std::vector<int> &rows = m_all[key];
        if (rows.empty())
            rows.push_back(it.value());
        rows.push_back(row);
        it.value() = std::min(it.value(), row);
    }

    void remove(const Key &key, int row)
    {
        auto it = m_first.find(key);
        if (it == m_first.end())
            return;
        auto all = m_all.find(key);
        if (all == m_all.end()) {
            if (it.value() == row)
                m_first.erase(it);
            return;
        }
        std::vector<int> &rows = all.value();
        rows.erase(std::remove(rows.begin(), rows.end(), row), rows.end());
        it.value() = *std::min_element(rows.begin(), rows.end());
        if (rows.size() == 1)
            m_all.erase(all);
    }

    // Rows moved: newPosition[old row] is the row's new place, or -1 for a removed row.
    // The maps are rebuilt rather than erased from while iterating: erasing from a QHash moves
    // later entries back into the freed bucket, so an iteration could meet an entry twice and
    // move its row twice.
    void remap(const std::vector<int> &newPosition)
    {
        QHash<Key, int> first;
        first.reserve(m_first.size());
        for (auto it = m_first.cbegin(); it != m_first.cend(); ++it) {
            const int moved = newPosition[size_t(it.value())];
            if (moved >= 0)
                first.insert(it.key(), moved);
        }
        QHash<Key, std::vector<int>> all;
        for (auto it = m_all.cbegin(); it != m_all.cend(); ++it) {
            std::vector<int> rows;
            rows.reserve(it.value().size());
            for (int r : it.value()) {
                if (newPosition[size_t(r)] >= 0)
                    rows.push_back(newPosition[size_t(r)]);
            }
            if (rows.empty()) {
                first.remove(it.key());
                continue;
            }
            first.insert(it.key(), *std::min_element(rows.begin(), rows.end()));
            if (rows.size() > 1)
                all.insert(it.key(), std::move(rows));
        }
        m_first = std::move(first);
        m_all = std::move(all);
    }

private:
    QHash<Key, int> m_first;
    QHash<Key, std::vector<int>> m_all; // keys held by two or more rows
};
