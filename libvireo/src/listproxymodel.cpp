#include "listproxymodel.h"

namespace kit {

ListProxyModel::ListProxyModel(QObject *parent)
    : QAbstractProxyModel(parent)
{
}

ListProxyModel::~ListProxyModel() = default;

QModelIndex ListProxyModel::index(int row, int column, const QModelIndex &parent) const
{
    // A negative row or column makes an invalid index of itself.
    if (parent.isValid() || row >= rowCount() || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column, quintptr(0));
}

QModelIndex ListProxyModel::parent(const QModelIndex &) const
{
    return QModelIndex();
}

int ListProxyModel::rowCount(const QModelIndex &parent) const
{
    return sourceModel() ? sourceModel()->rowCount(mapToSource(parent)) : 0;
}

int ListProxyModel::columnCount(const QModelIndex &parent) const
{
    return sourceModel() ? sourceModel()->columnCount(mapToSource(parent)) : 0;
}

QVariant ListProxyModel::data(const QModelIndex &index, int role) const
{
    return sourceModel() ? sourceModel()->data(mapToSource(index), role) : QVariant();
}

QVariant ListProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return sourceModel() ? sourceModel()->headerData(section, orientation, role) : QVariant();
}

QModelIndex ListProxyModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!sourceModel() || !proxyIndex.isValid())
        return QModelIndex();
    return sourceModel()->index(proxyIndex.row(), proxyIndex.column(), QModelIndex());
}

QModelIndex ListProxyModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid())
        return QModelIndex();
    return createIndex(sourceIndex.row(), sourceIndex.column(), quintptr(0));
}

int ListProxyModel::mapRowFromSource(int sourceRow) const
{
    return sourceRow;
}

void ListProxyModel::setSourceModel(QAbstractItemModel *model)
{
    if (QAbstractItemModel *old = sourceModel())
        old->disconnect(this);
    QAbstractProxyModel::setSourceModel(model);
    if (!model)
        return;
    connect(model, &QAbstractItemModel::dataChanged, this, &ListProxyModel::sourceDataChanged);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &ListProxyModel::sourceModelAboutToBeReset);
    connect(model, &QAbstractItemModel::modelReset, this, &ListProxyModel::sourceModelReset);
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, &ListProxyModel::sourceRowsAboutToBeInserted);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ListProxyModel::sourceRowsInserted);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, &ListProxyModel::sourceRowsAboutToBeRemoved);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ListProxyModel::sourceRowsRemoved);
}

void ListProxyModel::sourceDataChanged(const QModelIndex &, const QModelIndex &)
{
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows == 0 || columns == 0)
        return;
    emit dataChanged(index(0, 0), index(rows - 1, columns - 1), {});
}

void ListProxyModel::sourceModelAboutToBeReset()
{
    beginResetModel();
}

void ListProxyModel::sourceModelReset()
{
    endResetModel();
}

void ListProxyModel::sourceRowsAboutToBeInserted(const QModelIndex &parent, int start, int end)
{
    beginInsertRows(mapFromSource(parent), mapRowFromSource(start), mapRowFromSource(end));
}

void ListProxyModel::sourceRowsInserted()
{
    endInsertRows();
}

void ListProxyModel::sourceRowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    beginRemoveRows(mapFromSource(parent), mapRowFromSource(start), mapRowFromSource(end));
}

void ListProxyModel::sourceRowsRemoved()
{
    endRemoveRows();
}

} // namespace kit
