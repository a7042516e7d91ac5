#include "components/LumFlatFile.h"

#include "components/LumBreakApart.h"
#include "components/TextFileReader.h"
#include "platform/ReplacingFile.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace
{

const QChar CommentMark = u'#';
const QString Tab = QStringLiteral("\t");

// One budget bounds the whole search: it is shared out over the entries as PCRE2's match
// limit for each, so a pattern that backtracks without end gives up within a fraction of a
// second however long the table is. Each entry gets at least kMinimumEntryLimit steps, far more
// than any sensible pattern needs on a name, and at most kMaximumEntryLimit.
constexpr quint64 kSearchBudget = 50'000'000;
constexpr uint32_t kMinimumEntryLimit = 20'000;
constexpr uint32_t kMaximumEntryLimit = 1'000'000;
// Nesting of backtracking (interpreter) and its memory, in kibibytes; the JIT's own stack.
constexpr uint32_t kDepthLimit = 10'000;
constexpr uint32_t kHeapLimitKiB = 20 * 1024;
constexpr PCRE2_SIZE kJitStackStart = 32 * 1024;
constexpr PCRE2_SIZE kJitStackMaximum = 1024 * 1024;

const QString TooComplexMessage = QStringLiteral("The pattern is too complex.");

uint32_t entryLimit(qsizetype entries)
{
    const quint64 share = kSearchBudget / quint64(qMax<qsizetype>(entries, 1));
    return uint32_t(std::clamp<quint64>(share, kMinimumEntryLimit, kMaximumEntryLimit));
}

QStringList piecesOf(TLumBreakApart &splitter, const QString &text, const QString &separator)
{
    splitter.setBaseString(text);
    splitter.setBreakString(separator);
    splitter.BreakApart();
    return splitter.StringList();
}

struct CodeDeleter {
    void operator()(pcre2_code *code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data *data) const { pcre2_match_data_free(data); }
};
struct MatchContextDeleter {
    void operator()(pcre2_match_context *context) const { pcre2_match_context_free(context); }
};
struct JitStackDeleter {
    void operator()(pcre2_jit_stack *stack) const { pcre2_jit_stack_free(stack); }
};

PCRE2_SPTR16 codeUnits(const QString &text)
{
    return reinterpret_cast<PCRE2_SPTR16>(text.utf16());
}

QString pcreMessage(int errorCode)
{
    PCRE2_UCHAR16 message[256];
    const int length = pcre2_get_error_message(errorCode, message, std::size(message));
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(message), qMax(length, 0));
}

// A compiled pattern, or nothing when the pattern is not a valid regular expression. Compiled
// to machine code by PCRE2's JIT where the platform has it, which matches many times faster.
class RegularExpression
{
public:
    enum Outcome { Match, NoMatch, GaveUp };

    RegularExpression(const QString &pattern, bool caseSensitive, uint32_t matchLimit)
    {
        // Text is UTF-16 and may hold lone surrogates, which must not stop the match.
        uint32_t options = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
        if (!caseSensitive)
            options |= PCRE2_CASELESS;
        int errorCode = 0;
        PCRE2_SIZE errorOffset = 0;
        m_code.reset(pcre2_compile(codeUnits(pattern), PCRE2_SIZE(pattern.size()), options,
                                   &errorCode, &errorOffset, nullptr));
        if (!m_code) {
            m_error =
                QStringLiteral("%1 at offset %2").arg(pcreMessage(errorCode)).arg(errorOffset);
            return;
        }
        m_matchData.reset(pcre2_match_data_create_from_pattern(m_code.get(), nullptr));
        m_context.reset(pcre2_match_context_create(nullptr));
        if (!m_matchData || !m_context) {
            m_code.reset();
            m_error = QStringLiteral("out of memory");
            return;
        }
        pcre2_set_match_limit(m_context.get(), matchLimit);
        pcre2_set_depth_limit(m_context.get(), kDepthLimit);
        pcre2_set_heap_limit(m_context.get(), kHeapLimitKiB);
        // Without the JIT (or its stack) the interpreter matches the same, only slower.
        if (pcre2_jit_compile(m_code.get(), PCRE2_JIT_COMPLETE) == 0) {
            m_jitStack.reset(pcre2_jit_stack_create(kJitStackStart, kJitStackMaximum, nullptr));
            if (m_jitStack)
                pcre2_jit_stack_assign(m_context.get(), nullptr, m_jitStack.get());
        }
    }

