#include "geometry.h"
#include "grahpicsanchoritem.h"
#include "graphicslabelitem.h"
#include "projection.h"

#include "testutils.h"

#include <QDoubleSpinBox>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QInputDialog>

#include <cmath>

using vireo::Geometry;
using vireo::Projection;

namespace {

Geometry calibration(QPointF origin, QPointF end1, QPointF end2, double length)
{
    Geometry geometry;
    geometry.setOrigin(origin);
    geometry.setRulerEnd1(end1);
    geometry.setRulerEnd2(end2);
    geometry.setRulerLength(length);
    return geometry;
}

// Answers the next length dialog: enters the value, or cancels when it is NaN.
void answerLengthDialog(ModalAnswerer &answers, double value, double *minimum = nullptr, double *maximum = nullptr,
                        int *decimals = nullptr)
{
    answers.expect<QInputDialog>([=](QInputDialog *dialog) {
        if (minimum)
            *minimum = dialog->doubleMinimum();
        if (maximum)
            *maximum = dialog->doubleMaximum();
        if (decimals)
            *decimals = dialog->doubleDecimals();
        if (!std::isnan(value))
            dialog->setDoubleValue(value);
        answerLater(dialog, std::isnan(value) ? "reject" : "accept");
        return true;
    });
}

} // namespace

class ProjectionTest : public QObject
{
    Q_OBJECT

private slots:
    void toCoordinates_data();
    void toCoordinates();
    void coincidingRulerEndsGiveNoNumbers();
    void axesSpanImageAndReachOrigin_data();
    void axesSpanImageAndReachOrigin();
    void labelSitsAtMidpointOrSecondEnd();
    void labelFollowsDecimalPlaces();
    void lengthDialogScalesCoordinates();
    void cancelledDialogChangesNothing();
    void dialogNeverOffersZero_data();
    void dialogNeverOffersZero();
    void calibratingShowsTools();
    void itemsInStackingOrder();
    void resetOriginAndRuler();
    void saveToWritesAnchors();
    void draggingAnchorEmitsChanged();
};

void ProjectionTest::toCoordinates_data()
{
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QPointF>("end1");
    QTest::addColumn<QPointF>("end2");
    QTest::addColumn<double>("length");
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<QPointF>("expected");

    const QPointF o(320, 240);
    QTest::newRow("worked example") << o << o << QPointF(420, 240) << 5.0 << QPointF(400, 200) << QPointF(4, 2);
    QTest::newRow("ends swapped") << o << QPointF(420, 240) << o << 5.0 << QPointF(400, 200) << QPointF(4, 2);
    QTest::newRow("vertical ruler") << o << QPointF(0, 0) << QPointF(0, 100) << 5.0 << QPointF(400, 200) << QPointF(4, 2);
    QTest::newRow("diagonal ruler") << o << QPointF(10, 10) << QPointF(70, 90) << 5.0 << QPointF(400, 200) << QPointF(4, 2);
    QTest::newRow("length 20") << o << o << QPointF(420, 240) << 20.0 << QPointF(400, 200) << QPointF(16, 8);
    QTest::newRow("above origin") << QPointF(0, 0) << QPointF(0, 0) << QPointF(100, 0) << 10.0 << QPointF(50, -20)
                                  << QPointF(5, 2);
    QTest::newRow("below origin") << QPointF(0, 0) << QPointF(0, 0) << QPointF(100, 0) << 10.0 << QPointF(50, 20)
                                  << QPointF(5, -2);
    QTest::newRow("on the origin") << o << o << QPointF(420, 240) << 5.0 << o << QPointF(0, 0);
    QTest::newRow("200 pixels, length 1") << QPointF(0, 0) << QPointF(0, 0) << QPointF(200, 0) << 1.0 << QPointF(1, -1)
                                          << QPointF(0.005, 0.005);
}

void ProjectionTest::toCoordinates()
{
    QFETCH(QPointF, origin);
    QFETCH(QPointF, end1);
    QFETCH(QPointF, end2);
    QFETCH(double, length);
    QFETCH(QPointF, position);
    QFETCH(QPointF, expected);

    QGraphicsScene scene;
    Projection projection(&scene);
    projection.loadFrom(calibration(origin, end1, end2, length));
    const QPointF coordinates = projection.toCoordinates(position);
    QVERIFY2(qAbs(coordinates.x() - expected.x()) < 1e-12 && qAbs(coordinates.y() - expected.y()) < 1e-12,
             qPrintable(QStringLiteral("%1, %2").arg(coordinates.x(), 0, 'g', 17).arg(coordinates.y(), 0, 'g', 17)));
}

void ProjectionTest::coincidingRulerEndsGiveNoNumbers()
{
    QGraphicsScene scene;
    Projection projection(&scene);
    projection.loadFrom(calibration(QPointF(5, 5), QPointF(50, 50), QPointF(50, 50), 3));
    QVERIFY(std::isnan(projection.scale()));
    const QPointF coordinates = projection.toCoordinates(QPointF(10, 10));
    QVERIFY(std::isnan(coordinates.x()));
    QVERIFY(std::isnan(coordinates.y()));

    projection.rulerEnd2Anchor()->setPos(80, 50);
    QCOMPARE(projection.toCoordinates(QPointF(35, 5)), QPointF(3, 0));
}

