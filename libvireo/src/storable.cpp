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
    bool ok = readInt(QStringLiteral("x"), x);
    if (ok) {
        point.setX(x);
        ok = readInt(QStringLiteral("y"), y);
        if (ok)
            point.setY(y);
    }
    endGroup();
    return ok;
}

bool DataReader::readPointF(const QString &name, QPointF &point)
{
    beginGroup(name);
    double x = point.x();
    double y = point.y();
    bool ok = readDouble(QStringLiteral("x"), x);
    if (ok) {
        point.setX(x);
        ok = readDouble(QStringLiteral("y"), y);
        if (ok)
            point.setY(y);
    }
    endGroup();
    return ok;
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
