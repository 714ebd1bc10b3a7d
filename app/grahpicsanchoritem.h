#ifndef VIREO_GRAHPICSANCHORITEM_H
#define VIREO_GRAHPICSANCHORITEM_H

#include <QGraphicsObject>

namespace vireo {

// An invisible 20 × 20 screen-pixel grab handle; its movement is reported
// through the position signals of QGraphicsObject.
class GrahpicsAnchorItem : public QGraphicsObject
{
    Q_OBJECT

public:
    explicit GrahpicsAnchorItem(QGraphicsItem *parent = nullptr);
    ~GrahpicsAnchorItem() override;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
};

} // namespace vireo

#endif
