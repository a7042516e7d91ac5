#pragma once

#include "model/TextPool.h"

#include <deque>
#include <string>
#include <string_view>
#include <vector>

// The escaped form of each text id of a pool, made the first time the id is written: the texts
// of a log repeat massively, so each distinct one is escaped once. The escaping rule (XML
// attribute values, JSON strings) is given as the bytes that need it and how to write them.
class EscapedTexts
{
public:
    using NeedsEscape = bool (*)(unsigned char);
    using AppendEscaped = void (*)(std::string &, std::string_view);

    EscapedTexts(const TextPool &pool, NeedsEscape needsEscape, AppendEscaped appendEscaped);

    std::string_view of(TextPool::Id id);

private:
    const TextPool &m_pool;
    NeedsEscape m_needsEscape;
    AppendEscaped m_appendEscaped;
    std::vector<bool> m_known;
    std::vector<std::string_view> m_views;
    std::deque<std::string> m_escaped; // stays in place as it grows
};
