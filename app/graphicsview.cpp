#include "graphicsview.h"

#include "loupe.h"
#include "scene.h"

#include <qtcompat.h>

#include <QGraphicsItem>
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
    // The scene point that wheel zooming keeps under the pointer, exact, so
    // that the scroll bars' whole pixels never add up over many notches.
    QPointF wheelViewPos{-1, -1};
    QPointF wheelScenePos;
    QPoint wheelScroll;
    int wheelLevel = 0;
    // Set by a wheel notch until the pointer moves: a scroll bar that comes
    // or goes with the zoom resizes the view, which must not move the point.
    bool wheelZooming = false;
    // Made on the first drag of a handle or a point.
    Loupe *loupe = nullptr;
    bool panning = false;
    bool swallowNextRelease = false;
    QPoint lastMousePos;
    bool leftButtonDown = false;
    int zoomLevel = 0;
    // The scale is not the level's own (fitted, actual pixels) until the
    // level changes.
    bool exactScale = false;
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

int GraphicsView::levelForScale(double scale)
{
    const double level = 5.0 * std::log(scale / 0.2) / std::log(1.2);
    return std::isfinite(level) ? qBound(minimumLevel, qRound(level), maximumLevel) : minimumLevel;
}

void GraphicsView::setZoomLevel(int value)
{
    const int level = qBound(minimumLevel, value, maximumLevel);
    d->wheelZooming = false;
    // The slider answering an exact scale with its level changes nothing.
    if (level == d->zoomLevel && d->exactScale)
        return;
    d->zoomLevel = level;
    d->exactScale = false;
    const double factor = scaleForLevel(level);
    setTransform(QTransform::fromScale(factor, factor));
    emit zoomLevelChanged(level);
}

void GraphicsView::setExactScale(double scale)
{
    d->wheelZooming = false;
    const ViewportAnchor anchor = transformationAnchor();
    const QPointF centre = mapToScene(viewport()->rect().center());
    setTransformationAnchor(NoAnchor);
    setTransform(QTransform::fromScale(scale, scale));
    setTransformationAnchor(anchor);
    centerOn(centre);
    d->exactScale = true;
    d->zoomLevel = levelForScale(scale);
    emit zoomLevelChanged(d->zoomLevel);
}

void GraphicsView::fitToWindow()
{
    const QRectF rect = scene() ? scene()->sceneRect() : QRectF();
    // The room without scroll bars: the fitted picture needs none.
    const QSize room = maximumViewportSize();
    if (rect.isEmpty() || room.width() < 2 || room.height() < 2)
        return;
    followScene();
    setExactScale(std::min((room.width() - 1) / rect.width(), (room.height() - 1) / rect.height()));
}

void GraphicsView::showActualPixels()
{
    setExactScale(1.0);
}

void GraphicsView::followScene()
{
    d->wheelZooming = false;
    setSceneRect(QRectF());
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
    d->wheelZooming = false;
    QGraphicsView::mousePressEvent(event);
    if (!event->isAccepted() && event->button() == Qt::LeftButton) {
        d->leftButtonDown = true;
        d->lastMousePos = kit::eventPosition(event).toPoint();
        event->accept();
    }
}

void GraphicsView::mouseMoveEvent(QMouseEvent *event)
{
    d->wheelZooming = false;
    if (d->leftButtonDown) {
        const QPoint position = kit::eventPosition(event).toPoint();
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
    if (event->buttons() & Qt::LeftButton)
        showLoupe();
}

// While a handle or a point is dragged, the loupe shows the image around it.
void GraphicsView::showLoupe()
{
    auto imageScene = qobject_cast<Scene *>(scene());
    const QGraphicsItem *dragged = imageScene ? imageScene->mouseGrabberItem() : nullptr;
    if (!dragged || !(dragged->flags() & QGraphicsItem::ItemIsMovable))
        return;
    if (!d->loupe)
        d->loupe = new Loupe(viewport());
    const QPointF hotSpot = dragged->scenePos();
    d->loupe->showAt(imageScene->image(), hotSpot, transform().m11(), viewportTransform().map(hotSpot));
}

void GraphicsView::hideLoupe()
{
    if (d->loupe)
        d->loupe->hide();
}

void GraphicsView::mouseReleaseEvent(QMouseEvent *event)
{
    hideLoupe();
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
}

void GraphicsView::wheelEvent(QWheelEvent *event)
{
    const QPointF viewPos = event->position();
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    // Anything else moved the image since the last notch: start afresh.
    if (viewPos != d->wheelViewPos || scroll != d->wheelScroll || d->zoomLevel != d->wheelLevel) {
        d->wheelViewPos = viewPos;
        d->wheelScenePos = viewportTransform().inverted().map(viewPos);
    }
    const ViewportAnchor anchor = transformationAnchor();
    setTransformationAnchor(NoAnchor);
    setZoomLevel(d->zoomLevel + event->angleDelta().y() / wheelDeltaPerLevel);
    setTransformationAnchor(anchor);
    keepUnderPointer(d->wheelScenePos, viewPos);
    d->wheelScroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    d->wheelLevel = d->zoomLevel;
    d->wheelZooming = true;
    event->accept();
}

void GraphicsView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    if (!d->wheelZooming)
        return;
    keepUnderPointer(d->wheelScenePos, d->wheelViewPos);
    d->wheelScroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

// Scrolls so that the scene point lies at the view point, within half a pixel.
// Where that needs more room than the image gives (the image is smaller than
// the view, or the point near its edge), the view's scrolling area grows by
// what is needed, so nothing is pulled back to the centre.
void GraphicsView::keepUnderPointer(const QPointF &scenePos, const QPointF &viewPos)
{
    // Growing the area can bring up a scroll bar, which narrows the view:
    // measured again until nothing moves. The area grows by a view's size
    // beyond what is needed, as the view centres an area that just fits.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const double scale = transform().m11();
        const QSizeF visible = QSizeF(viewport()->size()) / scale;
        const QRectF wanted(scenePos - viewPos / scale, visible);
        if (scene() && !sceneRect().contains(wanted))
            setSceneRect(sceneRect() | wanted.adjusted(-visible.width(), -visible.height(), visible.width(), visible.height()));
        const QPointF offset = viewportTransform().map(scenePos) - viewPos;
        const int dx = qRound(isRightToLeft() ? -offset.x() : offset.x());
        const int dy = qRound(offset.y());
        if (dx == 0 && dy == 0)
            return;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
        verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
    }
}

} // namespace vireo
