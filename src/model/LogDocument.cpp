#include "model/LogDocument.h"

#include "components/TextHelpers.h"
#include "model/StorableText.h"
#include "options/WingbookOptions.h"

#include <absl/container/flat_hash_map.h>
#include <vector>

namespace
{

enum FlightColumn { FlightDate, FlightTime, FlightFrom, FlightTo, FlightAirline };

} // namespace

LogDocument::LogDocument(QObject *parent) : QObject(parent)
{
    renewTextPool();
}

void LogDocument::renewTextPool()
{
    // One pool for the four tables: a flight's codes and the reference rows' codes are then the
    // same ids.
    const auto pool = std::make_shared<TextPool>();
    for (LogTable *t : tables())
        t->setTextPool(pool);
}

LogTable &LogDocument::table(TableKind kind)
{
    switch (kind) {
    case TableKind::Airlines:
        return Airlines;
    case TableKind::Airports:
        return Airports;
    case TableKind::Distances:
        return Distances;
    case TableKind::Flights:
    case TableKind::Other:
        break;
    }
    return Flights;
}

QList<LogTable *> LogDocument::tables()
{
    return {&Flights, &Airlines, &Airports, &Distances};
}

void LogDocument::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

int LogDocument::totalRows() const
{
    return Flights.count() + Airlines.count() + Airports.count() + Distances.count();
}

void LogDocument::clearTables()
{
    for (LogTable *t : tables())
        t->clear();
    renewTextPool();
}

void LogDocument::SortFlights()
{
    // One sort by date, then time: the order of a stable sort by time followed by one by date.
    Flights.SortByKeys({{FlightDate, false}, {FlightTime, false}});
}

void LogDocument::SortAirlines()
{
    Airlines.Sort(0, true);
}

void LogDocument::SortAirports()
{
    Airports.Sort(0, true);
}

void LogDocument::SortDistances()
{
    Distances.SortByKeys({{0, true}, {1, true}});
}

void LogDocument::sortAsOptionsSay(const WingbookOptions &options)
{
    if (options.DisplayLatestFlightsFirst())
        SortFlights();
    if (options.SortAlphabeticalCodes()) {
        SortAirlines();
        SortAirports();
        SortDistances();
    }
}

void LogDocument::adjustReferences(const QString &from, const QString &to, const QString &airline,
                                   qint32 delta)
{
    Airlines.addReference(Airlines.FindItemByText(airline, 0), delta);
    Airports.addReference(Airports.FindItemByText(from, 0), delta);
    Airports.addReference(Airports.FindItemByText(to, 0), delta);
    Distances.addReference(Distances.findPairEitherWay(from, to), delta);
}

void LogDocument::adjustReferencesOfFlight(int flightRow, qint32 delta)
{
    adjustReferences(Flights.cell(flightRow, FlightFrom), Flights.cell(flightRow, FlightTo),
                     Flights.cell(flightRow, FlightAirline), delta);
}

namespace
{

// The first row of each id in one column of a table.
std::vector<int> firstRowOfIds(const LogTable &table, int column, TextPool::Id poolSize)
{
    std::vector<int> first(poolSize, -1);
    const auto &ids = table.columnIds(column);
    for (size_t r = ids.size(); r-- > 0;)
        first[ids[r]] = int(r);
    return first;
}

// The first Distances row of each pair of airports, in both orientations under one key (the
// lower id first), so that a flight finds its row, in either orientation, with one look.
class DistanceRows
{
public:
    explicit DistanceRows(const LogTable &distances)
    {
        m_rows.reserve(size_t(distances.count()));
        const auto &from = distances.columnIds(0);
        const auto &to = distances.columnIds(1);
        for (size_t r = 0; r < from.size(); ++r) {
            Rows &rows = m_rows.try_emplace(key(from[r], to[r])).first->second;
            int &slot = from[r] <= to[r] ? rows.lowFirst : rows.highFirst;
            if (slot < 0)
                slot = int(r);
        }
    }

    // Starts bringing the entry of a pair into the processor's cache, for a look soon after.
    void prefetch(TextPool::Id from, TextPool::Id to) const { m_rows.prefetch(key(from, to)); }

