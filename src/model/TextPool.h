#pragma once

#include "model/LargeArray.h"

#include <QString>

#include <absl/container/flat_hash_map.h>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

// The distinct texts of a log, each stored once and named by a small id. The cells of the
// tables hold ids: dates, times and codes repeat across a million rows, so a row costs a few
// bytes and two cells hold the same text exactly when they hold the same id.
//
// A text is kept exactly as given, every character included (a leading U+FEFF too). The pool
// never forgets a text while it lives; a log read afresh starts a new pool.
class TextPool
{
public:
    using Id = quint32;
    static constexpr Id kEmpty = 0; // the empty text

    TextPool();
    TextPool(const TextPool &) = delete;
    TextPool &operator=(const TextPool &) = delete;

    // The id of a text, adding it when new.
    Id intern(const QString &text);
    // The same for a view, whose string is made only when the text is asked for.
    Id intern(QStringView text);
    // The same for a text given as UTF-8 (as the log reader has it), which must be valid.
    Id internUtf8(std::string_view utf8);
    // The id of a text already in the pool, or -1.
    qint64 find(QStringView text) const;
    qint64 findUtf8(std::string_view utf8) const;

    // The text of an id. It is decoded the first time it is asked for: most texts of a log
    // are only ever read and written again as the UTF-8 they came as.
    const QString &text(Id id) const
    {
        const QString &known = m_texts[id];
        return known.isNull() && id != kEmpty ? decode(id) : known;
    }
    std::string_view utf8(Id id) const { return m_utf8[id]; }
    // One more than the largest id.
    Id size() const { return Id(m_utf8.size()); }
    // Room for this many texts without growing.
    void reserve(size_t texts);
    // Room for the texts of a large log at once, on huge pages: growing through every size on
    // the way touches each page of the arrays anew, and a new page is dear.
    void reserveForLargeLog();

    // The bytes of a text of at most 15 bytes as two words, with its length in the top byte:
    // such texts (dates, times, codes, numbers) are found without reading them again.
    struct ShortKey {
        std::uint64_t low = 0;
        std::uint64_t high = 0;
        bool operator==(const ShortKey &) const = default;
        template <typename H> friend H AbslHashValue(H state, const ShortKey &key)
        {
            return H::combine(std::move(state), key.low, key.high);
        }
    };
    static constexpr size_t kShortBytes = 15;
    static ShortKey shortKey(std::string_view utf8);

private:
    Id add(std::string_view utf8, QString text);
    std::string_view store(std::string_view bytes);
    const QString &decode(Id id) const;

    using ShortMap = absl::flat_hash_map<ShortKey, Id, absl::Hash<ShortKey>, std::equal_to<>,
                                         LargePageAllocator<std::pair<const ShortKey, Id>, true>>;

    mutable KeptVector<QString> m_texts; // a null text: not decoded yet
    KeptVector<std::string_view> m_utf8;
    ShortMap m_short;
    absl::flat_hash_map<std::string_view, Id> m_long; // keys point into m_blocks
    // The UTF-8 bytes of every text, in blocks that never move, so the keys stay valid.
    using BlockAllocator = LargePageAllocator<char, true>;
    struct BlockDeleter {
        size_t bytes = 0;
        void operator()(char *block) const { BlockAllocator().deallocate(block, bytes); }
    };
    using Block = std::unique_ptr<char[], BlockDeleter>;
    char *newBlock(size_t bytes);
    std::vector<Block> m_blocks;
    char *m_block = nullptr; // the free part of the newest shared block
    size_t m_blockLeft = 0;
};

inline TextPool::ShortKey TextPool::shortKey(std::string_view utf8)
{
    // Fixed-size loads that never read past the text: two overlapping ones for each half.
    const char *p = utf8.data();
    const size_t n = utf8.size();
    const auto load = [](const char *at, auto word) {
        std::memcpy(&word, at, sizeof word);
        return std::uint64_t(word);
    };
    ShortKey key;
    const size_t head = n < 8 ? n : 8;
    if (head >= 4) {
        key.low = load(p, std::uint32_t()) | load(p + head - 4, std::uint32_t()) << (head - 4) * 8;
    } else if (head > 0) {
        key.low = std::uint64_t(std::uint8_t(p[0])) |
                  std::uint64_t(std::uint8_t(p[head / 2])) << (head / 2) * 8 |
                  std::uint64_t(std::uint8_t(p[head - 1])) << (head - 1) * 8;
    }
    if (n > 8) // bytes 8 to n-1, from a load that ends with the text
        key.high = load(p + n - 8, std::uint64_t()) >> (16 - n) * 8;
    key.high |= std::uint64_t(n) << 56;
    return key;
}
