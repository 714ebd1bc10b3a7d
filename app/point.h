#ifndef VIREO_POINT_H
#define VIREO_POINT_H

#include <storable.h>

#include <QPointF>
#include <QString>

namespace vireo {

// One measurement point: its number, its position in image pixels and the
// file name of the image it was placed on.
class Point : public kit::Storable
{
public:
    Point() = default;
    Point(int id, const QPointF &pos, const QString &file);

    int id() const { return m_id; }
    QPointF pos() const { return m_pos; }
    QString file() const { return m_file; }

    bool operator==(const Point &other) const;

    void load(kit::DataReader &reader) override;
    void save(kit::DataWriter &writer) const override;

private:
    QString m_file;
    int m_id = 0;
    QPointF m_pos;
};

} // namespace vireo

#endif
