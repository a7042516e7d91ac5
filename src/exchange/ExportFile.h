#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

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
    qsizetype count() const { return m_count; }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    qsizetype m_count = 0;
};

struct ExportWriteResult {
    bool ok = true;
    QString error; // the reason, for the error message, when not ok
};

// Writes an export file: an existing file of that name is first copied to its backup name
// (replacing an older backup; a failed copy does not stop the export), then the lines go to a
// temporary file that replaces the old one only once fully written. A failed write leaves the
// old file as it was and says why.
ExportWriteResult WriteExportFile(const QString &fileName, const ExportLines &lines);
