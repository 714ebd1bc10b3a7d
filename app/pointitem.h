#ifndef VIREO_POINTITEM_H
#define VIREO_POINTITEM_H

#include <datalist.h>

namespace vireo {

class GraphicsPointItem;

// One row of the point table; reads number, coordinates and file live from
// its point item.
class PointItem : public kit::DataItem
{
    Q_OBJECT

public:
    explicit PointItem(GraphicsPointItem *graphicsItem);
    ~PointItem() override;

    QVariant value(int column) const override;
    bool isEditable(int column) const override;
    GraphicsPointItem *graphicsItem() const;

public slots:
    void coordinatesChanged();

private:
    GraphicsPointItem *m_graphicsItem;
};

} // namespace vireo

#endif
