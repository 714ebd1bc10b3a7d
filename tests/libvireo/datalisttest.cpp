#include "datalist.h"
#include "datalistmodel.h"
#include "xmldatastore.h"

#include "samplelist.h"
#include "testutils.h"

#include <QAbstractItemModelTester>
#include <QXmlStreamReader>

using namespace kit;

namespace {

class BufferReader final : public XmlDataReader
{
public:
    explicit BufferReader(const QByteArray &xml)
        : XmlDataReader(DataFormat(QStringLiteral("mensor"), 1))
    {
        setReader(new QXmlStreamReader(xml));
    }
};

// Every notification a model sends, by name.
struct ModelSpies
{
    explicit ModelSpies(QAbstractItemModel *model)
        : aboutToReset(model, &QAbstractItemModel::modelAboutToBeReset)
        , reset(model, &QAbstractItemModel::modelReset)
        , aboutToInsert(model, &QAbstractItemModel::rowsAboutToBeInserted)
        , inserted(model, &QAbstractItemModel::rowsInserted)
        , aboutToRemove(model, &QAbstractItemModel::rowsAboutToBeRemoved)
        , removed(model, &QAbstractItemModel::rowsRemoved)
        , dataChanged(model, &QAbstractItemModel::dataChanged)
    {
    }

    int structural() const
    {
        return aboutToReset.count() + reset.count() + aboutToInsert.count() + inserted.count() + aboutToRemove.count()
            + removed.count();
    }

    QSignalSpy aboutToReset;
    QSignalSpy reset;
    QSignalSpy aboutToInsert;
    QSignalSpy inserted;
    QSignalSpy aboutToRemove;
    QSignalSpy removed;
    QSignalSpy dataChanged;
};

int linearIndexOf(const DataList &list, const DataItem *item)
{
    for (int row = 0; row < list.count(); ++row) {
        if (list.at(row) == item)
            return row;
    }
    return -1;
}

} // namespace

class DataListTest : public QObject
{
    Q_OBJECT

private slots:
    void setValueEmitsMarkedColumnsOnce_data();
    void setValueEmitsMarkedColumnsOnce();
    void nestedSetValueIsRefused();
    void refusedStoreLeavesRowIdle();
    void appendAnnouncesOnlyTheNewRow();
    void insertAndRemoveAnnounceTheirRow();
    void nullAndInvalidArgumentsChangeNothing_data();
    void nullAndInvalidArgumentsChangeNothing();
    void itemInTwoListsIsRefused();
    void clearAnnouncesResetEvenWhenEmpty();
    void loadIsOneReset();
    void loadWithoutRowFactoryStops();
    void saveWritesEveryRow();
    void accessorsAtTheEdges();
    void indexOfStaysRightAcrossChanges();
    void rowChangeReachesModelAsItsRow();
    void removedRowIsDestroyedAndDisconnected();
};

void DataListTest::setValueEmitsMarkedColumnsOnce_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");

    QTest::newRow("plain column") << 0 << QVariant(QStringLiteral("b")) << true << 0 << 0;
    QTest::newRow("marks a second column") << 1 << QVariant(2.5) << true << 1 << 2;
    QTest::newRow("equal value") << 1 << QVariant(1.0) << false << -1 << -1;
    QTest::newRow("refused by the row") << 2 << QVariant(9.0) << false << -1 << -1;
}

void DataListTest::setValueEmitsMarkedColumnsOnce()
{
    QFETCH(int, column);
    QFETCH(QVariant, value);
    QFETCH(bool, result);
    QFETCH(int, first);
    QFETCH(int, last);

    SampleItem item(QStringLiteral("a"), 1.0);
    QSignalSpy changed(&item, &DataItem::changed);
    QCOMPARE(item.setValue(column, value), result);
    if (result) {
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().at(0).toInt(), first);
        QCOMPARE(changed.first().at(1).toInt(), last);
        QCOMPARE(item.value(column), value);
    } else {
        QCOMPARE(changed.count(), 0);
    }
}

void DataListTest::nestedSetValueIsRefused()
{
    SampleItem item(QStringLiteral("a"), 1.0);
    item.callNested = true;
    QSignalSpy changed(&item, &DataItem::changed);
    QVERIFY(item.setValue(1, 3.0));
    QVERIFY(!item.nestedResult);
    QCOMPARE(item.value(0).toString(), QStringLiteral("a"));
    QCOMPARE(changed.count(), 1);
}

