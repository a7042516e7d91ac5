#pragma once

#include "model/LargeArray.h"
#include "model/LogRow.h"
#include "model/LookupIndex.h"
#include "model/RegionalSettings.h"
#include "model/TextPool.h"

#include <QAbstractTableModel>
#include <QList>
#include <functional>
#include <memory>
#include <span>
#include <vector>

enum class TableKind { Flights, Airlines, Airports, Distances, Other };

struct LogColumn {
    QString caption;
    int width = 100;
};

// Optional comparison that replaces the built-in one for the pairs it handles: it returns
// true (handled) and sets res, or returns false to let the built-in comparison decide.
using TLumOnCustomSort =
    std::function<bool(int columnIndex, const QString &str1, const QString &str2, int &res)>;

// One table of the log. The rows are stored in display order, and this one model is shared by
// the view, the log file reader and writer, the lookups and the importers.
//
// A cell holds the id of its text in the table's text pool (shared by the four tables of a
// log), column by column: a row costs a few bytes, and lookups, sorts and reference counts
// compare ids instead of texts.
class LogTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    using Id = TextPool::Id;

    explicit LogTable(TableKind kind, QObject *parent = nullptr);
    LogTable(const QList<LogColumn> &columns, QObject *parent = nullptr);
    ~LogTable() override;

    static QList<LogColumn> columnsOf(TableKind kind);

    TableKind kind() const { return m_kind; }
    const QList<LogColumn> &columns() const { return m_columns; }
    int columnTotal() const { return int(m_columns.size()); }
    // The index of the column with this caption, or -1.
    int columnIndex(const QString &caption) const;

    // --- rows ---
    int count() const { return m_rowCount; }
    bool isEmpty() const { return m_rowCount == 0; }
    // A copy of a row: its texts and usage object.
    LogRow row(int r) const;
    // The text of a cell; empty for a row or column that does not exist.
    QString cell(int r, int c) const;
    // Sets a cell. A character that a log file cannot carry becomes a blank (StorableText).
    void setCell(int r, int c, const QString &text);
    // Appends a row (cells padded or cut to the column count, made storable as setCell does)
    // with a fresh usage object for the reference tables. Returns its index.
    int appendRow(QStringList cells);
    void removeRowAt(int r);
    // Removes the rows at these indices (any order, duplicates ignored).
    void removeRowsAt(QList<int> rows);
    // Removes every row and its usage object.
    void clear();

    // Rows appended between these two calls cause one model reset instead of a signal per row.
    void beginBulkLoad();
    void endBulkLoad();

    // --- the text pool and the ids of the cells (the fast paths of the reader and writer) ---
    TextPool &textPool() { return *m_pool; }
    const TextPool &textPool() const { return *m_pool; }
    const std::shared_ptr<TextPool> &sharedTextPool() const { return m_pool; }
    // Gives the table another pool; only an empty table takes one (returns whether it did).
    bool setTextPool(std::shared_ptr<TextPool> pool);
    Id cellId(int r, int c) const { return m_cells[size_t(c)][size_t(r)]; }
    const KeptVector<Id> &columnIds(int c) const { return m_cells[size_t(c)]; }
    // Appends a row of ids of this table's pool, one per column, taken as they are.
    int appendRowIds(const Id *ids);
    // Overwrites row r with ids of this table's pool, one per column (the cells that change
    // signal as setCell does).
    void setRowIds(int r, const Id *ids);
    // Room for this many rows in all, so that appending up to them never moves the cells.
    void reserveRows(int rows);
    int reservedRows() const;

    // --- usage objects ---
    bool hasUsage() const
    {
        return m_kind == TableKind::Airlines || m_kind == TableKind::Airports ||
               m_kind == TableKind::Distances;
    }
    qint32 referenceCount(int r) const;
    void setReferenceCount(int r, qint32 value);
    // Nothing for a row that does not exist (r = -1: a lookup found none).
    void addReference(int r, qint32 delta)
    {
        if (r >= 0 && r < count() && hasUsage())
            m_counts[size_t(r)] += delta;
    }
    void resetReferenceCounts();

    // --- lookups: exact, case-sensitive, first row in table order ---
    int FindItemByText(const QString &text, int column) const;
    int FindItemByPair(const QString &first, const QString &second) const;
    // A pair in either orientation: (first, second), failing that (second, first).
    int findPairEitherWay(const QString &first, const QString &second) const;
    QStringList GetItemCaptions() const;
    // The same lookups by ids of this table's pool.
    int findId(Id id, int column) const;
    int findPairIds(Id first, Id second) const;

    // --- sorting ---
    TLumOnCustomSort OnCustomSort;
    int LastSortIndex() const { return m_lastSortIndex; }
    bool LastSortAscending() const { return m_lastSortAscending; }
    // Sorts the rows by a column (stable), remembering the column and direction.
    void Sort(int column, bool ascending,
              const RegionalSettings &regional = RegionalSettings::system());

    struct SortKey {
        int column;
        bool ascending;
        bool operator==(const SortKey &) const = default;
    };
    // Sorts by several keys at once, the first deciding first: the same order as stable
    // single-column sorts by the keys from last to first. The first key is remembered.
    void SortByKeys(const std::vector<SortKey> &keys,
                    const RegionalSettings &regional = RegionalSettings::system());
    // Repeats the remembered sort; nothing when there was none.
    void SortAsIs(const RegionalSettings &regional = RegionalSettings::system());
    // Reorders the rows: order[i] is the old index of the row that goes to position i. An order
    // that is not a permutation of the rows is refused.
    void applyOrder(const std::vector<int> &order);

    // --- model ---
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // The remembered sort column or direction changed (the header arrow follows it).
    void sortStateChanged(int column, bool ascending);

