#include "model/LogTable.h"

#include "model/CellCompare.h"
#include "model/StableSort.h"

#include <algorithm>

namespace
{

QList<LogColumn> makeColumns(std::initializer_list<std::pair<const char *, int>> list)
{
    QList<LogColumn> columns;
    for (const auto &[caption, width] : list)
        columns.append({QString::fromLatin1(caption), width});
    return columns;
}

} // namespace

LogTable::LogTable(TableKind kind, QObject *parent)
    : QAbstractTableModel(parent), m_kind(kind), m_columns(columnsOf(kind))
{
}

LogTable::LogTable(const QList<LogColumn> &columns, QObject *parent)
    : QAbstractTableModel(parent), m_kind(TableKind::Other), m_columns(columns)
{
}

LogTable::~LogTable() = default;

QList<LogColumn> LogTable::columnsOf(TableKind kind)
{
    switch (kind) {
    case TableKind::Flights:
        return makeColumns({{"Date", 150},
                            {"Time", 150},
                            {"From", 100},
                            {"To", 100},
                            {"Airline", 100},
                            {"Flight", 100}});
    case TableKind::Airlines:
        return makeColumns({{"Airline", 100}, {"Name", 400}});
    case TableKind::Airports:
        return makeColumns({{"Airport", 100}, {"Name", 400}, {"City", 250}, {"Country", 200}});
    case TableKind::Distances:
        return makeColumns({{"From", 100}, {"To", 100}, {"Miles", 100}});
    case TableKind::Other:
        break;
    }
    return {};
}

int LogTable::columnIndex(const QString &caption) const
{
    for (int c = 0; c < columnTotal(); ++c) {
        if (m_columns[c].caption == caption)
            return c;
    }
    return -1;
}

QString LogTable::cell(int r, int c) const
{
    if (r < 0 || r >= count() || c < 0)
        return QString();
    const QStringList &cells = m_rows[size_t(r)].cells;
    return c < cells.size() ? cells[c] : QString();
}

