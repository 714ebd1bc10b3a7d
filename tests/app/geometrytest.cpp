#include "geometry.h"

#include "testutils.h"

#include <xmldatastore.h>

#include <QXmlStreamReader>

using vireo::Geometry;
using vireo::Point;

namespace {

const kit::DataFormat storeFormat(QStringLiteral("mensor"), 1);

class BufferReader final : public kit::XmlDataReader
{
public:
    explicit BufferReader(const QByteArray &xml)
        : XmlDataReader(storeFormat)
    {
        setReader(new QXmlStreamReader(xml));
    }
};

QByteArray saved(const Geometry &geometry)
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("g.xml"));
    {
        kit::XmlFileWriter writer(fileName, storeFormat);
        writer.writeObject(QStringLiteral("value"), geometry);
    }
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

bool readInto(const QByteArray &xml, Geometry &geometry)
{
    BufferReader reader(xml);
    reader.readObject(QStringLiteral("value"), geometry);
    return !reader.hasError();
}

} // namespace

class GeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void constructedRecordRoundTrip();
    void initializeForImageSize_data();
    void initializeForImageSize();
    void pointsKeepNumbersAndOrder();
    void missingValuesKeepPreviousOnes();
    void missingPointGroupIsAnError();
    void storedElementOrder();
};

void GeometryTest::constructedRecordRoundTrip()
{
    const Geometry constructed;
    QVERIFY(constructed.isNew());
    const QByteArray xml = saved(constructed);
    QVERIFY(xml.contains("<nextid>1</nextid>"));
    QVERIFY(xml.contains("<rulerlength>0</rulerlength>"));
    QVERIFY(xml.contains("<points/>"));

    Geometry loaded;
    loaded.setNextId(9);
    QVERIFY(readInto(xml, loaded));
    QVERIFY(!loaded.isNew());
    QCOMPARE(loaded.nextId(), 1);
    QCOMPARE(loaded.origin(), QPointF());
    QCOMPARE(loaded.rulerEnd2(), QPointF());
    QCOMPARE(loaded.rulerLength(), 0.0);
    QCOMPARE(loaded.pointCount(), 0);
}

void GeometryTest::initializeForImageSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QPointF>("corner");

    QTest::newRow("640 x 480") << QSize(640, 480) << QPointF(320, 240) << QPointF(640, 480);
    QTest::newRow("odd 5 x 3") << QSize(5, 3) << QPointF(2.5, 1.5) << QPointF(5, 3);
    QTest::newRow("one pixel") << QSize(1, 1) << QPointF(0.5, 0.5) << QPointF(1, 1);
}

void GeometryTest::initializeForImageSize()
{
    QFETCH(QSize, size);
    QFETCH(QPointF, origin);
    QFETCH(QPointF, corner);

    Geometry geometry;
    geometry.setNextId(7);
    geometry.addPoint(Point(3, QPointF(1, 2), QStringLiteral("a.jpg")));
    geometry.initialize(size);
    QVERIFY(!geometry.isNew());
    QCOMPARE(geometry.nextId(), 1);
    QCOMPARE(geometry.origin(), origin);
    QCOMPARE(geometry.rulerEnd1(), origin);
    QCOMPARE(geometry.rulerEnd2(), corner);
    QCOMPARE(geometry.rulerLength(), 1.0);
    QCOMPARE(geometry.pointCount(), 1);
}

void GeometryTest::pointsKeepNumbersAndOrder()
{
    Geometry geometry;
    geometry.initialize(QSize(640, 480));
    geometry.setNextId(6);
    geometry.setRulerLength(12.5);
    geometry.addPoint(Point(1, QPointF(10.5, 20.25), QStringLiteral("first.jpg")));
    geometry.addPoint(Point(2, QPointF(-3, 4), QStringLiteral("R&D <1>.png")));
    geometry.addPoint(Point(5, QPointF(600, 470), QString()));

    Geometry loaded;
    QVERIFY(readInto(saved(geometry), loaded));
    QCOMPARE(loaded.nextId(), 6);
    QCOMPARE(loaded.rulerLength(), 12.5);
    QCOMPARE(loaded.origin(), QPointF(320, 240));
    QCOMPARE(loaded.points(), geometry.points());
    QCOMPARE(loaded.point(2).id(), 5);
    QCOMPARE(loaded.point(1).file(), QStringLiteral("R&D <1>.png"));
}

void GeometryTest::missingValuesKeepPreviousOnes()
{
    Geometry geometry;
    geometry.setRulerLength(3.5);
    geometry.setNextId(4);
    const QByteArray xml = "<mensor version=\"1\"><value>"
                           "<origin><x>1</x><y>2</y></origin>"
                           "<rulerend1><x>3</x><y>4</y></rulerend1>"
                           "<rulerend2><x>5</x><y>6</y></rulerend2>"
                           "<points><point><pos><x>7</x><y>8</y></pos></point></points>"
                           "</value></mensor>";
    QVERIFY(readInto(xml, geometry));
    QCOMPARE(geometry.rulerLength(), 3.5);
    QCOMPARE(geometry.nextId(), 4);
    QCOMPARE(geometry.rulerEnd2(), QPointF(5, 6));
    QCOMPARE(geometry.pointCount(), 1);
    QCOMPARE(geometry.point(0).id(), 0);
    QCOMPARE(geometry.point(0).file(), QString());
}

void GeometryTest::missingPointGroupIsAnError()
{
    Geometry geometry;
    SilentMessages silence;
    QVERIFY(!readInto("<mensor version=\"1\"><value><nextid>2</nextid></value></mensor>", geometry));
    QCOMPARE(geometry.nextId(), 2);
}

void GeometryTest::storedElementOrder()
{
    Geometry geometry;
    geometry.addPoint(Point(1, QPointF(1, 1), QStringLiteral("f")));
    const QByteArray xml = saved(geometry);
    QStringList order;
    for (const char *name : {"<nextid>", "<origin>", "<rulerend1>", "<rulerend2>", "<rulerlength>", "<points>",
                             "<point>", "<id>", "<pos>", "<file>"})
        order.append(QString::number(xml.indexOf(name)));
    QStringList sorted = order;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    QCOMPARE(order, sorted);
    QVERIFY(!order.contains(QStringLiteral("-1")));
}

MENSOR_CORETEST_MAIN(GeometryTest)
#include "geometrytest.moc"
