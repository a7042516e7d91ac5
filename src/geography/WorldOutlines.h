#pragma once

#include <QList>
#include <QPointF>
#include <QString>

// The land outlines that the route map fills, from the shipped outlines file: one ring a line
// of longitude and latitude pairs in degrees ("lon lat lon lat ..."), "#" lines being comments.
// The rings are filled together with the even-odd rule, so a ring inside another is a hole.
// A ring is continuous on the flat map: one that crosses the 180th meridian reaches beyond it
// (longitudes up to 540), one that goes round a pole is closed along the pole's edge.
struct WorldOutlines {
    QList<QList<QPointF>> rings; // points as (longitude, latitude)
    QString error;               // why the file could not be read; empty when it was
    int skippedLines = 0;        // lines that held no ring (an odd count, a bad number, ...)

    // The file's name in the program's shipped data folder.
    static QString fileName() { return QStringLiteral("WorldLand.txt"); }
    // The outlines of the file; a missing or unreadable file gives no rings and an error.
    static WorldOutlines read(const QString &path);
    static WorldOutlines fromText(const QString &text);
};
