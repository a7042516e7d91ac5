#include "model/LogTable.h"

#include "model/CellCompare.h"
#include "model/StableSort.h"
#include "model/StorableText.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace
{

QList<LogColumn> makeColumns(std::initializer_list<std::pair<const char *, int>> list)
{
    QList<LogColumn> columns;
    for (const auto &[caption, width] : list)
        columns.append({QString::fromLatin1(caption), width});
    return columns;
}

// The collator of the cell comparison for a locale, made once: making one costs far more than
// the few comparisons that place an added row. One per thread: a collator is not shared.
const QCollator &cellCollator(const RegionalSettings &regional)
{
    thread_local QLocale locale;
    thread_local std::optional<QCollator> collator;
    if (!collator || locale != regional.locale) {
        locale = regional.locale;
        collator = MakeCellCollator(regional);
    }
    return *collator;
}

// Beyond this many separate blocks of rows, a removal resets the model instead of signalling
// each block (each block would move the rows below it once more).
constexpr qsizetype kMaxRemovedBlocks = 32;

} // namespace

LogTable::LogTable(TableKind kind, QObject *parent)
    : QAbstractTableModel(parent), m_kind(kind), m_columns(columnsOf(kind))
{
    initStorage();
}

LogTable::LogTable(const QList<LogColumn> &columns, QObject *parent)
    : QAbstractTableModel(parent), m_kind(TableKind::Other), m_columns(columns)
{
    initStorage();
}

LogTable::~LogTable() = default;

void LogTable::initStorage()
{
    m_pool = std::make_shared<TextPool>();
    m_cells.resize(size_t(m_columns.size()));
    m_indexes.resize(size_t(m_columns.size()));
}

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

// --- rows ---

LogRow LogTable::row(int r) const
{
    LogRow row;
    if (r < 0 || r >= count())
        return row;
    row.cells.reserve(columnTotal());
    for (int c = 0; c < columnTotal(); ++c)
        row.cells.append(m_pool->text(cellId(r, c)));
    const qint32 references = hasUsage() ? m_counts[size_t(r)] : 0;
    switch (m_kind) {
    case TableKind::Airlines:
        row.Data = TAirlineData{references};
        break;
    case TableKind::Airports:
        row.Data = TAirportData{references};
        break;
    case TableKind::Distances:
        row.Data = TDistanceData{references};
        break;
    case TableKind::Flights:
    case TableKind::Other:
        break;
    }
    return row;
}

QString LogTable::cell(int r, int c) const
{
    if (r < 0 || r >= count() || c < 0 || c >= columnTotal())
        return QString();
    return m_pool->text(cellId(r, c));
}

void LogTable::setCell(int r, int c, const QString &text)
{
    if (r < 0 || r >= count() || c < 0 || c >= columnTotal())
        return;
    setCellId(r, c, m_pool->intern(StorableText(text)));
}

