#include "exchange/ExportFile.h"

#include "components/TextHelpers.h"
#include "model/LogFile.h"
#include "platform/ReplacingFile.h"

#include <QFileInfo>

#include <cstring>

namespace
{

QString extensionOf(const QString &fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString cannotExport(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Cannot export to \"%1\": %2").arg(fileName, reason);
}

} // namespace

ExportFormat ExportFormatOf(const QString &fileName)
{
    const QString extension = extensionOf(fileName);
    if (extension == QLatin1String(".csv"))
        return ExportFormat::CSV;
    if (extension == QLatin1String(".def"))
        return ExportFormat::DEF;
    return ExportFormat::None;
}

QString CsvLine(const QStringList &values)
{
    QString line;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += QuoteText(values[i]);
    }
    return line;
}

char *ExportLines::room(qsizetype bytes)
{
    const qsizetype needed = m_used + bytes;
    if (size_t(needed) > m_bytes.size())
        m_bytes.resize(qMax(size_t(needed), qMax<size_t>(2 * m_bytes.size(), 4096)));
    return m_bytes.data() + m_used;
}

void ExportLines::put(QStringView text)
{
    char *start = room(m_encoder.requiredSpace(text.size()));
    m_used += m_encoder.appendToBuffer(start, text) - start;
}

void ExportLines::put(char ascii)
{
    *room(1) = ascii;
    ++m_used;
}

void ExportLines::putUtf8(std::string_view utf8)
{
    if (utf8.empty())
        return;
    std::memcpy(room(qsizetype(utf8.size())), utf8.data(), utf8.size());
    m_used += qsizetype(utf8.size());
}

void ExportLines::endLine()
{
    put('\r');
    put('\n');
    ++m_count;
}

void ExportLines::append(QStringView line)
{
    put(line);
    endLine();
}

void ExportLines::appendCsvUtf8(std::span<const std::string_view> values)
{
    // The whole line at once: each value in quotes, "," between them, CR LF.
    size_t length = 2 * values.size() + (values.empty() ? 0 : values.size() - 1) + 2;
    for (std::string_view value : values)
        length += value.size();
    char *at = room(qsizetype(length));
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            *at++ = ',';
        *at++ = '"';
        if (!values[i].empty()) {
            std::memcpy(at, values[i].data(), values[i].size());
            at += values[i].size();
        }
        *at++ = '"';
    }
    *at++ = '\r';
    *at = '\n';
    m_used += qsizetype(length);
    ++m_count;
}

void ExportLines::reserve(qsizetype bytes)
{
    if (size_t(bytes) > m_bytes.size())
        m_bytes.resize(size_t(bytes));
}

void ExportLines::appendUtf8(std::initializer_list<std::string_view> pieces)
{
    for (std::string_view piece : pieces)
        putUtf8(piece);
    endLine();
}

ExportWriteResult WriteExportFile(const QString &fileName, const ExportLines &lines)
{
    // The old file is kept under its backup name before it is replaced, as Save does; a
    // failed copy does not stop the export.
    if (QFileInfo(fileName).isFile())
        MakeBackupCopy(fileName);
    // A read-only file or a folder is refused, not renamed over.
    ReplacingFile file(fileName);
    if (!file.open())
        return {false, cannotExport(fileName, file.errorString())};
    const QByteArrayView bytes = lines.bytes();
    if (!file.write(bytes.data(), bytes.size())) {
        const QString reason = file.errorString();
        file.cancel();
        return {false, cannotExport(fileName, reason)};
    }
    if (!file.commit())
        return {false, cannotExport(fileName, file.errorString())};
    return {};
}
