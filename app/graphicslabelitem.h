#ifndef VIREO_GRAPHICSLABELITEM_H
#define VIREO_GRAPHICSLABELITEM_H

#include <QBrush>
#include <QFont>
#include <QGraphicsObject>

class QGraphicsSimpleTextItem;

namespace vireo {

// A clickable text of constant screen size.
class GraphicsLabelItem : public QGraphicsObject
{
    Q_OBJECT

public:
    explicit GraphicsLabelItem(QGraphicsItem *parent = nullptr);
    ~GraphicsLabelItem() override;

    QString text() const;
    void setText(const QString &text);
    QFont font() const;
    void setFont(const QFont &font);
    QBrush brush() const;
    void setBrush(const QBrush &brush);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

signals:
    void clicked();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;

private:
    QGraphicsSimpleTextItem *m_textItem;
};

} // namespace vireo

#endif