private:
    void initStorage();
    void setCellId(int r, int c, Id id);
    int appendStoredRow(const Id *ids);
    void dropIndexes();
    void eraseRows(int first, int last);
    KeyIndex *builtIndex(int column) const;
    KeyIndex &keyIndex(int column) const;
    void buildIndex(int column) const;
    Id partnerOf(int r, int column) const;
    LargeVector<int> sortedOrder(const std::vector<SortKey> &keys,
                                 const RegionalSettings &regional) const;
    void rankPass(LargeVector<int> &order, const SortKey &key,
                  const RegionalSettings &regional) const;
    int compareRows(int a, int b, const std::vector<SortKey> &keys,
                    const RegionalSettings &regional) const;
    void placeDisplaced(const std::vector<SortKey> &keys, const RegionalSettings &regional);
    void reorder(std::span<const int> order);
    void moveRow(int from, int to);
    void markDisplaced(int r);
    void forgetOrder();

    TableKind m_kind;
    QList<LogColumn> m_columns;
    std::shared_ptr<TextPool> m_pool;
    std::vector<KeptVector<Id>> m_cells; // m_cells[column][row]
    KeptVector<qint32> m_counts;         // ReferenceCount of each row, for the usage tables
    int m_rowCount = 0;
    bool m_bulkLoading = false;
    int m_lastSortIndex = -1;
    bool m_lastSortAscending = true;

    // What is known of the rows' order since the last sort: with m_orderKnown, every row but
    // the displaced ones (appended or changed since) is in the order of m_orderKeys. A sort by
    // the same keys then only places the displaced rows instead of sorting everything again.
    bool m_orderKnown = false;
    std::vector<SortKey> m_orderKeys;
    std::vector<int> m_displaced;

    // Lookup indexes, one per column, built when lookups come often enough (see
    // LookupIndexState). They name rows by handles, so moving rows keeps them valid; the index
    // of the first column holds the second column's ids too and answers the pair lookups.
    mutable RowHandles m_handles;
    mutable std::vector<std::unique_ptr<KeyIndex>> m_indexes;
};

// The lookups under the names the rest of the program uses.
inline int FindItemByText(const LogTable &table, const QString &text, int column)
{
    return table.FindItemByText(text, column);
}
inline int FindItemByPair(const LogTable &table, const QString &first, const QString &second)
{
    return table.FindItemByPair(first, second);
}
inline void GetItemCaptions(const LogTable &table, QStringList &list)
{
    list = table.GetItemCaptions();
}