    bool isValid() const { return bool(m_code); }
    const QString &error() const { return m_error; }

    // Whether the subject holds a match anywhere. GaveUp when a limit stopped the match before
    // it could tell; errorCode then says which.
    Outcome match(const QString &subject, int &errorCode) const
    {
        errorCode = pcre2_match(m_code.get(), codeUnits(subject), PCRE2_SIZE(subject.size()), 0, 0,
                                m_matchData.get(), m_context.get());
        if (errorCode >= 0)
            return Match;
        return errorCode == PCRE2_ERROR_NOMATCH ? NoMatch : GaveUp;
    }

private:
    std::unique_ptr<pcre2_code, CodeDeleter> m_code;
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> m_matchData;
    std::unique_ptr<pcre2_match_context, MatchContextDeleter> m_context;
    std::unique_ptr<pcre2_jit_stack, JitStackDeleter> m_jitStack;
    QString m_error;
};

bool isLimitError(int errorCode)
{
    switch (errorCode) {
    case PCRE2_ERROR_MATCHLIMIT:
    case PCRE2_ERROR_DEPTHLIMIT:
    case PCRE2_ERROR_HEAPLIMIT:
    case PCRE2_ERROR_JIT_STACKLIMIT:
    case PCRE2_ERROR_NOMEMORY:
        return true;
    default:
        return false;
    }
}

} // namespace

TLumFlatFile::TLumFlatFile(QObject *parent) : QObject(parent) {}

void TLumFlatFile::clearEntries()
{
    m_entries.clear();
    m_stringList.clear();
    m_firstEntryOfKey.clear();
}

// Appends an entry; the index keeps pointing at the first entry of a key.
void TLumFlatFile::appendEntry(const QString &key, const QString &value)
{
    if (!m_firstEntryOfKey.contains(key))
        m_firstEntryOfKey.insert(key, m_entries.size());
    m_entries.append({key, value});
    m_stringList.append(key);
}

// Cuts one line into key and value. False for comments, empty lines and lines that hold
// nothing but separators.
bool TLumFlatFile::parseLine(TLumBreakApart &splitter, const QString &line, QString &key,
                             QString &value) const
{
    if (line.isEmpty() || line.startsWith(CommentMark))
        return false;
    const QStringList pieces = piecesOf(splitter, line, m_separator);
    if (pieces.isEmpty())
        return false;
    key = pieces.at(0);
    value = pieces.size() > 1 ? pieces.at(1) : QString();
    // A "#" in the value starts a comment; what is left is cut once more at TAB, which only
    // matters when the separator is something else.
    if (value.contains(CommentMark)) {
        const QStringList beforeComment = piecesOf(splitter, value, QString(CommentMark));
        value = beforeComment.isEmpty() ? QString() : beforeComment.at(0);
        const QStringList beforeTab = piecesOf(splitter, value, Tab);
        value = beforeTab.isEmpty() ? QString() : beforeTab.at(0);
    }
    return !key.isEmpty();
}

bool TLumFlatFile::Initialize()
{
    clearEntries();
    m_initialized = true;
    m_lastError.clear();

    const TextFileContent content = ReadTextFile(m_fileName);
    if (!content.exists)
        return true;
    if (!content.ok) {
        m_lastError = content.error;
        return false;
    }

    m_entries.reserve(content.lines.size());
    m_firstEntryOfKey.reserve(content.lines.size());
    TLumBreakApart splitter;
    QString key;
    QString value;
    for (const QString &line : content.lines) {
        if (parseLine(splitter, line, key, value))
            appendEntry(key, value);
    }
    return true;
}

QString TLumFlatFile::GetValueData(const QString &AValue) const
{
    const auto found = m_firstEntryOfKey.constFind(AValue);
    return found == m_firstEntryOfKey.cend() ? QString() : m_entries.at(*found).ValueData;
}

