#include "graphicspointitem.h"

#include "projection.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>

namespace vireo {

namespace {
QPen selectedPen()
{
    QPen pen(Qt::red);
    pen.setWidth(2);
    pen.setCosmetic(true);
    return pen;
}
} // namespace

GraphicsPointItem::GraphicsPointItem(const Projection *projection, int id, const QString &file, QGraphicsItem *parent)
    : QGraphicsObject(parent)
    , m_file(file)
    , m_id(id)
    , m_normalPen(Qt::red)
    , m_selectedPen(selectedPen())
    , m_projection(projection)
{
    setFlag(ItemIsMovable);
    setFlag(ItemIsSelectable);
    setFlag(ItemIgnoresTransformations);
    setToolTip(QString::number(id, 10));
    setZValue(1.0);
}

GraphicsPointItem::~GraphicsPointItem() = default;

int GraphicsPointItem::id() const
{
    return m_id;
}

QString GraphicsPointItem::file() const
{
    return m_file;
}

QPointF GraphicsPointItem::coordinates() const
{
    return m_projection->toCoordinates(pos());
}

QRectF GraphicsPointItem::boundingRect() const
{
    return QRectF(-10, -10, 20, 20);
}

int GraphicsPointItem::type() const
{
    return Type;
}

void GraphicsPointItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->setPen(isSelected() ? m_selectedPen : m_normalPen);
    painter->drawLine(-10, 0, -2, 0);
    painter->drawLine(2, 0, 10, 0);
    painter->drawLine(0, -10, 0, -2);
    painter->drawLine(0, 2, 0, 10);
}

// Any press is taken, so the scene never sees it as a click on the image and
// the view never starts panning.
void GraphicsPointItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (QGraphicsScene *owner = scene())
            owner->clearSelection();
        setSelected(true);
        emit selected(this);
    }
    event->accept();
}

} // namespace vireo
