#ifndef VIREO_PLANECALIBRATION_H
#define VIREO_PLANECALIBRATION_H

#include "planemap.h"

#include <QList>
#include <QObject>
#include <QRectF>

class QGraphicsItem;
class QGraphicsLineItem;
class QGraphicsPolygonItem;
class QGraphicsScene;

namespace vireo {

class GrahpicsAnchorItem;
class GraphicsLabelItem;
class PlaneReference;

// Calibration on a plane photographed at an angle: four reference handles
// in the image with their coordinates on the plane. Shows the quadrilateral,
// the plane's axes through the projective map, and a label with the error
// bound, or why there are no numbers.
class PlaneCalibration : public QObject
{
    Q_OBJECT

public:
    explicit PlaneCalibration(QGraphicsScene *scene, QObject *parent = nullptr);
    ~PlaneCalibration() override;

    bool isOn() const;
    // Four references, or none to measure with the ruler.
    QList<PlaneReference> references() const;
    void setReferences(const QList<PlaneReference> &references);
    // A rectangle in the middle of the image, as the corners of a 1 × 1
    // square: bottom left, bottom right, top right, top left.
    void startIn(const QRectF &imageRect);

    QVector<QPointF> world() const;
    void setWorld(const QVector<QPointF> &world);
    const PlaneMap &map() const;
    QList<GrahpicsAnchorItem *> handles() const;
    GraphicsLabelItem *label() const;
    QString labelText() const;

    void setVisible(bool shown, bool calibrating);
    void setDecimalPlaces(int decimalPlaces);

signals:
    void changed();

private:
    void update();
    void updateLabel();
    QVector<QPointF> imagePositions() const;

    QList<GrahpicsAnchorItem *> m_handles;
    QVector<QPointF> m_world;
    PlaneMap m_map;
    double m_errorBound = 0;
    bool m_on = false;
    int m_decimalPlaces = 3;
    QGraphicsPolygonItem *m_quad;
    QGraphicsLineItem *m_xAxis;
    QGraphicsLineItem *m_yAxis;
    GraphicsLabelItem *m_label;
};

} // namespace vireo

#endif