void ProjectionTest::axesSpanImageAndReachOrigin_data()
{
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QLineF>("xAxis");
    QTest::addColumn<QLineF>("yAxis");

    QTest::newRow("inside") << QPointF(100, 50) << QLineF(0, 50, 640, 50) << QLineF(100, 0, 100, 480);
    QTest::newRow("left of image") << QPointF(-30, 50) << QLineF(-30, 50, 640, 50) << QLineF(-30, 0, -30, 480);
    QTest::newRow("below right") << QPointF(700, 500) << QLineF(0, 500, 700, 500) << QLineF(700, 0, 700, 500);
}

void ProjectionTest::axesSpanImageAndReachOrigin()
{
    QFETCH(QPointF, origin);
    QFETCH(QLineF, xAxis);
    QFETCH(QLineF, yAxis);

    QGraphicsScene scene;
    Projection projection(&scene);
    projection.setImageRect(QRectF(0, 0, 640, 480));
    projection.originAnchor()->setPos(origin);
    QCOMPARE(projection.xAxis()->line(), xAxis);
    QCOMPARE(projection.yAxis()->line(), yAxis);
}

void ProjectionTest::labelSitsAtMidpointOrSecondEnd()
{
    QGraphicsScene scene;
    Projection projection(&scene);
    projection.loadFrom(calibration(QPointF(), QPointF(10, 20), QPointF(110, 20), 1));
    QCOMPARE(projection.rulerLabel()->pos(), QPointF(60, 20));
    QCOMPARE(projection.rulerLine()->line(), QLineF(10, 20, 110, 20));
    projection.rulerEnd2Anchor()->setPos(10, 20);
    QCOMPARE(projection.rulerLabel()->pos(), QPointF(10, 20));
}

void ProjectionTest::labelFollowsDecimalPlaces()
{
    QGraphicsScene scene;
    Projection projection(&scene);
    projection.loadFrom(calibration(QPointF(), QPointF(), QPointF(1, 0), 1.0));
    QCOMPARE(projection.rulerLabelText(), QStringLiteral("1.000"));
    projection.setDecimalPlaces(0);
    QCOMPARE(projection.rulerLabelText(), QStringLiteral("1"));
    projection.setDecimalPlaces(5);
    QCOMPARE(projection.rulerLabelText(), QStringLiteral("1.00000"));
}

void ProjectionTest::lengthDialogScalesCoordinates()
{
    QGraphicsScene scene;
    Projection projection(&scene);
    projection.loadFrom(calibration(QPointF(), QPointF(), QPointF(200, 0), 1.0));
    projection.setDecimalPlaces(2);
    QSignalSpy changed(&projection, &Projection::changed);
    const QPointF before = projection.toCoordinates(QPointF(50, -30));

    double minimum = 0;
    double maximum = 0;
    int decimals = -1;
    ModalAnswerer answers;
    answerLengthDialog(answers, 4.0, &minimum, &maximum, &decimals);
    projection.editRulerLength();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(projection.rulerLength(), 4.0);
    QCOMPARE(projection.rulerLabelText(), QStringLiteral("4.00"));
    QCOMPARE(projection.toCoordinates(QPointF(50, -30)), before * 4);
    // The smallest length the dialog offers is positive at its precision.
    QCOMPARE(minimum, 0.01);
    QCOMPARE(maximum, 1e10);
    QCOMPARE(decimals, 2);

    // The label's click opens the same dialog.
    answerLengthDialog(answers, 2.5);
    emit projection.rulerLabel()->clicked();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(projection.rulerLength(), 2.5);
}

void ProjectionTest::cancelledDialogChangesNothing()
{
    QGraphicsScene scene;
    Projection projection(&scene);
    projection.loadFrom(calibration(QPointF(), QPointF(), QPointF(200, 0), 7.0));
    QSignalSpy changed(&projection, &Projection::changed);
    ModalAnswerer answers;
    answerLengthDialog(answers, qQNaN());
    projection.editRulerLength();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(projection.rulerLength(), 7.0);
    QCOMPARE(projection.rulerLabelText(), QStringLiteral("7.000"));
}

void ProjectionTest::dialogNeverOffersZero_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("minimum");
    QTest::newRow("0 places") << 0 << 1.0;
    QTest::newRow("3 places") << 3 << 0.001;
    QTest::newRow("12 places") << 12 << 1e-10;
}

