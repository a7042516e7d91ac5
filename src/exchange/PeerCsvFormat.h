#pragma once

#include <QString>
#include <QStringList>

// The flight exports of the two web logbooks that people move their history from. A file is
// told by the names of its columns, not by one exact header line: the services have changed
// their layouts over the years, and other tools write files "in their format" with columns
// left out or added. Columns are found by name, in any order; unknown columns are ignored.
enum class PeerCsvKind {
    None,
    // Date, From, To, Flight_Number and Airline (Distance in miles, _OID columns optional).
    OpenFlights,
    // Date, "Flight number", From, To, "Dep time" and Airline.
    MyFlightradar24,
};

// The kind whose columns the header names all hold (names compared without regard to letter
// case or surrounding blanks); None when neither kind's are all there.
PeerCsvKind PeerCsvKindOf(const QStringList &header);

// Where the columns that a flight is read from stand in a file's records; -1 for a column
// the file lacks (only the optional ones can be missing).
struct PeerColumns {
    PeerCsvKind kind = PeerCsvKind::None;
    int date = -1;
    int departureTime = -1; // myFlightradar24 "Dep time"
    int from = -1;
    int to = -1;
    int flightNumber = -1;
    int airline = -1;
    int distance = -1; // OpenFlights "Distance", in miles

    // The field of a record at this column; empty for a missing column or a short record.
    QString field(const QStringList &record, int column) const;
};

// The columns of a header of a known kind (the first column of that name when a name repeats).
PeerColumns PeerColumnsOf(const QStringList &header);

// A quoted field running over more lines than this is taken for a quote that was never closed
// (no note of these exports is that long): its record is skipped and reading goes on with the
// line after the one it started on, so one stray quote costs one line, not the rest of the file.
constexpr int kMaxLinesOfOneRecord = 100;

// Whether the first non-empty line of the file (after a byte-order mark) is the header of one
// of the two kinds, found as the importer finds it (a quote never closed skips its line). Only the
// start of the file is read; a missing or unreadable file is not a peer export (the importer it
// then goes to tells what is wrong with it).
bool IsPeerCsvFile(const QString &fileName);
