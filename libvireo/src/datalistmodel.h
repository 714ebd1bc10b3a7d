#ifndef KIT_DATALISTMODEL_H
#define KIT_DATALISTMODEL_H

#include <QAbstractTableModel>
#include <QVector>

namespace kit {

class DataItem;
class DataList;
class DataListModel;

// Header data roles beyond the toolkit's own (horizontal headers only).
enum DataListRole {
    ColumnSpecRole = Qt::UserRole + 1,
    ColumnWidthRole = Qt::UserRole + 2,
    ColumnVisibleRole = Qt::UserRole + 3,
};

class DataListAction
{
public:
    DataListAction(const DataListAction &) = delete;
    DataListAction &operator=(const DataListAction &) = delete;

protected:
    explicit DataListAction(DataListModel *model)
        : m_model(model)
    {
    }
    ~DataListAction() = default;

    DataListModel *const m_model;
};

// Scoped announcement of inserted rows: begins on construction, ends on destruction.
class DataListInsertAction final : public DataListAction
{
public:
    DataListInsertAction(DataListModel *model, int first, int last);
    ~DataListInsertAction();
    int first() const { return m_first; }
    int last() const { return m_last; }

private:
    const int m_first;
    const int m_last;
};

class DataListRemoveAction final : public DataListAction
{
public:
    DataListRemoveAction(DataListModel *model, int first, int last);
    ~DataListRemoveAction();
    int first() const { return m_first; }
    int last() const { return m_last; }

private:
    const int m_first;
    const int m_last;
};

class DataListResetAction final : public DataListAction
{
public:
    explicit DataListResetAction(DataListModel *model);
    ~DataListResetAction();
};

// The table model of one DataList. Nested actions collapse into the
// notification of the outermost one.
class DataListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DataListModel(DataList *list);
    ~DataListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void itemChanged(DataItem *item, int firstColumn, int lastColumn);
    // The columns of every row changed at once (a change all rows depend
    // on): one notification instead of one per row.
    void allItemsChanged(int firstColumn, int lastColumn);

public slots:
    void itemChanged(int firstColumn, int lastColumn);

private:
    friend class DataListInsertAction;
    friend class DataListRemoveAction;
    friend class DataListResetAction;

    void beginInsertAction(const DataListInsertAction &action);
    void beginRemoveAction(const DataListRemoveAction &action);
    void beginResetAction(const DataListResetAction &action);
    void endInsertAction(const DataListInsertAction &action);
    void endRemoveAction(const DataListRemoveAction &action);
    void endResetAction(const DataListResetAction &action);
    void endAction(const DataListAction *action, const char *mismatchWarning);
    DataItem *itemAt(const QModelIndex &index) const;

    enum class Notification { Insert, Remove, Reset };

    QVector<const DataListAction *> m_actionStack;
    Notification m_openNotification = Notification::Reset;
    DataList *const m_list;
};

} // namespace kit

#endif
