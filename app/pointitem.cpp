#include "pointitem.h"

#include "graphicspointitem.h"

namespace vireo {

PointItem::PointItem(GraphicsPointItem *graphicsItem)
    : m_graphicsItem(graphicsItem)
{
    if (graphicsItem) {
        connect(graphicsItem, &QGraphicsObject::xChanged, this, &PointItem::coordinatesChanged);
        connect(graphicsItem, &QGraphicsObject::yChanged, this, &PointItem::coordinatesChanged);
    }
}

PointItem::~PointItem() = default;

QVariant PointItem::value(int column) const
{
    if (!m_graphicsItem)
        return QVariant();
    switch (column) {
    case 0:
        return m_graphicsItem->id();
    case 1:
        return m_graphicsItem->coordinates().x();
    case 2:
        return m_graphicsItem->coordinates().y();
    case 3:
        return m_graphicsItem->file();
    default:
        return QVariant();
    }
}

bool PointItem::isEditable(int) const
{
    return false;
}

GraphicsPointItem *PointItem::graphicsItem() const
{
    return m_graphicsItem;
}

void PointItem::coordinatesChanged()
{
    emit changed(1, 2);
}

} // namespace vireo
