#include "editing/ReferenceEditing.h"

#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include <algorithm>

namespace
{

QString titleFor(RecordDialogMode mode, const QString &noun)
{
    switch (mode) {
    case RecordDialogMode::Add:
        return QStringLiteral("Add ") + noun;
    case RecordDialogMode::Modify:
        return QStringLiteral("Modify ") + noun;
    case RecordDialogMode::Properties:
        break;
    }
    return noun + QStringLiteral(" Properties");
}

bool validRow(const LogTable &table, int row)
{
    return row >= 0 && row < table.count();
}

// Writes a dialog's texts: Modify overwrites the row (its count stays), Add appends a row with
// count 0. Then the table is put in order: by code, or by the view's last sort.
QString applyRow(LogDocument &document, LogTable &table, RecordDialogMode mode, int row,
                 const QStringList &cells, void (LogDocument::*sortByCode)(),
                 const WingbookOptions &options)
{
    if (mode == RecordDialogMode::Modify && !validRow(table, row))
        return QStringLiteral("The row to modify no longer exists.");
    document.setModified(true);
    if (mode == RecordDialogMode::Modify) {
        for (int c = 0; c < cells.size(); ++c)
            table.setCell(row, c, cells[c]);
    } else {
        table.appendRow(cells);
    }
    if (options.SortAlphabeticalCodes())
        (document.*sortByCode)();
    else
        table.SortAsIs();
    return QString();
}

} // namespace

QString AirlineDialogTitle(RecordDialogMode mode)
{
    return titleFor(mode, QStringLiteral("Airline"));
}

QString AirportDialogTitle(RecordDialogMode mode)
{
    return titleFor(mode, QStringLiteral("Airport"));
}

QString DistanceDialogTitle(RecordDialogMode mode)
{
    return titleFor(mode, QStringLiteral("Distance"));
}

// --- airlines ---

AirlineFields AirlineFieldsFromRow(const LogDocument &document, int row)
{
    return {document.Airlines.cell(row, 0), document.Airlines.cell(row, 1)};
}

QString ValidateAirline(const LogDocument &document, RecordDialogMode mode,
                        const AirlineFields &fields)
{
    if (fields.code.isEmpty())
        return QStringLiteral("The airline value must be non-empty.");
    if (mode == RecordDialogMode::Add && document.Airlines.FindItemByText(fields.code, 0) >= 0)
        return QStringLiteral("The airline already exists.");
    return QString();
}

QString SubmitAirline(LogDocument &document, RecordDialogMode mode, int row,
                      const AirlineFields &fields, const WingbookOptions &options)
{
    if (mode == RecordDialogMode::Properties)
        return QString();
    const QString problem = ValidateAirline(document, mode, fields);
    if (!problem.isEmpty())
        return problem;
    return applyRow(document, document.Airlines, mode, row, {fields.code, fields.name},
                    &LogDocument::SortAirlines, options);
}

// --- airports ---

AirportFields NewAirportFields(const LogDocument &document, const QStringList &countries)
{
    AirportFields fields;
    fields.country = ListEntryFor(countries, document.HomeCountry);
    return fields;
}

AirportFields AirportFieldsFromRow(const LogDocument &document, int row,
                                   const QStringList &countries)
{
    const LogTable &table = document.Airports;
    return {table.cell(row, 0), table.cell(row, 1), table.cell(row, 2),
            ListEntryFor(countries, table.cell(row, 3))};
}

QString ValidateAirport(const LogDocument &document, RecordDialogMode mode,
                        const AirportFields &fields)
{
    if (fields.code.isEmpty())
        return QStringLiteral("The airport value must be non-empty.");
    if (mode == RecordDialogMode::Add && document.Airports.FindItemByText(fields.code, 0) >= 0)
        return QStringLiteral("The airport already exists.");
    return QString();
}

QString SubmitAirport(LogDocument &document, RecordDialogMode mode, int row,
                      const AirportFields &fields, const WingbookOptions &options)
{
    if (mode == RecordDialogMode::Properties)
        return QString();
    const QString problem = ValidateAirport(document, mode, fields);
    if (!problem.isEmpty())
        return problem;
    return applyRow(document, document.Airports, mode, row,
                    {fields.code, fields.name, fields.city, fields.country},
                    &LogDocument::SortAirports, options);
}

// --- distances ---

bool IsWholeMiles(const QString &miles)
{
    const QStringView digits =
        miles.startsWith(QLatin1Char('-')) ? QStringView(miles).mid(1) : QStringView(miles);
    if (digits.isEmpty())
        return false;
    for (const QChar ch : digits) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    miles.toInt(&ok);
    return ok;
}

QString NotWholeMilesMessage(const QString &miles)
{
    return QStringLiteral("The distance \"%1\" is not a whole number of miles.").arg(miles);
}

QStringList DistanceDialogAirports(const LogDocument &document)
{
    return document.Airports.GetItemCaptions();
}

DistanceFields NewDistanceFields(const QStringList &airports)
{
    DistanceFields fields;
    // The lists show their entries sorted without regard to letter case.
    const auto first =
        std::min_element(airports.begin(), airports.end(), [](const QString &a, const QString &b) {
            const int c = a.compare(b, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : a < b;
        });
    if (first != airports.end()) {
        fields.from = *first;
        fields.to = *first;
    }
    return fields;
}

QString DistanceFieldsFromRow(const LogDocument &document, int row, const QStringList &airports,
                              DistanceFields &fields)
{
    const LogTable &table = document.Distances;
    if (!validRow(table, row))
        return QStringLiteral("The distance no longer exists.");
    const QString miles = table.cell(row, 2);
    if (!IsWholeMiles(miles))
        return NotWholeMilesMessage(miles);
    fields = {ListEntryFor(airports, table.cell(row, 0)),
              ListEntryFor(airports, table.cell(row, 1)), miles};
    return QString();
}

QString ValidateDistance(const LogDocument &document, RecordDialogMode mode,
                         const DistanceFields &fields)
{
    if (fields.from.isEmpty())
        return QStringLiteral("The from value must be non-empty.");
    if (fields.to.isEmpty())
        return QStringLiteral("The to value must be non-empty.");
    if (mode == RecordDialogMode::Add &&
        document.Distances.findPairEitherWay(fields.from, fields.to) >= 0)
        return QStringLiteral("The distance already exists.");
    return QString();
}

QString SubmitDistance(LogDocument &document, RecordDialogMode mode, int row,
                       const DistanceFields &fields, const WingbookOptions &options)
{
    if (mode == RecordDialogMode::Properties)
        return QString();
    const QString problem = ValidateDistance(document, mode, fields);
    if (!problem.isEmpty())
        return problem;
    return applyRow(document, document.Distances, mode, row, {fields.from, fields.to, fields.miles},
                    &LogDocument::SortDistances, options);
}

void CancelDistanceDialog(LogDocument &document, const WingbookOptions &options)
{
    if (options.SortAlphabeticalCodes())
        document.SortDistances();
    else
        document.Distances.SortAsIs();
}
