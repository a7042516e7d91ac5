#include "components/ui/LumListView.h"

#include "components/ui/FindDialog.h"
#include "components/ui/LumListViewModel.h"
#include "components/ui/MessageBoxes.h"
#include "model/LogTable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace
{

const QSize rowIconSize(16, 16);

} // namespace

TLumListView::TLumListView(QWidget *parent)
    : QTableView(parent), m_model(new TLumListViewModel(this))
{
    setModel(m_model);

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSortingEnabled(false);
    setIconSize(rowIconSize);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    // Every row has the same fixed height, so a table of a million rows scrolls without
    // measuring any of them.
    QHeaderView *rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(std::max(fontMetrics().height(), rowIconSize.height()) + 4);

    QHeaderView *header = horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header, &QHeaderView::sectionClicked, this, &TLumListView::headerClicked);

    // The selection stays visible when the focus goes elsewhere.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);
}

TLumListView::~TLumListView() = default;

void TLumListView::setTable(LogTable *table)
{
    m_table = table;
    m_model->setTable(table);
    // Only here: a width the user drags stays while the rows are emptied and refilled.
    applyColumnWidths();
}

LogTable *TLumListView::table() const
{
    return m_table;
}

void TLumListView::applyColumnWidths()
{
    if (!m_table)
        return;
    const QList<LogColumn> &columns = m_table->columns();
    for (int c = 0; c < columns.size(); ++c)
        horizontalHeader()->resizeSection(c, columns[c].width);
}

void TLumListView::setRowIcon(const QIcon &icon)
{
    m_model->setRowIcon(icon);
}

void TLumListView::setMultiSelection(bool on)
{
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                        : QAbstractItemView::SingleSelection);
}

void TLumListView::setGreyZeroMilesRows(bool on)
{
    m_model->setGreyZeroMilesRows(on, palette().color(QPalette::Disabled, QPalette::Text));
}

// --- sorting ---

void TLumListView::Sort(int column, bool ascending)
{
    if (m_table)
        m_table->Sort(column, ascending);
}

void TLumListView::SortAsIs()
{
    if (m_table)
        m_table->SortAsIs();
}

int TLumListView::LastSortIndex() const
{
    return m_table ? m_table->LastSortIndex() : -1;
}

bool TLumListView::LastSortAscending() const
{
    return m_table ? m_table->LastSortAscending() : true;
}

void TLumListView::headerClicked(int column)
{
    // The same column again turns the direction round; another column starts ascending.
    const bool ascending = column == LastSortIndex() ? !LastSortAscending() : true;
    Sort(column, ascending);
}

// --- selection ---

QList<int> TLumListView::selectedRows() const
{
    // Walk the selected ranges rather than every index: a whole table can be selected.
    QList<int> rows;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.append(r);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int TLumListView::selectedCount() const
{
    QList<std::pair<int, int>> spans;
    for (const QItemSelectionRange &range : selectionModel()->selection())
        spans.append({range.top(), range.bottom()});
    std::sort(spans.begin(), spans.end());
    int count = 0;
    int coveredUpTo = -1;
    for (const auto &[top, bottom] : spans) {
        const int from = std::max(top, coveredUpTo + 1);
        if (bottom >= from)
            count += bottom - from + 1;
        coveredUpTo = std::max(coveredUpTo, bottom);
    }
    return count;
}

int TLumListView::firstSelectedRow() const
{
    int first = -1;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        if (first < 0 || range.top() < first)
            first = range.top();
    }
    return first;
}

void TLumListView::selectOnly(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex at = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
    scrollTo(at);
}

// --- keys and mouse ---

bool TLumListView::hasRows() const
{
    return m_model->rowCount() > 0;
}

void TLumListView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_F3:
        if (hasRows()) {
            FindNext();
            event->accept();
            return;
        }
        break;
    case Qt::Key_F:
        if (modifiers == Qt::ControlModifier && hasRows()) {
            Find();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Delete:
        emit deletePressed();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit enterPressed();
        event->accept();
        return;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

void TLumListView::mouseReleaseEvent(QMouseEvent *event)
{
    // The selection has moved by now, so a handler that reads it sees the clicked row.
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit rowClicked();
}

void TLumListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit rowDoubleClicked();
}

// --- find ---

FindDialog *TLumListView::findDialog() const
{
    return m_findDialog;
}

FindDialog *TLumListView::replaceFindDialog()
{
    if (m_findDialog) {
        // Later: the old dialog may be the one whose button is being handled right now.
        m_findDialog->hide();
        m_findDialog->deleteLater();
    }
    m_findDialog = new FindDialog(this);
    connect(m_findDialog, &FindDialog::findNextRequested, this, &TLumListView::FindNext);
    return m_findDialog;
}

void TLumListView::closeFindDialog()
{
    if (m_findDialog)
        m_findDialog->hide();
}

void TLumListView::Find()
{
    m_findState.reset();
    FindDialog *dialog = replaceFindDialog();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TLumListView::FindNext()
{
    if (!m_findDialog || m_findDialog->text().isEmpty())
        return;
    search(m_findDialog->text());
}

void TLumListView::FindText(const QString &text)
{
    m_findState.reset();
    replaceFindDialog()->setText(text);
    FindNext();
}

void TLumListView::FindRefresh()
{
    m_findState.refresh(firstSelectedRow());
}

void TLumListView::search(const QString &text)
{
    const int rowCount = m_table ? m_table->count() : 0;
    const FindMatcher matcher(text, FindOptions);
    const auto matches = [&](int row) {
        if (OnCustomFind) {
            bool res = false;
            if (OnCustomFind(this, row, text, res))
                return res;
        }
        // A custom test may have changed the table; a row that is gone matches nothing.
        return m_table && row < m_table->count() && matcher.matches(m_table->row(row).cells);
    };
    const auto hit = [this](int row) {
        closeFindDialog();
        selectOnly(row);
        emit rowClicked();
    };
    const FindState::Result result = m_findState.search(rowCount, matches, hit);
    if (result.outcome != FindState::Outcome::Found) {
        closeFindDialog();
        MessageBoxes::plain(this, QStringLiteral("Search Results"),
                            FindState::message(result.outcome, text));
    }
    setFocus();
}
