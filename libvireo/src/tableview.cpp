#include "tableview.h"

#include "columnstate.h"
#include "datalistmodel.h"
#include "dataspec.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLocale>
#include <QTableView>

#include <cmath>

namespace kit {

bool isNumberToShow(double value)
{
    const double largestShown = 1e15;
    return std::isfinite(value) && std::abs(value) < largestShown;
}

QString formatNumber(double value, int decimals, bool grouped)
{
    if (!isNumberToShow(value))
        return QString();
    QLocale locale;
    if (!grouped)
        locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

QString modelToText(const QAbstractItemModel *model, const QString &separator, int role)
{
    QString text;
    if (!model)
        return text;
    const int columns = model->columnCount();
    const int rows = model->rowCount();
    for (int column = 0; column < columns; ++column)
        text += model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() + separator;
    text += QLatin1Char('\n');
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            text += model->data(model->index(row, column), role).toString() + separator;
        text += QLatin1Char('\n');
    }
    return text;
}

namespace {

const DataSpec *specOf(const QAbstractItemModel *model, int column)
{
    return static_cast<const DataSpec *>(model->headerData(column, Qt::Horizontal, ColumnSpecRole).value<void *>());
}

int defaultWidthOf(const QAbstractItemModel *model, int column)
{
    bool ok;
    const int width = model->headerData(column, Qt::Horizontal, ColumnWidthRole).toInt(&ok);
    return ok ? width : 100;
}

bool defaultVisibilityOf(const QAbstractItemModel *model, int column)
{
    const QVariant visible = model->headerData(column, Qt::Horizontal, ColumnVisibleRole);
    return visible.canConvert<bool>() ? visible.toBool() : true;
}

} // namespace

class TableView::Private : public QObject
{
public:
    Private(TableView *q, QTableView *view)
        : proxy(new TableViewProxyModel(q))
        , view(view)
        , q(q)
    {
    }

    bool hasColumn(int column) const { return column >= 0 && column < columns.size(); }

    void columnChanged(int column)
    {
        if (updating == 0)
            updateColumn(column);
    }

    void updateColumn(int column)
    {
        if (!hasColumn(column))
            return;
        const ColumnState &state = columns.at(column);
        view->setColumnHidden(column, !state.isVisible());
        if (state.isVisible())
            view->setColumnWidth(column, columns.at(column).width());
    }

    void currentRowChanged(const QModelIndex &current, const QModelIndex &)
    {
        emit q->currentRowChanged(current.row());
    }

    void doubleClicked(const QModelIndex &index) { emit q->doubleClicked(index.row(), index.column()); }

    void viewColumnResized(int column, int, int newSize)
    {
        ++updating;
        if (hasColumn(column) && columns.at(column).isVisible())
            columns[column].setWidth(newSize);
        --updating;
    }

