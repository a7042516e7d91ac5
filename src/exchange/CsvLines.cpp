#include "exchange/CsvLines.h"

#include "components/LumBreakApart.h"
#include "components/TextHelpers.h"

QString ChooseCsvSeparator(const QStringList &lines)
{
    if (lines.size() < 2)
        return QString();
    const QString &first = lines.first();
    if (first.contains(u';'))
        return QStringLiteral(";");
    if (first.contains(u','))
        return QStringLiteral(",");
    if (first.contains(u'\t'))
        return QStringLiteral("\t");
    return QString();
}

CsvRow ReadCsvLine(TLumBreakApart &splitter, const QString &line)
{
    splitter.setBaseString(line);
    splitter.BreakApart();
    CsvRow row;
    row.fields = splitter.StringList();
    // Only a quoted piece is rewritten, so that an unquoted line shares the splitter's list.
    for (qsizetype i = 0; i < row.fields.size(); ++i) {
        const QString &piece = row.fields.at(i);
        if (piece.size() >= 2 && piece.front() == piece.back() &&
            (piece.front() == u'"' || piece.front() == u'\''))
            row.fields[i] = TrimQuotes(piece);
    }
    const QStringList &f = row.fields;
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
