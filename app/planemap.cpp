#include "planemap.h"

#include <QCoreApplication>
#include <QLineF>

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace vireo {

namespace {

const int corners = 4;

double cross(const QPointF &a, const QPointF &b, const QPointF &c)
{
    return (b.x() - a.x()) * (c.y() - a.y()) - (b.y() - a.y()) * (c.x() - a.x());
}

QPolygonF polygon(const QVector<QPointF> &points)
{
    return QPolygonF(points);
}

QPointF noPoint()
{
    return QPointF(qQNaN(), qQNaN());
}

} // namespace

PlaneMap::PlaneMap(const QVector<QPointF> &image, const QVector<QPointF> &plane)
    : m_image(image)
    , m_plane(plane)
{
    if (image.size() != corners || plane.size() != corners)
        return;
    m_problem = checkQuad(image, Problem::ImageLine, Problem::ImageFold);
    if (m_problem == Problem::None)
        m_problem = checkQuad(plane, Problem::PlaneLine, Problem::PlaneFold);
    if (m_problem != Problem::None)
        return;
    if (!QTransform::quadToQuad(polygon(image), polygon(plane), m_toPlane)
        || !QTransform::quadToQuad(polygon(plane), polygon(image), m_toImage))
        m_problem = Problem::NoMap;
}

// Three corners on one line, measured against the quadrilateral's size, or
// corners that do not turn the same way round (a fold or a dent, where the
// map would send part of the quadrilateral across infinity).
PlaneMap::Problem PlaneMap::checkQuad(const QVector<QPointF> &quad, Problem line, Problem fold)
{
    double extent = 0;
    for (const QPointF &a : quad)
        for (const QPointF &b : quad)
            extent = std::max(extent, QLineF(a, b).length());
    if (!(extent > 0) || !std::isfinite(extent))
        return line;
    int positive = 0;
    for (int i = 0; i < corners; ++i) {
        const double turn = cross(quad[i], quad[(i + 1) % corners], quad[(i + 2) % corners]);
        if (std::abs(turn) < 1e-6 * extent * extent)
            return line;
        positive += turn > 0;
    }
    // Any three of four: the one left out above is the pair across.
    for (int i = 0; i < corners; ++i) {
        if (std::abs(cross(quad[i], quad[(i + 1) % corners], quad[(i + 3) % corners])) < 1e-6 * extent * extent)
            return line;
    }
    return positive == 0 || positive == corners ? Problem::None : fold;
}

bool PlaneMap::isValid() const
{
    return m_problem == Problem::None;
}

QString PlaneMap::problem() const
{
    switch (m_problem) {
    case Problem::None:
        return QString();
    case Problem::ImageLine:
        return QCoreApplication::translate("vireo::PlaneMap", "Three references lie on one line in the photo.");
    case Problem::PlaneLine:
        return QCoreApplication::translate("vireo::PlaneMap", "Three references lie on one line on the plane.");
    case Problem::ImageFold:
        return QCoreApplication::translate("vireo::PlaneMap",
                                           "The references fold over in the photo: place them in order round the shape.");
    case Problem::PlaneFold:
        return QCoreApplication::translate("vireo::PlaneMap",
                                           "The plane coordinates fold over: give them in order round the shape.");
    default:
        return QCoreApplication::translate("vireo::PlaneMap", "The references give no map.");
    }
}

QPointF PlaneMap::map(const QPointF &imagePos) const
{
    return isValid() ? m_toPlane.map(imagePos) : noPoint();
}

QPointF PlaneMap::imagePos(const QPointF &planePos) const
{
    return isValid() ? m_toImage.map(planePos) : noPoint();
}

// Each reference's worst half-pixel shift is added up at every point of a
// grid over the quadrilateral: to first order the effects of several
// misplaced references add, so the sum bounds them together.
double PlaneMap::errorBound() const
{
    if (!isValid())
        return qQNaN();
    const int steps = 10;
    QVector<QPointF> samples;
    for (int i = 0; i <= steps; ++i) {
        for (int j = 0; j <= steps; ++j) {
            const double u = double(i) / steps;
            const double v = double(j) / steps;
            const QPointF onPlane = (1 - u) * (1 - v) * m_plane[0] + u * (1 - v) * m_plane[1] + u * v * m_plane[2]
                + (1 - u) * v * m_plane[3];
            samples.append(imagePos(onPlane));
        }
    }
    QVector<double> bound(samples.size(), 0.0);
    for (int reference = 0; reference < corners; ++reference) {
        QVector<double> worst(samples.size(), 0.0);
        for (const QPointF shift : {QPointF(0.5, 0.5), QPointF(0.5, -0.5), QPointF(-0.5, 0.5), QPointF(-0.5, -0.5)}) {
            QVector<QPointF> moved = m_image;
            moved[reference] += shift;
            const PlaneMap shifted(moved, m_plane);
            for (int s = 0; s < samples.size(); ++s) {
                const QPointF d = shifted.map(samples[s]) - map(samples[s]);
                worst[s] = std::max(worst[s], shifted.isValid() ? std::hypot(d.x(), d.y()) : qInf());
            }
        }
        for (int s = 0; s < samples.size(); ++s)
            bound[s] += worst[s];
    }
    return *std::max_element(bound.begin(), bound.end());
}

} // namespace vireo
