#include "datalistmodel.h"
#include "listproxymodel.h"

#include "samplelist.h"
#include "testutils.h"

#include <QAbstractItemModelTester>

using namespace kit;

class DataListModelTest : public QObject
{
    Q_OBJECT

private slots:
    void dataByRole_data();
    void dataByRole();
    void unsupportedRolesWarn_data();
    void unsupportedRolesWarn();
    void flagsFollowTheRow_data();
    void flagsFollowTheRow();
    void headerData_data();
    void headerData();
    void setDataPassesToTheRow_data();
    void setDataPassesToTheRow();
    void resetEnclosingInsertIsOneReset();
    void nonMatchingEndsWarnAndStayBalanced();
    void proxyForwardsEveryNotification();
    void proxyAnnouncesWholeTableOnDataChange();
    void proxyStaysSilentForEmptyTable();
    void proxyWithoutSourceAnswersNothing();
    void proxyMapsBothWays();
    void proxyChangesSourceWithoutReset();
};

void DataListModelTest::dataByRole_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("display text") << 0 << int(Qt::DisplayRole) << QVariant(QStringLiteral("row 1"));
    QTest::newRow("display number") << 1 << int(Qt::DisplayRole) << QVariant(1.0);
    QTest::newRow("edit number") << 2 << int(Qt::EditRole) << QVariant(2.0);
    QTest::newRow("display of check column") << 3 << int(Qt::DisplayRole) << QVariant();
    QTest::newRow("check state") << 3 << int(Qt::CheckStateRole) << QVariant(int(Qt::Unchecked));
    QTest::newRow("check state of plain column") << 1 << int(Qt::CheckStateRole) << QVariant();
    QTest::newRow("alignment") << 0 << int(Qt::TextAlignmentRole) << QVariant(0x81);
    QTest::newRow("alignment of check column") << 3 << int(Qt::TextAlignmentRole) << QVariant(0x84);
    QTest::newRow("tool tip") << 0 << int(Qt::ToolTipRole) << QVariant();
    QTest::newRow("font") << 0 << int(Qt::FontRole) << QVariant();
    QTest::newRow("user") << 0 << int(Qt::UserRole) << QVariant();
    QTest::newRow("accessible") << 0 << int(Qt::AccessibleDescriptionRole) << QVariant(QString());
}

void DataListModelTest::dataByRole()
{
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(QVariant, expected);

    SampleList list;
    list.addRows(2);
    QCOMPARE(list.model()->data(list.model()->index(1, column), role), expected);
}

void DataListModelTest::unsupportedRolesWarn_data()
{
    QTest::addColumn<int>("role");
    QTest::newRow("what's this") << int(Qt::WhatsThisRole);
    QTest::newRow("size hint") << int(Qt::SizeHintRole);
    QTest::newRow("negative") << -1;
    QTest::newRow("above user") << int(Qt::UserRole) + 7;
}

void DataListModelTest::unsupportedRolesWarn()
{
    QFETCH(int, role);
    SampleList list;
    list.addRows(1);
    QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("Role %1 is not supported.").arg(role)));
    QVERIFY(!list.model()->data(list.model()->index(0, 0), role).isValid());
}

