#pragma once

#include "geography/ui/RouteMapPainter.h"

#include <QFutureWatcher>
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
    ~RouteMapWidget() override;

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
    // Whether the map shows the full picture of its view; while a new view's routes are being
    // drawn it shows the last picture moved and scaled.
    bool pictureIsCurrent() const;

    QSize sizeHint() const override { return {960, 480}; }
    QSize minimumSizeHint() const override { return {240, 120}; }

signals:
    // The routes of the view shown are drawn: the next paint shows its full picture.
    void pictureReady();

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
    // What a picture was drawn for: the view, the routes and the size in device pixels.
    struct PictureKey {
        RouteMapView view;
        int generation = -1;
        QSize pixels;
        bool operator==(const PictureKey &other) const;
    };

    void labelAirportAt(QPointF pixel);
    PictureKey wantedPicture() const;
    void composePicture(const PictureKey &key);
    void paintPreview(QPainter &painter) const;
    void drawLayerFor(const PictureKey &key);
    void takeLayer();

    RouteMapPainter m_painter;
    RouteMapView m_view;
    bool m_viewChosen = false; // false: the whole world, whatever the size
    bool m_dragging = false;
    QPoint m_lastDrag;
    int m_labelled = -1;
    // The map as last painted, without the label: a repaint of the same view (a hover label,
    // an uncovered window) copies it instead of drawing every route again.
    QImage m_picture;
    PictureKey m_pictureKey;
    // The routes last drawn in the other thread, and the one drawing now.
    QImage m_layer;
    PictureKey m_layerKey;
    QFutureWatcher<QImage> m_layerJob;
    PictureKey m_jobKey;
};