    QList<ColumnState> columns;
    QAbstractItemModel *model = nullptr;
    TableViewProxyModel *proxy;
    int rowHeight = 25;
    QTableView *view;
    TableView *q;
    int updating = 0;
    QMetaObject::Connection selectionConnection;
};

TableView::TableView(QTableView *view)
    : QObject(view)
    , d(new Private(this, view))
{
    view->setItemDelegate(new ItemDelegate(this));
    connect(view->horizontalHeader(), &QHeaderView::sectionResized, d.get(), &Private::viewColumnResized);
    connect(view, &QTableView::doubleClicked, d.get(), &Private::doubleClicked);
}

TableView::~TableView() = default;

void TableView::setModel(QAbstractItemModel *model)
{
    if (d->model)
        QObject::disconnect(d->selectionConnection);
    d->model = model;
    d->columns.clear();
    if (!model)
        return;
    const int columns = model->columnCount();
    for (int column = 0; column < columns; ++column) {
        ColumnState state;
        state.setWidth(defaultWidthOf(model, column));
        if (const DataSpec *spec = specOf(model, column)) {
            state.setUnit(spec->unit());
            state.setDecimals(spec->decimals());
        }
        d->columns.append(state);
    }
    d->proxy->setSourceModel(model);
    d->view->setModel(d->proxy);
    d->selectionConnection = connect(d->view->selectionModel(), &QItemSelectionModel::currentRowChanged, d.get(),
                                     &Private::currentRowChanged);
    for (int column = 0; column < columns; ++column)
        d->updateColumn(column);
}

QAbstractItemModel *TableView::model() const
{
    return d->model;
}

QAbstractItemModel *TableView::proxyModel() const
{
    return d->proxy;
}

int TableView::columnCount() const
{
    return d->model ? d->model->columnCount() : 0;
}

int TableView::currentRow() const
{
    return d->model ? d->view->currentIndex().row() : -1;
}

int TableView::rowHeight() const
{
    return d->rowHeight;
}

void TableView::setCurrentRow(int row)
{
    if (!d->model)
        return;
    const QModelIndex current = d->view->currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    d->view->setCurrentIndex(d->proxy->index(row, current.column()));
}

void TableView::setRowHeight(int rowHeight)
{
    d->rowHeight = rowHeight;
    d->view->verticalHeader()->setDefaultSectionSize(rowHeight);
}

int TableView::columnDecimals(int column) const
{
    return d->hasColumn(column) ? d->columns.at(column).decimals() : 0;
}

bool TableView::isColumnVisible(int column) const
{
    return d->hasColumn(column) ? d->columns.at(column).isVisible() : true;
}

int TableView::columnWidth(int column) const
{
    return d->hasColumn(column) ? d->columns.at(column).width() : 100;
}

Unit TableView::columnUnit(int column) const
{
    return d->hasColumn(column) ? d->columns.at(column).unit() : Unit();
}

void TableView::setColumnDecimals(int column, int decimals)
{
    if (!d->hasColumn(column))
        return;
    d->columns[column].setDecimals(decimals);
    d->columnChanged(column);
}

void TableView::setColumnVisible(int column, bool visible)
{
    if (!d->hasColumn(column))
        return;
    d->columns[column].setVisible(visible);
    d->columnChanged(column);
}

void TableView::setColumnWidth(int column, int width)
{
    if (!d->hasColumn(column))
        return;
    d->columns[column].setWidth(width);
    d->columnChanged(column);
}

void TableView::setColumnUnit(int column, const Unit &unit)
{
    if (!d->hasColumn(column))
        return;
    d->columns[column].setUnit(unit);
    d->columnChanged(column);
}

void TableView::resetColumns()
{
    setRowHeight(25);
    if (!d->model)
        return;
    const int columns = d->model->columnCount();
    for (int column = 0; column < columns; ++column) {
        setColumnVisible(column, defaultVisibilityOf(d->model, column));
        setColumnWidth(column, defaultWidthOf(d->model, column));
        if (auto quantity = dynamic_cast<const QuantitySpec *>(specOf(d->model, column))) {
            setColumnUnit(column, quantity->unit());
            setColumnDecimals(column, quantity->decimals());
        }
    }
}

QString TableView::toText(const QString &separator) const
{
    return modelToText(d->proxy, separator, TableViewProxyModel::CopyTextRole);
}

TableViewProxyModel::TableViewProxyModel(TableView *tableView)
    : ListProxyModel(tableView)
    , m_tableView(tableView)
{
}

TableViewProxyModel::~TableViewProxyModel() = default;

QVariant TableViewProxyModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role != Qt::DisplayRole && role != CopyTextRole)
        return ListProxyModel::data(index, role);

    const bool grouped = role == Qt::DisplayRole;
    const QVariant value = ListProxyModel::data(index, Qt::DisplayRole);
    const int column = index.column();
    const Unit unit = m_tableView->columnUnit(column);
    const int decimals = m_tableView->columnDecimals(column);
    if (!unit.isNone())
        return formatNumber(unit.fromBase(value.toDouble()), decimals, grouped);
    switch (value.userType()) {
    case QMetaType::Double:
        return formatNumber(value.toDouble(), decimals, grouped);
    case QMetaType::QDateTime:
        return QLocale().toString(value.toDateTime(), QLocale::ShortFormat);
    default:
        return value;
    }
}

QVariant TableViewProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const QVariant title = ListProxyModel::headerData(section, orientation, role);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return title;
    const Unit unit = m_tableView->columnUnit(section);
    if (unit.isNone())
        return title;
    return QStringLiteral("%1 [%2]").arg(title.toString(), unit.symbol());
}

ItemDelegate::ItemDelegate(TableView *tableView)
    : QItemDelegate(tableView)
    , m_tableView(tableView)
{
}

ItemDelegate::~ItemDelegate() = default;

QWidget *ItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QAbstractItemModel *model = m_tableView->model();
    if (const DataSpec *spec = model ? specOf(model, index.column()) : nullptr)
        return spec->createEditor(parent, index);
    return QItemDelegate::createEditor(parent, option, index);
}

} // namespace kit
