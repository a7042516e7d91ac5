#pragma once

#include "model/LargeArray.h"
#include "model/TextPool.h"

#include <memory_resource>
#include <span>
#include <vector>

// Names of the rows of one table that stay the same while the rows move: a sort, a row placed
// after an edit or the removal of other rows changes a row's position but not its handle. The
// lookup indexes hold handles, so they stay valid whatever order the rows take.
class RowHandles
{
public:
    using Handle = quint32;

    bool active() const { return m_active; }
    // Handles for the rows as they stand (row r gets handle r).
    void start(int rows);
    void stop();

    Handle of(int row) const { return m_handleOf[size_t(row)]; }
    int rowOf(Handle handle) const { return int(m_rowOf[handle]); }

    // A row appended at the end.
    Handle appended(int row);
    // The row at `from` now stands at `to`, the rows between moving by one.
    void moved(int from, int to);
    // order[i] is the old position of the row that now stands at i.
    void reordered(std::span<const int> order);
    // These rows (ascending, distinct) are gone.
    void removed(std::span<const int> rows);

private:
    static constexpr quint32 kGone = ~quint32(0);
    bool m_active = false;
    KeptVector<Handle> m_handleOf; // by row
    KeptVector<quint32> m_rowOf;   // by handle
};

// When to build an index: until lookups come often enough to pay for it, a lookup reads the
// ids of the column from the top, which is the rule itself (the first row in table order).
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

// The rows that hold each text id in one column (the key column), each with the id of its cell
// in a second column (the partner), so that one index answers lookups by the key alone and by
// the pair. The first row in table order is the holder with the lowest position. A key's
// holders are kept in partner order: a pair lookup reads only the holders of its pair, though a
// key (a date of the Flights table) may have hundreds. (A hash of the pairs was tried: an
// import reads the flights in date order, and the holders of one date stay in the cache.)
class KeyIndex
{
public:
    using Id = TextPool::Id;
    using Handle = RowHandles::Handle;

    KeyIndex();
    KeyIndex(KeyIndex &&) = delete;

    LookupIndexState state;

    // Indexes the rows as they stand; partners may be empty (no partner column).
    void build(std::span<const Id> keys, std::span<const Id> partners, const RowHandles &handles);
    void clear();

    void add(Id key, Id partner, Handle handle);
    void remove(Id key, Id partner, Handle handle);
    void setPartner(Id key, Handle handle, Id oldPartner, Id newPartner);

    // The first row holding the key (and the partner), or -1.
    int first(Id key, const RowHandles &handles) const;
    int first(Id key, Id partner, const RowHandles &handles) const;

private:
    struct Holder {
        Id partner;
        Handle handle;
    };
    using Holders = std::pmr::vector<Holder>;
    // The holders of one key with this partner.
    static std::pair<Holders::iterator, Holders::iterator> withPartner(Holders &holders,
                                                                       Id partner);
    static std::pair<Holders::const_iterator, Holders::const_iterator>
    withPartner(const Holders &holders, Id partner);

    // The holders of many keys live in blocks from one pool, large ones in huge pages.
    std::pmr::unsynchronized_pool_resource m_memory;
    std::pmr::vector<Holders> m_byKey;
};
