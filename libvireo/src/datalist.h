#ifndef KIT_DATALIST_H
#define KIT_DATALIST_H

#include "storable.h"

#include <QBrush>
#include <QIcon>
#include <QObject>
#include <QVariant>

#include <memory>

namespace kit {

class DataList;
class DataListModel;
class DataSpec;

// One row of a DataList: answers per column what it shows and whether a cell
// may change, and announces changed cells with changed().
class DataItem : public QObject, public Storable
{
    Q_OBJECT

public:
    explicit DataItem(QObject *parent = nullptr);
    ~DataItem() override;

    virtual QVariant value(int column) const = 0;
    virtual QString accessibleDescription(int column) const;
    virtual QBrush background(int column) const;
    virtual QVariant displayValue(int column) const;

    virtual bool isEditable(int column) const;
    virtual bool isEnabled(int column) const;
    virtual QIcon icon(int column) const;
    virtual QVariant userValue(int column) const;

    // Stores a new value through storeValue() and emits changed() for every
    // column marked meanwhile; false when nothing changed.
    bool setValue(int column, const QVariant &value);
    // Called from within storeValue() for a further column that changed.
    void markChanged(int column);

signals:
    void changed(int firstColumn, int lastColumn);

protected:
    virtual bool storeValue(int column, const QVariant &value);

private:
    friend class DataList;
    class Private;
    std::unique_ptr<Private> d;
};

// An owning list of rows with column descriptions and one table model that
// follows every change.
class DataList : public QObject, public Storable
{
    Q_OBJECT

public:
    DataList(int columnCount, QObject *parent = nullptr);
    ~DataList() override;

    virtual int columnAlignment(int column) const;
    virtual bool columnVisible(int column) const;
    virtual int columnWidth(int column) const;
    virtual DataSpec *columnSpec(int column) const;
    virtual QString columnTitle(int column) const;
    virtual QString columnDescription(int column) const;
    void load(DataReader &reader) override;
    void save(DataWriter &writer) const override;

    int count() const;
    int size() const { return count(); }
    bool isEmpty() const;
    DataItem *at(int index) const;
    int indexOf(const DataItem *item) const;
    DataItem *first() const;
    DataItem *last() const;
    int columnCount() const;
    DataListModel *model() const;

    void append(DataItem *item);
    void insert(int index, DataItem *item);
    void removeAt(int index);
    void clear();
    DataItem *appendNew();
    DataItem *insertNew(int index);

protected:
    virtual DataItem *createItem();
    virtual QString itemName() const;

private:
    void adopt(DataItem *item);
    void release(DataItem *item);
    void renumberRows() const;

    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
