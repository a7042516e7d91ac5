#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;
class RouteMapWidget;
struct RouteMapGeometry;
struct WorldOutlines;

// The route map window: the map, what it shows, the airports that it cannot place (listed, not
// silently left out), and "Save Picture..." for a PNG or SVG picture of the map as it is shown.
class RouteMapWindow : public QDialog
{
    Q_OBJECT

public:
    explicit RouteMapWindow(QWidget *parent = nullptr);

    void setOutlines(const WorldOutlines &outlines);
    // Shows these routes on the whole world.
    void showGeometry(const RouteMapGeometry &geometry);
    // Whether "Save Picture..." asks before it replaces a file.
    void setPromptBeforeOverwriting(std::function<bool()> prompt) { m_prompt = std::move(prompt); }

    RouteMapWidget *MapWidget = nullptr;
    QLabel *SummaryLabel = nullptr;
    QLabel *OutlinesLabel = nullptr; // says why there is no land, when the outlines are missing
    QLabel *WithoutPositionLabel = nullptr;
    QPushButton *SavePictureButton = nullptr;
    QPushButton *CloseButton = nullptr;

    void SavePictureButtonClick();

private:
    QScrollArea *m_withoutPositionArea = nullptr;
    std::function<bool()> m_prompt;
};