void DataListTest::refusedStoreLeavesRowIdle()
{
    SampleItem item(QStringLiteral("a"), 1.0);
    item.refusedColumns = {0};
    QVERIFY(!item.setValue(0, QStringLiteral("b")));
    item.refusedColumns.clear();
    QVERIFY(item.setValue(0, QStringLiteral("b")));
}

void DataListTest::appendAnnouncesOnlyTheNewRow()
{
    SampleList list;
    QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.addRows(3);
    ModelSpies spies(list.model());
    list.append(new SampleItem(QStringLiteral("d")));
    QCOMPARE(spies.aboutToInsert.count(), 1);
    QCOMPARE(spies.aboutToInsert.first().at(1).toInt(), 3);
    QCOMPARE(spies.aboutToInsert.first().at(2).toInt(), 3);
    QCOMPARE(spies.inserted.count(), 1);
    QCOMPARE(spies.structural(), 2);
    QCOMPARE(list.model()->rowCount(), 4);
}

void DataListTest::insertAndRemoveAnnounceTheirRow()
{
    SampleList list;
    QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.addRows(3);
    ModelSpies spies(list.model());

    auto *item = new SampleItem(QStringLiteral("front"));
    list.insert(0, item);
    QCOMPARE(spies.aboutToInsert.count(), 1);
    QCOMPARE(spies.aboutToInsert.first().at(1).toInt(), 0);
    QCOMPARE(list.first(), item);

    list.removeAt(2);
    QCOMPARE(spies.aboutToRemove.count(), 1);
    QCOMPARE(spies.aboutToRemove.first().at(1).toInt(), 2);
    QCOMPARE(spies.removed.count(), 1);
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.at(2)->value(0).toString(), QStringLiteral("row 2"));
}

void DataListTest::nullAndInvalidArgumentsChangeNothing_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("warning");

    QTest::newRow("append null") << "append" << "Ignoring NULL pointer in DataList::append";
    QTest::newRow("insert null") << "insert" << "Ignoring NULL pointer in DataList::insert";
    QTest::newRow("insert past end") << "insertPastEnd" << "Ignoring invalid index 4 in DataList::insert";
    QTest::newRow("insert negative") << "insertNegative" << "Ignoring invalid index -1 in DataList::insert";
    QTest::newRow("remove negative") << "removeNegative" << "Ignoring invalid index  -1  in DataList::removeAt";
    QTest::newRow("remove at count") << "removeCount" << "Ignoring invalid index  3  in DataList::removeAt";
    QTest::newRow("insertNew past end") << "insertNew" << "Ignoring invalid index 9 in DataList::insertNew";
}

void DataListTest::nullAndInvalidArgumentsChangeNothing()
{
    QFETCH(QString, operation);
    QFETCH(QString, warning);

    SampleList list;
    list.addRows(3);
    ModelSpies spies(list.model());
    QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    if (operation == QLatin1String("append")) {
        list.append(nullptr);
    } else if (operation == QLatin1String("insert")) {
        list.insert(0, nullptr);
    } else if (operation == QLatin1String("insertPastEnd")) {
        auto item = std::make_unique<SampleItem>();
        list.insert(4, item.get());
    } else if (operation == QLatin1String("insertNegative")) {
        auto item = std::make_unique<SampleItem>();
        list.insert(-1, item.get());
    } else if (operation == QLatin1String("removeNegative")) {
        list.removeAt(-1);
    } else if (operation == QLatin1String("removeCount")) {
        list.removeAt(3);
    } else if (operation == QLatin1String("insertNew")) {
        QCOMPARE(list.insertNew(9), nullptr);
    }
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.model()->rowCount(), 3);
    QCOMPARE(spies.structural(), 0);
}

void DataListTest::itemInTwoListsIsRefused()
{
    SampleList a;
    SampleList b;
    auto *item = new SampleItem;
    a.append(item);
    QTest::ignoreMessage(QtWarningMsg, "Ignoring item already in a DataList in DataList::append");
    b.append(item);
    QTest::ignoreMessage(QtWarningMsg, "Ignoring item already in a DataList in DataList::append");
    a.append(item);
    QCOMPARE(a.count(), 1);
    QCOMPARE(b.count(), 0);
    QCOMPARE(b.indexOf(item), -1);
}

void DataListTest::clearAnnouncesResetEvenWhenEmpty()
{
    SampleList list;
    ModelSpies spies(list.model());
    list.clear();
    QCOMPARE(spies.aboutToReset.count(), 1);
    QCOMPARE(spies.reset.count(), 1);
    list.addRows(2);
    QPointer<DataItem> row = list.at(1);
    list.clear();
    QVERIFY(row.isNull());
    QVERIFY(list.isEmpty());
    QCOMPARE(spies.reset.count(), 2);
}

