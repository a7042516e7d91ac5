#include "exchange/CsvRecordReader.h"

#include <csv.h>

#include <new>

bool CsvRecord::isBlank() const
{
    for (const QString &field : fields) {
        if (!field.trimmed().isEmpty())
            return false;
    }
    return true;
}

CsvRecordReader::CsvRecordReader() : m_parser(std::make_unique<csv_parser>())
{
    // Every unquoted line end is reported, a blank line as a record without fields: a line
    // that ends no record can only be inside a quoted field.
    if (csv_init(m_parser.get(), CSV_REPALL_NL) != 0)
        throw std::bad_alloc();
}

CsvRecordReader::~CsvRecordReader()
{
    csv_free(m_parser.get());
}

void CsvRecordReader::fieldEnded(void *bytes, size_t size, void *reader)
{
    auto *self = static_cast<CsvRecordReader *>(reader);
    self->m_fields << QString::fromUtf8(static_cast<const char *>(bytes), qsizetype(size));
}

void CsvRecordReader::recordEnded(int terminator, void *reader)
{
    Q_UNUSED(terminator);
    auto *self = static_cast<CsvRecordReader *>(reader);
    self->m_out->append(CsvRecord{self->m_startLine, std::move(self->m_fields)});
    self->m_fields.clear();
    self->m_ended = true;
}

void CsvRecordReader::feed(const QString &line, int lineNumber, QList<CsvRecord> &records)
{
    if (!m_inRecord)
        m_startLine = lineNumber;
    QByteArray bytes = line.toUtf8();
    bytes.append('\n');
    m_out = &records;
    m_ended = false;
    const size_t used = csv_parse(m_parser.get(), bytes.constData(), size_t(bytes.size()),
                                  fieldEnded, recordEnded, this);
    m_out = nullptr;
    // Without the strict mode the parser only stops early when its buffer cannot grow.
    if (used != size_t(bytes.size()))
        throw std::bad_alloc();
    m_inRecord = !m_ended;
}

void CsvRecordReader::restart()
{
    csv_free(m_parser.get());
    if (csv_init(m_parser.get(), CSV_REPALL_NL) != 0)
        throw std::bad_alloc();
    m_fields.clear();
    m_inRecord = false;
}
