#include "exchange/NormalizedTexts.h"

#include "components/TextHelpers.h"

namespace
{

// A file of texts that never repeat would only fill memory: the memo starts over at this size.
constexpr qsizetype kMaxRemembered = 1 << 16;

bool isSeparator(QChar c)
{
    return c == u'-' || c == u'/';
}

// Four characters without a date separator, then one: the date normaliser keeps such a text
// as it is (its first part is four characters long), so the log's own yyyy-mm-dd needs no work.
bool startsWithFourCharacterPart(QStringView text)
{
    if (text.size() < 5 || !isSeparator(text.at(4)))
        return false;
    for (int i = 0; i < 4; ++i) {
        if (isSeparator(text.at(i)))
            return false;
    }
    return true;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The log's own hh:nn, which the time normaliser returns unchanged.
bool isTwentyFourHourTime(QStringView text)
{
    return text.size() == 5 && isAsciiDigit(text.at(0)) && isAsciiDigit(text.at(1)) &&
           text.at(2) == u':' && isAsciiDigit(text.at(3)) && isAsciiDigit(text.at(4));
}

} // namespace

template <typename Normalize>
const QString &NormalizedTexts::lookUp(Memo &memo, const QString &text, Normalize normalize)
{
    const auto found = memo.constFind(text);
    if (found != memo.cend())
        return found.value();
    if (memo.size() >= kMaxRemembered)
        memo.clear();
    return memo.insert(text, normalize(text)).value();
}

namespace
{

// The string of a result that shows the text itself is the text's.
QString stringOf(QStringView result, const QString &text)
{
    return result.data() == text.constData() && result.size() == text.size() ? text
                                                                             : result.toString();
}

} // namespace

QString NormalizedTexts::date(const QString &text)
{
    return stringOf(date(QStringView(text)), text);
}

QString NormalizedTexts::time(const QString &text)
{
    return stringOf(time(QStringView(text)), text);
}

QStringView NormalizedTexts::date(QStringView text)
{
    if (startsWithFourCharacterPart(text))
        return text;
    return lookUp(m_dates, text.toString(), [](const QString &t) { return NormalizeDate(t); });
}

QStringView NormalizedTexts::time(QStringView text)
{
    // A flight written without a time keeps an empty Time, not the padding of nothing.
    if (text.isEmpty() || isTwentyFourHourTime(text))
        return text;
    return lookUp(m_times, text.toString(), NormalizeTime);
}
