#include "grahpicsanchoritem.h"

namespace vireo {

GrahpicsAnchorItem::GrahpicsAnchorItem(QGraphicsItem *parent)
    : QGraphicsObject(parent)
{
    setFlag(ItemIgnoresTransformations);
    setFlag(ItemIsMovable);
}

GrahpicsAnchorItem::~GrahpicsAnchorItem() = default;

QRectF GrahpicsAnchorItem::boundingRect() const
{
    return QRectF(-10, -10, 20, 20);
}

void GrahpicsAnchorItem::paint(QPainter *, const QStyleOptionGraphicsItem *, QWidget *)
{
}

} // namespace vireo
