#include "graphicspointitem.h"
#include "projection.h"
#include "scene.h"
#include "snaplines.h"

#include "testutils.h"

#include <QGraphicsLineItem>

using namespace vireo;

namespace {

struct Fixture
{
    Fixture()
    {
        scene.setSceneRect(0, 0, 640, 480);
        snap = scene.snapLines();
        snap->setSceneRect(scene.sceneRect());
        scene.setCalibrating(false);
        snap->setHorizontalEnabled(true);
        snap->setVerticalEnabled(true);
        snap->setMouseInside(true);
    }
    Scene scene;
    SnapLines *snap;
};

} // namespace

class SnapLinesTest : public QObject
{
    Q_OBJECT

private slots:
    void nearestPointWins_data();
    void nearestPointWins();
    void equalDistanceGoesToTopmost();
    void verticalLineSnapsToX();
    void visibility();
    void switchedOffLineStaysPut();
    void snappedPositionUsesOnlyEnabledLines();
};

void SnapLinesTest::nearestPointWins_data()
{
    QTest::addColumn<QList<double>>("points");
    QTest::addColumn<double>("mouse");
    QTest::addColumn<double>("line");

    QTest::newRow("no points") << QList<double>() << 103.0 << 103.0;
    QTest::newRow("100 against 108") << QList<double>({100, 108}) << 103.0 << 100.0;
    QTest::newRow("108 against 100") << QList<double>({108, 100}) << 105.0 << 108.0;
    QTest::newRow("out of reach") << QList<double>({100}) << 130.0 << 130.0;
    QTest::newRow("just in reach") << QList<double>({100}) << 114.5 << 100.0;
    QTest::newRow("just out of reach") << QList<double>({100}) << 115.5 << 115.5;
}

void SnapLinesTest::nearestPointWins()
{
    QFETCH(QList<double>, points);
    QFETCH(double, mouse);
    QFETCH(double, line);

    Fixture f;
    int id = 1;
    for (double y : points) {
        f.scene.addPoint(id, QPointF(50 * id, y), QString());
        ++id;
    }
    f.snap->mouseMovedTo(QPointF(600, mouse));
    QCOMPARE(f.snap->horizontalLine()->y(), line);
    QVERIFY(f.snap->horizontalLine()->isVisible());
}

void SnapLinesTest::equalDistanceGoesToTopmost()
{
    Fixture f;
    GraphicsPointItem *lower = f.scene.addPoint(1, QPointF(100, 96), QString());
    GraphicsPointItem *upper = f.scene.addPoint(2, QPointF(300, 104), QString());
    upper->setZValue(2);
    f.snap->setHorizontalPosition(100);
    QCOMPARE(f.snap->horizontalLine()->y(), 104.0);
    upper->setZValue(1);
    lower->setZValue(2);
    f.snap->setHorizontalPosition(100);
    QCOMPARE(f.snap->horizontalLine()->y(), 96.0);
}

void SnapLinesTest::verticalLineSnapsToX()
{
    Fixture f;
    f.scene.addPoint(1, QPointF(200, 50), QString());
    f.snap->mouseMovedTo(QPointF(207, 400));
    QCOMPARE(f.snap->verticalLine()->x(), 200.0);
    QCOMPARE(f.snap->horizontalLine()->y(), 400.0);
    QCOMPARE(f.snap->verticalLine()->line(), QLineF(0, 0, 0, 480));
    QCOMPARE(f.snap->horizontalLine()->line(), QLineF(0, 0, 640, 0));
}

void SnapLinesTest::visibility()
{
    Fixture f;
    f.snap->mouseMovedTo(QPointF(100, 480));
    QVERIFY(f.snap->horizontalLine()->isVisible());
    f.snap->mouseMovedTo(QPointF(100, 481));
    QVERIFY(!f.snap->horizontalLine()->isVisible());
    QVERIFY(f.snap->verticalLine()->isVisible());
    f.snap->mouseMovedTo(QPointF(-1, 20));
    QVERIFY(!f.snap->verticalLine()->isVisible());
    QVERIFY(f.snap->horizontalLine()->isVisible());

    f.snap->setMouseInside(false);
    QVERIFY(!f.snap->horizontalLine()->isVisible());
    f.snap->setMouseInside(true);
    QVERIFY(f.snap->horizontalLine()->isVisible());
    f.snap->setHorizontalEnabled(false);
    QVERIFY(!f.snap->horizontalLine()->isVisible());
}

void SnapLinesTest::switchedOffLineStaysPut()
{
    Fixture f;
    f.snap->mouseMovedTo(QPointF(10, 10));
    f.snap->setHorizontalEnabled(false);
    f.snap->mouseMovedTo(QPointF(20, 300));
    f.snap->setHorizontalEnabled(true);
    QCOMPARE(f.snap->horizontalLine()->y(), 10.0);
}

void SnapLinesTest::snappedPositionUsesOnlyEnabledLines()
{
    Fixture f;
    f.scene.addPoint(1, QPointF(200, 100), QString());
    f.snap->mouseMovedTo(QPointF(203, 104));
    QCOMPARE(f.snap->snappedPosition(QPointF(203, 104)), QPointF(200, 100));
    f.snap->setVerticalEnabled(false);
    QCOMPARE(f.snap->snappedPosition(QPointF(203, 104)), QPointF(203, 100));
}

MENSOR_GUITEST_MAIN(SnapLinesTest)
#include "snaplinestest.moc"
