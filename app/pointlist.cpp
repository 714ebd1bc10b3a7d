#include "pointlist.h"

#include "pointitem.h"

namespace vireo {

PointList::PointList(QObject *parent)
    : DataList(4, parent)
{
}

PointList::~PointList() = default;

int PointList::columnAlignment(int column) const
{
    switch (column) {
    case 0:
    case 3:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case 1:
    case 2:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return DataList::columnAlignment(column);
    }
}

int PointList::columnWidth(int column) const
{
    switch (column) {
    case 0:
        return 50;
    case 1:
    case 2:
        return 70;
    case 3:
        return 100;
    default:
        return DataList::columnWidth(column);
    }
}

QString PointList::columnTitle(int column) const
{
    switch (column) {
    case 0:
        return tr("Nbr.");
    case 1:
        return tr("X");
    case 2:
        return tr("Y");
    case 3:
        return tr("File");
    default:
        return DataList::columnTitle(column);
    }
}

GraphicsPointItem *PointList::graphicsItemAt(int row) const
{
    const auto item = qobject_cast<PointItem *>(at(row));
    return item ? item->graphicsItem() : nullptr;
}

kit::DataItem *PointList::createItem()
{
    return new PointItem(nullptr);
}

QString PointList::itemName() const
{
    return QStringLiteral("point");
}

} // namespace vireo
