#include "model/LogJsonWriter.h"

#include "model/EscapedTexts.h"
#include "model/LogDocument.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr size_t kBlockBytes = 1 << 20;

bool needsEscape(unsigned char c)
{
    return c == '"' || c == '\\' || c < 0x20;
}

// Quotes and backslashes escaped, the characters below U+0020 by their short names or as
// \u00xx; everything else, U+007F and beyond included, as its UTF-8.
void appendEscaped(std::string &out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!needsEscape(c)) {
            out.push_back(ch);
            continue;
        }
        out.push_back('\\');
        switch (c) {
        case '"':
        case '\\':
            out.push_back(ch);
            break;
        case '\b':
            out.push_back('b');
            break;
        case '\f':
            out.push_back('f');
            break;
        case '\n':
            out.push_back('n');
            break;
        case '\r':
            out.push_back('r');
            break;
        case '\t':
            out.push_back('t');
            break;
        default:
            out.append("u00").push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
}

std::string quoted(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::string out("\"");
    appendEscaped(out, std::string_view(utf8.constData(), size_t(utf8.size())));
    out.push_back('"');
    return out;
}

// "KEY": at the indentation of its level.
std::string keyPrefix(const QString &key, int level)
{
    return std::string(size_t(level) * 4, ' ').append(quoted(key)).append(": ");
}

class Output
{
public:
    explicit Output(const JsonSink &sink) : m_sink(sink) { m_buffer.reserve(kBlockBytes + 4096); }

    std::string &buffer() { return m_buffer; }
    bool flushIfFull() { return m_buffer.size() < kBlockBytes || flush(); }
    bool flush()
    {
        if (!m_buffer.empty() && !m_sink(m_buffer))
            return false;
        m_buffer.clear();
        return true;
    }

private:
    const JsonSink &m_sink;
    std::string m_buffer;
};

// The rows of a table as an array of objects.
bool writeRows(Output &out, const LogTable &table, EscapedTexts &texts)
{
    struct Field {
        QString key;
        int column; // -1: the reference count
        std::string before;
    };
    std::vector<Field> fields;
    for (int c = 0; c < table.columnTotal(); ++c)
        fields.push_back({table.columns()[c].caption, c, {}});
    if (table.hasUsage())
        fields.push_back({QStringLiteral("ReferenceCount"), -1, {}});
    // An object keeps its keys sorted; equal captions keep their column order.
    std::stable_sort(fields.begin(), fields.end(),
                     [](const Field &a, const Field &b) { return a.key < b.key; });
    // What stands between two values of a row, worked out once: a row is then its values with
    // these pieces between them.
    const auto quote = [](const Field &field) { return field.column >= 0 ? "\"" : ""; };
    for (size_t f = 0; f < fields.size(); ++f) {
        // Appends only: an optimised build warns falsely about "text" + std::string here.
        std::string &between = fields[f].before;
        if (f == 0)
            between.append("        {\n");
        else
            between.append(quote(fields[f - 1])).append(",\n");
        between.append(keyPrefix(fields[f].key, 3)).append(quote(fields[f]));
    }
    std::string rowEnd(fields.empty() ? "        {" : quote(fields.back()));
    rowEnd.append("\n        }");

    std::string &buffer = out.buffer();
    buffer += "[\n";
    for (int r = 0; r < table.count(); ++r) {
        for (const Field &field : fields) {
            buffer += field.before;
            if (field.column >= 0) {
                buffer += texts.of(table.cellId(r, field.column));
            } else {
                char digits[16];
                const auto end =
                    std::to_chars(digits, digits + sizeof digits, table.referenceCount(r)).ptr;
                buffer.append(digits, end);
            }
        }
        buffer += rowEnd;
        buffer += r + 1 < table.count() ? ",\n" : "\n";
        if (!out.flushIfFull())
            return false;
    }
    buffer += "    ]";
    return true;
}

} // namespace

bool WriteLogJson(const LogDocument &document, const JsonSink &sink)
{
    struct Entry {
        QString key;
        const LogTable *table; // or the text below
        QString text;
    };
    std::vector<Entry> entries = {
        {QStringLiteral("Flights"), &document.Flights, {}},
        {QStringLiteral("Airlines"), &document.Airlines, {}},
        {QStringLiteral("Airports"), &document.Airports, {}},
        {QStringLiteral("Distances"), &document.Distances, {}},
        {QStringLiteral("PreferredAirline"), nullptr, document.PreferredAirline},
        {QStringLiteral("PreferredFromAirport"), nullptr, document.PreferredFromAirport},
        {QStringLiteral("PreferredToAirport"), nullptr, document.PreferredToAirport},
        {QStringLiteral("HomeCountry"), nullptr, document.HomeCountry},
    };
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return a.key < b.key; });

    Output out(sink);
    EscapedTexts texts(document.Flights.textPool(), needsEscape, appendEscaped);
    out.buffer() += "{\n";
    for (size_t e = 0; e < entries.size(); ++e) {
        const Entry &entry = entries[e];
        out.buffer() += keyPrefix(entry.key, 1);
        if (entry.table) {
            // The tables of a document share one pool; one that does not is escaped on its own.
            std::optional<EscapedTexts> own;
            if (entry.table->sharedTextPool() != document.Flights.sharedTextPool())
                own.emplace(entry.table->textPool(), needsEscape, appendEscaped);
            if (!writeRows(out, *entry.table, own ? *own : texts))
                return false;
        } else {
            out.buffer() += quoted(entry.text);
        }
        out.buffer() += e + 1 < entries.size() ? ",\n" : "\n";
    }
    out.buffer() += "}\n";
    return out.flush();
}
