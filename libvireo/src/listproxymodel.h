#ifndef KIT_LISTPROXYMODEL_H
#define KIT_LISTPROXYMODEL_H

#include <QAbstractProxyModel>

namespace kit {

// A flat one-to-one proxy that forwards its source's structural changes and
// announces any change of source data as a change of the whole table.
class ListProxyModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit ListProxyModel(QObject *parent = nullptr);
    ~ListProxyModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void setSourceModel(QAbstractItemModel *model) override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;

    virtual int mapRowFromSource(int sourceRow) const;

private:
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);
    void sourceModelAboutToBeReset();
    void sourceModelReset();
    void sourceRowsAboutToBeInserted(const QModelIndex &parent, int start, int end);
    void sourceRowsInserted();
    void sourceRowsAboutToBeRemoved(const QModelIndex &parent, int start, int end);
    void sourceRowsRemoved();
};

} // namespace kit

#endif
