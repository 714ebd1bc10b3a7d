#include "graphicsview.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace vireo {

namespace {
const int minimumLevel = 1;
const int maximumLevel = 100;
const double panThreshold = 5.0;
const int wheelDeltaPerLevel = 30;
} // namespace

struct GraphicsView::Private
{
    bool panning = false;
    bool swallowNextRelease = false;
    QPoint lastMousePos;
    bool leftButtonDown = false;
    int zoomLevel = 0;
};

GraphicsView::GraphicsView(QWidget *parent)
    : QGraphicsView(parent)
    , d(new Private)
{
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setResizeAnchor(QGraphicsView::AnchorViewCenter);
    setCursor(Qt::CrossCursor);
    // The image is drawn once per zoom step; repaints for the items above it
    // and pans reuse it.
    setCacheMode(QGraphicsView::CacheBackground);
    setZoomLevel(10);
    horizontalScrollBar()->setCursor(Qt::ArrowCursor);
    verticalScrollBar()->setCursor(Qt::ArrowCursor);
}

GraphicsView::~GraphicsView() = default;

int GraphicsView::zoomLevel() const
{
    return d->zoomLevel;
}

double GraphicsView::scaleForLevel(int level)
{
    return 0.2 * std::pow(1.2, level / 5.0);
}

void GraphicsView::setZoomLevel(int value)
{
    const int level = qBound(minimumLevel, value, maximumLevel);
    d->zoomLevel = level;
    const double factor = scaleForLevel(level);
    setTransform(QTransform::fromScale(factor, factor));
    emit zoomLevelChanged(level);
}

bool GraphicsView::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        d->swallowNextRelease = true;
    return QGraphicsView::event(event);
}

void GraphicsView::mousePressEvent(QMouseEvent *event)
{
    d->swallowNextRelease = false;
    QGraphicsView::mousePressEvent(event);
    if (!event->isAccepted() && event->button() == Qt::LeftButton) {
        d->leftButtonDown = true;
        d->lastMousePos = event->localPos().toPoint();
        event->accept();
    }
}

void GraphicsView::mouseMoveEvent(QMouseEvent *event)
{
    if (d->leftButtonDown) {
        const QPoint position = event->localPos().toPoint();
        if (!d->panning && QLineF(d->lastMousePos, position).length() > panThreshold) {
            d->panning = true;
            viewport()->setCursor(Qt::ClosedHandCursor);
        }
        if (d->panning) {
            int dx = position.x() - d->lastMousePos.x();
            const int dy = position.y() - d->lastMousePos.y();
            if (isRightToLeft())
                dx = -dx;
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() - dx);
            verticalScrollBar()->setValue(verticalScrollBar()->value() - dy);
            d->lastMousePos = position;
        }
    }
    QGraphicsView::mouseMoveEvent(event);
}

void GraphicsView::mouseReleaseEvent(QMouseEvent *event)
{
    if (d->swallowNextRelease) {
        d->swallowNextRelease = false;
        event->ignore();
        return;
    }
    if (!d->leftButtonDown || event->button() != Qt::LeftButton) {
        QGraphicsView::mouseReleaseEvent(event);
        return;
    }
    d->leftButtonDown = false;
    if (!d->panning) {
        QGraphicsView::mouseReleaseEvent(event);
        return;
    }
    d->panning = false;
    viewport()->setCursor(Qt::CrossCursor);
    event->accept();
}

void GraphicsView::wheelEvent(QWheelEvent *event)
{
    setZoomLevel(d->zoomLevel + event->angleDelta().y() / wheelDeltaPerLevel);
    event->accept();
}

} // namespace vireo
