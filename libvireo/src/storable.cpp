#include "storable.h"

namespace kit {

Storable::~Storable() = default;

void Storable::load(DataReader &)
{
}

void Storable::save(DataWriter &) const
{
}

DataReader::~DataReader() = default;

bool DataReader::readPoint(const QString &name, QPoint &point)
{
    beginGroup(name);
    int x = point.x();
    int y = point.y();
    // Each coordinate on its own: one that cannot be read keeps its value.
    const bool hasX = readInt(QStringLiteral("x"), x);
    const bool hasY = readInt(QStringLiteral("y"), y);
    endGroup();
    point = QPoint(x, y);
    return hasX && hasY;
}

bool DataReader::readPointF(const QString &name, QPointF &point)
{
    beginGroup(name);
    double x = point.x();
    double y = point.y();
    // Each coordinate on its own: one that cannot be read keeps its value.
    const bool hasX = readDouble(QStringLiteral("x"), x);
    const bool hasY = readDouble(QStringLiteral("y"), y);
    endGroup();
    point = QPointF(x, y);
    return hasX && hasY;
}

DataWriter::~DataWriter() = default;

void DataWriter::writePoint(const QString &name, const QPoint &point)
{
    beginGroup(name);
    writeInt(QStringLiteral("x"), point.x());
    writeInt(QStringLiteral("y"), point.y());
    endGroup();
}

void DataWriter::writePointF(const QString &name, const QPointF &point)
{
    beginGroup(name);
    writeDouble(QStringLiteral("x"), point.x());
    writeDouble(QStringLiteral("y"), point.y());
    endGroup();
}

} // namespace kit
