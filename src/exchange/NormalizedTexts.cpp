#include "exchange/NormalizedTexts.h"

#include "components/TextHelpers.h"
#include "model/PadFlight.h"

namespace
{

// A file of texts that never repeat would only fill memory: the memo starts over at this size.
constexpr qsizetype kMaxRemembered = 1 << 16;

} // namespace

template <typename Normalize>
QString NormalizedTexts::lookUp(Memo &memo, const QString &text, Normalize normalize)
{
    const auto found = memo.constFind(text);
    if (found != memo.cend())
        return found.value();
    if (memo.size() >= kMaxRemembered)
        memo.clear();
    QString result = normalize(text);
    memo.insert(text, result);
    return result;
}

QString NormalizedTexts::date(const QString &text)
{
    return lookUp(m_dates, text, [](const QString &t) { return NormalizeDate(t); });
}

QString NormalizedTexts::time(const QString &text)
{
    // A flight written without a time keeps an empty Time, not the padding of nothing.
    if (text.isEmpty())
        return text;
    return lookUp(m_times, text, NormalizeTime);
}

QString NormalizedTexts::flight(const QString &text)
{
    return lookUp(m_flights, text, PadFlight);
}