void LogTable::setCellId(int r, int c, Id id)
{
    Id &stored = m_cells[size_t(c)][size_t(r)];
    if (stored == id)
        return;
    const Id old = stored;
    stored = id;
    if (m_handles.active()) {
        const RowHandles::Handle handle = m_handles.of(r);
        if (KeyIndex *index = builtIndex(c)) {
            const Id partner = partnerOf(r, c);
            index->remove(old, partner, handle);
            index->add(id, partner, handle);
        }
        if (c == 1) {
            if (KeyIndex *index = builtIndex(0))
                index->setPartner(cellId(r, 0), handle, old, id);
        }
    }
    markDisplaced(r);
    const QModelIndex at = index(r, c);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

int LogTable::appendRow(QStringList cells)
{
    cells.resize(columnTotal());
    std::vector<Id> ids(static_cast<size_t>(columnTotal()));
    for (int c = 0; c < columnTotal(); ++c)
        ids[size_t(c)] = m_pool->intern(StorableText(cells[c]));
    return appendStoredRow(ids.data());
}

int LogTable::appendRowIds(const Id *ids)
{
    return appendStoredRow(ids);
}

void LogTable::setRowIds(int r, const Id *ids)
{
    if (r < 0 || r >= count())
        return;
    for (int c = 0; c < columnTotal(); ++c)
        setCellId(r, c, ids[c]);
}

int LogTable::appendStoredRow(const Id *ids)
{
    const int r = count();
    if (!m_bulkLoading)
        beginInsertRows(QModelIndex(), r, r);
    for (int c = 0; c < columnTotal(); ++c)
        m_cells[size_t(c)].push_back(ids[c]);
    if (m_handles.active()) {
        const RowHandles::Handle handle = m_handles.appended(r);
        for (int c = 0; c < columnTotal(); ++c) {
            if (KeyIndex *index = builtIndex(c))
                index->add(ids[c], partnerOf(r, c), handle);
        }
    }
    if (hasUsage())
        m_counts.push_back(0);
    ++m_rowCount;
    markDisplaced(r);
    if (!m_bulkLoading)
        endInsertRows();
    return r;
}

void LogTable::reserveRows(int rows)
{
    for (KeptVector<Id> &column : m_cells)
        column.reserve(size_t(rows));
    if (hasUsage())
        m_counts.reserve(size_t(rows));
}

int LogTable::reservedRows() const
{
    return m_cells.empty() ? 0 : int(m_cells.front().capacity());
}

void LogTable::removeRowAt(int r)
{
    removeRowsAt({r});
}

void LogTable::eraseRows(int first, int last)
{
    for (KeptVector<Id> &column : m_cells)
        column.erase(column.begin() + first, column.begin() + last + 1);
    if (hasUsage())
        m_counts.erase(m_counts.begin() + first, m_counts.begin() + last + 1);
    m_rowCount -= last - first + 1;
}

void LogTable::removeRowsAt(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.removeIf([this](int r) { return r < 0 || r >= count(); });
    if (rows.isEmpty())
        return;
    // The indexes forget the rows that go; the others keep their handles.
    if (m_handles.active()) {
        for (int r : rows) {
            for (int c = 0; c < columnTotal(); ++c) {
                if (KeyIndex *index = builtIndex(c))
                    index->remove(cellId(r, c), partnerOf(r, c), m_handles.of(r));
            }
        }
    }
    // The blocks of consecutive rows, from the bottom so that the indices above stay valid.
    QList<std::pair<int, int>> blocks;
    for (qsizetype i = rows.size() - 1; i >= 0;) {
        qsizetype j = i;
        while (j > 0 && rows[j - 1] == rows[j] - 1)
            --j;
        blocks.append({rows[j], rows[i]});
        i = j - 1;
    }
    if (blocks.size() <= kMaxRemovedBlocks) {
        for (const auto &[first, last] : blocks) {
            beginRemoveRows(QModelIndex(), first, last);
            eraseRows(first, last);
            // Lookups made when the view hears of the removal find the rows where they now are.
            if (m_handles.active()) {
                std::vector<int> gone(size_t(last - first + 1));
                std::iota(gone.begin(), gone.end(), first);
                m_handles.removed(gone);
            }
            endRemoveRows();
        }
    } else {
        // One pass over the rows that stay, instead of moving the rows below each block.
        beginResetModel();
        std::vector<bool> removed(size_t(count()), false);
        for (int r : rows)
            removed[size_t(r)] = true;
        const auto compact = [&](auto &values) {
            size_t kept = 0;
            for (size_t r = 0; r < values.size(); ++r) {
                if (!removed[r])
                    values[kept++] = values[r];
            }
            values.resize(kept);
        };
        for (KeptVector<Id> &column : m_cells)
            compact(column);
        if (hasUsage())
            compact(m_counts);
        m_rowCount -= int(rows.size());
        if (m_handles.active())
            m_handles.removed(std::span<const int>(rows.constData(), size_t(rows.size())));
        endResetModel();
    }
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
    // Inside a bulk load the model is being reset already.
    if (!m_bulkLoading)
        beginResetModel();
    for (KeptVector<Id> &column : m_cells)
        KeptVector<Id>().swap(column);
    KeptVector<qint32>().swap(m_counts);
    m_rowCount = 0;
    m_displaced.clear();
    dropIndexes();
    if (!m_bulkLoading)
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

bool LogTable::setTextPool(std::shared_ptr<TextPool> pool)
{
    if (!isEmpty() || !pool)
        return false;
    m_pool = std::move(pool);
    dropIndexes();
    return true;
}

// --- usage objects ---

qint32 LogTable::referenceCount(int r) const
{
    if (r < 0 || r >= count() || !hasUsage())
        return 0;
    return m_counts[size_t(r)];
}

void LogTable::setReferenceCount(int r, qint32 value)
{
    if (r >= 0 && r < count() && hasUsage())
        m_counts[size_t(r)] = value;
}

void LogTable::resetReferenceCounts()
{
    std::fill(m_counts.begin(), m_counts.end(), 0);
}

// --- lookups ---

void LogTable::dropIndexes()
{
    for (std::unique_ptr<KeyIndex> &index : m_indexes)
        index.reset();
    m_handles.stop();
}

KeyIndex *LogTable::builtIndex(int column) const
{
    KeyIndex *index = m_indexes[size_t(column)].get();
    return index && index->state.built() ? index : nullptr;
}

KeyIndex &LogTable::keyIndex(int column) const
{
    std::unique_ptr<KeyIndex> &index = m_indexes[size_t(column)];
    if (!index)
        index = std::make_unique<KeyIndex>();
    return *index;
}

LogTable::Id LogTable::partnerOf(int r, int column) const
{
    return column == 0 && columnTotal() >= 2 ? cellId(r, 1) : TextPool::kEmpty;
}

void LogTable::buildIndex(int column) const
{
    if (!m_handles.active())
        m_handles.start(count());
    const KeptVector<Id> &keys = m_cells[size_t(column)];
    std::span<const Id> partners;
    if (column == 0 && columnTotal() >= 2)
        partners = m_cells[1];
    keyIndex(column).build(keys, partners, m_handles);
}

int LogTable::findId(Id id, int column) const
{
    if (column < 0 || column >= columnTotal())
        return -1;
    KeyIndex &index = keyIndex(column);
    if (!index.state.built()) {
        if (!index.state.shouldBuild()) {
            const KeptVector<Id> &ids = m_cells[size_t(column)];
            const auto it = std::find(ids.begin(), ids.end(), id);
            return it == ids.end() ? -1 : int(it - ids.begin());
        }
        buildIndex(column);
    }
    return index.first(id, m_handles);
}

int LogTable::findPairIds(Id first, Id second) const
{
    if (columnTotal() < 2)
        return -1;
    KeyIndex &index = keyIndex(0);
    if (!index.state.built()) {
        if (!index.state.shouldBuild()) {
            const KeptVector<Id> &a = m_cells[0];
            const KeptVector<Id> &b = m_cells[1];
            for (size_t r = 0; r < a.size(); ++r) {
                if (a[r] == first && b[r] == second)
                    return int(r);
            }
            return -1;
        }
        buildIndex(0);
    }
    return index.first(first, second, m_handles);
}

int LogTable::FindItemByText(const QString &text, int column) const
{
    if (column < -1 || column >= columnTotal())
        return -1;
    // A text that is not in the pool is in no cell.
    const qint64 id = m_pool->find(text);
    if (id < 0)
        return -1;
    if (column >= 0)
        return findId(Id(id), column);
    // Any cell: the first cell is tried first, then the sub-cells in order.
    for (int r = 0; r < count(); ++r) {
        for (int c = 0; c < columnTotal(); ++c) {
            if (cellId(r, c) == Id(id))
                return r;
        }
    }
    return -1;
}

int LogTable::FindItemByPair(const QString &first, const QString &second) const
{
    if (columnTotal() < 2)
        return -1;
    const qint64 a = m_pool->find(first);
    const qint64 b = a < 0 ? -1 : m_pool->find(second);
    if (b < 0)
        return -1;
    return findPairIds(Id(a), Id(b));
}

int LogTable::findPairEitherWay(const QString &first, const QString &second) const
{
    const int r = FindItemByPair(first, second);
    return r >= 0 ? r : FindItemByPair(second, first);
}

QStringList LogTable::GetItemCaptions() const
{
    QStringList captions;
    if (columnTotal() == 0)
        return captions;
    captions.reserve(count());
    for (Id id : m_cells[0]) {
        if (id != TextPool::kEmpty)
            captions.append(m_pool->text(id));
    }
    return captions;
}

// --- sorting ---

namespace
{

// The rank of each text along its sorted order: the next rank wherever a text differs from
// the one before it, the same rank for texts that do not.
template <typename Differ>
std::vector<int> ranksAlong(const std::vector<int> &order, const Differ &differ)
{
    std::vector<int> rankOf(order.size());
    int rank = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && differ(order[i - 1], order[i]))
            ++rank;
        rankOf[size_t(order[i])] = rank;
    }
    return rankOf;
}

// The ranks of values, equal values sharing a rank.
template <typename T> std::vector<int> ranksOfValues(const std::vector<T> &values, bool ascending)
{
    std::vector<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&values, ascending](int a, int b) {
        return ascending ? values[size_t(a)] < values[size_t(b)]
                         : values[size_t(b)] < values[size_t(a)];
    });
    return ranksAlong(order,
                      [&values](int a, int b) { return values[size_t(a)] != values[size_t(b)]; });
}

