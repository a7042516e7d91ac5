#pragma once

#include "editing/EditingModes.h"

#include <QString>
#include <QStringList>

class LogDocument;
class WingbookOptions;

// What the airline, airport and distance dialogs show and read back. Each dialog fills its
// fields with one of the *FieldsFromRow / New*Fields helpers, and OK calls Submit*, which returns
// the message to show (the dialog stays open) or an empty text when the log was changed.

struct AirlineFields {
    QString code;
    QString name;
};

struct AirportFields {
    QString code;
    QString name;
    QString city;
    QString country; // empty: nothing selected in the Country list
};

struct DistanceFields {
    QString from;
    QString to;
    QString miles = QStringLiteral("0");
};

// "Add Airline", "Modify Airline", "Airline Properties", and the same for Airport and Distance.
QString AirlineDialogTitle(RecordDialogMode mode);
QString AirportDialogTitle(RecordDialogMode mode);
QString DistanceDialogTitle(RecordDialogMode mode);

// --- airlines ---
AirlineFields AirlineFieldsFromRow(const LogDocument &document, int row);
QString ValidateAirline(const LogDocument &document, RecordDialogMode mode,
                        const AirlineFields &fields);
QString SubmitAirline(LogDocument &document, RecordDialogMode mode, int row,
                      const AirlineFields &fields, const WingbookOptions &options);

// --- airports; `countries` are the Country list's entries (the checked countries) ---
// The Add mode: empty texts, the Country list on the home country when it holds it.
AirportFields NewAirportFields(const LogDocument &document, const QStringList &countries);
// The row's texts; its Country only when the list holds it (letter case ignored).
AirportFields AirportFieldsFromRow(const LogDocument &document, int row,
                                   const QStringList &countries);
QString ValidateAirport(const LogDocument &document, RecordDialogMode mode,
                        const AirportFields &fields);
QString SubmitAirport(LogDocument &document, RecordDialogMode mode, int row,
                      const AirportFields &fields, const WingbookOptions &options);

// --- distances; `airports` are the From/To lists' entries (every non-empty airport code) ---
QStringList DistanceDialogAirports(const LogDocument &document);
// The Add mode: each list on its first entry in sorted order, Miles "0".
DistanceFields NewDistanceFields(const QStringList &airports);
// The row's codes as the lists select them and its Miles. Returns the message naming a Miles
// text that is not a whole number (the dialog must then not open), or an empty text.
QString DistanceFieldsFromRow(const LogDocument &document, int row, const QStringList &airports,
                              DistanceFields &fields);
QString ValidateDistance(const LogDocument &document, RecordDialogMode mode,
                         const DistanceFields &fields);
QString SubmitDistance(LogDocument &document, RecordDialogMode mode, int row,
                       const DistanceFields &fields, const WingbookOptions &options);
// Cancel of the distance dialog still puts the Distances table in order, as OK would.
void CancelDistanceDialog(LogDocument &document, const WingbookOptions &options);

// Whether a Miles text is a whole number (optional minus sign, digits, within 32 bits).
bool IsWholeMiles(const QString &miles);
// The message for a Miles text that is not a whole number.
QString NotWholeMilesMessage(const QString &miles);
