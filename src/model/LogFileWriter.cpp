#include "model/LogFileWriter.h"

#include "model/EscapedTexts.h"
#include "model/LogDocument.h"
#include "model/LogFileHost.h"

#include "platform/ReplacingFile.h"

#include <QFileInfo>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace
{

constexpr size_t kFlushBytes = 1 << 20;

const char *const kSections[] = {"Flights", "Airlines", "Airports", "Distances"};
const char *const kRecords[] = {"Flight", "Airline", "Airport", "Distance"};

bool needsEscape(unsigned char c)
{
    return c == '&' || c == '<' || c == '"' || c < 0x20;
}

// Attribute values as the log file has always written them: &, < and " as entities, the
// characters below U+0020 (tab, line feed, carriage return) as two-digit references; > and '
// as they are.
void appendEscaped(std::string &out, std::string_view text)
{
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!needsEscape(c)) {
            out.push_back(ch);
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '"') {
            out += "&quot;";
        } else {
            out += "&#";
            out.push_back(char('0' + c / 10));
            out.push_back(char('0' + c % 10));
            out.push_back(';');
        }
    }
}

class Output
{
public:
    explicit Output(ReplacingFile &file) : m_file(file) { m_buffer.reserve(kFlushBytes + 4096); }

    std::string &buffer() { return m_buffer; }
    bool flushIfFull() { return m_buffer.size() < kFlushBytes || flush(); }

    bool flush()
    {
        if (!m_file.write(m_buffer.data(), qint64(m_buffer.size()))) {
            m_error = m_file.errorString();
            return false;
        }
        m_buffer.clear();
        return true;
    }
    const QString &error() const { return m_error; }

private:
    ReplacingFile &m_file;
    std::string m_buffer;
    QString m_error;
};

bool writeTable(Output &out, const LogTable &table, int t, EscapedTexts &texts, LogFileHost &host)
{
    std::string &buffer = out.buffer();
    const std::string section = kSections[t];
    if (table.isEmpty()) {
        buffer.append("    <").append(section).append(" />\n");
        return true;
    }
    buffer.append("    <").append(section).append(">\n");
    std::vector<std::string> attributes; // ' Caption="'
    for (const LogColumn &column : table.columns())
        attributes.push_back(std::string(" ").append(column.caption.toStdString()).append("=\""));
    const std::string record = std::string("        <") + kRecords[t];
    for (int r = 0; r < table.count(); ++r) {
        host.stepProgress();
        buffer += record;
        for (int c = 0; c < table.columnTotal(); ++c) {
            const TextPool::Id id = table.cellId(r, c);
            // The first column is always written; the others only when not empty.
            if (c > 0 && id == TextPool::kEmpty)
                continue;
            buffer += attributes[size_t(c)];
            buffer += texts.of(id);
            buffer.push_back('"');
        }
        buffer += " />\n";
        if (!out.flushIfFull())
            return false;
    }
    buffer.append("    </").append(section).append(">\n");
    return true;
}

QString cannotSave(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Cannot save \"%1\": %2").arg(fileName, reason);
}

} // namespace

QString WriteLogFile(const LogDocument &document, const QString &fileName, LogFileHost &host)
{
    const QFileInfo info(fileName);
    if (info.exists() && !info.isWritable())
        return cannotSave(fileName, QStringLiteral("the file is read-only"));
    ReplacingFile file(fileName);
    if (!file.open())
        return cannotSave(fileName, file.errorString());
    Output out(file);
    out.buffer() += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Wingbook>\n";
    EscapedTexts texts(document.Flights.textPool(), needsEscape, appendEscaped);
    const LogTable *tables[] = {&document.Flights, &document.Airlines, &document.Airports,
                                &document.Distances};
    for (int t = 0; t < 4; ++t) {
        // The tables of a document share one pool; one that does not is escaped on its own.
        std::optional<EscapedTexts> own;
        if (tables[t]->sharedTextPool() != document.Flights.sharedTextPool())
            own.emplace(tables[t]->textPool(), needsEscape, appendEscaped);
        if (!writeTable(out, *tables[t], t, own ? *own : texts, host)) {
            file.cancel();
            return cannotSave(fileName, out.error());
        }
    }
    out.buffer() += "</Wingbook>\n";
    if (!out.flush()) {
        file.cancel();
        return cannotSave(fileName, out.error());
    }
    if (!file.commit())
        return cannotSave(fileName, file.errorString());
    return QString();
}
