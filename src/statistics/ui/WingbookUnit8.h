#pragma once

#include "statistics/Statistics.h"

#include <QDateTime>
#include <QDialog>
#include <array>

class LogDocument;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class TLumListView;
class WingbookOptions;

// The statistics window: the totals and averages of the flights, the first and last flight,
// and the three ranking lists, each exportable from its context menu. Created once and filled
// afresh by every run of the Statistics command; it changes nothing in the log.
class TForm8 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm8(QWidget *parent = nullptr);

    // The Statistics command: fills the window from the log and shows it until Close.
    void StatisticsToolButtonClick(const LogDocument &document, const WingbookOptions &options);
    // Fills the window as the command does, at the given moment, without showing it.
    void fill(const LogDocument &document, const WingbookOptions &options,
              const QDateTime &now = QDateTime::currentDateTime());

    // The count label follows the shown page.
    void StatisticsPageControlChange();
    // The "Export..." item of a ranking list's context menu.
    void ExportLumListView(TLumListView *list);

    // The value labels, in the order of the figures' titles (six for the flights, then start and
    // end).
    QList<QLabel *> ValueLabels;
    QTabWidget *StatisticsPageControl = nullptr;
    TLumListView *AirlinesLumListView = nullptr;
    TLumListView *AirportsLumListView = nullptr;
    TLumListView *DistancesLumListView = nullptr;
    QLabel *CountLabel = nullptr;
    QPushButton *CloseButton = nullptr;
    // The context menu of a ranking list, with its one item "Export...".
    QMenu *PopupMenu(RankingKind kind) const;

    const StatisticsReport &report() const { return m_report; }

private:
    TLumListView *listOf(RankingKind kind) const;
    RankingKind kindOf(const TLumListView *list) const;

    StatisticsReport m_report;
    std::array<QMenu *, 3> m_popupMenus{};
    bool m_promptBeforeOverwriting = true;
    QString m_documentFileName;
};