// The ranks of texts that are all dates and times, or all numbers: their values order them as
// comparing the texts would, without a comparison of keys. Empty when the texts are anything
// else.
std::vector<int> ranksByValue(const std::vector<CellSortKey> &keys, bool ascending)
{
    if (keys.empty())
        return {};
    const bool dates = keys.front().dateTime.has_value();
    std::vector<double> values;
    values.reserve(keys.size());
    for (const CellSortKey &key : keys) {
        const std::optional<double> value =
            dates ? key.dateTime : (key.dateTime ? std::nullopt : key.number);
        if (!value || !std::isfinite(*value))
            return {};
        values.push_back(*value);
    }
    return ranksOfValues(values, ascending);
}

// The ranks of `count` texts put in order by a comparison that orders them strictly (equal
// texts compare equal with the same texts).
template <typename Compare>
std::vector<int> ranksInOrder(size_t count, const Compare &compare, bool ascending)
{
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = compare(a, b);
        return ascending ? c < 0 : c > 0;
    });
    return ranksAlong(order, [&compare](int a, int b) { return compare(a, b) != 0; });
}

// Texts of one shape (the same length, the same signs, no letters, at the same places and
// digits elsewhere, as dates and times written alike) collate as their digits compare, read
// as one number: their values, or nothing when the texts are not all of one shape or hold
// too many digits for a number.
std::vector<quint64> digitShapeValues(const std::vector<const QString *> &texts)
{
    constexpr qsizetype kMaxDigits = 19;
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    const auto isSign = [](char16_t c) {
        return c >= 0x20 && c <= 0x7e && !(c >= u'a' && c <= u'z') && !(c >= u'A' && c <= u'Z');
    };
    const QString &first = *texts.front();
    if (std::count_if(first.begin(), first.end(), [&](QChar c) { return isDigit(c.unicode()); }) >
        kMaxDigits)
        return {};
    std::vector<quint64> values;
    values.reserve(texts.size());
    for (const QString *text : texts) {
        if (text->size() != first.size())
            return {};
        quint64 value = 0;
        for (qsizetype i = 0; i < first.size(); ++i) {
            const char16_t c = text->at(i).unicode();
            const char16_t f = first.at(i).unicode();
            if (isDigit(f) && isDigit(c))
                value = value * 10 + (c - u'0');
            else if (isDigit(f) || c != f || !isSign(c))
                return {};
        }
        values.push_back(value);
    }
    return values;
}

