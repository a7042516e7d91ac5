#pragma once

#include "editing/EditingModes.h"
#include "model/LogFormatSettings.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

class LogDocument;
class WingbookOptions;
struct ReferenceFiles;

// What the flight dialog shows and reads back.
struct FlightFields {
    QDate date; // null: the date picker is blank
    QTime time; // null: the time picker is blank
    QString from;
    QString to;
    QString airline;
    QString flight;
};

// The codes that the From/To lists (airports) and the Airline list offer: every non-empty code,
// in table order.
struct FlightCodeLists {
    QStringList airports;
    QStringList airlines;
};
FlightCodeLists FlightDialogLists(const LogDocument &document);

// "Add Flight", "Modify Flight", "Derive Flight" or "Flight Properties".
QString FlightDialogTitle(FlightDialogMode mode);

// The Add mode: blank date and time; From, To and Airline preset with the preferred codes where
// the lists hold them; no flight number.
FlightFields NewFlightFields(const LogDocument &document, const FlightCodeLists &lists);

// The Modify, Derive and Properties modes: the fields of a flight row, its codes as the lists
// select them (a code in no list leaves the field empty), an empty Date or Time as a blank
// picker. Returns the message naming a stored Date or Time that cannot be read (the dialog must
// then not open), or an empty text.
QString FlightFieldsFromRow(const LogDocument &document, int row, const FlightCodeLists &lists,
                            FlightFields &fields,
                            const LogFormatSettings &format = LogFormatSettings::standard());

// The first failing check of OK, in the dialog's order, or an empty text. Only the Add mode
// refuses a date and time that a flight already has.
QString ValidateFlight(const LogDocument &document, FlightDialogMode mode,
                       const FlightFields &fields,
                       const LogFormatSettings &format = LogFormatSettings::standard());

// Stores validated fields: Modify changes the flight at `row` after releasing its references,
// Add and Derive append a flight; then the references are taken and the tables sorted as the
// options say, and the log is marked as changed.
void StoreFlight(LogDocument &document, FlightDialogMode mode, int row, const FlightFields &fields,
                 const ReferenceFiles &files, const WingbookOptions &options,
                 const LogFormatSettings &format = LogFormatSettings::standard());

// What OK does: validates, and stores when every check passes. Returns the message to show with
// the dialog kept open, or an empty text when the flight was stored. The Properties mode has no
// OK and changes nothing.
QString SubmitFlight(LogDocument &document, FlightDialogMode mode, int row,
                     const FlightFields &fields, const ReferenceFiles &files,
                     const WingbookOptions &options,
                     const LogFormatSettings &format = LogFormatSettings::standard());

// The cell texts a flight is stored with: date and time in the log's format, flight number
// through PadFlight.
QStringList FlightCells(const FlightFields &fields,
                        const LogFormatSettings &format = LogFormatSettings::standard());
