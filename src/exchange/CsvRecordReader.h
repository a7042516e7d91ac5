#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

struct csv_parser;

// One record of a CSV file: its fields, and the line of the file it starts on (from 1). A
// quoted field may hold line breaks, so a record can cover several lines.
struct CsvRecord {
    int line = 0;
    QStringList fields;

    // A line holding nothing but blanks and separators: no record at all.
    bool isBlank() const;
};

// Reads the records of an RFC 4180 file (comma separated, double quotes, quotes doubled inside
// a quoted field) from its lines, fed one by one as they were cut at CR LF, LF or CR. The
// parsing is libcsv's; this class only counts lines, so that every record knows where it
// starts, and hands the fields over as text (the lines are fed as UTF-8).
class CsvRecordReader
{
public:
    CsvRecordReader();
    ~CsvRecordReader();
    CsvRecordReader(const CsvRecordReader &) = delete;
    CsvRecordReader &operator=(const CsvRecordReader &) = delete;

    // Feeds line number `lineNumber` (without its line end) and appends the records that it
    // completes to `records`: none while a quoted field goes on, one otherwise (a blank line
    // gives a blank record).
    void feed(const QString &line, int lineNumber, QList<CsvRecord> &records);
    // Whether a quoted field is still open: the record goes on on the next line.
    bool inRecord() const { return m_inRecord; }
    // The line the open record started on.
    int recordStartLine() const { return m_startLine; }
    // Forgets the open record, if any, and starts again as at the beginning of a file.
    void restart();

private:
    static void fieldEnded(void *bytes, size_t size, void *reader);
    static void recordEnded(int terminator, void *reader);

    std::unique_ptr<csv_parser> m_parser;
    QStringList m_fields;
    QList<CsvRecord> *m_out = nullptr;
    int m_startLine = 0;
    bool m_inRecord = false;
    bool m_ended = false;
};
