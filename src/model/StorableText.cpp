#include "model/StorableText.h"

namespace
{

bool isStorableUnit(char16_t c)
{
    if (c < 0x20)
        return c == u'\t' || c == u'\n' || c == u'\r';
    return c != 0xFFFE && c != 0xFFFF;
}

// The length of the storable run at i: 1 for a plain character, 2 for a surrogate pair, 0
// when the character at i cannot be stored.
qsizetype storableAt(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c))
        return i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()) ? 2 : 0;
    if (QChar::isLowSurrogate(c))
        return 0;
    return isStorableUnit(c) ? 1 : 0;
}

} // namespace

bool IsStorableText(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype run = storableAt(text, i);
        if (run == 0)
            return false;
        i += run;
    }
    return true;
}

QString StorableText(const QString &text)
{
    if (IsStorableText(text))
        return text;
    QString storable = text;
    for (qsizetype i = 0; i < storable.size();) {
        const qsizetype run = storableAt(storable, i);
        if (run == 0) {
            storable[i] = QLatin1Char(' ');
            ++i;
        } else {
            i += run;
        }
    }
    return storable;
}
