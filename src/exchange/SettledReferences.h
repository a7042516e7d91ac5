#pragma once

#include <QSet>
#include <QString>

class LogDocument;
class WingbookOptions;

// A CSV flight line that overwrites a flight with the same From, To and Airline gives back the
// references of those codes and takes them again. That changes nothing once the rows they name
// are as taking a reference leaves them: the airline and airport rows filled in earlier in this
// import (automatic filling leaves them the same when it runs again), the distance row already
// in code order with its Miles. Such lines skip both steps; the others remember what they
// filled in.
class SettledReferences
{
public:
    SettledReferences(const LogDocument &document, const WingbookOptions &options);

    // Whether overwriting the flight at this row with these codes leaves every reference
    // count and reference row as it is.
    bool unchanged(int flightRow, const QString &from, const QString &to,
                   const QString &airline) const;
    // A flight's references were taken: its rows are now as filling them in leaves them.
    void taken(const QString &from, const QString &to, const QString &airline);

    // A line wrote to the Airlines or the Airports table itself: what was filled in may differ.
    void airlinesWritten() { m_airlines.clear(); }
    void airportsWritten() { m_airports.clear(); }

private:
    const LogDocument &m_document;
    const bool m_fillAirlines;
    const bool m_fillAirports;
    const bool m_fillDistances;
    QSet<QString> m_airlines;
    QSet<QString> m_airports;
};
