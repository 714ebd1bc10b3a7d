#include "scene.h"

#include "grahpicsanchoritem.h"
#include "graphicspointitem.h"
#include "imagefile.h"
#include "pointitem.h"
#include "pointlist.h"
#include "projection.h"
#include "snaplines.h"

#include <datalistmodel.h>
#include <qtcompat.h>

#include <QDebug>
#include <QFileInfo>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QPainter>
#include <QScopedValueRollback>

#include <QEventLoop>

#include <utility>

namespace vireo {

namespace {
const double clickDistance = 5.0;
} // namespace

Scene::Scene(QObject *parent)
    : QGraphicsScene(parent)
    , m_pointList(new PointList(this))
    , m_projection(new Projection(this))
    , m_snapLines(new SnapLines(this))
{
    connect(&m_pyramid, &ImagePyramid::levelsReady, this, [this] { invalidate(sceneRect(), BackgroundLayer); });
    connect(&m_loader, &ImageLoader::previewReady, this, &Scene::showPreview);
    connect(&m_loader, &ImageLoader::imageReady, this, &Scene::showFullImage);
    connect(&m_loader, &ImageLoader::levelsReady, &m_pyramid, &ImagePyramid::setLevels);
    connect(&m_loader, &ImageLoader::failed, this, [this](const QString &reason) {
        m_loadError = reason;
        clearImage();
        emit imageFailed(reason);
    });
    // Moves of single points come from their items: a calibration change
    // updates every row, and one announcement is enough for it.
    QAbstractItemModel *model = pointModel();
    connect(model, &QAbstractItemModel::rowsInserted, this, &Scene::announceEdit);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &Scene::announceEdit);
    connect(model, &QAbstractItemModel::modelReset, this, &Scene::announceEdit);
    connect(m_projection, &Projection::changed, this, &Scene::announceEdit);
    // Every row's coordinates follow the calibration: one notification for all.
    connect(m_projection, &Projection::changed, this, [this] { m_pointList->model()->allItemsChanged(1, 2); });
    m_projection->setShown(false);
    connect(m_projection, &Projection::lengthTyped, this,
            [this] { emit editFinished(QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Set Ruler Length"))); });
}

void Scene::announceEdit()
{
    if (!m_rebuilding)
        emit edited();
}

Scene::~Scene()
{
    // Rows refer to point items: let them go before the items do.
    m_pointList->clear();
}

bool Scene::loadImage(const QString &path)
{
    if (path.isEmpty())
        return true;
    qDebug() << "loading image" << path;
    const QScopedValueRollback<bool> rebuilding(m_rebuilding, true);
    m_fileName = QFileInfo(path).fileName();
    ImageFile file(path);
    QSize size;
    QImageIOHandler::Transformations transformation;
    m_loader.cancel();
    if (file.inspect(&size, &transformation) && qint64(size.width()) * size.height() > ImageLoader::backgroundPixels) {
        m_pyramid.setPreview(QImage(), size);
        m_loader.load(path, size, transformation);
    } else {
        m_pyramid.setImage(file.read());
    }
    m_loadError = file.errorString();
    if (m_pyramid.isNull()) {
        qWarning() << "Cannot load image" << path << file.errorString();
        m_projection->setShown(false);
        imageChanged();
        return false;
    }
    m_projection->setShown(true);
    size = m_pyramid.size();
    setSceneRect(0, 0, size.width(), size.height());
    if (m_geometry->isNew()) {
        qDebug() << "Initializing geometry";
        m_geometry->initialize(size);
        m_projection->loadFrom(*m_geometry);
    }
    imageChanged();
    m_snapLines->setSceneRect(sceneRect());
    m_projection->setImageRect(sceneRect());
    return true;
}

QString Scene::loadErrorString() const
{
    return m_loadError;
}

bool Scene::isImageComplete() const
{
    return !m_pyramid.image().isNull();
}

void Scene::waitForImage()
{
    if (!m_loader.isLoading())
        return;
    QEventLoop loop;
    connect(&m_loader, &ImageLoader::levelsReady, &loop, &QEventLoop::quit);
    connect(&m_loader, &ImageLoader::failed, &loop, &QEventLoop::quit);
    loop.exec();
}

// The preview is stretched over the whole image's rectangle: positions stay
// the whole image's pixels, and nothing moves when it arrives.
void Scene::showPreview(const QImage &preview)
{
    if (isImageComplete())
        return;
    m_pyramid.setPreview(preview, m_pyramid.size());
    invalidate(sceneRect(), BackgroundLayer);
}

void Scene::showFullImage(const QImage &image)
{
    m_pyramid.setFullImage(image, true);
    invalidate(sceneRect(), BackgroundLayer);
    emit imageCompleted();
}

void Scene::clearImage()
{
    m_loader.cancel();
    m_fileName.clear();
    m_pyramid.setImage(QImage());
    m_projection->setShown(false);
    imageChanged();
}

// Drawing nothing where the old image was leaves the old pixels in a view's
// background cache: the caches go with the image.
void Scene::imageChanged()
{
    for (QGraphicsView *view : views())
        view->resetCachedContent();
    invalidate(sceneRect(), QGraphicsScene::AllLayers);
}

void Scene::setGeometry(Geometry *geometry)
{
    storeGeometry();
    const QScopedValueRollback<bool> rebuilding(m_rebuilding, true);
    // One reset of the table instead of one notification per point.
    kit::DataListResetAction reset(m_pointList->model());
    removePointItems();
    m_geometry = geometry ? geometry : &m_ownGeometry;
    m_nextId = m_geometry->nextId();
    m_projection->loadFrom(*m_geometry);
    rebuildPointItems(*m_geometry);
}

void Scene::rebuildPointItems(const Geometry &record)
{
    const int count = record.pointCount();
    for (int i = 0; i < count; ++i) {
        const Point &point = record.point(i);
        addPoint(point.id(), point.pos(), point.file());
    }
}

Geometry Scene::currentState() const
{
    Geometry state;
    writeStateTo(state);
    return state;
}

void Scene::writeStateTo(Geometry &record) const
{
    record.setNextId(m_nextId);
    m_projection->saveTo(record);
    record.clearPoints();
    const int rows = m_pointList->count();
    for (int row = 0; row < rows; ++row) {
        const GraphicsPointItem *item = m_pointList->graphicsItemAt(row);
        record.addPoint(Point(item->id(), item->pos(), item->file()));
    }
}

void Scene::restoreState(const Geometry &state)
{
    {
        kit::DataListResetAction reset(m_pointList->model());
        removePointItems();
        m_projection->loadFrom(state);
        rebuildPointItems(state);
    }
    m_nextId = qMax(m_nextId, state.nextId());
    storeGeometry();
}

int Scene::selectedPointId() const
{
    const int rows = m_pointList->count();
    for (int row = 0; row < rows; ++row) {
        if (m_pointList->graphicsItemAt(row)->isSelected())
            return m_pointList->graphicsItemAt(row)->id();
    }
    return -1;
}

void Scene::selectPointById(int id)
{
    clearSelection();
    const int rows = m_pointList->count();
    for (int row = 0; row < rows; ++row) {
        GraphicsPointItem *item = m_pointList->graphicsItemAt(row);
        if (item->id() == id && !m_calibrating) {
            item->setSelected(true);
            emit pointSelected(row);
            return;
        }
    }
}

void Scene::storeGeometry()
{
    if (m_geometry)
        writeStateTo(*m_geometry);
}

GraphicsPointItem *Scene::addPoint(int id, const QPointF &position, const QString &fileName)
{
    auto item = new GraphicsPointItem(m_projection, id, fileName);
    item->setData(pointMarkerKey, true);
    item->setVisible(!m_calibrating);
    item->setPos(position);
    addItem(item);
    auto row = new PointItem(item);
    connect(item, &GraphicsPointItem::selected, this, &Scene::onPointSelected);
    connect(item, &QGraphicsObject::xChanged, this, &Scene::announceEdit);
    connect(item, &QGraphicsObject::yChanged, this, &Scene::announceEdit);
    m_pointList->append(row);
    return item;
}

void Scene::deletePoint(int row)
{
    GraphicsPointItem *item = m_pointList->graphicsItemAt(row);
    if (!item) {
        qWarning() << "Ignoring invalid row" << row << "in Scene::deletePoint";
        return;
    }
    // The row goes first: the table reads it while it is removed.
    m_pointList->removeAt(row);
    removeItem(item);
    delete item;
}

void Scene::clearPoints()
{
    kit::DataListResetAction reset(m_pointList->model());
    removePointItems();
}

void Scene::removePointItems()
{
    QList<GraphicsPointItem *> items;
    const int rows = m_pointList->count();
    items.reserve(rows);
    for (int row = 0; row < rows; ++row)
        items.append(m_pointList->graphicsItemAt(row));
    m_pointList->clear();
    for (GraphicsPointItem *item : qAsConst(items)) {
        removeItem(item);
        delete item;
    }
}

void Scene::setCalibrating(bool calibrating)
{
    if (calibrating == m_calibrating)
        return;
    clearSelection();
    m_calibrating = calibrating;
    m_projection->setCalibrating(calibrating);
    const int rows = m_pointList->count();
    for (int row = 0; row < rows; ++row)
        m_pointList->graphicsItemAt(row)->setVisible(!calibrating);
}

void Scene::setDecimalPlaces(int decimalPlaces)
{
    m_projection->setDecimalPlaces(decimalPlaces);
}

void Scene::setSnapHorizontal(bool enabled)
{
    m_snapLines->setHorizontalEnabled(enabled);
}

void Scene::setSnapVertical(bool enabled)
{
    m_snapLines->setVerticalEnabled(enabled);
}

void Scene::resetOrigin()
{
    m_projection->resetOrigin();
}

void Scene::resetRuler()
{
    m_projection->resetRuler();
}

bool Scene::isCalibrating() const
{
    return m_calibrating;
}

QString Scene::fileName() const
{
    return m_fileName;
}

int Scene::nextId() const
{
    return m_nextId;
}

const QImage &Scene::image() const
{
    return m_pyramid.image();
}

ImagePyramid *Scene::imagePyramid()
{
    return &m_pyramid;
}

QAbstractItemModel *Scene::pointModel() const
{
    return m_pointList->model();
}

PointList *Scene::pointList() const
{
    return m_pointList;
}

Projection *Scene::projection() const
{
    return m_projection;
}

SnapLines *Scene::snapLines() const
{
    return m_snapLines;
}

void Scene::editRulerLength()
{
    m_projection->editRulerLength();
}

void Scene::selectPoint(int index)
{
    if (m_calibrating)
        return;
    clearSelection();
    if (index == -1)
        return;
    if (GraphicsPointItem *item = m_pointList->graphicsItemAt(index))
        item->setSelected(true);
}

void Scene::onPointSelected(GraphicsPointItem *point)
{
    for (int row = 0; const GraphicsPointItem *item = m_pointList->graphicsItemAt(row); ++row) {
        if (item == point) {
            emit pointSelected(row);
            return;
        }
    }
}

bool Scene::event(QEvent *event)
{
    if (kit::isSceneLeaveEvent(event)) {
        m_snapLines->setMouseInside(false);
        emit mouseLeft();
    }
    return QGraphicsScene::event(event);
}

// Draws only the exposed part of the image, from the copy that suits the
// zoom; the copies are built once the image has been shown.
void Scene::drawBackground(QPainter *painter, const QRectF &rect)
{
    m_pyramid.draw(painter, rect);
    m_pyramid.buildLevels();
}

// With Ctrl the origin is taken even where a ruler end lies on top of it.
void Scene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    GrahpicsAnchorItem *origin = m_projection->originAnchor();
    const bool originFirst = (event->modifiers() & Qt::ControlModifier) && m_calibrating;
    if (originFirst)
        origin->setZValue(1);
    QGraphicsScene::mousePressEvent(event);
    origin->setZValue(0);
    m_pressedItem = mouseGrabberItem();
    m_pressedItemPos = m_pressedItem ? m_pressedItem->pos() : QPointF();
    QGraphicsItem *grabbed = mouseGrabberItem();
    if (m_projection->handles().contains(grabbed))
        m_lastPressedHandle = grabbed;
}

QGraphicsItem *Scene::lastPressedHandle() const
{
    return m_lastPressedHandle ? m_lastPressedHandle : m_projection->originAnchor();
}

void Scene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    // Told by its moves that the mouse is inside: Qt 6 tells the scene only when it leaves.
    m_snapLines->setMouseInside(true);
    m_snapLines->mouseMovedTo(event->scenePos());
    emit mouseMoved(m_projection->toCoordinates(event->scenePos()));
    QGraphicsScene::mouseMoveEvent(event);
}

bool Scene::isClick(const QGraphicsSceneMouseEvent *event) const
{
    return event->button() == Qt::LeftButton
        && QLineF(event->buttonDownScenePos(Qt::LeftButton), event->scenePos()).length() < clickDistance;
}

void Scene::createPointAt(const QPointF &position)
{
    m_snapLines->mouseMovedTo(position);
    GraphicsPointItem *item = addPoint(m_nextId, m_snapLines->snappedPosition(position), m_fileName);
    clearSelection();
    item->setSelected(true);
    // The new point is the selected one for the table and the keys too.
    emit pointSelected(m_pointList->count() - 1);
    ++m_nextId;
    emit editFinished(QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Add Point")));
}

QString Scene::moveText(const QGraphicsItem *item) const
{
    if (item == m_projection->originAnchor())
        return QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Move Origin"));
    if (item == m_projection->rulerEnd1Anchor() || item == m_projection->rulerEnd2Anchor())
        return QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Move Ruler End"));
    if (m_projection->handles().mid(3).contains(const_cast<QGraphicsItem *>(item)))
        return QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Move Reference"));
    return QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Move Point"));
}

void Scene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsScene::mouseReleaseEvent(event);
    QGraphicsItem *pressed = std::exchange(m_pressedItem, nullptr);
    if (pressed && pressed->pos() != m_pressedItemPos)
        emit editFinished(moveText(pressed));
    if (event->isAccepted())
        return;
    // The grey margin beside a small picture is no part of the photo.
    if (isClick(event) && !m_calibrating && sceneRect().contains(event->scenePos()))
        createPointAt(event->scenePos());
}

} // namespace vireo
