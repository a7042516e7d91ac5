#include "editing/FlightEditing.h"

#include "components/TextHelpers.h"
#include "editing/ReferenceFilling.h"
#include "model/LogDocument.h"
#include "model/PadFlight.h"
#include "options/WingbookOptions.h"

namespace
{

enum FlightColumn { FlightDate, FlightTime, FlightFrom, FlightTo, FlightAirline, FlightNumber };

} // namespace

FlightCodeLists FlightDialogLists(const LogDocument &document)
{
    return {document.Airports.GetItemCaptions(), document.Airlines.GetItemCaptions()};
}

QString FlightDialogTitle(FlightDialogMode mode)
{
    switch (mode) {
    case FlightDialogMode::Add:
        return QStringLiteral("Add Flight");
    case FlightDialogMode::Modify:
        return QStringLiteral("Modify Flight");
    case FlightDialogMode::Derive:
        return QStringLiteral("Derive Flight");
    case FlightDialogMode::Properties:
        break;
    }
    return QStringLiteral("Flight Properties");
}

FlightFields NewFlightFields(const LogDocument &document, const FlightCodeLists &lists)
{
    FlightFields fields;
    // The To default is looked up in the From list: both hold the airport codes.
    fields.from = ListEntryFor(lists.airports, document.PreferredFromAirport);
    fields.to = ListEntryFor(lists.airports, document.PreferredToAirport);
    fields.airline = ListEntryFor(lists.airlines, document.PreferredAirline);
    return fields;
}

QString FlightFieldsFromRow(const LogDocument &document, int row, const FlightCodeLists &lists,
                            FlightFields &fields, const LogFormatSettings &format)
{
    const LogTable &flights = document.Flights;
    if (row < 0 || row >= flights.count())
        return QStringLiteral("The flight no longer exists.");
    FlightFields read;
    const QString dateText = flights.cell(row, FlightDate);
    if (!dateText.isEmpty()) {
        const std::optional<QDate> date = format.parseDate(dateText);
        if (!date)
            return QStringLiteral("The date \"%1\" of the flight is not a date written as %2.")
                .arg(dateText, format.ShortDateFormat);
        read.date = *date;
    }
    const QString timeText = flights.cell(row, FlightTime);
    if (!timeText.isEmpty()) {
        const std::optional<QTime> time = format.parseTime(timeText);
        if (!time)
            return QStringLiteral("The time \"%1\" of the flight is not a time written as %2.")
                .arg(timeText, format.LongTimeFormat);
        read.time = *time;
    }
    read.from = ListEntryFor(lists.airports, flights.cell(row, FlightFrom));
    read.to = ListEntryFor(lists.airports, flights.cell(row, FlightTo));
    read.airline = ListEntryFor(lists.airlines, flights.cell(row, FlightAirline));
    read.flight = flights.cell(row, FlightNumber);
    fields = read;
    return QString();
}

QStringList FlightCells(const FlightFields &fields, const LogFormatSettings &format)
{
    return {NormalizeDate(format.formatDate(fields.date)),
            NormalizeTime(format.formatTime(fields.time)),
            fields.from,
            fields.to,
            fields.airline,
            PadFlight(fields.flight)};
}

QString ValidateFlight(const LogDocument &document, FlightDialogMode mode,
                       const FlightFields &fields, const LogFormatSettings &format)
{
    if (fields.date.isNull())
        return QStringLiteral("The date value must be non-empty.");
    if (fields.time.isNull())
        return QStringLiteral("The time value must be non-empty.");
    if (fields.from.isEmpty())
        return QStringLiteral("The from value must be non-empty.");
    if (fields.to.isEmpty())
        return QStringLiteral("The to value must be non-empty.");
    if (fields.airline.isEmpty())
        return QStringLiteral("The airline value must be non-empty.");
    if (fields.flight.isEmpty())
        return QStringLiteral("The flight value must be non-empty.");
    if (mode == FlightDialogMode::Add) {
        const QStringList cells = FlightCells(fields, format);
        if (document.Flights.FindItemByPair(cells[FlightDate], cells[FlightTime]) >= 0)
            return QStringLiteral("The flight already exists.");
    }
    return QString();
}

void StoreFlight(LogDocument &document, FlightDialogMode mode, int row, const FlightFields &fields,
                 const ReferenceFiles &files, const WingbookOptions &options,
                 const LogFormatSettings &format)
{
    LogTable &flights = document.Flights;
    const bool modify = mode == FlightDialogMode::Modify;
    if (mode == FlightDialogMode::Properties || (modify && (row < 0 || row >= flights.count())))
        return;
    document.setModified(true);
    const QStringList cells = FlightCells(fields, format);
    if (modify) {
        document.adjustReferencesOfFlight(row, -1);
        for (int c = 0; c < cells.size(); ++c)
            flights.setCell(row, c, cells[c]);
    } else {
        flights.appendRow(cells);
    }
    TakeFlightReferences(document, files, options, fields.from, fields.to, fields.airline);
    SortFilledReferenceTables(document, options);
    if (options.DisplayLatestFlightsFirst())
        document.SortFlights();
    else
        flights.SortAsIs();
}

QString SubmitFlight(LogDocument &document, FlightDialogMode mode, int row,
                     const FlightFields &fields, const ReferenceFiles &files,
                     const WingbookOptions &options, const LogFormatSettings &format)
{
    if (mode == FlightDialogMode::Properties)
        return QString();
    const QString problem = ValidateFlight(document, mode, fields, format);
    if (!problem.isEmpty())
        return problem;
    if (mode == FlightDialogMode::Modify && (row < 0 || row >= document.Flights.count()))
        return QStringLiteral("The flight no longer exists.");
    StoreFlight(document, mode, row, fields, files, options, format);
    return QString();
}
