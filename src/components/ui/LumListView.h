#pragma once

#include "components/FindFolding.h"

#include <QPointer>
#include <QTableView>
#include <functional>

class FindDialog;
class LogTable;
class TLumListView;
class TLumListViewModel;

// Optional match test that replaces the built-in one for the rows it handles: it returns true
// (handled) and sets res, or returns false to let the built-in test decide.
using TLumOnCustomFind =
    std::function<bool(TLumListView *sender, int row, const QString &findText, bool &res)>;

// The report-style table view of a log table: one line per row, sorting by a header click with
// an arrow in the sorted column's header, and a find function with its own dialog. The rows
// and their order live in the table, shared with the file writer and the lookups; the view
// never reorders anything itself.
class TLumListView : public QTableView
{
    Q_OBJECT

public:
    explicit TLumListView(QWidget *parent = nullptr);
    ~TLumListView() override;

    // Shows the table (not owned); column widths start at the table's default widths.
    void setTable(LogTable *table);
    LogTable *table() const;

    // The one icon shown in front of every row.
    void setRowIcon(const QIcon &icon);
    void setMultiSelection(bool on);
    // Rows whose "Miles" cell is exactly "0" are drawn in the disabled text colour.
    void setGreyZeroMilesRows(bool on);

    // --- sorting: done by the table, the header arrow follows its sort state ---
    void Sort(int column, bool ascending);
    void SortAsIs();
    int LastSortIndex() const;
    bool LastSortAscending() const;

    // --- selection ---
    QList<int> selectedRows() const; // ascending
    int selectedCount() const;
    int firstSelectedRow() const; // -1 when none
    // Clears the selection, then selects the row, makes it current and scrolls to it.
    void selectOnly(int row);

    // --- find ---
    TFindOptions FindOptions = foIgnoreAccentedChars;
    TLumOnCustomFind OnCustomFind;

    void Find();
    void FindNext();
    void FindText(const QString &text);
    void FindRefresh();

    FindDialog *findDialog() const;
    int findStartPosition() const { return m_findState.startPosition(); }

signals:
    // A mouse click in the view; a find hit fires it too.
    void rowClicked();
    void rowDoubleClicked();
    void enterPressed();
    void deletePressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void headerClicked(int column);
    void applyColumnWidths();
    bool hasRows() const;
    FindDialog *replaceFindDialog();
    void closeFindDialog();
    void search(const QString &text);

    TLumListViewModel *m_model;
    QPointer<LogTable> m_table;
    QPointer<FindDialog> m_findDialog;
    FindState m_findState;
};
