#ifndef VIREO_SNAPLINES_H
#define VIREO_SNAPLINES_H

#include <QObject>
#include <QPointF>
#include <QRectF>

class QGraphicsLineItem;
class QGraphicsScene;

namespace vireo {

// A horizontal and a vertical guide line that follow the mouse and jump to
// the nearest measurement point within reach.
class SnapLines : public QObject
{
public:
    explicit SnapLines(QGraphicsScene *scene);
    ~SnapLines() override;

    void setSceneRect(const QRectF &rect);
    void setHorizontalEnabled(bool enabled);
    void setVerticalEnabled(bool enabled);
    void setMouseInside(bool inside);
    void mouseMovedTo(const QPointF &position);
    void setHorizontalPosition(double y);
    void setVerticalPosition(double x);

    bool isHorizontalEnabled() const { return m_horizontalEnabled; }
    bool isVerticalEnabled() const { return m_verticalEnabled; }
    QPointF snappedPosition(const QPointF &position) const;

    QGraphicsLineItem *horizontalLine() const { return m_horizontalLine; }
    QGraphicsLineItem *verticalLine() const { return m_verticalLine; }

private:
    double nearestPointCoordinate(const QRectF &band, double value, bool vertical) const;
    void updateVisibility();

    QRectF m_sceneRect;
    QGraphicsLineItem *m_horizontalLine;
    QGraphicsScene *m_scene;
    bool m_horizontalEnabled = false;
    bool m_verticalEnabled = false;
    QGraphicsLineItem *m_verticalLine;
    bool m_mouseInside = false;
};

} // namespace vireo

#endif
