#include "exchange/PeerCsvFormat.h"

#include "components/TextFileReader.h"
#include "exchange/CsvRecordReader.h"

#include <QFile>

namespace
{

// A header line longer than this is no header of these exports.
constexpr qint64 kHeadBytes = 64 * 1024;

int columnOf(const QStringList &header, QLatin1String name)
{
    for (int i = 0; i < header.size(); ++i) {
        if (header.at(i).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool hasAll(const QStringList &header, std::initializer_list<QLatin1String> names)
{
    for (QLatin1String name : names) {
        if (columnOf(header, name) < 0)
            return false;
    }
    return true;
}

} // namespace

PeerCsvKind PeerCsvKindOf(const QStringList &header)
{
    using L = QLatin1String;
    if (hasAll(header,
               {L("Date"), L("Flight number"), L("From"), L("To"), L("Dep time"), L("Airline")}))
        return PeerCsvKind::MyFlightradar24;
    if (hasAll(header, {L("Date"), L("From"), L("To"), L("Flight_Number"), L("Airline")}))
        return PeerCsvKind::OpenFlights;
    return PeerCsvKind::None;
}

QString PeerColumns::field(const QStringList &record, int column) const
{
    return column >= 0 && column < record.size() ? record.at(column) : QString();
}

PeerColumns PeerColumnsOf(const QStringList &header)
{
    using L = QLatin1String;
    PeerColumns columns;
    columns.kind = PeerCsvKindOf(header);
    if (columns.kind == PeerCsvKind::None)
        return columns;
    const bool openFlights = columns.kind == PeerCsvKind::OpenFlights;
    columns.date = columnOf(header, L("Date"));
    columns.from = columnOf(header, L("From"));
    columns.to = columnOf(header, L("To"));
    columns.airline = columnOf(header, L("Airline"));
    columns.flightNumber = columnOf(header, openFlights ? L("Flight_Number") : L("Flight number"));
    if (openFlights)
        columns.distance = columnOf(header, L("Distance"));
    else
        columns.departureTime = columnOf(header, L("Dep time"));
    return columns;
}

bool IsPeerCsvFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(kHeadBytes);
    QStringList lines = SplitTextLines(DecodeText(head));
    // Of a file longer than its head, the last line read may be cut short.
    const bool cut = !file.atEnd();
    if (cut && !lines.isEmpty())
        lines.removeLast();
    CsvRecordReader reader;
    QList<CsvRecord> records;
    qsizetype i = 0;
    while (true) {
        const bool atEnd = i == lines.size();
        if (reader.inRecord() && atEnd && cut)
            return false; // a header running past the head is no header of these exports
        if (reader.inRecord() &&
            (atEnd || i - reader.recordStartLine() + 1 >= kMaxLinesOfOneRecord)) {
            // The importer's rule: a quote never closed skips the line it opened on.
            const int start = reader.recordStartLine();
            reader.restart();
            i = start;
            continue;
        }
        if (atEnd)
            return false;
        reader.feed(lines.at(i), int(i + 1), records);
        for (const CsvRecord &record : std::as_const(records)) {
            if (!record.isBlank())
                return PeerCsvKindOf(record.fields) != PeerCsvKind::None;
        }
        records.clear();
        ++i;
    }
}
