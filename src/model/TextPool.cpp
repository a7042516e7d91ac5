#include "model/TextPool.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstring>

namespace
{

constexpr size_t kBlockBytes = 64 * 1024;

// Decodes UTF-8 keeping a byte-order mark at the start: in a cell it is a character like any
// other, not a marker to drop.
QString decodeKeepingMarks(std::string_view utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                       QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(utf8.data(), qsizetype(utf8.size())));
}

// The UTF-8 bytes of a short ASCII text (a date, a time, a code, a number), written into a
// buffer on the stack; false for any other text, which takes the general conversion.
constexpr qsizetype kAsciiBytes = 32;
bool asciiBytes(QStringView text, char (&out)[kAsciiBytes])
{
    const qsizetype n = text.size();
    if (n > kAsciiBytes)
        return false;
    const QChar *p = text.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c >= 0x80)
            return false;
        out[i] = char(c);
    }
    return true;
}

} // namespace

TextPool::TextPool()
{
    m_texts.emplace_back();
    m_utf8.emplace_back();
    m_short.emplace(shortKey({}), kEmpty);
}

void TextPool::reserve(size_t texts)
{
    m_texts.reserve(texts);
    m_utf8.reserve(texts);
    m_short.reserve(texts);
}

void TextPool::reserveForLargeLog()
{
    // Asked for by logs of tens of megabytes, which hold tens of thousands of texts (a million
    // flights about 50,000); an array of less than LargeArray::kMinBytes would not get huge
    // pages.
    static constexpr size_t kTexts = 100'000;
    const auto atLeastLarge = [](size_t elementBytes) {
        return std::max(kTexts, LargeArray::kMinBytes / elementBytes);
    };
    m_texts.reserve(atLeastLarge(sizeof(QString)));
    m_utf8.reserve(atLeastLarge(sizeof(std::string_view)));
    m_short.reserve(kTexts);
}

char *TextPool::newBlock(size_t bytes)
{
    if (m_blocks.size() == m_blocks.capacity()) // room first, so that the block cannot be lost
        m_blocks.reserve(std::max<size_t>(16, 2 * m_blocks.size()));
    m_blocks.emplace_back(BlockAllocator().allocate(bytes), BlockDeleter{bytes});
    return m_blocks.back().get();
}

std::string_view TextPool::store(std::string_view bytes)
{
    char *at = nullptr;
    if (bytes.size() > kBlockBytes / 4) {
        // A long text gets a block of its own, so that the shared block is not wasted.
        at = newBlock(bytes.size());
    } else {
        if (!m_block || m_blockLeft < bytes.size()) {
            m_block = newBlock(kBlockBytes);
            m_blockLeft = kBlockBytes;
        }
        at = m_block;
        m_block += bytes.size();
        m_blockLeft -= bytes.size();
    }
    if (!bytes.empty())
        std::memcpy(at, bytes.data(), bytes.size());
    return std::string_view(at, bytes.size());
}

TextPool::Id TextPool::add(std::string_view utf8, QString text)
{
    const std::string_view kept = store(utf8);
    const Id id = Id(m_utf8.size());
    m_texts.push_back(std::move(text));
    m_utf8.push_back(kept);
    if (kept.size() <= kShortBytes)
        m_short.emplace(shortKey(kept), id);
    else
        m_long.emplace(kept, id);
    return id;
}

const QString &TextPool::decode(Id id) const
{
    QString &text = m_texts[id];
    text = decodeKeepingMarks(m_utf8[id]);
    return text;
}

TextPool::Id TextPool::internUtf8(std::string_view utf8)
{
    if (utf8.size() <= kShortBytes) {
        const auto [it, added] = m_short.try_emplace(shortKey(utf8), Id(m_utf8.size()));
        if (!added)
            return it->second;
        m_texts.emplace_back();
        m_utf8.push_back(store(utf8));
        return it->second;
    }
    const auto it = m_long.find(utf8);
    if (it != m_long.end())
        return it->second;
    return add(utf8, QString());
}

TextPool::Id TextPool::intern(const QString &text)
{
    return intern(QStringView(text));
}

TextPool::Id TextPool::intern(QStringView text)
{
    if (text.isEmpty())
        return kEmpty;
    char ascii[kAsciiBytes];
    if (asciiBytes(text, ascii))
        return internUtf8(std::string_view(ascii, size_t(text.size())));
    const QByteArray utf8 = text.toUtf8();
    const std::string_view key(utf8.constData(), size_t(utf8.size()));
    const qint64 known = findUtf8(key);
    if (known >= 0)
        return Id(known);
    // A lone surrogate has no UTF-8 form: the text is kept as its UTF-8 reads back, so that
    // one id always stands for one text.
    return add(key, text.isValidUtf16() ? text.toString() : decodeKeepingMarks(key));
}

qint64 TextPool::find(QStringView text) const
{
    if (text.isEmpty())
        return kEmpty;
    char ascii[kAsciiBytes];
    if (asciiBytes(text, ascii))
        return findUtf8(std::string_view(ascii, size_t(text.size())));
    // A text that is not valid UTF-16 (a lone surrogate) has no exact UTF-8 form, and no cell
    // holds one.
    if (!text.isValidUtf16())
        return -1;
    const QByteArray utf8 = text.toUtf8();
    return findUtf8(std::string_view(utf8.constData(), size_t(utf8.size())));
}

qint64 TextPool::findUtf8(std::string_view utf8) const
{
    if (utf8.size() <= kShortBytes) {
        const auto it = m_short.find(shortKey(utf8));
        return it != m_short.end() ? qint64(it->second) : -1;
    }
    const auto it = m_long.find(utf8);
    return it != m_long.end() ? qint64(it->second) : -1;
}
