#pragma once

#include <QString>

#include <absl/container/flat_hash_map.h>
#include <cstddef>
#include <memory>
#include <string>
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
    // The same for a text given as UTF-8 (as the log reader has it), which must be valid.
    Id internUtf8(std::string_view utf8);
    // The id of a text already in the pool, or -1.
    qint64 find(const QString &text) const;
    qint64 findUtf8(std::string_view utf8) const;

    const QString &text(Id id) const { return m_texts[id]; }
    std::string_view utf8(Id id) const { return m_utf8[id]; }
    // One more than the largest id.
    Id size() const { return Id(m_texts.size()); }

private:
    Id add(std::string_view utf8, QString text);
    std::string_view store(std::string_view bytes);

    std::vector<QString> m_texts;
    std::vector<std::string_view> m_utf8;
    // Keys of their own: a short text is held inside the map's slot (std::string's small
    // buffer), so a lookup while reading touches one place of memory, not two.
    absl::flat_hash_map<std::string, Id> m_ids;
    // The UTF-8 bytes of every text, in blocks that never move, so the keys stay valid.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_block = nullptr; // the free part of the newest shared block
    size_t m_blockLeft = 0;
};
