#include "components/FindFolding.h"

#include <QStringView>

namespace
{

// The accented letters that find folds, and the quote marks that it reads as an apostrophe.
// Deliberately short: ì, Ì, ú and Ú (and everything not listed) stay as they are.
// clang-format off
char16_t foldAccent(char16_t c)
{
    switch (c) {
    case 224: case 225: case 226: case 227: case 228: case 229:
        return u'a';
    case 231:
        return u'c';
    case 232: case 233: case 234: case 235:
        return u'e';
    case 237: case 238: case 239:
        return u'i';
    case 241:
        return u'n';
    case 242: case 243: case 244: case 245: case 246: case 248:
        return u'o';
    case 249: case 251: case 252:
        return u'u';
    case 192: case 193: case 194: case 195: case 196: case 197:
        return u'A';
    case 199:
        return u'C';
    case 200: case 201: case 202: case 203:
        return u'E';
    case 205: case 206: case 207:
        return u'I';
    case 209:
        return u'N';
    case 210: case 211: case 212: case 213: case 214: case 216:
        return u'O';
    case 217: case 219: case 220:
        return u'U';
    case 96: case 180: case 8216: case 8217:
        return u'\'';
    default:
        return c;
    }
}
// clang-format on

void foldInto(QString &out, QStringView in, TFindOptions options)
{
    out.resize(in.size());
    QChar *target = out.data();
    for (qsizetype i = 0; i < in.size(); ++i)
        target[i] = FoldFindChar(in[i], options);
}

} // namespace

QChar FoldFindChar(QChar ch, TFindOptions options)
{
    char16_t c = ch.unicode();
    if (options.testFlag(foIgnoreAccentedChars))
        c = foldAccent(c);
    if (!options.testFlag(foCaseSensitive) && c >= u'A' && c <= u'Z')
        c = char16_t(c - u'A' + u'a');
    return QChar(c);
}

QString FoldFindText(const QString &text, TFindOptions options)
{
    QString folded;
    foldInto(folded, text, options);
    return folded;
}

FindMatcher::FindMatcher(const QString &text, TFindOptions options)
    : m_folded(FoldFindText(text, options)), m_options(options)
{
}

bool FindMatcher::matches(const QStringList &cells) const
{
    for (const QString &cell : cells) {
        if (cell.size() < m_folded.size())
            continue;
        foldInto(m_buffer, cell, m_options);
        if (QStringView(m_buffer).contains(m_folded))
            return true;
    }
    return false;
}

bool RowMatchesFindText(const QStringList &cells, const QString &text, TFindOptions options)
{
    return FindMatcher(text, options).matches(cells);
}

void FindState::reset()
{
    m_start = 0;
    m_previousStart = -1;
}

void FindState::refresh(int firstSelectedRow)
{
    m_start = firstSelectedRow >= 0 ? firstSelectedRow : 0;
}

FindState::Result FindState::search(int rowCount, const std::function<bool(int row)> &matches,
                                    const std::function<void(int row)> &onHit)
{
    for (int r = m_start; r < rowCount; ++r) {
        if (!matches(r))
            continue;
        if (onHit)
            onHit(r);
        m_start = r + 1;
        m_previousStart = r + 1;
        return {Outcome::Found, r};
    }
    if (m_previousStart == -1) {
        reset();
        return {Outcome::NotFound, -1};
    }
    return {Outcome::NoMoreInstances, -1};
}

QString FindState::message(Outcome outcome, const QString &text)
{
    switch (outcome) {
    case Outcome::NotFound:
        return QStringLiteral("Search string \"%1\" not found.").arg(text);
    case Outcome::NoMoreInstances:
        return QStringLiteral("No more instances of \"%1\" found.").arg(text);
    case Outcome::Found:
        break;
    }
    return QString();
}