    // The row of (from, to), else that of (to, from), else -1.
    int of(TextPool::Id from, TextPool::Id to) const
    {
        const auto it = m_rows.find(key(from, to));
        if (it == m_rows.end())
            return -1;
        const Rows &rows = it->second;
        if (from == to)
            return rows.lowFirst;
        const int given = from < to ? rows.lowFirst : rows.highFirst;
        return given >= 0 ? given : (from < to ? rows.highFirst : rows.lowFirst);
    }

private:
    struct Rows {
        int lowFirst = -1;  // the row whose From holds the lower id
        int highFirst = -1; // the row whose From holds the higher id
    };
    static quint64 key(TextPool::Id a, TextPool::Id b)
    {
        return a <= b ? (quint64(a) << 32) | b : (quint64(b) << 32) | a;
    }

    absl::flat_hash_map<quint64, Rows, absl::Hash<quint64>, std::equal_to<quint64>,
                        LargePageAllocator<std::pair<const quint64, Rows>>>
        m_rows;
};

} // namespace

void LogDocument::countReferences()
{
    Airlines.resetReferenceCounts();
    Airports.resetReferenceCounts();
    Distances.resetReferenceCounts();
    const auto &pool = Flights.sharedTextPool();
    if (Airlines.sharedTextPool() != pool || Airports.sharedTextPool() != pool ||
        Distances.sharedTextPool() != pool) {
        for (int r = 0; r < Flights.count(); ++r)
            adjustReferencesOfFlight(r, 1);
        return;
    }
    // The four tables share one pool, so the codes of a flight are looked up by their ids.
    const TextPool::Id poolSize = pool->size();
    const std::vector<int> airlineRow = firstRowOfIds(Airlines, 0, poolSize);
    const std::vector<int> airportRow = firstRowOfIds(Airports, 0, poolSize);
    const DistanceRows distanceRow(Distances);
    const auto &from = Flights.columnIds(FlightFrom);
    const auto &to = Flights.columnIds(FlightTo);
    const auto &airline = Flights.columnIds(FlightAirline);
    // The distances of a large log are spread over many megabytes: each flight's entry is
    // asked for some flights ahead, so that the processor does not wait for each in turn.
    constexpr size_t kAhead = 16;
    for (size_t r = 0; r < from.size(); ++r) {
        if (r + kAhead < from.size())
            distanceRow.prefetch(from[r + kAhead], to[r + kAhead]);
        Airlines.addReference(airlineRow[airline[r]], 1);
        Airports.addReference(airportRow[from[r]], 1);
        Airports.addReference(airportRow[to[r]], 1);
        Distances.addReference(distanceRow.of(from[r], to[r]), 1);
    }
}

void LogDocument::choosePreferredValues()
{
    qint32 best = 0;
    for (int r = 0; r < Airlines.count(); ++r) {
        if (Airlines.referenceCount(r) > best) {
            best = Airlines.referenceCount(r);
            PreferredAirline = Airlines.cell(r, 0);
        }
    }
    best = 0;
    for (int r = 0; r < Airports.count(); ++r) {
        if (Airports.referenceCount(r) > best) {
            best = Airports.referenceCount(r);
            PreferredToAirport = PreferredFromAirport;
            PreferredFromAirport = Airports.cell(r, 0);
            HomeCountry = Airports.cell(r, 3);
        }
    }
}

int LogDocument::makeCellsStorable()
{
    int changed = 0;
    for (LogTable *t : tables()) {
        const TextPool &pool = t->textPool();
        // Each distinct text is checked once.
        std::vector<qint8> storable(pool.size(), -1);
        for (int c = 0; c < t->columnTotal(); ++c) {
            for (int r = 0; r < t->count(); ++r) {
                const TextPool::Id id = t->cellId(r, c);
                if (storable[id] < 0)
                    storable[id] = IsStorableText(pool.text(id)) ? 1 : 0;
                if (storable[id] == 0) {
                    t->setCell(r, c, t->cell(r, c));
                    ++changed;
                }
            }
        }
    }
    return changed;
}

QString LogDocument::countsText(const QLocale &locale) const
{
    return FormatCount(Flights.count(), locale) + QStringLiteral(" flight(s) - ") +
           FormatCount(Airlines.count(), locale) + QStringLiteral(" airline(s) - ") +
           FormatCount(Airports.count(), locale) + QStringLiteral(" airport(s) - ") +
           FormatCount(Distances.count(), locale) + QStringLiteral(" distance(s)");
}