void DataListModelTest::flagsFollowTheRow_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("flags");

    const int enabled = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    QTest::newRow("editable") << "a" << 0 << (enabled | Qt::ItemIsEditable);
    QTest::newRow("read only") << "a" << 2 << enabled;
    QTest::newRow("checkable") << "a" << 3 << (enabled | Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
    QTest::newRow("disabled checkable") << "" << 3 << int(Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
}

void DataListModelTest::flagsFollowTheRow()
{
    QFETCH(QString, name);
    QFETCH(int, column);
    QFETCH(int, flags);

    SampleList list;
    list.append(new SampleItem(name));
    QCOMPARE(int(list.model()->flags(list.model()->index(0, column))), flags);
    QCOMPARE(int(list.model()->flags(QModelIndex())), int(Qt::NoItemFlags));
}

void DataListModelTest::headerData_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("title") << 1 << int(Qt::Horizontal) << int(Qt::DisplayRole) << QVariant(QStringLiteral("X"));
    QTest::newRow("description") << 2 << int(Qt::Horizontal) << int(Qt::ToolTipRole) << QVariant(QStringLiteral("about 2"));
    QTest::newRow("width") << 1 << int(Qt::Horizontal) << int(ColumnWidthRole) << QVariant(70);
    QTest::newRow("default width") << 0 << int(Qt::Horizontal) << int(ColumnWidthRole) << QVariant(100);
    QTest::newRow("visible") << 0 << int(Qt::Horizontal) << int(ColumnVisibleRole) << QVariant(true);
    QTest::newRow("hidden") << 3 << int(Qt::Horizontal) << int(ColumnVisibleRole) << QVariant(false);
    QTest::newRow("vertical title") << 0 << int(Qt::Vertical) << int(Qt::DisplayRole) << QVariant();
    QTest::newRow("other role") << 0 << int(Qt::Horizontal) << int(Qt::FontRole) << QVariant();
}

void DataListModelTest::headerData()
{
    QFETCH(int, section);
    QFETCH(int, orientation);
    QFETCH(int, role);
    QFETCH(QVariant, expected);

    SampleList list;
    QCOMPARE(list.model()->headerData(section, Qt::Orientation(orientation), role), expected);

    const auto spec = [&](int column) {
        return list.model()->headerData(column, Qt::Horizontal, ColumnSpecRole).value<void *>();
    };
    QCOMPARE(spec(0), nullptr);
    QCOMPARE(spec(3), static_cast<void *>(list.columnSpec(3)));
}

void DataListModelTest::setDataPassesToTheRow_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QVariant>("stored");

    QTest::newRow("edit") << 0 << int(Qt::EditRole) << QVariant(QStringLiteral("z")) << true << QVariant(QStringLiteral("z"));
    QTest::newRow("checked") << 3 << int(Qt::CheckStateRole) << QVariant(int(Qt::Checked)) << true << QVariant(true);
    QTest::newRow("partially checked") << 3 << int(Qt::CheckStateRole) << QVariant(int(Qt::PartiallyChecked)) << false
                                       << QVariant(false);
    QTest::newRow("display role") << 0 << int(Qt::DisplayRole) << QVariant(QStringLiteral("z")) << false
                                  << QVariant(QStringLiteral("row 0"));
}

void DataListModelTest::setDataPassesToTheRow()
{
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(QVariant, value);
    QFETCH(bool, result);
    QFETCH(QVariant, stored);

    SampleList list;
    list.addRows(1);
    QSignalSpy dataChanged(list.model(), &QAbstractItemModel::dataChanged);
    QCOMPARE(list.model()->setData(list.model()->index(0, column), value, role), result);
    QCOMPARE(list.at(0)->value(column), stored);
    QCOMPARE(dataChanged.count(), result ? 1 : 0);
    QVERIFY(!list.model()->setData(QModelIndex(), value, role));
}

