#ifndef VIREO_LOUPE_H
#define VIREO_LOUPE_H

#include <QImage>
#include <QWidget>

namespace vireo {

// A magnified view of the image around a hot spot, with a fine cross on the
// spot itself, for placing a handle or a point on the exact pixel. It sits
// beside the spot, inside its parent, and never covers the spot.
class Loupe : public QWidget
{
    Q_OBJECT

public:
    static const int side = 150;

    explicit Loupe(QWidget *parent);
    ~Loupe() override;

    // Screen pixels per image pixel: four times the view's, at least two.
    static double magnification(double viewScale);
    // Where the loupe goes for a spot at viewPos in an area of the given
    // size; an empty rectangle when the area has no room beside the spot.
    static QRect placement(const QPointF &viewPos, const QSize &area);

    // Shows the image around hotSpot (image coordinates), which appears at
    // viewPos in the parent.
    void showAt(const QImage &image, const QPointF &hotSpot, double viewScale, const QPointF &viewPos);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    QPointF m_hotSpot;
    double m_magnification = 2.0;
};

} // namespace vireo

#endif
