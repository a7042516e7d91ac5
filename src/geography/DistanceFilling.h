#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class AirportPositions;
class LogDocument;
class LogTable;

// The computed distance between two airports in miles (the Miles text of a Distances row), or
// nothing when either airport has no position.
std::optional<QString> ComputedMiles(const AirportPositions &positions, const QString &from,
                                     const QString &to);

// Whether a Miles text stands for a distance not known yet: empty, or the number 0.
bool MilesUnknown(const QString &miles);

// Which Distances rows the Compute Distances command fills.
enum class DistanceRows {
    Unknown, // every row whose Miles is empty or 0
    All,     // every row
};

// What filling the Miles of Distances rows from the positions would change.
struct DistanceFillPlan {
    struct Change {
        int row = -1;
        QString oldMiles;
        QString newMiles;
    };
    // In row order; a row whose Miles already holds the computed value is no change.
    QList<Change> changes;
    // The codes of the rows looked at that have no position, each once, sorted.
    QStringList codesWithoutPosition;
    // Rows looked at whose Miles could not be computed.
    int notComputed = 0;

    // The changes that would replace a known (non-zero) distance.
    int overwrites() const;
};

// The plan for the given rows (any order; rows outside the table are ignored), or, with no
// rows given, for the rows that `scope` names.
DistanceFillPlan PlanDistanceFill(const LogTable &distances, const AirportPositions &positions,
                                  const QList<int> &rows,
                                  DistanceRows scope = DistanceRows::Unknown);

// Writes the plan's Miles into the table; with overwrite false, rows that hold a known distance
// keep it. Returns the number of rows written. Neither sorts nor marks the log as changed.
int ApplyDistanceFill(LogTable &distances, const DistanceFillPlan &plan, bool overwrite);

// The Compute Distances command, its question left to the caller: plans the fill of the given
// Distances rows (or of those that scope names), asks mayOverwrite with the number of known
// distances that would be replaced (only when there are any), writes the Miles, and when it
// wrote any marks the log as changed and re-applies the table's sort. Returns the number of
// rows filled; the plan's codes without a position go to codesWithoutPosition.
int FillDistances(LogDocument &document, const AirportPositions &positions, const QList<int> &rows,
                  DistanceRows scope, const std::function<bool(int overwrites)> &mayOverwrite,
                  QStringList &codesWithoutPosition);

// The sentence that reports a fill: how many rows were filled and which codes had no position.
QString DistanceFillReport(int filled, const QStringList &codesWithoutPosition);
