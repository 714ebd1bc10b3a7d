#include "datalist.h"

#include "datalistmodel.h"
#include "dataspec.h"

#include <QDebug>
#include <QList>

#include <algorithm>

namespace kit {

class DataItem::Private
{
public:
    QList<int> pendingColumns;
    // Row bookkeeping of the owning list: a hint checked before it is trusted.
    const DataList *list = nullptr;
    int row = -1;
};

DataItem::DataItem(QObject *parent)
    : QObject(parent)
    , d(new Private)
{
}

DataItem::~DataItem() = default;

QString DataItem::accessibleDescription(int) const
{
    return QString();
}

QBrush DataItem::background(int) const
{
    return QBrush();
}

QVariant DataItem::displayValue(int column) const
{
    return value(column);
}

bool DataItem::storeValue(int, const QVariant &)
{
    return false;
}

bool DataItem::isEditable(int) const
{
    return true;
}

bool DataItem::isEnabled(int) const
{
    return true;
}

QIcon DataItem::icon(int) const
{
    return QIcon();
}

QVariant DataItem::userValue(int) const
{
    return QVariant();
}

bool DataItem::setValue(int column, const QVariant &value)
{
    if (this->value(column) == value)
        return false;
    if (!d->pendingColumns.isEmpty())
        return false;
    d->pendingColumns = {column};
    if (!storeValue(column, value)) {
        d->pendingColumns.clear();
        return false;
    }
    const auto [first, last] = std::minmax_element(d->pendingColumns.cbegin(), d->pendingColumns.cend());
    const int firstColumn = *first;
    const int lastColumn = *last;
    d->pendingColumns.clear();
    emit changed(firstColumn, lastColumn);
    return true;
}

void DataItem::markChanged(int column)
{
    d->pendingColumns.append(column);
}

class DataList::Private
{
public:
    int columnCount = 0;
    QList<DataItem *> items;
    std::unique_ptr<DataListModel> model;
};

DataList::DataList(int columnCount, QObject *parent)
    : QObject(parent)
    , d(new Private)
{
    d->columnCount = columnCount;
    d->model.reset(new DataListModel(this));
}

DataList::~DataList()
{
    for (DataItem *item : qAsConst(d->items)) {
        disconnect(item, &DataItem::changed, d->model.get(), nullptr);
        delete item;
    }
    d->items.clear();
}

int DataList::columnAlignment(int column) const
{
    const DataSpec *spec = columnSpec(column);
    if (spec && spec->isCheckable())
        return Qt::AlignHCenter | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

bool DataList::columnVisible(int) const
{
    return true;
}

int DataList::columnWidth(int) const
{
    return 100;
}

DataSpec *DataList::columnSpec(int) const
{
    return nullptr;
}

QString DataList::columnTitle(int) const
{
    return QString();
}

QString DataList::columnDescription(int) const
{
    return QString();
}

DataItem *DataList::createItem()
{
    return nullptr;
}

QString DataList::itemName() const
{
    return QStringLiteral("item");
}

void DataList::save(DataWriter &writer) const
{
    for (const DataItem *item : qAsConst(d->items))
        writer.writeObject(itemName(), *item);
}

void DataList::load(DataReader &reader)
{
    DataListResetAction action(d->model.get());
    clear();
    while (reader.hasNextItem()) {
        DataItem *item = appendNew();
        if (!item)
            break;
        reader.readObject(itemName(), *item);
    }
}

int DataList::count() const
{
    return d->items.count();
}

bool DataList::isEmpty() const
{
    return d->items.isEmpty();
}

DataItem *DataList::at(int index) const
{
    return index >= 0 && index < d->items.count() ? d->items.at(index) : nullptr;
}

int DataList::indexOf(const DataItem *item) const
{
    if (!item || item->d->list != this)
        return -1;
    const int hint = item->d->row;
    if (d->items.value(hint) == item)
        return hint;
    renumberRows();
    return item->d->row;
}

void DataList::renumberRows() const
{
    for (int row = 0; row < d->items.count(); ++row)
        d->items.at(row)->d->row = row;
}

DataItem *DataList::first() const
{
    return d->items.isEmpty() ? nullptr : d->items.first();
}

DataItem *DataList::last() const
{
    return d->items.isEmpty() ? nullptr : d->items.last();
}

int DataList::columnCount() const
{
    return d->columnCount;
}

DataListModel *DataList::model() const
{
    return d->model.get();
}

// The row is bound into the connection: asking the model's slot for its
// sender() would search every connection of the model, one per row.
void DataList::adopt(DataItem *item)
{
    item->d->list = this;
    DataListModel *model = d->model.get();
    connect(item, &DataItem::changed, model,
            [model, item](int firstColumn, int lastColumn) { model->itemChanged(item, firstColumn, lastColumn); });
}

void DataList::release(DataItem *item)
{
    disconnect(item, &DataItem::changed, d->model.get(), nullptr);
    item->d->list = nullptr;
    delete item;
}

void DataList::append(DataItem *item)
{
    if (!item) {
        qWarning("Ignoring NULL pointer in DataList::append");
        return;
    }
    if (item->d->list) {
        qWarning("Ignoring item already in a DataList in DataList::append");
        return;
    }
    const int row = count();
    DataListInsertAction action(d->model.get(), row, row);
    d->items.append(item);
    item->d->row = row;
    adopt(item);
}

void DataList::insert(int index, DataItem *item)
{
    if (!item) {
        qWarning("Ignoring NULL pointer in DataList::insert");
        return;
    }
    if (index < 0 || index > count()) {
        qWarning() << "Ignoring invalid index" << index << "in DataList::insert";
        return;
    }
    if (item->d->list) {
        qWarning("Ignoring item already in a DataList in DataList::insert");
        return;
    }
    DataListInsertAction action(d->model.get(), index, index);
    d->items.insert(index, item);
    item->d->row = index;
    adopt(item);
}

void DataList::removeAt(int index)
{
    if (index < 0 || index >= count()) {
        qWarning() << "Ignoring invalid index " << index << " in DataList::removeAt";
        return;
    }
    DataListRemoveAction action(d->model.get(), index, index);
    release(d->items.takeAt(index));
}

void DataList::clear()
{
    DataListResetAction action(d->model.get());
    const QList<DataItem *> items = d->items;
    d->items.clear();
    for (DataItem *item : items)
        release(item);
}

DataItem *DataList::appendNew()
{
    DataItem *item = createItem();
    append(item);
    return item;
}

DataItem *DataList::insertNew(int index)
{
    if (index < 0 || index > count()) {
        qWarning() << "Ignoring invalid index" << index << "in DataList::insertNew";
        return nullptr;
    }
    DataItem *item = createItem();
    insert(index, item);
    return item;
}

} // namespace kit
