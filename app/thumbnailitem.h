#ifndef VIREO_THUMBNAILITEM_H
#define VIREO_THUMBNAILITEM_H

#include <QFont>
#include <QGraphicsItem>
#include <QImage>

class QGraphicsSimpleTextItem;

namespace vireo {

// One thumbnail: the picture in a framed square, the shortened file name below.
class ThumbnailItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 2 };

    explicit ThumbnailItem(QGraphicsItem *parent = nullptr);
    ~ThumbnailItem() override;

    void setImage(const QImage &image);
    QImage image() const;
    void setFileName(const QString &fileName);
    QString fileName() const;
    void setFont(const QFont &font);
    QFont font() const;
    QRect imageRect() const;
    QString labelText() const;

    QRectF boundingRect() const override;
    int type() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    void updateLabel();
    void positionLabel();

    QRectF m_bounds;
    QString m_fileName;
    QFont m_font;
    QImage m_image;
    QRect m_imageRect;
    QPointF m_imageOffset;
    QGraphicsSimpleTextItem *m_label;
};

} // namespace vireo

#endif
