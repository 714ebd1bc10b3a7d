#include "point.h"

namespace vireo {

Point::Point(int id, const QPointF &pos, const QString &file)
    : m_file(file)
    , m_id(id)
    , m_pos(pos)
{
}

bool Point::operator==(const Point &other) const
{
    return m_id == other.m_id && m_pos == other.m_pos && m_file == other.m_file;
}

void Point::load(kit::DataReader &reader)
{
    reader.readInt(QStringLiteral("id"), m_id);
    reader.readPointF(QStringLiteral("pos"), m_pos);
    reader.readString(QStringLiteral("file"), m_file);
}

void Point::save(kit::DataWriter &writer) const
{
    writer.writeInt(QStringLiteral("id"), m_id);
    writer.writePointF(QStringLiteral("pos"), m_pos);
    writer.writeString(QStringLiteral("file"), m_file);
}

} // namespace vireo
