#ifndef VIREO_GEOMETRY_H
#define VIREO_GEOMETRY_H

#include "point.h"

#include <QList>
#include <QSize>

namespace vireo {

// One of the four references of a plane: where it lies in the image and its
// coordinates on the plane.
class PlaneReference : public kit::Storable
{
public:
    PlaneReference() = default;
    PlaneReference(const QPointF &pos, const QPointF &world)
        : m_pos(pos)
        , m_world(world)
    {
    }

    QPointF pos() const { return m_pos; }
    QPointF world() const { return m_world; }
    bool operator==(const PlaneReference &other) const { return m_pos == other.m_pos && m_world == other.m_world; }

    void load(kit::DataReader &reader) override;
    void save(kit::DataWriter &writer) const override;

private:
    QPointF m_pos;
    QPointF m_world;
};

// The record of one image or folder: origin, calibration ruler with its
// length, the points and the number the next point gets.
class Geometry : public kit::Storable
{
public:
    bool isNew() const { return m_isNew; }

    int nextId() const { return m_nextId; }
    void setNextId(int nextId) { m_nextId = nextId; }
    QPointF origin() const { return m_origin; }
    void setOrigin(const QPointF &origin) { m_origin = origin; }
    QPointF rulerEnd1() const { return m_rulerEnd1; }
    void setRulerEnd1(const QPointF &end) { m_rulerEnd1 = end; }
    QPointF rulerEnd2() const { return m_rulerEnd2; }
    void setRulerEnd2(const QPointF &end) { m_rulerEnd2 = end; }
    double rulerLength() const { return m_rulerLength; }
    void setRulerLength(double length) { m_rulerLength = length; }

    int pointCount() const { return m_points.size(); }
    const Point &point(int index) const { return m_points.at(index); }
    QList<Point> points() const { return m_points; }
    void clearPoints() { m_points.clear(); }
    void addPoint(const Point &point) { m_points.append(point); }

    // Four references while the record measures on a plane, else none.
    QList<PlaneReference> plane() const { return m_plane; }
    void setPlane(const QList<PlaneReference> &plane) { m_plane = plane; }

    // The default calibration for an image: origin at the centre, ruler from
    // the centre to the bottom-right corner, length 1.
    void initialize(const QSize &imageSize);

    void load(kit::DataReader &reader) override;
    void save(kit::DataWriter &writer) const override;

private:
    bool m_isNew = true;
    int m_nextId = 1;
    QPointF m_origin;
    QList<Point> m_points;
    QPointF m_rulerEnd1;
    QPointF m_rulerEnd2;
    double m_rulerLength = 0.0;
    QList<PlaneReference> m_plane;
};

} // namespace vireo

#endif
