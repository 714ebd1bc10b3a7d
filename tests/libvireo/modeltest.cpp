#include "combobox.h"
#include "datalist.h"
#include "datalistmodel.h"
#include "dataspec.h"
#include "listproxymodel.h"
#include "tableview.h"
#include "unit.h"

#include "testutils.h"

using namespace kit;

namespace {

// A row of four cells: name (text), x and y (numbers), done (check box).
// Setting x also changes y (y follows as 2·x), so one edit marks two columns.
class SampleItem : public DataItem
{
public:
    explicit SampleItem(const QString &name = QString(), double x = 0) : m_name(name), m_x(x) {}
    QVariant value(int column) const override
    {
        return QVariantList({m_name, m_x, 2 * m_x, m_done}).value(column);
    }
    bool isEditable(int column) const override { return column != 2; }
    bool isEnabled(int column) const override { return column != 3 || !m_name.isEmpty(); }
    bool callNested = false;
    bool nestedResult = true;

protected:
    bool storeValue(int column, const QVariant &value) override
    {
        if (callNested)
            nestedResult = setValue(0, QStringLiteral("nested"));
        if (column == 0) {
            m_name = value.toString();
        } else if (column == 1) {
            m_x = value.toDouble();
            markChanged(2);
        } else if (column == 3) {
            m_done = value.toBool();
        }
        return column != 2;
    }

private:
    QString m_name;
    double m_x = 0;
    bool m_done = false;
};

class SampleList : public DataList
{
public:
    SampleList() : DataList(4) {}
    QString columnTitle(int column) const override { return QStringList({"Name", "X", "Y", "Done"}).value(column); }
    int columnWidth(int column) const override { return column == 1 ? 70 : DataList::columnWidth(column); }
    bool columnVisible(int column) const override { return column != 3; }
    DataSpec *columnSpec(int column) const override
    {
        return column == 3 ? static_cast<DataSpec *>(const_cast<CheckSpec *>(&m_check))
                           : column == 2 ? const_cast<QuantitySpec *>(&m_quantity) : nullptr;
    }

    void addRows(int count)
    {
        for (int i = 0; i < count; ++i)
            append(new SampleItem(QStringLiteral("row %1").arg(this->count()), this->count()));
    }

protected:
    DataItem *createItem() override { return new SampleItem; }
    QString itemName() const override { return QStringLiteral("sample"); }

private:
    struct CheckSpec : DataSpec
    {
        bool isCheckable() const override { return true; }
    };
    CheckSpec m_check;
    QuantitySpec m_quantity{Unit::Millimetre, 3};
};

// Structural notifications of a model, in the order sent.
struct Notifications
{
    explicit Notifications(QAbstractItemModel *model)
    {
        const auto record = [this](const char *what) {
            return [this, what](const QModelIndex &, int first, int last) {
                log << QStringLiteral("%1 %2-%3").arg(QLatin1String(what)).arg(first).arg(last);
            };
        };
        QObject::connect(model, &QAbstractItemModel::rowsInserted, &context, record("inserted"));
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, &context, record("removed"));
        QObject::connect(model, &QAbstractItemModel::modelReset, &context, [this] { log << QStringLiteral("reset"); });
    }
    QObject context;
    QStringList log;
};

struct Table
{
    Table() : tableView(new TableView(&view))
    {
        list.addRows(3);
        view.resize(600, 300);
        tableView->setModel(list.model());
        view.show();
    }
    QString cell(int row, int column) const { return view.model()->index(row, column).data().toString(); }
    SampleList list;
    QTableView view;
    TableView *tableView;
};

} // namespace

