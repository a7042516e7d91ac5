#pragma once

#include "model/TextPool.h"

#include <QStringView>
#include <optional>
#include <vector>

// The pool ids of the short texts that one column of an import met lately. The times, codes and
// flight numbers of a file repeat a few thousand texts over and over: a small table of them,
// one text per slot, answers from the processor's caches where the pool's map of every text of
// the log costs a miss. Only texts of at most TextPool::kShortBytes ASCII characters are kept.
class RecentTextIds
{
public:
    RecentTextIds();

    // The id of this text, when it was remembered lately.
    std::optional<TextPool::Id> find(QStringView text) const;
    // Remembers the id of a text as the pool stores it (the caller checked that it may).
    void remember(QStringView text, TextPool::Id id);

private:
    static constexpr int kSlotBits = 12;
    struct Slot {
        TextPool::ShortKey key;
        TextPool::Id id = TextPool::kEmpty;
        bool used = false;
    };

    static std::optional<TextPool::ShortKey> keyOf(QStringView text);
    static size_t slotOf(const TextPool::ShortKey &key);

    std::vector<Slot> m_slots;
};
