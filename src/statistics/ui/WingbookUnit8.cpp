#include "statistics/ui/WingbookUnit8.h"

#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "exchange/ui/ExportDialog.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"
#include "platform/ui/DefaultFont.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{

constexpr RankingKind kRankings[] = {RankingKind::Airlines, RankingKind::Airports,
                                     RankingKind::Distances};

QGroupBox *figureGroup(const QString &caption, const QList<StatisticsFigure> &figures,
                       QList<QLabel *> &titleLabels, QList<QLabel *> &valueLabels)
{
    auto *group = new QGroupBox(caption);
    auto *grid = new QGridLayout(group);
    for (const StatisticsFigure &figure : figures) {
        const int row = grid->rowCount();
        auto *value = new QLabel;
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto *title = new QLabel(figure.title + QStringLiteral(" :"));
        grid->addWidget(title, row, 0);
        grid->addWidget(value, row, 1);
        titleLabels.append(title);
        valueLabels.append(value);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

} // namespace

TForm8::TForm8(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Statistics"));

    QList<QLabel *> titles;
    QGroupBox *flights =
        figureGroup(QStringLiteral("Flights"), m_report.flightFigures(), titles, ValueLabels);
    QGroupBox *dateTime =
        figureGroup(QStringLiteral("Date Time"), m_report.dateTimeFigures(), titles, ValueLabels);

    StatisticsPageControl = new QTabWidget;
    const QString pageCaptions[] = {QStringLiteral("Airlines"), QStringLiteral("Airports"),
                                    QStringLiteral("Distances")};
    for (RankingKind kind : kRankings) {
        auto *list = new TLumListView;
        list->setTable(&m_report.ranking(kind));
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        auto *menu = new QMenu(this);
        connect(menu->addAction(QStringLiteral("Export...")), &QAction::triggered, this,
                [this, list] { ExportLumListView(list); });
        connect(list, &QWidget::customContextMenuRequested, this, [list, menu](const QPoint &pos) {
            menu->popup(list->viewport()->mapToGlobal(pos));
        });
        // Enter in a list closes the window, as it does everywhere else in it.
        connect(list, &TLumListView::enterPressed, this, &QDialog::accept);
        m_popupMenus[size_t(kind)] = menu;
        StatisticsPageControl->addTab(list, pageCaptions[int(kind)]);
    }
    AirlinesLumListView = listOf(RankingKind::Airlines);
    AirportsLumListView = listOf(RankingKind::Airports);
    DistancesLumListView = listOf(RankingKind::Distances);
    connect(StatisticsPageControl, &QTabWidget::currentChanged, this,
            &TForm8::StatisticsPageControlChange);

    CountLabel = new QLabel(QStringLiteral("0 airline(s)"));
    CloseButton = new QPushButton(QStringLiteral("Close"));
    CloseButton->setDefault(true);
    CloseButton->setAutoDefault(true);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(CountLabel, 1);
    bottom->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(flights);
    layout->addWidget(dateTime);
    layout->addWidget(StatisticsPageControl, 1);
    layout->addLayout(bottom);
    resize(460, 560);
    SetDefaultFont(this);
    // The values of both groups start in one column.
    int titleWidth = 0;
    for (const QLabel *title : titles)
        titleWidth = qMax(titleWidth, title->sizeHint().width());
    for (QLabel *title : titles)
        title->setMinimumWidth(titleWidth);
}

TLumListView *TForm8::listOf(RankingKind kind) const
{
    return static_cast<TLumListView *>(StatisticsPageControl->widget(int(kind)));
}

RankingKind TForm8::kindOf(const TLumListView *list) const
{
    for (RankingKind kind : kRankings) {
        if (listOf(kind) == list)
            return kind;
    }
    return RankingKind::Airlines;
}

QMenu *TForm8::PopupMenu(RankingKind kind) const
{
    return m_popupMenus[size_t(kind)];
}

void TForm8::fill(const LogDocument &document, const WingbookOptions &options, const QDateTime &now)
{
    m_promptBeforeOverwriting = options.PromptBeforeOverwritingFiles();
    m_documentFileName = document.DocumentFileName;
    // The lists repaint once, when they are filled and sorted.
    for (RankingKind kind : kRankings)
        listOf(kind)->setUpdatesEnabled(false);
    m_report.compute(document, now);
    for (RankingKind kind : kRankings) {
        listOf(kind)->scrollToTop();
        listOf(kind)->setUpdatesEnabled(true);
    }
    QList<StatisticsFigure> figures = m_report.flightFigures() + m_report.dateTimeFigures();
    for (qsizetype i = 0; i < figures.size() && i < ValueLabels.size(); ++i)
        ValueLabels[i]->setText(figures[i].value);
    StatisticsPageControl->setCurrentIndex(int(RankingKind::Airlines));
    StatisticsPageControlChange();
}

void TForm8::StatisticsToolButtonClick(const LogDocument &document, const WingbookOptions &options)
{
    fill(document, options);
    exec();
}

void TForm8::StatisticsPageControlChange()
{
    const int page = qMax(0, StatisticsPageControl->currentIndex());
    CountLabel->setText(m_report.countText(kRankings[page]));
}

void TForm8::ExportLumListView(TLumListView *list)
{
    const QString fileName = ExecuteExportDialog(
        this, {QStringLiteral("CSV files (*.csv)"), QStringLiteral("All files (*.*)")},
        m_documentFileName, m_promptBeforeOverwriting);
    if (fileName.isEmpty())
        return;
    const std::optional<ExportWriteResult> written =
        ::ExportLumListView(m_report.ranking(kindOf(list)), fileName);
    // Another extension writes nothing and says nothing; a file that could not be written is
    // reported, so the user does not take an old file for the new ranking.
    if (written && !written->ok)
        MessageBoxes::error(this, written->error);
}
