#pragma once

#include "geography/ui/RouteMapPainter.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

// The route map on screen: the wheel zooms about the pointer, dragging with the mouse pans
// (endlessly to the east and the west), the keys + and - zoom, the arrow keys pan and Home
// shows the whole world again; the airport under the pointer shows its code.
class RouteMapWidget : public QWidget
{
    Q_OBJECT

public:
    explicit RouteMapWidget(QWidget *parent = nullptr);

    RouteMapPainter &mapPainter() { return m_painter; }
    // Shows new routes: the whole world, centred as the routes ask.
    void showGeometry(const RouteMapGeometry &geometry);

    const RouteMapView &view() const { return m_view; }
    void setView(const RouteMapView &view);
    void showWholeWorld();
    // Zooms by factor, keeping the place under the pixel where it is.
    void zoomAt(QPointF pixel, double factor);
    void panBy(QPointF pixels);
    // The airport labelled now (its index among the geometry's airports), or -1.
    int labelledAirport() const { return m_labelled; }

    QSize sizeHint() const override { return {960, 480}; }
    QSize minimumSizeHint() const override { return {240, 120}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void labelAirportAt(QPointF pixel);

    RouteMapPainter m_painter;
    RouteMapView m_view;
    bool m_viewChosen = false; // false: the whole world, whatever the size
    bool m_dragging = false;
    QPoint m_lastDrag;
    int m_labelled = -1;
    // The map as last painted, without the label: a repaint of the same view (a hover label,
    // an uncovered window) copies it instead of drawing every route again.
    QImage m_picture;
    RouteMapView m_pictureView;
    int m_pictureGeneration = -1;
};
