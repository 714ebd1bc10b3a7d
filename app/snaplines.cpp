#include "snaplines.h"

#include "scene.h"

#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QPen>

namespace vireo {

namespace {
const double searchHalfBand = 5.0;

QGraphicsLineItem *createLine(QGraphicsScene *scene)
{
    auto line = new QGraphicsLineItem;
    line->setVisible(false);
    line->setPen(QPen(Qt::blue));
    scene->addItem(line);
    return line;
}
} // namespace

SnapLines::SnapLines(QGraphicsScene *scene)
    : QObject(scene)
    , m_horizontalLine(createLine(scene))
    , m_scene(scene)
    , m_verticalLine(createLine(scene))
{
}

SnapLines::~SnapLines() = default;

void SnapLines::setSceneRect(const QRectF &rect)
{
    m_sceneRect = rect;
    m_horizontalLine->setLine(0, 0, rect.width(), 0);
    m_verticalLine->setLine(0, 0, 0, rect.height());
}

void SnapLines::setHorizontalEnabled(bool enabled)
{
    m_horizontalEnabled = enabled;
    updateVisibility();
}

void SnapLines::setVerticalEnabled(bool enabled)
{
    m_verticalEnabled = enabled;
    updateVisibility();
}

void SnapLines::setMouseInside(bool inside)
{
    m_mouseInside = inside;
    updateVisibility();
}

void SnapLines::mouseMovedTo(const QPointF &position)
{
    if (m_verticalEnabled)
        setVerticalPosition(position.x());
    if (m_horizontalEnabled)
        setHorizontalPosition(position.y());
}

// The y (or x) of the nearest point item whose cross meets the band; the
// topmost wins among equally near ones. The value itself when none does.
double SnapLines::nearestPointCoordinate(const QRectF &band, double value, bool vertical) const
{
    double target = value;
    double bestDistance = -1;
    const QList<QGraphicsItem *> candidates =
        m_scene->items(band, Qt::IntersectsItemBoundingRect, Qt::DescendingOrder, QTransform());
    for (const QGraphicsItem *item : candidates) {
        if (!item->data(Scene::pointMarkerKey).toBool())
            continue;
        const double coordinate = vertical ? item->x() : item->y();
        const double distance = qAbs(value - coordinate);
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            target = coordinate;
        }
    }
    return target;
}

void SnapLines::setHorizontalPosition(double y)
{
    QRectF band = m_sceneRect;
    band.setTop(y - searchHalfBand);
    band.setBottom(y + searchHalfBand);
    m_horizontalLine->setPos(0, nearestPointCoordinate(band, y, false));
    updateVisibility();
}

void SnapLines::setVerticalPosition(double x)
{
    QRectF band = m_sceneRect;
    band.setLeft(x - searchHalfBand);
    band.setRight(x + searchHalfBand);
    m_verticalLine->setPos(nearestPointCoordinate(band, x, true), 0);
    updateVisibility();
}

QPointF SnapLines::snappedPosition(const QPointF &position) const
{
    QPointF snapped = position;
    if (m_horizontalEnabled)
        snapped.setY(m_horizontalLine->y());
    if (m_verticalEnabled)
        snapped.setX(m_verticalLine->x());
    return snapped;
}

void SnapLines::updateVisibility()
{
    // A line on the image's edge still shows.
    const QPointF corner = m_sceneRect.topLeft();
    const double y = m_horizontalLine->y();
    const double x = m_verticalLine->x();
    m_horizontalLine->setVisible(m_horizontalEnabled && m_mouseInside && m_sceneRect.contains(corner.x(), y));
    m_verticalLine->setVisible(m_verticalEnabled && m_mouseInside && m_sceneRect.contains(x, corner.y()));
}

} // namespace vireo