// The ranks of texts that no two compare as dates, numbers or dotted numbers: their collation
// keys alone order them. Empty when some do.
std::vector<int> ranksByCollation(const std::vector<const QString *> &texts,
                                  const std::vector<CellSortKey> &keys, const QCollator &collator,
                                  bool ascending)
{
    int dates = 0, numbers = 0, dotted = 0;
    for (const CellSortKey &key : keys) {
        dates += key.dateTime.has_value();
        numbers += key.number.has_value();
        if (key.dotted == CellSortKey::Dotted::Broken)
            return {};
        dotted += key.dotted == CellSortKey::Dotted::Yes;
    }
    if (dates > 1 || numbers > 1 || dotted > 1)
        return {};
    const std::vector<quint64> digits = digitShapeValues(texts);
    if (!digits.empty())
        return ranksOfValues(digits, ascending);
    // Case is folded before collation, as the comparison of two cells does.
    std::vector<QCollatorSortKey> collation;
    collation.reserve(texts.size());
    for (const QString *text : texts)
        collation.push_back(collator.sortKey(text->toCaseFolded()));
    return ranksInOrder(
        texts.size(),
        [&collation](int a, int b) { return collation[size_t(a)].compare(collation[size_t(b)]); },
        ascending);
}

// The ranks of texts put in order by any comparison of cells, texts that compare equal sharing
// a rank.
template <typename Compare>
std::vector<int> ranksByComparison(const std::vector<const QString *> &texts,
                                   const Compare &compare, bool ascending)
{
    // Dates, numbers and texts mixed in a column can compare in a circle (2023.01 > 203 as
    // numbers, 203 > 2024-01-04 > 2023.01,05 as texts), and then a sort's result depends on
    // the order it starts from. Starting from the texts' own order, the result depends on the
    // texts alone: a log sorted, saved and read again keeps its rows in the same order.
    const size_t count = texts.size();
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&texts](int a, int b) { return *texts[size_t(a)] < *texts[size_t(b)]; });
    StableMergeSort(order, [&](int a, int b) {
        const int c = compare(a, b);
        return ascending ? c < 0 : c > 0;
    });
    return ranksAlong(order, [&compare](int a, int b) { return compare(a, b) != 0; });
}

} // namespace

