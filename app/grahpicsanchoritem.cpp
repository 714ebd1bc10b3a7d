#include "grahpicsanchoritem.h"

#include <QCursor>
#include <QPainter>

namespace vireo {

GrahpicsAnchorItem::GrahpicsAnchorItem(QGraphicsItem *parent)
    : QGraphicsObject(parent)
{
    setFlag(ItemIgnoresTransformations);
    setFlag(ItemIsMovable);
    setAcceptHoverEvents(true);
    setCursor(Qt::SizeAllCursor);
}

GrahpicsAnchorItem::~GrahpicsAnchorItem() = default;

QRectF GrahpicsAnchorItem::boundingRect() const
{
    return QRectF(-10, -10, 20, 20);
}

// A square that shows on light and dark images alike.
void GrahpicsAnchorItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (!m_hovered)
        return;
    const QRectF mark(-7.5, -7.5, 15, 15);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Qt::white, 3));
    painter->drawRect(mark);
    painter->setPen(QPen(Qt::red, 1));
    painter->drawRect(mark);
}

void GrahpicsAnchorItem::hoverEnterEvent(QGraphicsSceneHoverEvent *event)
{
    m_hovered = true;
    update();
    QGraphicsObject::hoverEnterEvent(event);
}

void GrahpicsAnchorItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    m_hovered = false;
    update();
    QGraphicsObject::hoverLeaveEvent(event);
}

} // namespace vireo