QString TLumFlatFile::GetValue(const QString &AValueData) const
{
    for (const TFlatFileData &entry : m_entries) {
        if (entry.ValueData == AValueData)
            return entry.Value;
    }
    for (const TFlatFileData &entry : m_entries) {
        if (entry.ValueData.contains(AValueData))
            return entry.Value;
    }
    return QString();
}

QString TLumFlatFile::GetValueByIndex(int Index) const
{
    return Index >= 0 && Index < m_entries.size() ? m_entries.at(Index).Value : QString();
}

QString TLumFlatFile::GetValueDataByIndex(int Index) const
{
    return Index >= 0 && Index < m_entries.size() ? m_entries.at(Index).ValueData : QString();
}

QString TLumFlatFile::GetValueDataWildcard(const QString &AValue) const
{
    for (const TFlatFileData &entry : m_entries) {
        const QString &key = entry.Value;
        if (key.size() != AValue.size())
            continue;
        bool same = true;
        for (qsizetype i = 0; i < key.size() && same; ++i)
            same = key.at(i) == AValue.at(i) || key.at(i) == m_wildcard;
        if (same)
            return entry.ValueData;
    }
    return QString();
}

int TLumFlatFile::search(const QString &pattern, bool caseSensitive, bool overKeys)
{
    m_searchResults.clear();
    m_searchResultIndexes.clear();
    m_searchError.clear();
    m_searchStatus = ssDone;
    if (pattern.isEmpty() || m_entries.isEmpty())
        return 0;
    const RegularExpression expression(pattern, caseSensitive, entryLimit(m_entries.size()));
    if (!expression.isValid()) {
        m_searchStatus = ssInvalidPattern;
        m_searchError = expression.error();
        return 0;
    }
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const TFlatFileData &entry = m_entries.at(i);
        int errorCode = 0;
        switch (expression.match(overKeys ? entry.Value : entry.ValueData, errorCode)) {
        case RegularExpression::Match:
            m_searchResults.append(overKeys ? entry.ValueData : entry.Value);
            m_searchResultIndexes.append(int(i));
            break;
        case RegularExpression::NoMatch:
            break;
        case RegularExpression::GaveUp:
            // An entry that could not be decided would make the result a guess: none is given.
            m_searchResults.clear();
            m_searchResultIndexes.clear();
            m_searchStatus = ssTooComplex;
            m_searchError = isLimitError(errorCode) ? TooComplexMessage : pcreMessage(errorCode);
            return 0;
        }
    }
    return int(m_searchResults.size());
}

int TLumFlatFile::SearchValue(const QString &AValue, bool CaseSensitive)
{
    return search(AValue, CaseSensitive, true);
}

int TLumFlatFile::SearchValueData(const QString &AValueData, bool CaseSensitive)
{
    return search(AValueData, CaseSensitive, false);
}

bool TLumFlatFile::AddVolatileData(const QString &AValue, const QString &AValueData,
                                   bool AllowOverride)
{
    if (AValue.isEmpty())
        return false;
    const auto found = m_firstEntryOfKey.constFind(AValue);
    if (found != m_firstEntryOfKey.cend()) {
        if (!AllowOverride)
            return false;
        m_entries[*found].ValueData = AValueData;
        return true;
    }
    appendEntry(AValue, AValueData);
    m_initialized = true; // an added entry makes the table exist, so Count is never -1 after it
    return true;
}

bool TLumFlatFile::Persist()
{
    m_lastError.clear();
    if (m_fileName.isEmpty() || m_entries.isEmpty())
        return true;

    QString text;
    for (const TFlatFileData &entry : std::as_const(m_entries))
        text += entry.Value + m_separator + entry.ValueData + u'\n';

    // The old file is replaced only once the new one is completely written.
    ReplacingFile file(m_fileName);
    if (!file.replaceWith(text.toUtf8())) {
        m_lastError =
            QStringLiteral("Cannot write the file \"%1\": %2").arg(m_fileName, file.errorString());
        return false;
    }
    return true;
}
