#include "components/LumBreakApart.h"

#include "components/TextHelpers.h"

namespace
{

const QChar DoubleQuote = u'"';

// Only a separator made entirely of letters may be matched without regard to letter case.
bool isLettersOnly(const QString &text)
{
    if (text.isEmpty())
        return false;
    const QList<uint> codePoints = text.toUcs4();
    for (uint c : codePoints) {
        if (!QChar::isLetter(c))
            return false;
    }
    return true;
}

bool hasOddQuoteCount(const QString &piece)
{
    return CountChar(piece, DoubleQuote) % 2 == 1;
}

} // namespace

TLumBreakApart::TLumBreakApart(QObject *parent) : QObject(parent) {}

void TLumBreakApart::BreakApart()
{
    m_stringList.clear();

    const Qt::CaseSensitivity matching = (!m_caseSensitive && isLettersOnly(m_breakString))
                                             ? Qt::CaseInsensitive
                                             : Qt::CaseSensitive;

    // A piece that is the whole text shares its string.
    ForEachPiece(m_baseString, m_breakString, matching, m_allowEmptyString,
                 [this](QStringView piece) {
                     m_stringList.append(piece.size() == m_baseString.size() ? m_baseString
                                                                             : piece.toString());
                 });

    if (m_doubleQuoteMode)
        rejoinQuotedFields();
}

// Puts back together the pieces of a field that was written in double quotes and contained the
// separator, and strips the outer quotes of quoted fields. A field never closed runs to the end.
void TLumBreakApart::rejoinQuotedFields()
{
    const QString emptyQuoted = QStringLiteral("\"\"");
    bool insideQuotes = false;
    qsizetype i = 0;
    while (i < m_stringList.size()) {
        // An empty quoted field counts as an empty piece; inside an open field, "" is content.
        if (!insideQuotes && !m_allowEmptyString && m_stringList.at(i) == emptyQuoted) {
            m_stringList.removeAt(i);
            if (i >= m_stringList.size())
                break;
        }

        const QString &opening = m_stringList.at(i);
        if (!insideQuotes && hasOddQuoteCount(opening) && opening.startsWith(DoubleQuote) &&
            i != m_stringList.size() - 1) {
            insideQuotes = true;
            ++i;
        }

        if (insideQuotes) {
            const QString piece = m_stringList.at(i);
            QString &field = m_stringList[i - 1];
            field += m_breakString + piece;
            if (hasOddQuoteCount(piece) && piece.endsWith(DoubleQuote)) {
                field = TrimQuotes(field);
                insideQuotes = false;
            }
            m_stringList.removeAt(i);
        } else {
            QString &piece = m_stringList[i];
            if (piece.size() >= 2 && piece.startsWith(DoubleQuote) && piece.endsWith(DoubleQuote))
                piece = TrimQuotes(piece);
            ++i;
        }
    }
}

void TLumBreakApart::ReverseBreakApart()
{
    QString result;
    bool first = true;
    for (const QString &item : std::as_const(m_stringList)) {
        if (item.isEmpty() && !m_allowEmptyString)
            continue;
        if (!first)
            result += m_breakString;
        result += m_doubleQuoteMode ? QuoteText(item) : item;
        first = false;
    }
    m_baseString = result;
}
