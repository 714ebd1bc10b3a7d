#ifndef VIREO_GRAHPICSANCHORITEM_H
#define VIREO_GRAHPICSANCHORITEM_H

#include <QGraphicsObject>

namespace vireo {

// A 20 × 20 screen-pixel grab handle, drawn only as a mark while the pointer
// is over it, with a move cursor; its movement is reported through the
// position signals of QGraphicsObject.
class GrahpicsAnchorItem : public QGraphicsObject
{
    Q_OBJECT

public:
    explicit GrahpicsAnchorItem(QGraphicsItem *parent = nullptr);
    ~GrahpicsAnchorItem() override;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

private:
    bool m_hovered = false;
};

} // namespace vireo

#endif
