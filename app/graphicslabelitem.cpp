#include "graphicslabelitem.h"

#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSimpleTextItem>

namespace vireo {

GraphicsLabelItem::GraphicsLabelItem(QGraphicsItem *parent)
    : QGraphicsObject(parent)
    , m_textItem(new QGraphicsSimpleTextItem(this))
{
    setFlag(ItemIgnoresTransformations);
}

GraphicsLabelItem::~GraphicsLabelItem() = default;

QString GraphicsLabelItem::text() const
{
    return m_textItem->text();
}

void GraphicsLabelItem::setText(const QString &text)
{
    prepareGeometryChange();
    m_textItem->setText(text);
}

QFont GraphicsLabelItem::font() const
{
    return m_textItem->font();
}

void GraphicsLabelItem::setFont(const QFont &font)
{
    prepareGeometryChange();
    m_textItem->setFont(font);
}

QBrush GraphicsLabelItem::brush() const
{
    return m_textItem->brush();
}

void GraphicsLabelItem::setBrush(const QBrush &brush)
{
    m_textItem->setBrush(brush);
}

QRectF GraphicsLabelItem::boundingRect() const
{
    return m_textItem->boundingRect();
}

void GraphicsLabelItem::paint(QPainter *, const QStyleOptionGraphicsItem *, QWidget *)
{
}

void GraphicsLabelItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    event->accept();
}

} // namespace vireo