void DataListTest::loadIsOneReset()
{
    SampleList list;
    QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.addRows(5);
    ModelSpies spies(list.model());
    QSignalSpy insertedDuringReset(list.model(), &QAbstractItemModel::rowsInserted);

    BufferReader reader("<mensor version=\"1\"><sample><name>a</name><x>1</x></sample>"
                        "<sample><name>b</name><x>2.5</x></sample><sample><name>c</name></sample></mensor>");
    reader.readRoot(list);
    QVERIFY(!reader.hasError());
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.at(1)->value(1).toDouble(), 2.5);
    QCOMPARE(list.at(2)->value(0).toString(), QStringLiteral("c"));
    QCOMPARE(spies.aboutToReset.count(), 1);
    QCOMPARE(spies.reset.count(), 1);
    QCOMPARE(spies.structural(), 2);
}

void DataListTest::loadWithoutRowFactoryStops()
{
    DataList list(2);
    BufferReader reader("<mensor version=\"1\"><item/><item/></mensor>");
    QTest::ignoreMessage(QtWarningMsg, "Ignoring NULL pointer in DataList::append");
    reader.readRoot(list);
    QCOMPARE(list.count(), 0);
}

void DataListTest::saveWritesEveryRow()
{
    SampleList list;
    list.addRows(2);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("list.xml"));
    {
        XmlFileWriter writer(fileName, DataFormat(QStringLiteral("mensor"), 1));
        writer.writeRoot(list);
    }
    SampleList loaded;
    XmlFileReader reader(fileName, DataFormat(QStringLiteral("mensor"), 1));
    reader.readRoot(loaded);
    QCOMPARE(loaded.count(), 2);
    QCOMPARE(loaded.at(1)->value(0), list.at(1)->value(0));
    QCOMPARE(loaded.at(1)->value(1), list.at(1)->value(1));
}

void DataListTest::accessorsAtTheEdges()
{
    SampleList list;
    QCOMPARE(list.first(), nullptr);
    QCOMPARE(list.last(), nullptr);
    QCOMPARE(list.at(0), nullptr);
    list.addRows(2);
    QCOMPARE(list.at(-1), nullptr);
    QCOMPARE(list.at(2), nullptr);
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.last(), list.at(1));
    QCOMPARE(list.indexOf(nullptr), -1);
    SampleItem stranger;
    QCOMPARE(list.indexOf(&stranger), -1);
}

void DataListTest::indexOfStaysRightAcrossChanges()
{
    SampleList list;
    list.addRows(50);
    QVector<DataItem *> kept;
    for (int round = 0; round < 40; ++round) {
        switch (round % 4) {
        case 0:
            list.insert(round % 7, new SampleItem);
            break;
        case 1:
            list.removeAt((round * 13) % list.count());
            break;
        case 2:
            list.insertNew(list.count());
            break;
        case 3:
            list.removeAt(0);
            break;
        }
        for (int row = 0; row < list.count(); ++row) {
            const DataItem *item = list.at(row);
            QCOMPARE(list.indexOf(item), linearIndexOf(list, item));
        }
    }
}

void DataListTest::rowChangeReachesModelAsItsRow()
{
    SampleList list;
    list.addRows(4);
    list.insert(1, new SampleItem(QStringLiteral("new")));
    QSignalSpy dataChanged(list.model(), &QAbstractItemModel::dataChanged);
    QVERIFY(list.at(3)->setValue(1, 42.0));
    QCOMPARE(dataChanged.count(), 1);
    const auto topLeft = dataChanged.first().at(0).value<QModelIndex>();
    const auto bottomRight = dataChanged.first().at(1).value<QModelIndex>();
    QCOMPARE(topLeft, list.model()->index(3, 1));
    QCOMPARE(bottomRight, list.model()->index(3, 2));
    QVERIFY(dataChanged.first().at(2).value<QVector<int>>().isEmpty());
}

void DataListTest::removedRowIsDestroyedAndDisconnected()
{
    SampleList list;
    list.addRows(2);
    QPointer<DataItem> row = list.at(0);
    list.removeAt(0);
    QVERIFY(row.isNull());
    QCOMPARE(list.count(), 1);
}

MENSOR_GUITEST_MAIN(DataListTest)
#include "datalisttest.moc"