// One stable pass by one key over the rows in `order`: each distinct text of the column is
// read and ranked once (dates, codes and times repeat a lot), then the rows follow their
// ranks, keeping their order within a rank.
void LogTable::rankPass(LargeVector<int> &order, const SortKey &key,
                        const RegionalSettings &regional) const
{
    const KeptVector<Id> &ids = m_cells[size_t(key.column)];
    const size_t n = order.size();
    // The distinct texts in the order they first appear, as the rows stand now.
    std::vector<int> slotOfId(m_pool->size(), -1);
    std::vector<Id> distinct;
    LargeVector<int> slotAt(n);
    for (size_t i = 0; i < n; ++i) {
        const Id id = ids[size_t(order[i])];
        int &slot = slotOfId[id];
        if (slot < 0) {
            slot = int(distinct.size());
            distinct.push_back(id);
        }
        slotAt[i] = slot;
    }
    std::vector<const QString *> texts;
    std::vector<CellSortKey> keys;
    texts.reserve(distinct.size());
    keys.reserve(distinct.size());
    for (Id id : distinct) {
        texts.push_back(&m_pool->text(id));
        keys.push_back(CellSortKey::of(*texts.back(), regional));
    }
    std::vector<int> rankOf = OnCustomSort ? std::vector<int>() : ranksByValue(keys, key.ascending);
    if (rankOf.empty() && !distinct.empty() && !OnCustomSort)
        rankOf = ranksByCollation(texts, keys, cellCollator(regional), key.ascending);
    if (rankOf.empty() && !distinct.empty()) {
        const QCollator &collator = cellCollator(regional);
        const auto compare = [&](int a, int b) {
            const QString &ta = *texts[size_t(a)];
            const QString &tb = *texts[size_t(b)];
            if (OnCustomSort) {
                int res = 0;
                if (OnCustomSort(key.column, ta, tb, res))
                    return res;
            }
            return CompareCellKeys(ta, keys[size_t(a)], tb, keys[size_t(b)], collator);
        };
        rankOf = ranksByComparison(texts, compare, key.ascending);
    }
    const int rank = rankOf.empty() ? 0 : *std::max_element(rankOf.begin(), rankOf.end());

    // A counting sort of the rows by rank, stable.
    std::vector<int> firstOfRank(size_t(rank) + 2, 0);
    for (size_t i = 0; i < n; ++i)
        ++firstOfRank[size_t(rankOf[size_t(slotAt[i])]) + 1];
    for (size_t i = 1; i < firstOfRank.size(); ++i)
        firstOfRank[i] += firstOfRank[i - 1];
    LargeVector<int> sorted(n);
    for (size_t i = 0; i < n; ++i)
        sorted[size_t(firstOfRank[size_t(rankOf[size_t(slotAt[i])])]++)] = order[i];
    order = std::move(sorted);
}

LargeVector<int> LogTable::sortedOrder(const std::vector<SortKey> &keys,
                                       const RegionalSettings &regional) const
{
    LargeVector<int> order(static_cast<size_t>(count()));
    std::iota(order.begin(), order.end(), 0);
    // Stable passes from the last key to the first.
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        rankPass(order, *key, regional);
    return order;
}

