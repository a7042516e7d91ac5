#pragma once

#include "model/LogTable.h"

#include <QLocale>
#include <QString>

class LogDocument;

enum class ReferenceKind { Airline, Airport, Distance };

// "Airline referenced by N flight(s) [S%]" (Airport, Distance alike): S is N * 100 / flights
// with two decimals, a half rounded up (away from zero), written with the locale's decimal
// separator; with no flights at all the share reads "[0%]".
QString ReferenceCountLabel(ReferenceKind kind, qint32 referenceCount, qint64 flightCount,
                            const QLocale &locale = QLocale::system());
// The label of a row of Airlines, Airports or Distances.
QString ReferenceCountLabel(const LogDocument &document, TableKind table, int row,
                            const QLocale &locale = QLocale::system());

// "Distance between airports equal to M mile(s)" with the Miles of the pair's Distances row
// (either orientation), "0" when there is none.
QString FlightDistanceLabel(const LogDocument &document, const QString &from, const QString &to);

// What a Locate command of the Flights list points at.
enum class LocateTarget { Airline, From, To, Distance };

struct LocateResult {
    TableKind table = TableKind::Flights; // the page to show
    int row = -1;                         // the row to select; -1 when not found or no flight
    QString error;                        // the message when the target is missing
};

// The row that a flight names: its airline, its From or To airport, or its distance (From, To,
// failing that To, From). A missing row gives "The airline can't be located.", "The airport
// can't be located." or "The distance can't be located."; no flight (row -1) gives nothing.
LocateResult LocateFromFlight(const LogDocument &document, int flightRow, LocateTarget target);
