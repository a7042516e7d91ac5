#pragma once

#include "model/LargeArray.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringEncoder>
#include <QStringList>
#include <QStringView>
#include <initializer_list>
#include <span>
#include <string_view>

// The two export formats, chosen by the file name's extension.
enum class ExportFormat { None, CSV, DEF };

// ".csv" gives CSV and ".def" gives DEF, compared exactly (with the dot, in that letter case);
// any other extension, or none, gives None.
ExportFormat ExportFormatOf(const QString &fileName);

// The values quoted with QuoteText and joined with ",": quotes, commas and line breaks inside a
// value are written as they are.
QString CsvLine(const QStringList &values);

// The text of an export file as it is written: UTF-8 without byte-order mark, CR LF after every
// line (the last included). Lines are encoded as they are added, so a large table is held once.
class ExportLines
{
public:
    void append(QStringView line);
    // Lines of texts already in UTF-8 (a log's cells as its text pool keeps them), copied as
    // they are: the CSV line of these values (each quoted, joined with ","), and a line made of
    // these pieces one after the other.
    void appendCsvUtf8(std::span<const std::string_view> values);
    void appendUtf8(std::initializer_list<std::string_view> pieces);
    // Room for this many bytes in all, so that a table of known size is copied once.
    void reserve(qsizetype bytes);

    qsizetype count() const { return m_count; }
    QByteArrayView bytes() const { return QByteArrayView(m_bytes.data(), m_used); }

private:
    // Room for this many more bytes after the used ones.
    char *room(qsizetype bytes);
    void put(QStringView text);
    void put(char ascii);
    void putUtf8(std::string_view utf8);
    void endLine();

    // Large buffers get huge pages, and growing one leaves the new bytes as they are
    // instead of clearing them first: they are written before they are read.
    template <typename T> struct Allocator : LargePageAllocator<T> {
        template <typename U> struct rebind {
            using other = Allocator<U>;
        };
        template <typename U> void construct(U *p) { ::new (static_cast<void *>(p)) U; }
    };

    // Grown in large steps; only the first m_used bytes are the text.
    std::vector<char, Allocator<char>> m_bytes;
    qsizetype m_used = 0;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
    qsizetype m_count = 0;
};

struct ExportWriteResult {
    bool ok = true;
    QString error; // the reason, for the error message, when not ok
};

// Writes an export file: an existing file of that name is first copied to its backup name
// (replacing an older backup, as Save does; a failed copy does not stop the export), then the
// lines go to a temporary file that replaces the old one only once fully written. A failed
// write leaves the old file as it was and says why.
ExportWriteResult WriteExportFile(const QString &fileName, const ExportLines &lines);
