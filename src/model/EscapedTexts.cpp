#include "model/EscapedTexts.h"

EscapedTexts::EscapedTexts(const TextPool &pool, NeedsEscape needsEscape,
                           AppendEscaped appendEscaped)
    : m_pool(pool), m_needsEscape(needsEscape), m_appendEscaped(appendEscaped),
      m_known(pool.size(), false), m_views(pool.size())
{
}

std::string_view EscapedTexts::of(TextPool::Id id)
{
    if (m_known[id])
        return m_views[id];
    const std::string_view raw = m_pool.utf8(id);
    bool plain = true;
    for (const char ch : raw)
        plain = plain && !m_needsEscape(static_cast<unsigned char>(ch));
    if (plain) {
        m_views[id] = raw;
    } else {
        std::string &escaped = m_escaped.emplace_back();
        m_appendEscaped(escaped, raw);
        m_views[id] = escaped;
    }
    m_known[id] = true;
    return m_views[id];
}
