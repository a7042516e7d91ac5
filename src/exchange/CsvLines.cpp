#include "exchange/CsvLines.h"

#include "components/LumBreakApart.h"
#include "components/TextHelpers.h"

QString ChooseCsvSeparator(const QList<QStringView> &lines)
{
    if (lines.size() < 2)
        return QString();
    const QStringView first = lines.first();
    if (first.contains(u';'))
        return QStringLiteral(";");
    if (first.contains(u','))
        return QStringLiteral(",");
    if (first.contains(u'\t'))
        return QStringLiteral("\t");
    return QString();
}

QStringList CsvRow::texts() const
{
    QStringList list;
    list.reserve(fields.size());
    for (const QStringView field : fields)
        list.append(field.toString());
    return list;
}

CsvRow ReadCsvLine(QStringView separator, QStringView line)
{
    CsvRow row;
    // The separators are not letters, so letter case plays no part in finding them.
    TLumBreakApart::ForEachPiece(
        line, separator, Qt::CaseSensitive, false,
        [&row](QStringView piece) { row.fields.append(TrimQuotes(piece)); });
    const auto &f = row.fields;
    const qsizetype codeLength = f.isEmpty() ? 0 : f.first().size();
    switch (f.size()) {
    case 2:
        if (codeLength == 2 || codeLength == 3)
            row.kind = CsvRowKind::Airline;
        break;
    case 3:
        if (codeLength == 3)
            row.kind = CsvRowKind::Distance;
        break;
    case 4:
        if (codeLength == 3)
            row.kind = CsvRowKind::Airport;
        break;
    case 6:
        if (f.first() != QLatin1String("Date"))
            row.kind = CsvRowKind::Flight;
        break;
    default:
        break;
    }
    return row;
}
