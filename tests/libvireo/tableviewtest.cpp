#include "tableview.h"

#include "datalistmodel.h"
#include "samplelist.h"
#include "testutils.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

using namespace kit;

namespace {

// A list shown through a TableView in a real, visible table widget.
struct Fixture
{
    Fixture()
        : tableView(new TableView(&view))
    {
        list.addRows(3);
        view.resize(600, 300);
        tableView->setModel(list.model());
        view.show();
    }

    QString cell(int row, int column) const
    {
        return view.model()->data(view.model()->index(row, column)).toString();
    }

    SampleList list;
    QTableView view;
    TableView *tableView;
};

} // namespace

class TableViewTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void setModelTakesWidthsAndShowsEveryColumn();
    void columnSettingsOutsideTheModelAreIgnored();
    void hiddenColumnKeepsItsWidth();
    void draggingRecordsOnlyThatColumn();
    void resetColumnsAppliesVisibilityAndQuantities();
    void numbersFollowLocaleAndDecimals_data();
    void numbersFollowLocaleAndDecimals();
    void decimalsChangeTakesEffectOnNextPaint();
    void titlesCarryUnits();
    void currentRowBothWays();
    void setCurrentRowWithoutCurrentCellLeavesNone();
    void doubleClickReportsCell();
    void rowHeight();
    void toTextEndsEveryCellWithSeparator();
    void withoutModel();
};

void TableViewTest::setModelTakesWidthsAndShowsEveryColumn()
{
    Fixture f;
    QCOMPARE(f.view.columnWidth(1), 70);
    QCOMPARE(f.view.columnWidth(0), 100);
    for (int column = 0; column < 4; ++column)
        QVERIFY2(!f.view.isColumnHidden(column), qPrintable(QString::number(column)));
    QCOMPARE(f.tableView->columnCount(), 4);
    QCOMPARE(f.tableView->model(), f.list.model());
    // Column 2's quantity description gives its unit and decimals.
    QCOMPARE(f.tableView->columnUnit(2), Unit::Millimetre);
    QCOMPARE(f.tableView->columnDecimals(2), 2);
    QCOMPARE(f.tableView->columnDecimals(0), 1);
}

void TableViewTest::columnSettingsOutsideTheModelAreIgnored()
{
    Fixture f;
    f.tableView->setColumnDecimals(99, 5);
    f.tableView->setColumnWidth(-1, 5);
    QCOMPARE(f.tableView->columnDecimals(99), 0);
    QCOMPARE(f.tableView->columnWidth(99), 100);
    QCOMPARE(f.tableView->isColumnVisible(99), true);
    QVERIFY(f.tableView->columnUnit(99).isNone());
}

void TableViewTest::hiddenColumnKeepsItsWidth()
{
    Fixture f;
    f.tableView->setColumnWidth(0, 130);
    f.tableView->setColumnVisible(0, false);
    QVERIFY(f.view.isColumnHidden(0));
    QCOMPARE(f.tableView->columnWidth(0), 130);
    f.tableView->setColumnVisible(0, true);
    QVERIFY(!f.view.isColumnHidden(0));
    QCOMPARE(f.view.columnWidth(0), 130);
}

void TableViewTest::draggingRecordsOnlyThatColumn()
{
    Fixture f;
    f.view.horizontalHeader()->resizeSection(1, 155);
    QCOMPARE(f.tableView->columnWidth(1), 155);
    QCOMPARE(f.tableView->columnWidth(0), 100);
    QCOMPARE(f.tableView->columnWidth(3), 100);
}

void TableViewTest::resetColumnsAppliesVisibilityAndQuantities()
{
    Fixture f;
    f.tableView->setColumnUnit(2, Unit::Metre);
    f.tableView->setColumnUnit(1, Unit::Inch);
    f.tableView->setColumnWidth(1, 10);
    f.tableView->resetColumns();
    QVERIFY(f.view.isColumnHidden(3));
    QVERIFY(!f.tableView->isColumnVisible(3));
    QCOMPARE(f.tableView->columnWidth(1), 70);
    QCOMPARE(f.tableView->columnUnit(2), Unit::Millimetre);
    // No quantity description: the unit set by hand stays.
    QCOMPARE(f.tableView->columnUnit(1), Unit::Inch);
    QCOMPARE(f.view.verticalHeader()->defaultSectionSize(), 25);
}

void TableViewTest::numbersFollowLocaleAndDecimals_data()
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
    QTest::newRow("de_DE") << de << 3.14159 << 2 << "3,14" << "3,14";
    QTest::newRow("no decimals") << us << 2.4 << 0 << "2" << "2";
    QTest::newRow("rounds half away from zero") << us << 2.5 << 0 << "3" << "3";
    QTest::newRow("padded") << us << 2.5 << 3 << "2.500" << "2.500";
    // Copies leave out the group separator, which spreadsheets may not read.
    QTest::newRow("grouped en_US") << us << 6234.5 << 3 << "6,234.500" << "6234.500";
    QTest::newRow("grouped de_DE") << de << -6234.5 << 3 << "-6.234,500" << "-6234,500";
    QTest::newRow("grouped de_CH") << ch << 16234.5 << 1 << QStringLiteral("16\u2019234.5") << "16234.5";
    QTest::newRow("negative de_CH") << ch << -1000.0 << 2 << QStringLiteral("-1\u2019000.00") << "-1000.00";
    QTest::newRow("largest shown") << us << 999999999999999.0 << 0 << "999,999,999,999,999" << "999999999999999";
    QTest::newRow("too large") << us << 1e15 << 0 << "" << "";
    QTest::newRow("absurd") << de << -1e308 << 3 << "" << "";
    QTest::newRow("infinity") << us << qInf() << 2 << "" << "";
    QTest::newRow("NaN") << us << qQNaN() << 2 << "" << "";
}

