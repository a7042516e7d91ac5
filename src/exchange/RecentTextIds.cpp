#include "exchange/RecentTextIds.h"

#include <string_view>

RecentTextIds::RecentTextIds() : m_slots(size_t(1) << kSlotBits) {}

std::optional<TextPool::ShortKey> RecentTextIds::keyOf(QStringView text)
{
    const qsizetype n = text.size();
    if (n > qsizetype(TextPool::kShortBytes))
        return std::nullopt;
    char ascii[TextPool::kShortBytes] = {};
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80)
            return std::nullopt;
        ascii[i] = char(c);
    }
    // The key of a text is its bytes (with its length), so equal keys mean equal texts.
    return TextPool::shortKey(std::string_view(ascii, size_t(n)));
}

size_t RecentTextIds::slotOf(const TextPool::ShortKey &key)
{
    const std::uint64_t mixed = key.low * 0x9E3779B97F4A7C15ull ^
                                (key.high + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
    return size_t(mixed >> (64 - kSlotBits));
}

std::optional<TextPool::Id> RecentTextIds::find(QStringView text) const
{
    const std::optional<TextPool::ShortKey> key = keyOf(text);
    if (!key)
        return std::nullopt;
    const Slot &slot = m_slots[slotOf(*key)];
    if (slot.used && slot.key == *key)
        return slot.id;
    return std::nullopt;
}

void RecentTextIds::remember(QStringView text, TextPool::Id id)
{
    if (const std::optional<TextPool::ShortKey> key = keyOf(text))
        m_slots[slotOf(*key)] = {*key, id, true};
}
