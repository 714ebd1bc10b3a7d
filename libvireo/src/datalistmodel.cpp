#include "datalistmodel.h"

#include "datalist.h"
#include "dataspec.h"

#include <QDebug>

namespace kit {

DataListInsertAction::DataListInsertAction(DataListModel *model, int first, int last)
    : DataListAction(model)
    , m_first(first)
    , m_last(last)
{
    m_model->beginInsertAction(*this);
}

DataListInsertAction::~DataListInsertAction()
{
    m_model->endInsertAction(*this);
}

DataListRemoveAction::DataListRemoveAction(DataListModel *model, int first, int last)
    : DataListAction(model)
    , m_first(first)
    , m_last(last)
{
    m_model->beginRemoveAction(*this);
}

DataListRemoveAction::~DataListRemoveAction()
{
    m_model->endRemoveAction(*this);
}

DataListResetAction::DataListResetAction(DataListModel *model)
    : DataListAction(model)
{
    m_model->beginResetAction(*this);
}

DataListResetAction::~DataListResetAction()
{
    m_model->endResetAction(*this);
}

DataListModel::DataListModel(DataList *list)
    : m_list(list)
{
}

DataListModel::~DataListModel() = default;

void DataListModel::beginInsertAction(const DataListInsertAction &action)
{
    if (m_actionStack.isEmpty()) {
        m_openNotification = Notification::Insert;
        beginInsertRows(QModelIndex(), action.first(), action.last());
    }
    m_actionStack.append(&action);
}

void DataListModel::beginRemoveAction(const DataListRemoveAction &action)
{
    if (m_actionStack.isEmpty()) {
        m_openNotification = Notification::Remove;
        beginRemoveRows(QModelIndex(), action.first(), action.last());
    }
    m_actionStack.append(&action);
}

void DataListModel::beginResetAction(const DataListResetAction &action)
{
    if (m_actionStack.isEmpty()) {
        m_openNotification = Notification::Reset;
        beginResetModel();
    }
    m_actionStack.append(&action);
}

void DataListModel::endInsertAction(const DataListInsertAction &action)
{
    endAction(&action, "Ignoring non-matching end of insert action.");
}

void DataListModel::endRemoveAction(const DataListRemoveAction &action)
{
    endAction(&action, "Ignoring non-matching end of remove action.");
}

void DataListModel::endResetAction(const DataListResetAction &action)
{
    endAction(&action, "Ignoring non-matching end of reset action.");
}

// Removes the innermost action, warning when it is not the one ending. The
// last end closes the notification the outermost action opened, whatever
// kind of action ends last: closing another kind would corrupt the model.
void DataListModel::endAction(const DataListAction *action, const char *mismatchWarning)
{
    if (m_actionStack.isEmpty() || m_actionStack.last() != action)
        qWarning("%s", mismatchWarning);
    if (m_actionStack.isEmpty())
        return;
    m_actionStack.removeLast();
    if (!m_actionStack.isEmpty())
        return;
    switch (m_openNotification) {
    case Notification::Insert:
        endInsertRows();
        break;
    case Notification::Remove:
        endRemoveRows();
        break;
    case Notification::Reset:
        endResetModel();
        break;
    }
}

int DataListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list->count();
}

int DataListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list->columnCount();
}

DataItem *DataListModel::itemAt(const QModelIndex &index) const
{
    // This model makes no index outside its rows and columns.
    if (index.model() != this)
        return nullptr;
    return m_list->at(index.row());
}

Qt::ItemFlags DataListModel::flags(const QModelIndex &index) const
{
    const DataItem *item = itemAt(index);
    if (!item)
        return Qt::NoItemFlags;
    const int column = index.column();
    Qt::ItemFlags result = Qt::NoItemFlags;
    if (item->isEditable(column))
        result |= Qt::ItemIsEditable;
    if (item->isEnabled(column))
        result |= Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const DataSpec *spec = m_list->columnSpec(column);
    if (spec && spec->isCheckable())
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant DataListModel::data(const QModelIndex &index, int role) const
{
    const DataItem *item = itemAt(index);
    if (!item)
        return QVariant();
    const int column = index.column();
    const DataSpec *spec = m_list->columnSpec(column);
    const bool checkable = spec && spec->isCheckable();

    switch (role) {
    case Qt::DisplayRole:
        return checkable ? QVariant() : item->displayValue(column);
    case Qt::DecorationRole:
        return item->icon(column);
    case Qt::EditRole:
        return item->value(column);
    case Qt::ToolTipRole:
    case Qt::StatusTipRole:
    case Qt::FontRole:
    case Qt::ForegroundRole:
        return QVariant();
    case Qt::TextAlignmentRole:
        return m_list->columnAlignment(column);
    case Qt::BackgroundRole:
        return item->background(column);
    case Qt::CheckStateRole:
        if (!checkable)
            return QVariant();
        return item->value(column).toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::AccessibleDescriptionRole:
        return item->accessibleDescription(column);
    case Qt::UserRole:
        return item->userValue(column);
    default:
        qWarning() << "Role" << role << "is not supported.";
        return QVariant();
    }
}

bool DataListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    DataItem *item = itemAt(index);
    if (!item || !index.isValid())
        return false;
    switch (role) {
    case Qt::EditRole:
        return item->setValue(index.column(), value);
    case Qt::CheckStateRole:
        return item->setValue(index.column(), QVariant(value.toInt() == Qt::Checked));
    default:
        return false;
    }
}

QVariant DataListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_list->columnTitle(section);
    case Qt::ToolTipRole:
        return m_list->columnDescription(section);
    case ColumnSpecRole:
        return QVariant::fromValue(static_cast<void *>(m_list->columnSpec(section)));
    case ColumnWidthRole:
        return m_list->columnWidth(section);
    case ColumnVisibleRole:
        return m_list->columnVisible(section);
    default:
        return QVariant();
    }
}

void DataListModel::itemChanged(int firstColumn, int lastColumn)
{
    itemChanged(qobject_cast<DataItem *>(sender()), firstColumn, lastColumn);
}

void DataListModel::allItemsChanged(int firstColumn, int lastColumn)
{
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, firstColumn), index(rows - 1, lastColumn), {});
}

void DataListModel::itemChanged(DataItem *item, int firstColumn, int lastColumn)
{
    const int row = m_list->indexOf(item);
    if (row < 0)
        return;
    emit dataChanged(index(row, firstColumn), index(row, lastColumn), {});
}

} // namespace kit
