#pragma once

#include <QColor>
#include <QIcon>
#include <QIdentityProxyModel>
#include <QPixmap>
#include <QPointer>

class LogTable;

// The 9 by 6 grey triangles that mark the sorted column's header, on a transparent background.
QPixmap MakeSortArrow(bool up);

// What the table view shows on top of its table: the row icon in front of every row, the sort
// arrow in the header of the sorted column, and grey rows for unknown distances. The rows,
// their order and the sort state stay in the table itself.
class TLumListViewModel : public QIdentityProxyModel
{
    Q_OBJECT

public:
    explicit TLumListViewModel(QObject *parent = nullptr);

    void setTable(LogTable *table);
    LogTable *table() const;

    void setRowIcon(const QIcon &icon);
    QIcon rowIcon() const { return m_rowIcon; }

    // A row whose "Miles" cell (column 2) is exactly "0" gets this colour; others keep the
    // view's text colour.
    void setGreyZeroMilesRows(bool on, const QColor &grey);
    bool greyZeroMilesRows() const { return m_greyZeroMiles; }

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void sortStateChanged();

    QPointer<LogTable> m_table; // the view does not own the table
    QIcon m_rowIcon;
    bool m_greyZeroMiles = false;
    QColor m_grey;
    QIcon m_upArrow;
    QIcon m_downArrow;
    QMetaObject::Connection m_sortConnection;
};
