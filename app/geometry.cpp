#include "geometry.h"

namespace vireo {

void Geometry::initialize(const QSize &imageSize)
{
    m_isNew = false;
    m_nextId = 1;
    const QPointF half(imageSize.width() * 0.5, imageSize.height() * 0.5);
    m_origin = half;
    m_rulerEnd1 = half;
    m_rulerEnd2 = half + half;
    m_rulerLength = 1.0;
}

void Geometry::load(kit::DataReader &reader)
{
    m_isNew = false;
    reader.readInt(QStringLiteral("nextid"), m_nextId);
    reader.readPointF(QStringLiteral("origin"), m_origin);
    reader.readPointF(QStringLiteral("rulerend1"), m_rulerEnd1);
    reader.readPointF(QStringLiteral("rulerend2"), m_rulerEnd2);
    reader.readDouble(QStringLiteral("rulerlength"), m_rulerLength);
    reader.readList(QStringLiteral("points"), QStringLiteral("point"), m_points);
    // Records without a plane end here.
    m_plane.clear();
    if (reader.hasNextItem())
        reader.readList(QStringLiteral("plane"), QStringLiteral("reference"), m_plane);
}

void Geometry::save(kit::DataWriter &writer) const
{
    writer.writeInt(QStringLiteral("nextid"), m_nextId);
    writer.writePointF(QStringLiteral("origin"), m_origin);
    writer.writePointF(QStringLiteral("rulerend1"), m_rulerEnd1);
    writer.writePointF(QStringLiteral("rulerend2"), m_rulerEnd2);
    writer.writeDouble(QStringLiteral("rulerlength"), m_rulerLength);
    writer.writeList(QStringLiteral("points"), QStringLiteral("point"), m_points);
    if (!m_plane.isEmpty())
        writer.writeList(QStringLiteral("plane"), QStringLiteral("reference"), m_plane);
}

void PlaneReference::load(kit::DataReader &reader)
{
    reader.readPointF(QStringLiteral("pos"), m_pos);
    reader.readPointF(QStringLiteral("world"), m_world);
}

void PlaneReference::save(kit::DataWriter &writer) const
{
    writer.writePointF(QStringLiteral("pos"), m_pos);
    writer.writePointF(QStringLiteral("world"), m_world);
}

} // namespace vireo
