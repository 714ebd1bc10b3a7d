#ifndef VIREO_GRAPHICSVIEW_H
#define VIREO_GRAPHICSVIEW_H

#include <QGraphicsView>

namespace vireo {

// The image view: zoom levels 1 to 100 on an exponential curve, wheel zoom
// around the mouse, and panning with the left button past a small threshold
// so that a click still reaches the scene.
class GraphicsView : public QGraphicsView
{
    Q_OBJECT

public:
    explicit GraphicsView(QWidget *parent = nullptr);
    ~GraphicsView() override;

    int zoomLevel() const;
    // The scale factor of a zoom level: 0.2 × 1.2^(level / 5).
    static double scaleForLevel(int level);
    // The level whose scale comes nearest, within 1 to 100.
    static int levelForScale(double scale);

public slots:
    void setZoomLevel(int value);
    // Shows the whole scene, as large as the view allows, centred.
    void fitToWindow();
    // One image pixel to one screen pixel, around the centre of the view.
    void showActualPixels();
    // Scrolls within the scene's rectangle again, as after a new image.
    void followScene();

signals:
    void zoomLevelChanged(int value);

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // A scale between the levels, for fitting and actual pixels; the slider
    // shows the nearest level.
    void setExactScale(double scale);
    void keepUnderPointer(const QPointF &scenePos, const QPointF &viewPos);
    void showLoupe();
    void hideLoupe();

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace vireo

#endif