void ProjectionTest::dialogNeverOffersZero()
{
    QFETCH(int, decimals);
    QFETCH(double, minimum);

    QGraphicsScene scene;
    Projection projection(&scene);
    projection.loadFrom(calibration(QPointF(), QPointF(), QPointF(200, 0), 7.0));
    projection.setDecimalPlaces(decimals);
    double offered = -1;
    ModalAnswerer answers;
    answerLengthDialog(answers, 0.0, &offered);
    projection.editRulerLength();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(offered, minimum);
    QCOMPARE(projection.rulerLength(), minimum);
    QVERIFY(projection.toCoordinates(QPointF(200, 0)).x() > 0);
}

void ProjectionTest::calibratingShowsTools()
{
    QGraphicsScene scene;
    Projection projection(&scene);
    QSignalSpy changed(&projection, &Projection::changed);
    projection.setCalibrating(false);
    QVERIFY(!projection.originAnchor()->isEnabled());
    QVERIFY(projection.originAnchor()->isVisible());
    QVERIFY(!projection.rulerLine()->isVisible());
    QVERIFY(!projection.rulerEnd1Anchor()->isVisible());
    QVERIFY(!projection.rulerEnd2Anchor()->isVisible());
    QVERIFY(!projection.rulerLabel()->isVisible());
    QVERIFY(projection.xAxis()->isVisible() && projection.yAxis()->isVisible());
    projection.setCalibrating(true);
    QVERIFY(projection.originAnchor()->isEnabled());
    QVERIFY(projection.rulerLabel()->isVisible());
    QCOMPARE(changed.count(), 0);
}

void ProjectionTest::itemsInStackingOrder()
{
    QGraphicsScene scene;
    Projection projection(&scene);
    const QList<QGraphicsItem *> expected = {projection.originAnchor(), projection.rulerLine(),
                                             projection.rulerEnd1Anchor(), projection.rulerEnd2Anchor(),
                                             projection.rulerLabel(), projection.xAxis(), projection.yAxis()};
    QList<QGraphicsItem *> topLevel;
    for (QGraphicsItem *item : scene.items(Qt::AscendingOrder)) {
        if (!item->parentItem())
            topLevel.append(item);
    }
    QCOMPARE(topLevel, expected);
    QCOMPARE(projection.originAnchor()->boundingRect(), QRectF(-10, -10, 20, 20));
    QVERIFY(projection.originAnchor()->flags() & QGraphicsItem::ItemIgnoresTransformations);
    QCOMPARE(projection.rulerLabel()->font().family(), QStringLiteral("Arial"));
    QCOMPARE(projection.rulerLabel()->font().pointSize(), 12);
    QVERIFY(projection.rulerLabel()->font().bold());
}

void ProjectionTest::resetOriginAndRuler()
{
    QGraphicsScene scene;
    Projection projection(&scene);
    QSignalSpy changed(&projection, &Projection::changed);
    projection.resetRuler();
    QCOMPARE(changed.count(), 0);

    projection.setImageRect(QRectF(0, 0, 640, 480));
    projection.loadFrom(calibration(QPointF(5, 5), QPointF(1, 1), QPointF(9, 9), 42));
    changed.clear();
    projection.resetRuler();
    QCOMPARE(projection.rulerEnd1(), QPointF(320, 240));
    QCOMPARE(projection.rulerEnd2(), QPointF(640, 480));
    QCOMPARE(projection.rulerLength(), 1.0);
    QCOMPARE(projection.rulerLabelText(), QStringLiteral("1.000"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(projection.origin(), QPointF(5, 5));
    // Resetting a ruler that is already the default still announces its length.
    projection.loadFrom(calibration(QPointF(5, 5), QPointF(320, 240), QPointF(640, 480), 9));
    changed.clear();
    projection.resetRuler();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(projection.rulerLength(), 1.0);

    projection.resetOrigin();
    QCOMPARE(projection.origin(), QPointF(320, 240));
}

void ProjectionTest::saveToWritesAnchors()
{
    QGraphicsScene scene;
    Projection projection(&scene);
    projection.loadFrom(calibration(QPointF(1, 2), QPointF(3, 4), QPointF(5, 6), 7));
    projection.originAnchor()->setPos(11, 12);
    Geometry geometry;
    projection.saveTo(geometry);
    QCOMPARE(geometry.origin(), QPointF(11, 12));
    QCOMPARE(geometry.rulerEnd1(), QPointF(3, 4));
    QCOMPARE(geometry.rulerEnd2(), QPointF(5, 6));
    QCOMPARE(geometry.rulerLength(), 7.0);
}

void ProjectionTest::draggingAnchorEmitsChanged()
{
    QGraphicsScene scene;
    Projection projection(&scene);
    QSignalSpy changed(&projection, &Projection::changed);
    projection.originAnchor()->setPos(3, 0);
    QCOMPARE(changed.count(), 1);
    // A diagonal move is one change.
    projection.rulerEnd1Anchor()->setPos(3, 4);
    QCOMPARE(changed.count(), 2);
    projection.originAnchor()->setPos(3, 0);
    QCOMPARE(changed.count(), 2);
}

MENSOR_GUITEST_MAIN(ProjectionTest)
#include "projectiontest.moc"