void LogTable::markDisplaced(int r)
{
    if (!m_orderKnown)
        return;
    // Beyond a few displaced rows a full sort is as quick as placing them one by one.
    if (m_displaced.size() >= std::max<size_t>(64, size_t(count()) / 256))
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
    const QCollator &collator = cellCollator(regional);
    for (const SortKey &key : keys) {
        const QString &ta = m_pool->text(cellId(a, key.column));
        const QString &tb = m_pool->text(cellId(b, key.column));
        int c = 0;
        if (!OnCustomSort || !OnCustomSort(key.column, ta, tb, c))
            c = CompareCellKeys(ta, CellSortKey::of(ta, regional), tb,
                                CellSortKey::of(tb, regional), collator);
        if (c != 0)
            return key.ascending ? c : -c;
    }
    return 0;
}

void LogTable::placeDisplaced(const std::vector<SortKey> &keys, const RegionalSettings &regional)
{
    std::vector<int> displaced = m_displaced;
    std::sort(displaced.begin(), displaced.end());
    displaced.erase(std::unique(displaced.begin(), displaced.end()), displaced.end());
    // Rows that compare equal keep their present order, as in a full stable sort.
    const auto before = [&](int a, int b) {
        const int c = compareRows(a, b, keys, regional);
        return c != 0 ? c < 0 : a < b;
    };
    if (displaced.size() == 1) {
        // One row: find its place among the others by binary search and move it there.
        const int d = displaced.front();
        const auto other = [d](int i) { return i < d ? i : i + 1; };
        int low = 0, high = count() - 1; // positions among the other rows
        while (low < high) {
            const int mid = low + (high - low) / 2;
            if (before(other(mid), d))
                low = mid + 1;
            else
                high = mid;
        }
        moveRow(d, low);
        return;
    }
    LargeVector<int> base;
    base.reserve(size_t(count()));
    for (int r = 0, d = 0; r < count(); ++r) {
        if (d < int(displaced.size()) && displaced[size_t(d)] == r)
            ++d;
        else
            base.push_back(r);
    }
    StableMergeSort(displaced, before);
    LargeVector<int> order;
    order.reserve(size_t(count()));
    auto from = base.begin();
    for (int d : displaced) {
        const auto at = std::partition_point(from, base.end(), [&](int b) { return before(b, d); });
        order.insert(order.end(), from, at);
        order.push_back(d);
        from = at;
    }
    order.insert(order.end(), from, base.end());
    reorder(order);
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
            placeDisplaced(keys, regional);
    } else if (count() > 1) {
        reorder(sortedOrder(keys, regional));
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
    if (order.size() != size_t(count()))
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

void LogTable::reorder(std::span<const int> order)
{
    if (order.size() != size_t(count()))
        return;
    bool unchanged = true;
    for (size_t i = 0; i < order.size() && unchanged; ++i)
        unchanged = order[i] == int(i);
    if (unchanged)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    // The columns keep the room they had, so the next rows appended do not move them.
    KeptVector<Id> reordered;
    reordered.reserve(std::max(order.size(), size_t(reservedRows())));
    reordered.resize(order.size());
    for (KeptVector<Id> &column : m_cells) {
        for (size_t i = 0; i < order.size(); ++i)
            reordered[i] = column[size_t(order[i])];
        column.swap(reordered);
    }
    if (hasUsage()) {
        KeptVector<qint32> counts;
        counts.reserve(std::max(order.size(), m_counts.capacity()));
        counts.resize(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            counts[i] = m_counts[size_t(order[i])];
        m_counts.swap(counts);
    }
    if (m_handles.active())
        m_handles.reordered(order);
    if (!before.isEmpty()) {
        std::vector<int> newPosition(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            newPosition[size_t(order[i])] = int(i);
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex &idx : before)
            after.append(index(newPosition[size_t(idx.row())], idx.column()));
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void LogTable::moveRow(int from, int to)
{
    if (from == to)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    const auto rotate = [from, to](auto &values) {
        if (from < to)
            std::rotate(values.begin() + from, values.begin() + from + 1, values.begin() + to + 1);
        else
            std::rotate(values.begin() + to, values.begin() + from, values.begin() + from + 1);
    };
    for (KeptVector<Id> &column : m_cells)
        rotate(column);
    if (hasUsage())
        rotate(m_counts);
    if (m_handles.active())
        m_handles.moved(from, to);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &idx : before) {
        int r = idx.row();
        if (r == from)
            r = to;
        else if (from < to && r > from && r <= to)
            --r;
        else if (to < from && r >= to && r < from)
            ++r;
        after.append(index(r, idx.column()));
    }
    changePersistentIndexList(before, after);
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
