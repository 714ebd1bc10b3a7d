#ifndef VIREO_PROJECTION_H
#define VIREO_PROJECTION_H

#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>

class QGraphicsItem;
class QGraphicsLineItem;
class QGraphicsScene;

class QDialog;

namespace vireo {

class Geometry;
class GrahpicsAnchorItem;
class GraphicsLabelItem;
class PlaneCalibration;

// The calibration on screen: an origin with two axes and a ruler whose two
// ends and length fix the scale. Converts image positions into calibrated
// coordinates: X to the right, Y upwards, in the ruler's unit.
class Projection : public QObject
{
    Q_OBJECT

public:
    explicit Projection(QGraphicsScene *scene);
    ~Projection() override;

    void loadFrom(const Geometry &geometry);
    void saveTo(Geometry &geometry) const;
    void setImageRect(const QRectF &rect);
    void resetOrigin();
    // Restores the default ruler of the image: centre to bottom-right corner, length 1.
    void resetRuler();

    QPointF origin() const;
    QPointF rulerEnd1() const;
    QPointF rulerEnd2() const;
    double rulerLength() const;
    int decimalPlaces() const;
    QString rulerLabelText() const;

    // Calibrated units per image pixel; NaN while the ruler has no length.
    double scale() const;
    // NaN for both coordinates while the ruler has no length or the plane
    // gives no map.
    QPointF toCoordinates(const QPointF &scenePos) const;

    // While the record measures on a plane, its references decide every
    // coordinate; the origin, ruler and length wait unchanged.
    PlaneCalibration *plane() const;
    bool hasPlane() const;
    void setPlaneOn(bool on);

    // The origin and the two ruler ends, in that order, then the plane's
    // references while it is on.
    QList<QGraphicsItem *> handles() const;
    GrahpicsAnchorItem *originAnchor() const;
    GrahpicsAnchorItem *rulerEnd1Anchor() const;
    GrahpicsAnchorItem *rulerEnd2Anchor() const;
    GraphicsLabelItem *rulerLabel() const;
    QGraphicsLineItem *xAxis() const;
    QGraphicsLineItem *yAxis() const;
    QGraphicsLineItem *rulerLine() const;

public slots:
    void editRulerLength();
    void setCalibrating(bool calibrating);
    // Without an image there is nothing to calibrate: every item is hidden.
    void setShown(bool shown);
    void setDecimalPlaces(int decimalPlaces);

signals:
    // The user typed a new length in the dialog.
    void lengthTyped();
    // A plane took over the coordinates, or gave them back to the ruler.
    void planeSwitched();
    void changed();

private slots:
    void updateAxes();
    void updateRuler();
    void updateRulerLabel();

private:
    static void showWholeTitle(QDialog *dialog);
    void createItems();
    void connectAnchors();
    bool applyAxes();
    bool applyRulerLine();

    QRectF m_imageRect;
    void applyVisibility();

    int m_decimalPlaces = 3;
    bool m_calibrating = true;
    bool m_shown = true;
    PlaneCalibration *m_plane = nullptr;
    GrahpicsAnchorItem *m_originAnchor = nullptr;
    QGraphicsLineItem *m_rulerLine = nullptr;
    GrahpicsAnchorItem *m_rulerEnd1Anchor = nullptr;
    GrahpicsAnchorItem *m_rulerEnd2Anchor = nullptr;
    GraphicsLabelItem *m_rulerLabel = nullptr;
    double m_rulerLength = 1.0;
    QGraphicsScene *m_scene;
    QGraphicsLineItem *m_xAxis = nullptr;
    QGraphicsLineItem *m_yAxis = nullptr;
};

} // namespace vireo

#endif
