// Every row of a 10,000-row list shown in a table announces a change once, as
// when the calibration moves. Compared with a model that finds each row by a
// linear search of the list.
#include "datalist.h"
#include "datalistmodel.h"
#include "tableview.h"

#include "benchutils.h"

#include <QApplication>
#include <QTableView>

namespace {

const int rowCount = 10000;

class Row : public kit::DataItem
{
public:
    explicit Row(int number)
        : number(number)
    {
    }
    QVariant value(int column) const override { return column == 0 ? QVariant(number) : QVariant(number * 0.5); }
    void announce() { emit changed(1, 2); }

private:
    int number;
};

class Rows : public kit::DataList
{
public:
    Rows()
        : DataList(4)
    {
        for (int i = 0; i < rowCount; ++i)
            append(new Row(i));
    }
    QString columnTitle(int column) const override { return QStringLiteral("C%1").arg(column); }
};

// The same table model, but each change looks its row up with QList::indexOf,
// as a list without row bookkeeping would; optionally it also finds the row
// object through sender(), which searches every connection of the model.
class LinearModel : public QAbstractTableModel
{
public:
    LinearModel(Rows *rows, bool throughSender)
        : rows(rows)
    {
        for (int i = 0; i < rows->count(); ++i) {
            kit::DataItem *item = rows->at(i);
            items.append(item);
            if (throughSender)
                connect(item, &kit::DataItem::changed, this, &LinearModel::senderChanged);
            else
                connect(item, &kit::DataItem::changed, this, [this, item](int first, int last) { rowChanged(item, first, last); });
        }
    }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows->count(); }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        return role == Qt::DisplayRole ? rows->at(index.row())->value(index.column()) : QVariant();
    }

private:
    void senderChanged(int first, int last) { rowChanged(static_cast<kit::DataItem *>(sender()), first, last); }
    void rowChanged(const kit::DataItem *item, int first, int last)
    {
        const int row = items.indexOf(const_cast<kit::DataItem *>(item));
        emit dataChanged(index(row, first), index(row, last), {});
    }

    Rows *rows;
    QList<kit::DataItem *> items;
};

double storm(Rows &rows)
{
    return medianMilliseconds(7, [&] {
        for (int i = 0; i < rows.count(); ++i)
            static_cast<Row *>(rows.at(i))->announce();
        QCoreApplication::processEvents();
    });
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    Rows rows;
    QTableView view;
    view.resize(800, 600);
    kit::TableView tableView(&view);
    view.show();
    QCoreApplication::processEvents();

    tableView.setModel(rows.model());
    QCoreApplication::processEvents();
    const double fast = storm(rows);

    // The baselines see the same rows; detach the list's own model first.
    for (int i = 0; i < rows.count(); ++i)
        QObject::disconnect(rows.at(i), &kit::DataItem::changed, rows.model(), nullptr);
    double linearTime = 0;
    double senderTime = 0;
    for (bool throughSender : {false, true}) {
        LinearModel linear(&rows, throughSender);
        tableView.setModel(&linear);
        QCoreApplication::processEvents();
        (throughSender ? senderTime : linearTime) = storm(rows);
        tableView.setModel(nullptr);
    }

    std::printf("model storm: %d rows each emit changed(1, 2), through TableView, events processed\n", rowCount);
    printRow("row bound into the connection, row hint lookup", fast, "ms");
    printRow("baseline: QList::indexOf", linearTime, "ms");
    printRow("baseline: sender() + QList::indexOf", senderTime, "ms");
    printRow("speed-up against QList::indexOf", linearTime / fast, "x");
    printRow("speed-up against sender() + QList::indexOf", senderTime / fast, "x");
    return 0;
}
