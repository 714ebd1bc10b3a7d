#include "planecalibration.h"

#include "geometry.h"
#include "grahpicsanchoritem.h"
#include "graphicslabelitem.h"

#include <tableview.h>

#include <QBrush>
#include <QGraphicsLineItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsScene>
#include <QPen>
#include <QSignalBlocker>

#include <algorithm>

namespace vireo {

namespace {
const int referenceCount = 4;
} // namespace

PlaneCalibration::PlaneCalibration(QGraphicsScene *scene, QObject *parent)
    : QObject(parent)
    , m_world({QPointF(0, 0), QPointF(1, 0), QPointF(1, 1), QPointF(0, 1)})
    , m_quad(new QGraphicsPolygonItem)
    , m_xAxis(new QGraphicsLineItem)
    , m_yAxis(new QGraphicsLineItem)
    , m_label(new GraphicsLabelItem)
{
    QPen quadPen(QColor(0, 120, 255), 2);
    quadPen.setCosmetic(true);
    m_quad->setPen(quadPen);
    m_xAxis->setPen(QPen(Qt::red));
    m_yAxis->setPen(QPen(Qt::red));
    // Above the quadrilateral, whose edges they often run along.
    m_xAxis->setZValue(1);
    m_yAxis->setZValue(1);
    m_label->setBrush(QBrush(QColor(0, 120, 255)));
    for (QGraphicsItem *item : {static_cast<QGraphicsItem *>(m_quad), static_cast<QGraphicsItem *>(m_xAxis),
                                static_cast<QGraphicsItem *>(m_yAxis), static_cast<QGraphicsItem *>(m_label)}) {
        item->setVisible(false);
        scene->addItem(item);
    }
    for (int i = 0; i < referenceCount; ++i) {
        auto handle = new GrahpicsAnchorItem;
        handle->setVisible(false);
        scene->addItem(handle);
        connect(handle, &QGraphicsObject::xChanged, this, &PlaneCalibration::update);
        connect(handle, &QGraphicsObject::yChanged, this, &PlaneCalibration::update);
        m_handles.append(handle);
    }
}

PlaneCalibration::~PlaneCalibration() = default;

bool PlaneCalibration::isOn() const
{
    return m_on;
}

QList<PlaneReference> PlaneCalibration::references() const
{
    QList<PlaneReference> references;
    if (!m_on)
        return references;
    for (int i = 0; i < referenceCount; ++i)
        references.append(PlaneReference(m_handles[i]->pos(), m_world[i]));
    return references;
}

// Anything but four references measures with the ruler.
void PlaneCalibration::setReferences(const QList<PlaneReference> &references)
{
    m_on = references.size() == referenceCount;
    if (m_on) {
        for (int i = 0; i < referenceCount; ++i) {
            const QSignalBlocker blocker(m_handles[i]);
            m_handles[i]->setPos(references[i].pos());
            m_world[i] = references[i].world();
        }
    }
    update();
}

void PlaneCalibration::startIn(const QRectF &imageRect)
{
    const QRectF middle = imageRect.adjusted(imageRect.width() / 4, imageRect.height() / 4, -imageRect.width() / 4,
                                             -imageRect.height() / 4);
    setReferences({PlaneReference(middle.bottomLeft(), QPointF(0, 0)), PlaneReference(middle.bottomRight(), QPointF(1, 0)),
                   PlaneReference(middle.topRight(), QPointF(1, 1)), PlaneReference(middle.topLeft(), QPointF(0, 1))});
}

QVector<QPointF> PlaneCalibration::world() const
{
    return m_world;
}

void PlaneCalibration::setWorld(const QVector<QPointF> &world)
{
    if (world.size() != referenceCount || world == m_world)
        return;
    m_world = world;
    update();
}

const PlaneMap &PlaneCalibration::map() const
{
    return m_map;
}

QList<GrahpicsAnchorItem *> PlaneCalibration::handles() const
{
    return m_handles;
}

GraphicsLabelItem *PlaneCalibration::label() const
{
    return m_label;
}

QString PlaneCalibration::labelText() const
{
    return m_label->text();
}

void PlaneCalibration::setVisible(bool shown, bool calibrating)
{
    const bool visible = shown && m_on;
    for (QGraphicsItem *item : {static_cast<QGraphicsItem *>(m_quad), static_cast<QGraphicsItem *>(m_xAxis),
                                static_cast<QGraphicsItem *>(m_yAxis)})
        item->setVisible(visible);
    m_label->setVisible(visible && calibrating);
    for (GrahpicsAnchorItem *handle : m_handles)
        handle->setVisible(visible && calibrating);
}

void PlaneCalibration::setDecimalPlaces(int decimalPlaces)
{
    m_decimalPlaces = decimalPlaces;
    updateLabel();
}

QVector<QPointF> PlaneCalibration::imagePositions() const
{
    QVector<QPointF> positions;
    for (const GrahpicsAnchorItem *handle : m_handles)
        positions.append(handle->pos());
    return positions;
}

// The axes run through the plane's origin across the references' extent.
void PlaneCalibration::update()
{
    m_map = m_on ? PlaneMap(imagePositions(), m_world) : PlaneMap();
    const QVector<QPointF> image = imagePositions();
    m_quad->setPolygon(QPolygonF(image));
    double left = 0, right = 0, bottom = 0, top = 0;
    for (const QPointF &w : m_world) {
        left = std::min(left, w.x());
        right = std::max(right, w.x());
        bottom = std::min(bottom, w.y());
        top = std::max(top, w.y());
    }
    const bool valid = m_map.isValid();
    m_xAxis->setLine(valid ? QLineF(m_map.imagePos(QPointF(left, 0)), m_map.imagePos(QPointF(right, 0))) : QLineF());
    m_yAxis->setLine(valid ? QLineF(m_map.imagePos(QPointF(0, bottom)), m_map.imagePos(QPointF(0, top))) : QLineF());
    m_label->setPos(QPolygonF(image).boundingRect().center());
    m_errorBound = m_map.errorBound();
    updateLabel();
    emit changed();
}

void PlaneCalibration::updateLabel()
{
    const bool number = kit::isNumberToShow(m_errorBound);
    m_label->setText(m_map.isValid() ? (number ? tr("± %1").arg(m_errorBound, 0, 'f', m_decimalPlaces) : QString())
                                     : m_map.problem());
}

} // namespace vireo
