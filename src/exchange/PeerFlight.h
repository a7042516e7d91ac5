#pragma once

#include "exchange/PeerCsvFormat.h"

#include <QHash>
#include <QString>
#include <QStringList>

class TLumFlatFile;

// Airline codes by the airline's exact name in Airlines.def (the first code of a name that
// repeats). Built on the first look-up, so a file whose lines all carry codes never builds it.
class AirlineCodesByName
{
public:
    explicit AirlineCodesByName(const TLumFlatFile &airlines) : m_airlines(airlines) {}
    // The code, or empty when no entry has exactly this name.
    QString codeOf(const QString &name);

private:
    const TLumFlatFile &m_airlines;
    QHash<QString, QString> m_codes;
    bool m_built = false;
};

// One record of a peer export read as a flight of the log, or why it cannot be.
struct PeerFlight {
    QString Date; // yyyy-mm-dd
    QString Time; // hh:nn, empty when the file gives none
    QString From; // airport codes: IATA, or ICAO for an airport without one
    QString To;
    QString Airline;     // the two-character IATA code
    QString Flight;      // the number's digits through PadFlight
    QString airlineName; // the airline's name as the file gives it, or empty
    int miles = 0;       // the distance the file gives, 0 when none

    // Empty when the record is a flight; otherwise why it is skipped ("no departure
    // airport", "date not readable (2019)", ...).
    QString skipReason;
};

// Reads a record of a file whose columns stand as `columns` say.
PeerFlight ReadPeerFlight(const PeerColumns &columns, const QStringList &record,
                          AirlineCodesByName &airlineCodes);

// The parts of the fields, for the reading above (and its tests).

// A date, possibly followed by a blank (or "T") and a time: "2019-05-03", "2019-05-03 14:20".
// The date comes back as yyyy-mm-dd and the text of the time as it stands (empty when there is
// none); false when the date is not a whole, valid date. Dates in the forms the CSV import
// reads (3/4/2021) are read as it reads them.
bool ReadPeerDate(const QString &text, QString &date, QString &timeText);
// A time alone ("14:20:05", "9:05 PM") as hh:nn; false when it is not a valid time.
bool ReadPeerTime(const QString &text, QString &time);
// The airport code of a myFlightradar24 airport "Frankfurt am Main / Frankfurt (FRA/EDDF)":
// IATA, else ICAO; a text that is a code already stays as it is. Empty when there is none.
QString AirportCodeOf(const QString &text);
// The IATA code of a myFlightradar24 airline "Lufthansa (LH/DLH)", empty when it has none;
// `name` receives the part before the brackets ("Lufthansa").
QString AirlineCodeOf(const QString &text, QString &name);
// A flight number "BA117", "BA 117" or "U21234": the airline's IATA code at its start (empty
// when the number starts with no such code), and its digits.
void SplitFlightNumber(const QString &text, QString &airline, QString &digits);
