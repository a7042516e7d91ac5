#include "components/ui/LumListViewModel.h"

#include "model/LogTable.h"

#include <QPainter>

namespace
{

const int arrowWidth = 9;
const int arrowHeight = 6;
const int milesColumn = 2;

} // namespace

QPixmap MakeSortArrow(bool up)
{
    QPixmap arrow(arrowWidth, arrowHeight);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    const QColor grey(0xAC, 0xA8, 0x99);
    // Five lines of 1, 3, 5, 7 and 9 pixels centred on the middle column; the sixth line is
    // blank, above the up arrow and below the down arrow.
    for (int step = 0; step < 5; ++step) {
        const int width = 2 * step + 1;
        const int y = up ? 1 + step : 4 - step;
        painter.fillRect((arrowWidth - width) / 2, y, width, 1, grey);
    }
    return arrow;
}

TLumListViewModel::TLumListViewModel(QObject *parent)
    : QIdentityProxyModel(parent), m_upArrow(MakeSortArrow(true)), m_downArrow(MakeSortArrow(false))
{
}

void TLumListViewModel::setTable(LogTable *table)
{
    if (m_sortConnection)
        disconnect(m_sortConnection);
    m_table = table;
    setSourceModel(table);
    if (table) {
        m_sortConnection =
            connect(table, &LogTable::sortStateChanged, this, &TLumListViewModel::sortStateChanged);
    }
}

LogTable *TLumListViewModel::table() const
{
    return m_table;
}

void TLumListViewModel::setRowIcon(const QIcon &icon)
{
    m_rowIcon = icon;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

void TLumListViewModel::setGreyZeroMilesRows(bool on, const QColor &grey)
{
    m_greyZeroMiles = on;
    m_grey = grey;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::ForegroundRole});
}

QVariant TLumListViewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    switch (role) {
    case Qt::DecorationRole:
        if (index.column() == 0 && !m_rowIcon.isNull())
            return m_rowIcon;
        return QVariant();
    case Qt::ForegroundRole:
        if (m_greyZeroMiles && m_table &&
            m_table->cell(index.row(), milesColumn) == QLatin1String("0"))
            return m_grey;
        return QVariant();
    default:
        return QIdentityProxyModel::data(index, role);
    }
}

QVariant TLumListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DecorationRole && orientation == Qt::Horizontal && m_table &&
        section == m_table->LastSortIndex())
        return m_table->LastSortAscending() ? m_upArrow : m_downArrow;
    return QIdentityProxyModel::headerData(section, orientation, role);
}

void TLumListViewModel::sortStateChanged()
{
    // The arrow leaves the previous column and appears on the new one.
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}
