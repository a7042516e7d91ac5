#pragma once

#include "model/TextPool.h"

#include <absl/container/flat_hash_map.h>
#include <vector>

// The first row (in table order) that holds each key of a table, for the lookups. An index
// is built only once lookups come often enough to pay for it: until then a lookup reads the
// ids of the column from the top, which is the rule itself (the first row in table order).
// Appending keeps an index; a change that may move a key's first row elsewhere drops it, and
// the next lookups read the column again until it is worth building anew.
class LookupIndexState
{
public:
    // Lookups answered by reading the column before an index is built.
    static constexpr int kScansBeforeIndex = 8;

    bool built() const { return m_built; }
    // Whether this lookup should build the index rather than read the column once more.
    bool shouldBuild()
    {
        if (m_built)
            return false;
        return ++m_scans > kScansBeforeIndex;
    }
    void markBuilt() { m_built = true; }
    void drop()
    {
        m_built = false;
        m_scans = 0;
    }

private:
    bool m_built = false;
    int m_scans = 0;
};

// The first row of each text id of one column: a plain array, since ids are small and dense.
class ColumnLookup
{
public:
    LookupIndexState state;

    int first(TextPool::Id id) const { return id < m_first.size() ? m_first[id] : -1; }
    void clear() { std::vector<int>().swap(m_first); }
    // Row r holds id and comes after every row already in the index.
    void noteLater(TextPool::Id id, int r)
    {
        if (id >= m_first.size())
            m_first.resize(size_t(id) + 1, -1);
        if (m_first[id] < 0)
            m_first[id] = r;
    }
    // Row r now holds id, wherever it stands.
    void noteAnywhere(TextPool::Id id, int r)
    {
        noteLater(id, r);
        if (m_first[id] > r)
            m_first[id] = r;
    }

private:
    std::vector<int> m_first;
};

// The first row of each pair of text ids (the first two columns of a table).
class PairLookup
{
public:
    LookupIndexState state;

    static quint64 key(TextPool::Id a, TextPool::Id b) { return (quint64(a) << 32) | b; }
    int first(TextPool::Id a, TextPool::Id b) const
    {
        const auto it = m_first.find(key(a, b));
        return it != m_first.end() ? it->second : -1;
    }
    void clear() { absl::flat_hash_map<quint64, int>().swap(m_first); }
    void reserve(size_t n) { m_first.reserve(n); }
    void noteLater(TextPool::Id a, TextPool::Id b, int r) { m_first.try_emplace(key(a, b), r); }
    void noteAnywhere(TextPool::Id a, TextPool::Id b, int r)
    {
        const auto [it, inserted] = m_first.try_emplace(key(a, b), r);
        if (!inserted && it->second > r)
            it->second = r;
    }

private:
    absl::flat_hash_map<quint64, int> m_first;
};
