#pragma once

#include <QString>

class AirportPositions;
class LogDocument;
class TLumFlatFile;
class WingbookOptions;

// The two reference lookups that fill airline names and airport names, cities and countries.
struct ReferenceFiles {
    const TLumFlatFile &Airlines; // Airlines.def: code -> name
    const TLumFlatFile &Airports; // Airports.def: code -> DEF airport value
    // The airports' positions, for the option "Compute distances from airport positions";
    // none: no distance is computed.
    const AirportPositions *Positions = nullptr;
};

// The reference operations that follow a stored or imported flight. They neither sort nor mark
// the log as changed; their callers do.

// Counts a flight that names this airline code: the first Airlines row with the code gets the
// name from the reference file (only when the file gives one, so a typed name is not lost to an
// unknown code) and one more reference; without such a row one is appended with count 1.
void AddAirline(LogDocument &document, const TLumFlatFile &airlines, const QString &airline);
// The same for an airport code, with the name, city and country of the DEF airport value.
void AddAirport(LogDocument &document, const TLumFlatFile &airports, const QString &airport);
// Counts a flight between two airports: the Distances row of the pair (either orientation) is
// rewritten with the lower code first, an empty Miles becomes "0" and its count rises by one;
// without such a row one is appended with Miles "0" and count 1. Given positions (the option
// "Compute distances from airport positions" is on), the Miles that would become "0" become the
// computed miles instead when both airports have a position; a Miles already "0" stays.
void AddDistance(LogDocument &document, const QString &airportFrom, const QString &airportTo,
                 const AirportPositions *positions = nullptr);

// Takes the references of one flight as the options say: with automatic filling on, the
// operations above (airports From then To, airline, distance); off, only the counts of rows
// that already exist rise. No sorting.
void TakeFlightReferences(LogDocument &document, const ReferenceFiles &files,
                          const WingbookOptions &options, const QString &from, const QString &to,
                          const QString &airline);
// The sorts of the reference tables that follow automatic filling ("Sort alphabetical codes").
void SortFilledReferenceTables(LogDocument &document, const WingbookOptions &options);
