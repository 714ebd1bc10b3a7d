#include "loupe.h"

#include <QPainter>

namespace vireo {

namespace {
// Between the spot and the loupe's nearest corner.
const int gap = 24;
} // namespace

Loupe::Loupe(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(side, side);
    hide();
}

Loupe::~Loupe() = default;

double Loupe::magnification(double viewScale)
{
    return qMax(4.0 * viewScale, 2.0);
}

QRect Loupe::placement(const QPointF &viewPos, const QSize &area)
{
    const QPoint spot = viewPos.toPoint();
    const QRect bounds(QPoint(0, 0), area);
    const int above = spot.y() - gap - side;
    const int below = spot.y() + gap;
    const int left = spot.x() - gap - side;
    const int right = spot.x() + gap;
    // Beside the spot along one side, slid along it to stay inside.
    const int alongX = qBound(0, spot.x() - side / 2, qMax(0, area.width() - side));
    const int alongY = qBound(0, spot.y() - side / 2, qMax(0, area.height() - side));
    // Diagonally above right first, where a right hand's pointer hides least.
    const QPoint corners[] = {
        {right, above}, {left, above}, {right, below}, {left, below},
        {right, alongY}, {left, alongY}, {alongX, above}, {alongX, below},
    };
    for (const QPoint &corner : corners) {
        const QRect candidate(corner, QSize(side, side));
        if (bounds.contains(candidate))
            return candidate;
    }
    return QRect();
}

void Loupe::showAt(const QImage &image, const QPointF &hotSpot, double viewScale, const QPointF &viewPos)
{
    const QRect place = placement(viewPos, parentWidget()->size());
    if (place.isEmpty() || image.isNull()) {
        hide();
        return;
    }
    // Shared, not copied: the image stays the scene's.
    m_image = image;
    m_hotSpot = hotSpot;
    m_magnification = magnification(viewScale);
    setGeometry(place);
    show();
    raise();
    update();
}

void Loupe::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::darkGray);
    const double extent = side / m_magnification;
    const QRectF source(m_hotSpot.x() - extent / 2, m_hotSpot.y() - extent / 2, extent, extent);
    // Whole image pixels, as they are: no smoothing.
    painter.drawImage(QRectF(rect()), m_image, source);

    const QPointF centre(side / 2.0, side / 2.0);
    const double arm = side / 2.0;
    for (const auto &pen : {QPen(Qt::white, 3), QPen(Qt::black, 1)}) {
        painter.setPen(pen);
        painter.drawLine(QPointF(centre.x() - arm, centre.y()), QPointF(centre.x() - 4, centre.y()));
        painter.drawLine(QPointF(centre.x() + 4, centre.y()), QPointF(centre.x() + arm, centre.y()));
        painter.drawLine(QPointF(centre.x(), centre.y() - arm), QPointF(centre.x(), centre.y() - 4));
        painter.drawLine(QPointF(centre.x(), centre.y() + 4), QPointF(centre.x(), centre.y() + arm));
    }
    // In the last pen of the cross.
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace vireo