class ModelTest : public QObject
{
    Q_OBJECT

private slots:
    // Stored files name units by symbol: a unit missing from the registry makes
    // them unreadable.
    void registryHoldsEveryUnit()
    {
        const QList<Unit> units = Unit::registeredUnits();
        QSet<QString> quantities;
        QStringList symbols;
        for (const Unit &unit : units) {
            quantities.insert(unit.quantity());
            symbols.append(unit.symbol());
            for (double value : {-40.0, 0.0, 1.0, 123.456})
                QVERIFY2(qAbs(unit.toBase(unit.fromBase(value)) - value) < 1e-9 * qMax(1.0, qAbs(value)),
                         qPrintable(unit.symbol()));
        }
        QCOMPARE(QVector<int>({int(units.size()), int(quantities.size())}), QVector<int>({43, 15}));
        QVERIFY(std::is_sorted(symbols.begin(), symbols.end()) && !quantities.contains(QStringLiteral("None")));
        QVERIFY(Unit(QStringLiteral("m/s")) != Unit::Metre && Unit(QStringLiteral("\u00b0C")).isNone());
        QCOMPARE(Unit(QVariant(QStringLiteral("mm"))), Unit::Millimetre);
        QCOMPARE(Unit(QStringLiteral("deg")).toBase(360) + Unit(QStringLiteral("mil")).toBase(6400), 4 * 3.14159);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(Unit::Kilometre.format(1500) + Unit::Metre.format(1234567.0), QStringLiteral("1.5 km1.23457e+06 m"));
    }

    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void setValueAnnouncesMarkedColumnsOnce_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("changed");
        QTest::newRow("plain column") << 0 << QVariant(QStringLiteral("b")) << "0-0";
        QTest::newRow("marks a second column") << 1 << QVariant(2.5) << "1-2";
        QTest::newRow("equal value") << 1 << QVariant(1.0) << "";
        QTest::newRow("refused by the row") << 2 << QVariant(9.0) << "";
    }

    void setValueAnnouncesMarkedColumnsOnce()
    {
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(QString, changed);
        SampleList list;
        list.addRows(4);
        list.insert(0, new SampleItem(QStringLiteral("a"), 1.0));
        QSignalSpy modelChanged(list.model(), &QAbstractItemModel::dataChanged);
        auto item = static_cast<SampleItem *>(list.at(0));
        item->callNested = true;
        QCOMPARE(item->setValue(column, value), !changed.isEmpty());
        QStringList seen;
        for (const QList<QVariant> &signal : modelChanged)
            seen << QStringLiteral("%1-%2").arg(signal.at(0).toModelIndex().column()).arg(signal.at(1).toModelIndex().column());
        QCOMPARE(seen.join(QLatin1Char(' ')), changed);
        if (!changed.isEmpty()) {
            QVERIFY(modelChanged.first().at(0).toModelIndex().row() == 0 && item->value(column) == value);
            // A change from within a change is refused.
            QVERIFY(!item->nestedResult);
            QCOMPARE(item->value(0).toString(), column == 0 ? value.toString() : QStringLiteral("a"));
        }
    }

    void listChangesAnnounceTheirRows()
    {
        SampleList first;
        SampleList list;
        ListProxyModel proxy;
        proxy.setSourceModel(first.model());
        proxy.setSourceModel(list.model());
        first.addRows(1);
        QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
        Notifications log(&proxy);
        list.addRows(3);
        DataItem *front = list.insertNew(0);
        QPointer<DataItem> removed = list.at(2);
        list.removeAt(2);
        QVERIFY(removed.isNull() && list.first() == front && list.indexOf(list.at(2)) == 2 && !list.at(3));
        list.clear();
        list.clear();
        QCOMPARE(log.log, QStringList({"inserted 0-0", "inserted 1-1", "inserted 2-2", "inserted 0-0",
                                                   "removed 2-2", "reset", "reset"}));
        list.addRows(3);
        // A change of one row redraws every row: the table shows rounded numbers.
        QSignalSpy changed(&proxy, &QAbstractItemModel::dataChanged);
        list.at(1)->setValue(0, QStringLiteral("x"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(QVariantList({changed.first().at(0), changed.first().at(1)}),
                 QVariantList({proxy.index(0, 0), proxy.index(2, 3)}));
        QCOMPARE(proxy.index(2, 3).data(Qt::CheckStateRole), QVariant(int(Qt::Unchecked)));
        QVERIFY(!proxy.index(3, 0).isValid() && !proxy.index(2, 1).data(Qt::CheckStateRole).isValid());
        QCOMPARE(int(proxy.flags(proxy.index(2, 2))), int(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        // The index of every row stays right through many changes, asked from the last row up.
        list.addRows(40);
        for (int round = 0; round < 40; ++round) {
            round % 2 ? list.removeAt((round * 13) % list.count()) : list.insert(round % 7, new SampleItem);
            for (int row = list.count() - 1; row >= 0; --row)
                QCOMPARE(list.indexOf(list.at(row)), row);
        }
        const DataItem *last = list.insertNew(list.count());
        QCOMPARE(last, list.at(list.count() - 1));
    }

    void invalidChangesAreRefused_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("warning");
        QTest::newRow("append null") << "append" << "Ignoring NULL pointer in DataList::append";
        QTest::newRow("insert null") << "insert" << "Ignoring NULL pointer in DataList::insert";
        QTest::newRow("insert past end") << "insertPastEnd" << "Ignoring invalid index 4 in DataList::insert";
        QTest::newRow("remove at count") << "removeCount" << "Ignoring invalid index  3  in DataList::removeAt";
        QTest::newRow("insertNew past end") << "insertNew" << "Ignoring invalid index 9 in DataList::insertNew";
        QTest::newRow("row of another list") << "foreign" << "Ignoring item already in a DataList in DataList::append";
    }

    void invalidChangesAreRefused()
    {
        QFETCH(QString, operation);
        QFETCH(QString, warning);
        SampleList list, other;
        list.addRows(3);
        other.addRows(1);
        Notifications log(list.model());
        SampleItem stranger;
        const QMap<QString, std::function<void()>> operations = {
            {"append", [&] { list.append(nullptr); }}, {"insert", [&] { list.insert(0, nullptr); }},
            {"insertPastEnd", [&] { list.insert(4, &stranger); }}, {"removeCount", [&] { list.removeAt(3); }},
            {"insertNew", [&] { QCOMPARE(list.insertNew(9), nullptr); }}, {"foreign", [&] { list.append(other.at(0)); }},
        };
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        operations.value(operation)();
        QCOMPARE(QVariantList({list.count(), list.model()->rowCount(), log.log, list.indexOf(&stranger)}),
                 QVariantList({3, 3, QStringList(), -1}));
    }

    void tableViewColumns()
    {
        Table f;
        // Edits reach the row through the model, which refuses what the row refuses, and takes the next.
        QAbstractItemModel *model = f.list.model();
        QCOMPARE(QVariantList({model->setData(model->index(0, 2), 9.0), model->setData(model->index(0, 1), 2.5),
                               model->setData(model->index(1, 3), int(Qt::Checked), Qt::CheckStateRole),
                               model->setData(model->index(1, 0), "b", Qt::DisplayRole), f.list.at(1)->value(3), f.cell(0, 2),
                               model->headerData(1, Qt::Horizontal), model->headerData(1, Qt::Vertical)}),
                 QVariantList({false, true, true, false, true, "5,000.000", "X", QVariant()}));
        QCOMPARE(QVector<int>({f.view.columnWidth(0), f.view.columnWidth(1), f.tableView->columnDecimals(0),
                               f.tableView->columnDecimals(2), f.view.isColumnHidden(3), f.tableView->columnDecimals(4)}),
                 QVector<int>({100, 70, 1, 3, false, 0}));
        f.tableView->setColumnUnit(1, Unit::Kilometre);
        // A dragged column keeps its width, also while hidden.
        f.view.horizontalHeader()->resizeSection(0, 130);
        f.tableView->setColumnVisible(0, false);
        QVERIFY(f.view.isColumnHidden(0));
        f.tableView->setColumnVisible(0, true);
        f.tableView->setColumnWidth(3, 90);
        QCOMPARE(QVector<int>({f.tableView->columnWidth(0), f.view.columnWidth(0), f.view.columnWidth(3)}),
                 QVector<int>({130, 130, 90}));
        // Resetting applies the list's own columns; a unit set by hand on a plain column stays.
        f.tableView->setColumnUnit(2, Unit::Metre);
        f.tableView->resetColumns();
        QVERIFY(f.view.isColumnHidden(3) && f.tableView->columnUnit(2) == Unit::Millimetre
                && f.view.verticalHeader()->defaultSectionSize() == 25);
        // A quantity is edited with the column's decimals, at any size.
        const std::unique_ptr<QWidget> editor(f.view.itemDelegate()->createEditor(&f.view, {}, model->index(0, 2)));
        const auto spinBox = qobject_cast<QDoubleSpinBox *>(editor.get());
        QVERIFY(spinBox && spinBox->decimals() == 3 && spinBox->minimum() < -1e300 && spinBox->maximum() > 1e300);
        f.tableView->setColumnDecimals(1, 3);
        QCOMPARE(f.tableView->toText(QStringLiteral("\t")).split(QLatin1Char('\n')),
                 QStringList({"Name\tX [km]\tY [mm]\tDone\t", "row 0\t0.003\t5000.000\t\t", "row 1\t0.001\t2000.000\t\t",
                              "row 2\t0.002\t4000.000\t\t", ""}));
    }

    void comboBoxValuesAndList()
    {
        ComboBox box;
        QTest::ignoreMessage(QtWarningMsg, "You should call setModel prior to setModelColumn!");
        box.setModelColumn(0);
        box.addItem(QString(60, QLatin1Char('W')), 1);
        box.setValueRole(Qt::DisplayRole);
        QCOMPARE(QVariantList({box.valueRole(), box.value()}), QVariantList({int(Qt::DisplayRole), box.itemText(0)}));
        // The list shows its longest row whole, however narrow the box.
        box.setFixedWidth(40);
        box.show();
        box.showPopup();
        QVERIFY(box.view()->viewport()->width() >= box.view()->sizeHintForColumn(0));
    }

    void numbersFollowLocaleAndDecimals_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("copied");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale ch(QLocale::German, QLocale::Switzerland);
        QTest::newRow("en_US") << us << 3.14159 << 2 << "3.14" << "3.14";
        QTest::newRow("rounds half away from zero") << us << 2.5 << 0 << "3" << "3";
        // Copies leave out the group separator, which spreadsheets may not read.
        QTest::newRow("grouped de_DE") << de << -6234.5 << 3 << "-6.234,500" << "-6234,500";
        QTest::newRow("grouped de_CH") << ch << 16234.5 << 1 << QStringLiteral("16\u2019234.5") << "16234.5";
        QTest::newRow("largest shown") << us << 999999999999999.0 << 0 << "999,999,999,999,999" << "999999999999999";
        QTest::newRow("too large") << us << 1e15 << 0 << "" << "";
        QTest::newRow("NaN") << us << qQNaN() << 2 << "" << "";
    }

    void numbersFollowLocaleAndDecimals()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QFETCH(QString, copied);
        QLocale::setDefault(locale);
        Table f;
        f.list.at(0)->setValue(1, value);
        f.tableView->setColumnDecimals(1, decimals);
        QCOMPARE(QStringList({f.cell(0, 1), formatNumber(value, decimals)}), QStringList({text, text}));
        const QString firstRow = f.tableView->toText(QStringLiteral("\t")).section(QLatin1Char('\n'), 1, 1);
        QCOMPARE(QStringList({firstRow.section(QLatin1Char('\t'), 1, 1), f.cell(0, 0)}), QStringList({copied, "row 0"}));
    }
};

MENSOR_GUITEST_MAIN(ModelTest)
#include "modeltest.moc"