void TableViewTest::numbersFollowLocaleAndDecimals()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QFETCH(QString, copied);

    QLocale::setDefault(locale);
    Fixture f;
    f.list.at(0)->setValue(1, value);
    f.tableView->setColumnDecimals(1, decimals);
    QCOMPARE(f.cell(0, 1), text);
    QCOMPARE(formatNumber(value, decimals), text);
    QCOMPARE(f.tableView->toText(QStringLiteral("\t")).split(QLatin1Char('\n')).at(1).split(QLatin1Char('\t')).at(1), copied);
    // Text cells pass unchanged.
    QCOMPARE(f.cell(0, 0), QStringLiteral("row 0"));
}

void TableViewTest::decimalsChangeTakesEffectOnNextPaint()
{
    Fixture f;
    f.list.at(1)->setValue(1, 0.123456);
    QCOMPARE(f.cell(1, 1), QStringLiteral("0.1"));
    f.tableView->setColumnDecimals(1, 3);
    QCOMPARE(f.cell(1, 1), QStringLiteral("0.123"));
    // Column 2 is shown in millimetres: base value 2·x metres.
    QCOMPARE(f.cell(1, 2), QStringLiteral("246.91"));
}

void TableViewTest::titlesCarryUnits()
{
    Fixture f;
    const QAbstractItemModel *model = f.view.model();
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Y [mm]"));
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("X"));
    f.tableView->setColumnUnit(1, Unit::Kilometre);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("X [km]"));
}

void TableViewTest::currentRowBothWays()
{
    Fixture f;
    QSignalSpy rows(f.tableView, &TableView::currentRowChanged);
    f.view.setCurrentIndex(f.view.model()->index(0, 1));
    QCOMPARE(rows.count(), 1);
    QCOMPARE(rows.last().at(0).toInt(), 0);

    f.tableView->setCurrentRow(2);
    QCOMPARE(f.view.currentIndex(), f.view.model()->index(2, 1));
    QCOMPARE(f.tableView->currentRow(), 2);
    QCOMPARE(rows.count(), 2);
    QCOMPARE(rows.last().at(0).toInt(), 2);

    // Asking for the row already current stops the exchange.
    f.tableView->setCurrentRow(2);
    QCOMPARE(rows.count(), 2);

    f.tableView->setCurrentRow(7);
    QCOMPARE(f.tableView->currentRow(), -1);
}

void TableViewTest::setCurrentRowWithoutCurrentCellLeavesNone()
{
    Fixture f;
    f.view.setCurrentIndex(QModelIndex());
    f.tableView->setCurrentRow(1);
    QVERIFY(!f.view.currentIndex().isValid());
    QCOMPARE(f.tableView->currentRow(), -1);
}

void TableViewTest::doubleClickReportsCell()
{
    Fixture f;
    f.list.addRows(2);
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    QSignalSpy clicks(f.tableView, &TableView::doubleClicked);
    const QRect rect = f.view.visualRect(f.view.model()->index(3, 2));
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.first().at(0).toInt(), 3);
    QCOMPARE(clicks.first().at(1).toInt(), 2);
}

void TableViewTest::rowHeight()
{
    QTableView view;
    TableView tableView(&view);
    QCOMPARE(tableView.rowHeight(), 25);
    tableView.setRowHeight(31);
    QCOMPARE(tableView.rowHeight(), 31);
    QCOMPARE(view.verticalHeader()->defaultSectionSize(), 31);
}

void TableViewTest::toTextEndsEveryCellWithSeparator()
{
    QStandardItemModel model(1, 2);
    model.setHorizontalHeaderLabels({QStringLiteral("A"), QStringLiteral("B")});
    model.setItem(0, 0, new QStandardItem(QStringLiteral("1")));
    model.setItem(0, 1, new QStandardItem(QStringLiteral("2")));
    QTableView view;
    auto *tableView = new TableView(&view);
    tableView->setModel(&model);
    QCOMPARE(tableView->toText(QStringLiteral("\t")), QStringLiteral("A\tB\t\n1\t2\t\n"));
    QCOMPARE(modelToText(&model, QStringLiteral(";")), QStringLiteral("A;B;\n1;2;\n"));

    Fixture f;
    f.tableView->setColumnVisible(3, false);
    const QStringList lines = f.tableView->toText(QStringLiteral("\t")).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(0), QStringLiteral("Name\tX\tY [mm]\tDone\t"));
    QCOMPARE(lines.at(2), QStringLiteral("row 1\t1.0\t2000.00\t\t"));
    QCOMPARE(lines.at(4), QString());
}

void TableViewTest::withoutModel()
{
    QTableView view;
    TableView tableView(&view);
    QCOMPARE(tableView.currentRow(), -1);
    QCOMPARE(tableView.columnCount(), 0);
    tableView.setColumnWidth(0, 50);
    tableView.setCurrentRow(0);
    tableView.resetColumns();
    QCOMPARE(tableView.columnWidth(0), 100);

    SampleList list;
    tableView.setModel(list.model());
    tableView.setModel(nullptr);
    QCOMPARE(tableView.columnCount(), 0);
}

MENSOR_GUITEST_MAIN(TableViewTest)
#include "tableviewtest.moc"
