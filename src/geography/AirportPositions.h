#pragma once

#include "geography/GeoPoint.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// The positions of the airports, read from the positions file beside Airports.def: one airport a
// line, code TAB latitude TAB longitude in decimal degrees ("." as decimal point), "#" lines
// being comments. A folder without that file simply has no positions.
class AirportPositions
{
public:
    // The file's name in the reference folder.
    static QString fileName() { return QStringLiteral("AirportPositions.tsv"); }

    // Replaces the positions by those of the file. A missing file gives no positions and is no
    // failure; a file that cannot be read is (false, error() says why, no positions). Lines
    // that hold no position (a missing field, a number that does not read, a latitude or
    // longitude out of range) are left out and counted in skippedLines(); when a code stands
    // twice, its first line counts, as in the other reference files.
    bool load(const QString &path);
    // The same from text already in memory.
    void loadText(const QString &text);
    void insert(const QString &code, GeoPoint position);
    void clear();

    std::optional<GeoPoint> position(const QString &code) const;
    bool contains(const QString &code) const { return m_positions.contains(code); }
    int count() const { return int(m_positions.size()); }

    const QString &error() const { return m_error; }
    int skippedLines() const { return m_skippedLines; }

private:
    void readLines(const QStringList &lines);

    QHash<QString, GeoPoint> m_positions;
    QString m_error;
    int m_skippedLines = 0;
};
