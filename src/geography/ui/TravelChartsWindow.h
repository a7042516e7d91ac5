#pragma once

#include "geography/TravelCharts.h"

#include <QDialog>
#include <array>
#include <functional>

class LogDocument;
class QBarSet;
class QChartView;
class QLabel;
class QPushButton;
class QTabWidget;
struct TravelFigures;

// The travel charts: one tab per bar chart (flights and miles per year, flights per month and
// per weekday, the countries visited), a note of the longest and shortest flights and of the
// flights whose date cannot be read, and "Save Picture..." for a PNG of the chart shown.
class TravelChartsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit TravelChartsWindow(QWidget *parent = nullptr);

    // Fills the charts and the notes; the log gives the flights that the notes name.
    void showFigures(const TravelFigures &figures, const LogDocument &document);
    void setPromptBeforeOverwriting(std::function<bool()> prompt) { m_prompt = std::move(prompt); }

    QChartView *chartView(TravelChartKind kind) const { return m_views[size_t(kind)]; }
    // The bars of a chart (one set per chart), and their categories.
    QBarSet *barSet(TravelChartKind kind) const;
    QStringList categories(TravelChartKind kind) const;

    QTabWidget *PageControl = nullptr;
    QLabel *NotesLabel = nullptr;
    QPushButton *SavePictureButton = nullptr;
    QPushButton *CloseButton = nullptr;

    // Writes the chart of the current tab as a PNG picture.
    void SavePictureButtonClick();

private:
    void showChart(TravelChartKind kind, const TravelChart &data);

    std::array<QChartView *, kTravelChartCount> m_views{};
    std::array<QStringList, kTravelChartCount> m_categories;
    std::function<bool()> m_prompt;
};
