#include "geography/ui/TravelChartsWindow.h"

#include "components/ui/MessageBoxes.h"
#include "geography/TravelFigures.h"
#include "model/LogDocument.h"
#include "platform/SpecialFolders.h"
#include "platform/ui/FileDialogs.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace
{

enum FlightColumn { FlightDate = 0, FlightFrom = 2, FlightTo = 3 };
constexpr int kListedUnknownDates = 20;

QString routeOf(const LogDocument &document, int row)
{
    return document.Flights.cell(row, FlightFrom) + u'-' + document.Flights.cell(row, FlightTo);
}

QString flightNote(const LogDocument &document, const QString &what, int row, int miles)
{
    return QStringLiteral("%1: %2, %3 miles (%4).")
        .arg(what, routeOf(document, row), QLocale().toString(miles),
             document.Flights.cell(row, FlightDate));
}

QString notesOf(const TravelFigures &figures, const LogDocument &document)
{
    QStringList notes;
    if (figures.longestRow >= 0) {
        notes << flightNote(document, QStringLiteral("Longest flight"), figures.longestRow,
                            figures.longestMiles) +
                     u' ' +
                     flightNote(document, QStringLiteral("Shortest flight"), figures.shortestRow,
                                figures.shortestMiles);
    } else {
        notes << QStringLiteral("No flight has a known distance yet.");
    }
    if (!figures.unknownDateRows.isEmpty()) {
        QStringList listed;
        for (int row : figures.unknownDateRows.first(
                 std::min<qsizetype>(kListedUnknownDates, figures.unknownDateRows.size())))
            listed << QStringLiteral("\"%1\" %2")
                          .arg(document.Flights.cell(row, FlightDate), routeOf(document, row));
        if (figures.unknownDateRows.size() > kListedUnknownDates)
            listed << QStringLiteral("and %1 more")
                          .arg(figures.unknownDateRows.size() - kListedUnknownDates);
        notes << QStringLiteral("%1 flight(s) whose date cannot be read, counted under "
                                "Unknown: %2.")
                     .arg(figures.unknownDateRows.size())
                     .arg(listed.join(QStringLiteral(", ")));
    }
    return notes.join(u'\n');
}

} // namespace

TravelChartsWindow::TravelChartsWindow(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Charts"));
    setSizeGripEnabled(true);
    resize(900, 560);
    PageControl = new QTabWidget;
    for (QChartView *&view : m_views) {
        view = new QChartView;
        view->setRenderHint(QPainter::Antialiasing);
        view->setChart(new QChart);
        PageControl->addTab(view, QString());
    }
    NotesLabel = new QLabel;
    NotesLabel->setWordWrap(true);
    NotesLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QDialogButtonBox;
    SavePictureButton =
        buttons->addButton(QStringLiteral("Save Picture..."), QDialogButtonBox::ActionRole);
    CloseButton = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    connect(SavePictureButton, &QPushButton::clicked, this,
            &TravelChartsWindow::SavePictureButtonClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addWidget(NotesLabel);
    layout->addWidget(buttons);
}

void TravelChartsWindow::showFigures(const TravelFigures &figures, const LogDocument &document)
{
    const QList<TravelChart> charts = BuildTravelCharts(figures);
    for (int k = 0; k < kTravelChartCount; ++k)
        showChart(TravelChartKind(k), charts[k]);
    NotesLabel->setText(notesOf(figures, document));
}

void TravelChartsWindow::showChart(TravelChartKind kind, const TravelChart &data)
{
    // A horizontal chart lists its first category at the bottom: reversed, the most flights
    // come first from the top.
    QStringList categories = data.categories;
    QList<qreal> values;
    for (qint64 value : data.values)
        values.append(double(value));
    if (data.horizontal) {
        std::reverse(categories.begin(), categories.end());
        std::reverse(values.begin(), values.end());
    }
    const qreal top = values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());

    auto *set = new QBarSet(data.valueName);
    set->append(values);
    QAbstractBarSeries *series = nullptr;
    if (data.horizontal)
        series = new QHorizontalBarSeries;
    else
        series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(values.size() <= 40);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);

    auto *chart = new QChart;
    QString title = data.title;
    if (data.leftOut > 0)
        title += QStringLiteral(" (the first %1; %2 more not shown)")
                     .arg(data.categories.size())
                     .arg(data.leftOut);
    chart->setTitle(title);
    chart->addSeries(series);
    chart->legend()->hide();
    auto *categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    auto *valueAxis = new QValueAxis;
    valueAxis->setLabelFormat(QStringLiteral("%.0f"));
    valueAxis->setRange(0, top > 0 ? top * 1.1 : 1);
    chart->addAxis(categoryAxis, data.horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(valueAxis, data.horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categoryAxis);
    series->attachAxis(valueAxis);

    QChartView *view = m_views[size_t(kind)];
    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
    m_categories[size_t(kind)] = categories;
    PageControl->setTabText(int(kind), data.title);
}

QBarSet *TravelChartsWindow::barSet(TravelChartKind kind) const
{
    const QChart *chart = chartView(kind)->chart();
    if (chart->series().isEmpty())
        return nullptr;
    const auto *series = qobject_cast<QAbstractBarSeries *>(chart->series().first());
    return series && series->count() > 0 ? series->barSets().first() : nullptr;
}

QStringList TravelChartsWindow::categories(TravelChartKind kind) const
{
    return m_categories[size_t(kind)];
}

void TravelChartsWindow::SavePictureButtonClick()
{
    const int tab = PageControl->currentIndex();
    FileDialogs::Request request;
    request.save = true;
    request.title = QStringLiteral("Save Picture");
    request.filters = {QStringLiteral("PNG pictures (*.png)")};
    request.defaultExtension = QStringLiteral("png");
    request.folder = PersonalDocumentsFolder();
    request.proposedName =
        PageControl->tabText(tab).toLower().replace(u' ', u'-') + QStringLiteral(".png");
    request.overwritePrompt = !m_prompt || m_prompt();
    const FileDialogs::Result chosen = FileDialogs::execute(this, request);
    if (!chosen.accepted)
        return;
    const auto fail = [&](const QString &why) {
        MessageBoxes::error(
            this,
            QStringLiteral("The picture \"%1\" could not be written: %2").arg(chosen.path, why));
    };
    if (QFileInfo(chosen.path).suffix().toLower() != QLatin1String("png"))
        return fail(QStringLiteral("a chart is saved as a .png file."));
    QSaveFile file(chosen.path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (!m_views[size_t(tab)]->grab().save(&file, "PNG") || !file.commit())
        return fail(file.errorString());
}
