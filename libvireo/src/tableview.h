#ifndef KIT_TABLEVIEW_H
#define KIT_TABLEVIEW_H

#include "listproxymodel.h"
#include "unit.h"

#include <QItemDelegate>
#include <QObject>

#include <memory>

class QAbstractItemModel;
class QTableView;

namespace kit {

class TableView;

// Shows numbers in the column's unit with the column's decimals, titles with units.
class TableViewProxyModel : public ListProxyModel
{
    Q_OBJECT

public:
    // A cell as copied text: numbers without group separators, so that a
    // spreadsheet in the same language reads them as numbers.
    static constexpr int CopyTextRole = Qt::UserRole + 100;

    explicit TableViewProxyModel(TableView *tableView);
    ~TableViewProxyModel() override;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TableView *const m_tableView;
};

// Asks the column's data description for an editor.
class ItemDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    explicit ItemDelegate(TableView *tableView);
    ~ItemDelegate() override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    TableView *const m_tableView;
};

// Turns a QTableView into a view of one model with per-column visibility,
// width, unit and decimals, reports the current row and exports the table as text.
class TableView : public QObject
{
    Q_OBJECT

public:
    explicit TableView(QTableView *view);
    ~TableView() override;

    void setModel(QAbstractItemModel *model);
    QAbstractItemModel *model() const;
    QAbstractItemModel *proxyModel() const;
    int columnCount() const;
    int currentRow() const;
    int rowHeight() const;

    int columnDecimals(int column) const;
    bool isColumnVisible(int column) const;
    int columnWidth(int column) const;
    Unit columnUnit(int column) const;
    void setColumnDecimals(int column, int decimals);
    void setColumnVisible(int column, bool visible);
    void setColumnWidth(int column, int width);
    void setColumnUnit(int column, const Unit &unit);

    void resetColumns();
    QString toText(const QString &separator) const;

public slots:
    void setCurrentRow(int row);
    void setRowHeight(int rowHeight);

signals:
    void currentRowChanged(int row);
    void doubleClicked(int row, int column);

private:
    class Private;
    std::unique_ptr<Private> d;
};

// False for what shows as no number: NaN, the infinities, and magnitudes of
// 1e15 and more, where a double has no decimals left and the fixed form runs
// to hundreds of digits.
bool isNumberToShow(double value);

// A number in the default locale with fixed decimals, grouped or not; the
// empty text for what is no number to show.
QString formatNumber(double value, int decimals, bool grouped = true);

// Every header title and cell (as the role gives it), each followed by the
// separator, lines ended by "\n".
QString modelToText(const QAbstractItemModel *model, const QString &separator, int role = Qt::DisplayRole);

} // namespace kit

#endif
