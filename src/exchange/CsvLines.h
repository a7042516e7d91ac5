#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

// How the CSV importer reads a file's lines.

// The separator, chosen once from the first line and only when the file has two lines or more:
// ";" when the first line holds a semicolon, else "," for a comma, else a TAB; otherwise none
// (empty), and every line is one piece.
QString ChooseCsvSeparator(const QList<QStringView> &lines);

enum class CsvRowKind { None, Airline, Distance, Airport, Flight };

// One line as a row: its kind, decided by the number of pieces, and the pieces without one
// pair of outer quotes each (a piece written as two double quotes is an empty value). The
// pieces are views into the line.
struct CsvRow {
    CsvRowKind kind = CsvRowKind::None;
    QVarLengthArray<QStringView, 8> fields;

    QStringList texts() const;
};

// Cuts a line at the separator as the splitter does (empty pieces dropped) and decides its
// kind: 2 pieces with a code of 2 or 3 characters an airline, 3 pieces with a 3-character code
// a distance, 4 pieces with a 3-character code an airport, 6 pieces whose first is not "Date"
// a flight; any other line is None. The header lines that the export writes are None.
CsvRow ReadCsvLine(QStringView separator, QStringView line);