void LogTable::setCell(int r, int c, const QString &text)
{
    if (r < 0 || r >= count() || c < 0 || c >= columnTotal())
        return;
    QStringList &cells = m_rows[size_t(r)].cells;
    if (cells[c] == text)
        return;
    auto columnIndex = m_columnIndexes.find(c);
    if (columnIndex != m_columnIndexes.end())
        columnIndex.value().remove(cells[c], r);
    if (m_pairIndex && c <= 1)
        m_pairIndex->remove(std::make_pair(cells[0], cells[1]), r);
    cells[c] = text;
    if (columnIndex != m_columnIndexes.end())
        columnIndex.value().add(cells[c], r);
    if (m_pairIndex && c <= 1)
        m_pairIndex->add(std::make_pair(cells[0], cells[1]), r);
    markDisplaced(r);
    const QModelIndex at = index(r, c);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

LogRow::UsageData LogTable::newUsage() const
{
    switch (m_kind) {
    case TableKind::Airlines:
        return TAirlineData{};
    case TableKind::Airports:
        return TAirportData{};
    case TableKind::Distances:
        return TDistanceData{};
    case TableKind::Flights:
    case TableKind::Other:
        break;
    }
    return std::monostate{};
}

int LogTable::appendRow(QStringList cells)
{
    cells.resize(columnTotal());
    const int r = count();
    if (!m_bulkLoading)
        beginInsertRows(QModelIndex(), r, r);
    m_rows.push_back(LogRow{std::move(cells), newUsage()});
    indexAppended(r);
    markDisplaced(r);
    if (!m_bulkLoading)
        endInsertRows();
    return r;
}

void LogTable::removeRowAt(int r)
{
    removeRowsAt({r});
}

void LogTable::removeRowsAt(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.removeIf([this](int r) { return r < 0 || r >= count(); });
    if (rows.isEmpty())
        return;
    // Remove from the bottom so that the indices above stay valid, one block at a time.
    qsizetype i = rows.size() - 1;
    while (i >= 0) {
        qsizetype j = i;
        while (j > 0 && rows[j - 1] == rows[j] - 1)
            --j;
        const int first = rows[j], last = rows[i];
        beginRemoveRows(QModelIndex(), first, last);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        endRemoveRows();
        i = j - 1;
    }
    std::vector<int> newPosition(size_t(count()) + size_t(rows.size()));
    for (int old = 0, removed = 0; old < int(newPosition.size()); ++old) {
        if (removed < rows.size() && rows[removed] == old) {
            newPosition[size_t(old)] = -1;
            ++removed;
        } else {
            newPosition[size_t(old)] = old - removed;
        }
    }
    remapIndexes(newPosition);
    // Removing rows keeps the others in order; the displaced ones move up.
    std::vector<int> displaced;
    for (int d : m_displaced) {
        const auto below = std::lower_bound(rows.begin(), rows.end(), d);
        if (below == rows.end() || *below != d)
            displaced.push_back(d - int(below - rows.begin()));
    }
    m_displaced = std::move(displaced);
}

void LogTable::clear()
{
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_displaced.clear();
    clearIndexes();
    endResetModel();
}

void LogTable::beginBulkLoad()
{
    if (m_bulkLoading)
        return;
    beginResetModel();
    m_bulkLoading = true;
}

void LogTable::endBulkLoad()
{
    if (!m_bulkLoading)
        return;
    m_bulkLoading = false;
    endResetModel();
}

bool LogTable::hasUsage() const
{
    return m_kind == TableKind::Airlines || m_kind == TableKind::Airports ||
           m_kind == TableKind::Distances;
}

qint32 LogTable::referenceCount(int r) const
{
    if (r < 0 || r >= count())
        return 0;
    const qint32 *value = m_rows[size_t(r)].referenceCount();
    return value ? *value : 0;
}

void LogTable::setReferenceCount(int r, qint32 value)
{
    if (r < 0 || r >= count())
        return;
    if (qint32 *target = m_rows[size_t(r)].referenceCount())
        *target = value;
}

void LogTable::addReference(int r, qint32 delta)
{
    if (r < 0 || r >= count())
        return;
    if (qint32 *target = m_rows[size_t(r)].referenceCount())
        *target += delta;
}

void LogTable::resetReferenceCounts()
{
    for (LogRow &row : m_rows) {
        if (qint32 *target = row.referenceCount())
            *target = 0;
    }
}

// --- lookups ---

void LogTable::clearIndexes()
{
    m_columnIndexes.clear();
    m_pairIndex.reset();
}

void LogTable::indexAppended(int r)
{
    const QStringList &cells = m_rows[size_t(r)].cells;
    for (auto it = m_columnIndexes.begin(); it != m_columnIndexes.end(); ++it)
        it.value().add(cells[it.key()], r);
    if (m_pairIndex)
        m_pairIndex->add(std::make_pair(cells[0], cells[1]), r);
}

void LogTable::remapIndexes(const std::vector<int> &newPosition)
{
    for (auto it = m_columnIndexes.begin(); it != m_columnIndexes.end(); ++it)
        it.value().remap(newPosition);
    if (m_pairIndex)
        m_pairIndex->remap(newPosition);
}

const KeyIndex<QString> &LogTable::columnIndexFor(int column) const
{
    auto it = m_columnIndexes.find(column);
    if (it != m_columnIndexes.end())
        return it.value();
    KeyIndex<QString> &built = m_columnIndexes[column];
    built.reserve(count());
    for (int r = 0; r < count(); ++r)
        built.add(m_rows[size_t(r)].cells[column], r);
    return built;
}

const KeyIndex<LogTable::PairKey> &LogTable::pairIndex() const
{
    if (!m_pairIndex) {
        m_pairIndex = std::make_unique<KeyIndex<PairKey>>();
        m_pairIndex->reserve(count());
        for (int r = 0; r < count(); ++r) {
            const QStringList &cells = m_rows[size_t(r)].cells;
            m_pairIndex->add(std::make_pair(cells[0], cells[1]), r);
        }
    }
    return *m_pairIndex;
}

int LogTable::FindItemByText(const QString &text, int column) const
{
    if (column < -1 || column >= columnTotal())
        return -1;
    if (column >= 0)
        return columnIndexFor(column).first(text);
    // Any cell: the first cell is tried first, then the sub-cells in order.
    for (int r = 0; r < count(); ++r) {
        if (m_rows[size_t(r)].cells.contains(text))
            return r;
    }
    return -1;
}

int LogTable::FindItemByPair(const QString &first, const QString &second) const
{
    if (columnTotal() < 2)
        return -1;
    return pairIndex().first(std::make_pair(first, second));
}

int LogTable::findPairEitherWay(const QString &first, const QString &second) const
{
    const int r = FindItemByPair(first, second);
    return r >= 0 ? r : FindItemByPair(second, first);
}

QStringList LogTable::GetItemCaptions() const
{
    QStringList captions;
    captions.reserve(count());
    for (const LogRow &row : m_rows) {
        if (!row.cells.isEmpty() && !row.cells[0].isEmpty())
            captions.append(row.cells[0]);
    }
    return captions;
}

// --- sorting ---

std::vector<int> LogTable::sortedOrder(int column, bool ascending,
                                       const RegionalSettings &regional) const
{
    const int n = count();
    // Each distinct text is read once (dates, codes and times repeat a lot) ...
    QHash<QString, int> distinctOf;
    std::vector<const QString *> texts;
    std::vector<int> distinctOfRow(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) {
        const QString &text = m_rows[size_t(r)].cells[column];
        auto it = distinctOf.constFind(text);
        if (it == distinctOf.constEnd())
            it = distinctOf.insert(text, int(texts.size())), texts.push_back(&text);
        distinctOfRow[size_t(r)] = it.value();
    }
    std::vector<CellSortKey> keys;
    keys.reserve(texts.size());
    for (const QString *text : texts)
        keys.push_back(CellSortKey::of(*text, regional));
    const QCollator collator = MakeCellCollator(regional);
    const auto compare = [&](int a, int b) {
        if (OnCustomSort) {
            int res = 0;
            if (OnCustomSort(column, *texts[size_t(a)], *texts[size_t(b)], res))
                return res;
        }
        return CompareCellKeys(*texts[size_t(a)], keys[size_t(a)], *texts[size_t(b)],
                               keys[size_t(b)], collator);
    };

    // ... the distinct texts are put in order and ranked, texts that compare equal sharing a
    // rank ...
    std::vector<int> distinctOrder(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        distinctOrder[i] = int(i);
    StableMergeSort(distinctOrder, [&](int a, int b) {
        const int c = compare(a, b);
        return ascending ? c < 0 : c > 0;
    });
    std::vector<int> rankOf(texts.size());
    int rank = 0;
    for (size_t i = 0; i < distinctOrder.size(); ++i) {
        if (i > 0 && compare(distinctOrder[i - 1], distinctOrder[i]) != 0)
            ++rank;
        rankOf[size_t(distinctOrder[i])] = rank;
    }

    // ... and the rows follow their ranks, keeping their order within a rank (stable).
    std::vector<int> firstOfRank(size_t(rank) + 2, 0);
    for (int r = 0; r < n; ++r)
        ++firstOfRank[size_t(rankOf[size_t(distinctOfRow[size_t(r)])]) + 1];
    for (size_t i = 1; i < firstOfRank.size(); ++i)
        firstOfRank[i] += firstOfRank[i - 1];
    std::vector<int> order(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r)
        order[size_t(firstOfRank[size_t(rankOf[size_t(distinctOfRow[size_t(r)])])]++)] = r;
    return order;
}

void LogTable::markDisplaced(int r)
{
    if (!m_orderKnown)
        return;
    // Beyond a few displaced rows a full sort is as quick as placing them one by one.
    if (m_displaced.size() >= std::max<size_t>(64, m_rows.size() / 256))
        forgetOrder();
    else
        m_displaced.push_back(r);
}

void LogTable::forgetOrder()
{
    m_orderKnown = false;
    m_displaced.clear();
}

int LogTable::compareRows(int a, int b, const std::vector<SortKey> &keys,
                          const RegionalSettings &regional) const
{
    for (const SortKey &key : keys) {
        const QString &ta = m_rows[size_t(a)].cells[key.column];
        const QString &tb = m_rows[size_t(b)].cells[key.column];
        int c = 0;
        if (!OnCustomSort || !OnCustomSort(key.column, ta, tb, c))
            c = CompareCellTexts(ta, tb, regional);
        if (c != 0)
            return key.ascending ? c : -c;
    }
    return 0;
}

std::vector<int> LogTable::orderPlacingDisplaced(const std::vector<SortKey> &keys,
                                                 const RegionalSettings &regional) const
{
    std::vector<int> displaced = m_displaced;
    std::sort(displaced.begin(), displaced.end());
    displaced.erase(std::unique(displaced.begin(), displaced.end()), displaced.end());
    std::vector<int> base;
    base.reserve(m_rows.size());
    for (int r = 0, d = 0; r < count(); ++r) {
        if (d < int(displaced.size()) && displaced[size_t(d)] == r)
            ++d;
        else
            base.push_back(r);
    }
    // Rows that compare equal keep their present order, as in a full stable sort.
    const auto before = [&](int a, int b) {
        const int c = compareRows(a, b, keys, regional);
        return c != 0 ? c < 0 : a < b;
    };
    StableMergeSort(displaced, before);
    std::vector<int> order;
    order.reserve(m_rows.size());
    auto from = base.begin();
    for (int d : displaced) {
        const auto at = std::partition_point(from, base.end(), [&](int b) { return before(b, d); });
        order.insert(order.end(), from, at);
        order.push_back(d);
        from = at;
    }
    order.insert(order.end(), from, base.end());
    return order;
}

void LogTable::SortByKeys(const std::vector<SortKey> &keys, const RegionalSettings &regional)
{
    if (columnTotal() == 0 || keys.empty())
        return;
    for (const SortKey &key : keys) {
        if (key.column < 0 || key.column >= columnTotal())
            return;
    }
    m_lastSortIndex = keys.front().column;
    m_lastSortAscending = keys.front().ascending;
    emit sortStateChanged(m_lastSortIndex, m_lastSortAscending);
    const bool placeOnly = m_orderKnown && m_orderKeys == keys && !OnCustomSort &&
                           &regional == &RegionalSettings::system();
    if (placeOnly) {
        if (!m_displaced.empty())
            reorder(orderPlacingDisplaced(keys, regional));
    } else if (count() > 1) {
        // Stable passes from the last key to the first.
        for (auto key = keys.rbegin(); key != keys.rend(); ++key)
            reorder(sortedOrder(key->column, key->ascending, regional));
    }
    m_orderKnown = &regional == &RegionalSettings::system();
    m_orderKeys = keys;
    m_displaced.clear();
}

void LogTable::Sort(int column, bool ascending, const RegionalSettings &regional)
{
    SortByKeys({{column, ascending}}, regional);
}

void LogTable::SortAsIs(const RegionalSettings &regional)
{
    if (m_lastSortIndex >= 0)
        Sort(m_lastSortIndex, m_lastSortAscending, regional);
}

void LogTable::applyOrder(const std::vector<int> &order)
{
    if (order.size() != m_rows.size())
        return;
    std::vector<bool> seen(order.size(), false);
    for (int r : order) {
        if (r < 0 || r >= count() || seen[size_t(r)])
            return;
        seen[size_t(r)] = true;
    }
    forgetOrder();
    reorder(order);
}

void LogTable::reorder(const std::vector<int> &order)
{
    if (order.size() != m_rows.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newPosition(order.size());
    std::vector<LogRow> reordered;
    reordered.reserve(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        reordered.push_back(std::move(m_rows[size_t(order[i])]));
        newPosition[size_t(order[i])] = int(i);
    }
    m_rows = std::move(reordered);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &idx : before)
        after.append(index(newPosition[size_t(idx.row())], idx.column()));
    changePersistentIndexList(before, after);
    remapIndexes(newPosition);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// --- model ---

int LogTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int LogTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnTotal();
}

QVariant LogTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    return cell(index.row(), index.column());
}

QVariant LogTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnTotal())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_columns[section].caption;
    return QVariant();
}
