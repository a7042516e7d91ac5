#pragma once

#include <QHash>
#include <algorithm>
#include <utility>
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
    void remap(const std::vector<int> &newPosition)
    {
        std::vector<std::pair<Key, int>> firstOfShared;
        for (auto it = m_all.begin(); it != m_all.end();) {
            std::vector<int> &rows = it.value();
            for (int &r : rows)
                r = newPosition[size_t(r)];
            rows.erase(std::remove(rows.begin(), rows.end(), -1), rows.end());
            firstOfShared.emplace_back(
                it.key(), rows.empty() ? -1 : *std::min_element(rows.begin(), rows.end()));
            if (rows.size() <= 1)
                it = m_all.erase(it);
            else
                ++it;
        }
        for (auto it = m_first.begin(); it != m_first.end();) {
            const int moved = newPosition[size_t(it.value())];
            if (moved < 0) {
                it = m_first.erase(it);
            } else {
                it.value() = moved;
                ++it;
            }
        }
        for (const auto &[key, row] : firstOfShared) {
            if (row < 0)
                m_first.remove(key);
            else
                m_first.insert(key, row);
        }
    }

private:
    QHash<Key, int> m_first;
    QHash<Key, std::vector<int>> m_all; // keys held by two or more rows
};
