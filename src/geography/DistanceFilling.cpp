#include "geography/DistanceFilling.h"

#include "geography/AirportPositions.h"
#include "geography/Geodesic.h"
#include "model/LogDocument.h"

#include <QSet>
#include <algorithm>

namespace
{

enum DistanceColumn { DistanceFrom, DistanceTo, DistanceMiles };

} // namespace

std::optional<QString> ComputedMiles(const AirportPositions &positions, const QString &from,
                                     const QString &to)
{
    const std::optional<GeoPoint> a = positions.position(from);
    const std::optional<GeoPoint> b = positions.position(to);
    if (!a || !b)
        return std::nullopt;
    return QString::number(GeodesicMiles(*a, *b));
}

bool MilesUnknown(const QString &miles)
{
    const QString text = miles.trimmed();
    if (text.isEmpty())
        return true;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    return ok && value == 0;
}

int DistanceFillPlan::overwrites() const
{
    return int(std::count_if(changes.begin(), changes.end(),
                             [](const Change &c) { return !MilesUnknown(c.oldMiles); }));
}

DistanceFillPlan PlanDistanceFill(const LogTable &distances, const AirportPositions &positions,
                                  const QList<int> &rows, DistanceRows scope)
{
    QList<int> looked;
    if (rows.isEmpty()) {
        for (int r = 0; r < distances.count(); ++r) {
            if (scope == DistanceRows::All || MilesUnknown(distances.cell(r, DistanceMiles)))
                looked.append(r);
        }
    } else {
        for (int r : rows) {
            if (r >= 0 && r < distances.count())
                looked.append(r);
        }
        std::sort(looked.begin(), looked.end());
        looked.erase(std::unique(looked.begin(), looked.end()), looked.end());
    }

    DistanceFillPlan plan;
    QSet<QString> missing;
    for (int r : std::as_const(looked)) {
        const QString from = distances.cell(r, DistanceFrom);
        const QString to = distances.cell(r, DistanceTo);
        const std::optional<QString> miles = ComputedMiles(positions, from, to);
        if (!miles) {
            ++plan.notComputed;
            for (const QString &code : {from, to}) {
                if (!positions.contains(code))
                    missing.insert(code);
            }
            continue;
        }
        const QString old = distances.cell(r, DistanceMiles);
        if (old != *miles)
            plan.changes.append({r, old, *miles});
    }
    plan.codesWithoutPosition = QStringList(missing.begin(), missing.end());
    std::sort(plan.codesWithoutPosition.begin(), plan.codesWithoutPosition.end());
    return plan;
}

int ApplyDistanceFill(LogTable &distances, const DistanceFillPlan &plan, bool overwrite)
{
    int written = 0;
    for (const DistanceFillPlan::Change &change : plan.changes) {
        if (!overwrite && !MilesUnknown(change.oldMiles))
            continue;
        distances.setCell(change.row, DistanceMiles, change.newMiles);
        ++written;
    }
    return written;
}

int FillDistances(LogDocument &document, const AirportPositions &positions, const QList<int> &rows,
                  DistanceRows scope, const std::function<bool(int overwrites)> &mayOverwrite,
                  QStringList &codesWithoutPosition)
{
    const DistanceFillPlan plan = PlanDistanceFill(document.Distances, positions, rows, scope);
    codesWithoutPosition = plan.codesWithoutPosition;
    const int overwrites = plan.overwrites();
    const bool overwrite = overwrites > 0 && mayOverwrite && mayOverwrite(overwrites);
    const int filled = ApplyDistanceFill(document.Distances, plan, overwrite);
    if (filled > 0) {
        document.setModified(true);
        document.Distances.SortAsIs();
    }
    return filled;
}

QString DistanceFillReport(int filled, const QStringList &codesWithoutPosition)
{
    QString text = QStringLiteral("Filled the miles of %1 distance(s).").arg(filled);
    if (!codesWithoutPosition.isEmpty()) {
        QStringList shown = codesWithoutPosition;
        for (QString &code : shown) {
            if (code.isEmpty())
                code = QStringLiteral("(empty)");
        }
        text += QStringLiteral("\nNo position is known for: %1.").arg(shown.join(u", "));
    }
    return text;
}
