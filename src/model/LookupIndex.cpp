#include "model/LookupIndex.h"

#include <algorithm>
#include <numeric>

// --- row handles ---

void RowHandles::start(int rows)
{
    m_handleOf.resize(size_t(rows));
    std::iota(m_handleOf.begin(), m_handleOf.end(), Handle(0));
    m_rowOf.assign(m_handleOf.begin(), m_handleOf.end());
    m_active = true;
}

void RowHandles::stop()
{
    KeptVector<Handle>().swap(m_handleOf);
    KeptVector<quint32>().swap(m_rowOf);
    m_active = false;
}

RowHandles::Handle RowHandles::appended(int row)
{
    const auto handle = Handle(m_rowOf.size());
    m_handleOf.push_back(handle);
    m_rowOf.push_back(quint32(row));
    return handle;
}

void RowHandles::moved(int from, int to)
{
    const auto first = m_handleOf.begin() + std::min(from, to);
    const auto last = m_handleOf.begin() + std::max(from, to) + 1;
    if (from < to)
        std::rotate(first, first + 1, last);
    else
        std::rotate(first, last - 1, last);
    for (int r = std::min(from, to); r <= std::max(from, to); ++r)
        m_rowOf[m_handleOf[size_t(r)]] = quint32(r);
}

void RowHandles::reordered(std::span<const int> order)
{
    KeptVector<Handle> handles(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        handles[i] = m_handleOf[size_t(order[i])];
        m_rowOf[handles[i]] = quint32(i);
    }
    handles.reserve(m_handleOf.capacity());
    m_handleOf.swap(handles);
}

void RowHandles::removed(std::span<const int> rows)
{
    if (rows.empty())
        return;
    size_t kept = size_t(rows.front());
    size_t next = 0;
    for (size_t r = kept; r < m_handleOf.size(); ++r) {
        if (next < rows.size() && size_t(rows[next]) == r) {
            m_rowOf[m_handleOf[r]] = kGone;
            ++next;
            continue;
        }
        m_rowOf[m_handleOf[r]] = quint32(kept);
        m_handleOf[kept++] = m_handleOf[r];
    }
    m_handleOf.resize(kept);
}

// --- key index ---

namespace
{

std::pmr::pool_options poolOptions()
{
    std::pmr::pool_options options;
    options.largest_required_pool_block = 4096;
    return options;
}

} // namespace

KeyIndex::KeyIndex() : m_memory(poolOptions(), LargeArray::resource()), m_byKey(&m_memory) {}

namespace
{

// The holders with this partner in a key's holders, which are in partner order.
template <typename Iterator>
std::pair<Iterator, Iterator> partnerRange(Iterator begin, Iterator end, KeyIndex::Id partner)
{
    const auto first = std::lower_bound(
        begin, end, partner, [](const auto &holder, KeyIndex::Id p) { return holder.partner < p; });
    const auto last = std::upper_bound(
        first, end, partner, [](KeyIndex::Id p, const auto &holder) { return p < holder.partner; });
    return {first, last};
}

} // namespace

std::pair<KeyIndex::Holders::iterator, KeyIndex::Holders::iterator>
KeyIndex::withPartner(Holders &holders, Id partner)
{
    return partnerRange(holders.begin(), holders.end(), partner);
}

std::pair<KeyIndex::Holders::const_iterator, KeyIndex::Holders::const_iterator>
KeyIndex::withPartner(const Holders &holders, Id partner)
{
    return partnerRange(holders.cbegin(), holders.cend(), partner);
}

void KeyIndex::build(std::span<const Id> keys, std::span<const Id> partners,
                     const RowHandles &handles)
{
    clear();
    // Each key's holders get their exact room first, so the build allocates once per key.
    Id largest = 0;
    for (const Id key : keys)
        largest = std::max(largest, key);
    LargeVector<quint32> counts(keys.empty() ? 0 : size_t(largest) + 1, 0);
    for (const Id key : keys)
        ++counts[key];
    m_byKey.resize(counts.size());
    for (size_t key = 0; key < counts.size(); ++key)
        m_byKey[key].reserve(counts[key]);
    for (size_t r = 0; r < keys.size(); ++r)
        m_byKey[keys[r]].push_back({partners.empty() ? Id(0) : partners[r], handles.of(int(r))});
    if (!partners.empty()) {
        for (Holders &holders : m_byKey) {
            std::sort(holders.begin(), holders.end(),
                      [](const Holder &a, const Holder &b) { return a.partner < b.partner; });
        }
    }
    state.markBuilt();
}

void KeyIndex::clear()
{
    m_byKey.clear();
    m_byKey.shrink_to_fit();
    m_memory.release();
    state.drop();
}

void KeyIndex::add(Id key, Id partner, Handle handle)
{
    if (key >= m_byKey.size())
        m_byKey.resize(size_t(key) + 1);
    Holders &holders = m_byKey[key];
    holders.insert(withPartner(holders, partner).second, {partner, handle});
}

void KeyIndex::remove(Id key, Id partner, Handle handle)
{
    if (key >= m_byKey.size())
        return;
    Holders &holders = m_byKey[key];
    const auto [first, last] = withPartner(holders, partner);
    const auto it =
        std::find_if(first, last, [handle](const Holder &h) { return h.handle == handle; });
    if (it == last)
        return;
    // The order among the holders of one pair does not matter: the last of them fills the gap.
    *it = *(last - 1);
    holders.erase(last - 1);
}

void KeyIndex::setPartner(Id key, Handle handle, Id oldPartner, Id newPartner)
{
    if (key >= m_byKey.size())
        return;
    Holders &holders = m_byKey[key];
    const auto [first, last] = withPartner(holders, oldPartner);
    if (std::none_of(first, last, [handle](const Holder &h) { return h.handle == handle; }))
        return;
    remove(key, oldPartner, handle);
    add(key, newPartner, handle);
}

int KeyIndex::first(Id key, const RowHandles &handles) const
{
    if (key >= m_byKey.size())
        return -1;
    int best = -1;
    for (const Holder &h : m_byKey[key]) {
        const int row = handles.rowOf(h.handle);
        if (best < 0 || row < best)
            best = row;
    }
    return best;
}

int KeyIndex::first(Id key, Id partner, const RowHandles &handles) const
{
    if (key >= m_byKey.size())
        return -1;
    int best = -1;
    const auto [from, to] = withPartner(m_byKey[key], partner);
    for (auto h = from; h != to; ++h) {
        const int row = handles.rowOf(h->handle);
        if (best < 0 || row < best)
            best = row;
    }
    return best;
}
