#ifndef VIREO_POINTLIST_H
#define VIREO_POINTLIST_H

#include <datalist.h>

namespace vireo {

class GraphicsPointItem;

// The rows of the point table: number, X, Y and file.
class PointList : public kit::DataList
{
    Q_OBJECT

public:
    explicit PointList(QObject *parent = nullptr);
    ~PointList() override;

    int columnAlignment(int column) const override;
    int columnWidth(int column) const override;
    QString columnTitle(int column) const override;

    GraphicsPointItem *graphicsItemAt(int row) const;

protected:
    kit::DataItem *createItem() override;
    QString itemName() const override;
};

} // namespace vireo

#endif