void DataListModelTest::resetEnclosingInsertIsOneReset()
{
    SampleList list;
    DataListModel *model = list.model();
    QSignalSpy aboutToReset(model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy reset(model, &QAbstractItemModel::modelReset);
    QSignalSpy aboutToInsert(model, &QAbstractItemModel::rowsAboutToBeInserted);
    {
        DataListResetAction outer(model);
        list.addRows(3);
        QCOMPARE(reset.count(), 0);
    }
    QCOMPARE(aboutToReset.count(), 1);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(aboutToInsert.count(), 0);
}

void DataListModelTest::nonMatchingEndsWarnAndStayBalanced()
{
    SampleList list;
    DataListModel *model = list.model();
    QSignalSpy reset(model, &QAbstractItemModel::modelReset);
    auto outer = std::make_unique<DataListResetAction>(model);
    auto inner = std::make_unique<DataListInsertAction>(model, 0, 0);

    QTest::ignoreMessage(QtWarningMsg, "Ignoring non-matching end of reset action.");
    outer.reset();
    QCOMPARE(reset.count(), 0);
    QTest::ignoreMessage(QtWarningMsg, "Ignoring non-matching end of insert action.");
    inner.reset();
    QCOMPARE(reset.count(), 1);

    // Balanced again: the next action opens and closes its own notification.
    list.addRows(1);
    QCOMPARE(model->rowCount(), 1);
}

void DataListModelTest::proxyForwardsEveryNotification()
{
    SampleList list;
    ListProxyModel proxy;
    proxy.setSourceModel(list.model());
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&proxy, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&proxy, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&proxy, &QAbstractItemModel::modelReset);

    list.addRows(3);
    QCOMPARE(inserted.count(), 3);
    QCOMPARE(inserted.last().at(1).toInt(), 2);
    QCOMPARE(proxy.rowCount(), 3);
    list.removeAt(1);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.first().at(1).toInt(), 1);
    list.clear();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(proxy.rowCount(), 0);
}

void DataListModelTest::proxyAnnouncesWholeTableOnDataChange()
{
    SampleList list;
    list.addRows(5);
    ListProxyModel proxy;
    proxy.setSourceModel(list.model());
    QSignalSpy dataChanged(&proxy, &QAbstractItemModel::dataChanged);
    list.at(2)->setValue(0, QStringLiteral("x"));
    QCOMPARE(dataChanged.count(), 1);
    QCOMPARE(dataChanged.first().at(0).value<QModelIndex>(), proxy.index(0, 0));
    QCOMPARE(dataChanged.first().at(1).value<QModelIndex>(), proxy.index(4, 3));
}

void DataListModelTest::proxyStaysSilentForEmptyTable()
{
    SampleList list;
    ListProxyModel proxy;
    proxy.setSourceModel(list.model());
    QSignalSpy dataChanged(&proxy, &QAbstractItemModel::dataChanged);
    emit list.model()->dataChanged(QModelIndex(), QModelIndex());
    QCOMPARE(dataChanged.count(), 0);
}

void DataListModelTest::proxyWithoutSourceAnswersNothing()
{
    ListProxyModel proxy;
    QCOMPARE(proxy.rowCount(), 0);
    QCOMPARE(proxy.columnCount(), 0);
    QVERIFY(!proxy.index(0, 0).isValid());
    QVERIFY(!proxy.headerData(0, Qt::Horizontal).isValid());
    QVERIFY(!proxy.mapToSource(QModelIndex()).isValid());
}

void DataListModelTest::proxyMapsBothWays()
{
    SampleList list;
    list.addRows(3);
    ListProxyModel proxy;
    proxy.setSourceModel(list.model());
    QVERIFY(!proxy.index(3, 0).isValid());
    QVERIFY(!proxy.index(0, 4).isValid());
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QModelIndex index = proxy.index(row, column);
            QVERIFY(!proxy.parent(index).isValid());
            QCOMPARE(proxy.mapFromSource(proxy.mapToSource(index)), index);
            QCOMPARE(proxy.data(index, Qt::EditRole), list.model()->data(list.model()->index(row, column), Qt::EditRole));
        }
    }
    QCOMPARE(proxy.headerData(1, Qt::Horizontal), QVariant(QStringLiteral("X")));
}

void DataListModelTest::proxyChangesSourceWithoutReset()
{
    SampleList first;
    SampleList second;
    second.addRows(2);
    ListProxyModel proxy;
    proxy.setSourceModel(first.model());
    proxy.setSourceModel(second.model());
    QCOMPARE(proxy.rowCount(), 2);
    QSignalSpy inserted(&proxy, &QAbstractItemModel::rowsInserted);
    first.addRows(1);
    QCOMPARE(inserted.count(), 0);
    second.addRows(1);
    QCOMPARE(inserted.count(), 1);
}

MENSOR_GUITEST_MAIN(DataListModelTest)
#include "datalistmodeltest.moc"
