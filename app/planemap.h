#ifndef VIREO_PLANEMAP_H
#define VIREO_PLANEMAP_H

#include <QPointF>
#include <QString>
#include <QTransform>
#include <QVector>

namespace vireo {

// The projective map that takes four reference positions in the image to
// their four positions on a plane photographed at an angle. Sets that give
// no trustworthy map (three references on one line, a quadrilateral that
// folds over, in the photo or on the plane) give no map, and say why.
class PlaneMap
{
public:
    PlaneMap() = default;
    PlaneMap(const QVector<QPointF> &image, const QVector<QPointF> &plane);

    bool isValid() const;
    // Why there is no map; empty when there is one.
    QString problem() const;
    // Plane coordinates of an image position; NaN without a map.
    QPointF map(const QPointF &imagePos) const;
    // Image position of plane coordinates; NaN without a map.
    QPointF imagePos(const QPointF &planePos) const;
    // The most a point within the quadrilateral moves on the plane when each
    // reference is misplaced by up to half a pixel across and down; NaN
    // without a map.
    double errorBound() const;

private:
    enum class Problem { None, Count, ImageLine, PlaneLine, ImageFold, PlaneFold, NoMap };
    static Problem checkQuad(const QVector<QPointF> &corners, Problem line, Problem fold);

    QVector<QPointF> m_image;
    QVector<QPointF> m_plane;
    QTransform m_toPlane;
    QTransform m_toImage;
    Problem m_problem = Problem::Count;
};

} // namespace vireo

#endif
