#ifndef VIREO_GRAPHICSPOINTITEM_H
#define VIREO_GRAPHICSPOINTITEM_H

#include <QGraphicsObject>
#include <QPen>

namespace vireo {

class Projection;

// A measurement point: a red cross of constant screen size with a gap around
// the exact position, selectable and movable.
class GraphicsPointItem : public QGraphicsObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 1 };

    GraphicsPointItem(const Projection *projection, int id, const QString &file, QGraphicsItem *parent = nullptr);
    ~GraphicsPointItem() override;

    int id() const;
    QString file() const;
    // The calibrated coordinates of the current position.
    QPointF coordinates() const;

    QRectF boundingRect() const override;
    int type() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

signals:
    void selected(vireo::GraphicsPointItem *point);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;

private:
    const QString m_file;
    const int m_id;
    const QPen m_normalPen;
    const QPen m_selectedPen;
    const Projection *m_projection;
};

} // namespace vireo

#endif
