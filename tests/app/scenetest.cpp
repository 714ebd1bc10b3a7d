#include "graphicspointitem.h"
#include "graphicsview.h"
#include "grahpicsanchoritem.h"
#include "pointitem.h"
#include "pointlist.h"
#include "projection.h"
#include "scene.h"
#include "snaplines.h"

#include "testutils.h"

#include <datalistmodel.h>

#include <QGraphicsLineItem>
#include <QGraphicsSceneMouseEvent>
#include <QScrollBar>

using namespace vireo;

namespace {

QString writeImage(const QTemporaryDir &dir, const QString &name, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

struct Fixture
{
    Fixture()
    {
        view.resize(800, 600);
        view.setScene(&scene);
        imagePath = writeImage(dir, QStringLiteral("photo.png"), QSize(640, 480));
        scene.setGeometry(&geometry);
        SilentMessages silence;
        scene.loadImage(imagePath);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

    void edit() { scene.setCalibrating(false); }

    void send(QEvent::Type type, QPoint position, Qt::MouseButton button = Qt::LeftButton)
    {
        sendMouse(view.viewport(), type, position, button);
    }

    void click(QPoint position, Qt::MouseButton button = Qt::LeftButton)
    {
        send(QEvent::MouseButtonPress, position, button);
        send(QEvent::MouseButtonRelease, position, button);
    }

    void drag(QPoint from, QPoint to)
    {
        send(QEvent::MouseButtonPress, from);
        send(QEvent::MouseMove, to);
        send(QEvent::MouseButtonRelease, to);
    }

    // A press and release delivered to the scene itself, in scene units.
    void sceneClick(QPointF press, QPointF release)
    {
        QGraphicsSceneMouseEvent pressEvent(QEvent::GraphicsSceneMousePress);
        pressEvent.setScenePos(press);
        pressEvent.setButton(Qt::LeftButton);
        pressEvent.setButtons(Qt::LeftButton);
        pressEvent.setButtonDownScenePos(Qt::LeftButton, press);
        QApplication::sendEvent(&scene, &pressEvent);
        QGraphicsSceneMouseEvent releaseEvent(QEvent::GraphicsSceneMouseRelease);
        releaseEvent.setScenePos(release);
        releaseEvent.setButton(Qt::LeftButton);
        releaseEvent.setButtonDownScenePos(Qt::LeftButton, press);
        releaseEvent.setAccepted(false);
        QApplication::sendEvent(&scene, &releaseEvent);
    }

    QList<int> ids() const
    {
        QList<int> result;
        for (int row = 0; row < scene.pointList()->count(); ++row)
            result.append(scene.pointList()->graphicsItemAt(row)->id());
        return result;
    }

    QTemporaryDir dir;
    QString imagePath;
    Geometry geometry;
    Scene scene;
    GraphicsView view;
};

} // namespace

class SceneTest : public QObject
{
    Q_OBJECT

private slots:
    void loadImageInitialisesNewRecord();
    void unreadableImageKeepsEverything();
    void loadImageWithoutRecordDoesNotCrash();
    void clickInEditModeCreatesNumberedPoints();
    void clickInCalibrationModeCreatesNothing();
    void clickThresholdInSceneUnits_data();
    void clickThresholdInSceneUnits();
    void panCreatesNoPoint();
    void rightButtonDoesNothing();
    void pressOnPointSelectsItsRow();
    void rowSelectionSelectsPoint();
    void draggingPointUpdatesOnlyItsRow();
    void draggingOriginUpdatesEveryRow();
    void clickedPointLandsUnderTheMouse_data();
    void clickedPointLandsUnderTheMouse();
    void deletePointKeepsNumbers();
    void clearPointsIsOneReset();
    void switchingRecordsRestoresState();
    void modeSwitchHidesPoints();
    void mouseMoveReportsCalibratedCoordinates();
    void snappedClickLinesUpWithEarlierPoint();
    void pointRowColumns();
};

void SceneTest::loadImageInitialisesNewRecord()
{
    Fixture f;
    QVERIFY(!f.geometry.isNew());
    QCOMPARE(f.scene.sceneRect(), QRectF(0, 0, 640, 480));
    QCOMPARE(f.scene.fileName(), QStringLiteral("photo.png"));
    QCOMPARE(f.scene.projection()->origin(), QPointF(320, 240));
    QCOMPARE(f.scene.projection()->rulerEnd2(), QPointF(640, 480));
    QCOMPARE(f.scene.projection()->xAxis()->line(), QLineF(0, 240, 640, 240));
}

void SceneTest::unreadableImageKeepsEverything()
{
    Fixture f;
    f.scene.addPoint(1, QPointF(10, 10), QStringLiteral("photo.png"));
    const QString broken = f.dir.filePath(QStringLiteral("broken.jpg"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not an image at all");
    file.close();
    SilentMessages silence;
    QVERIFY(!f.scene.loadImage(broken));
    QCOMPARE(f.scene.fileName(), QStringLiteral("broken.jpg"));
    QVERIFY(f.scene.image().isNull());
    QCOMPARE(f.scene.sceneRect(), QRectF(0, 0, 640, 480));
    QCOMPARE(f.scene.pointList()->count(), 1);
    QVERIFY(!f.scene.loadImage(f.dir.filePath(QStringLiteral("missing.png"))));
    QVERIFY(f.scene.loadImage(QString()));
}

void SceneTest::loadImageWithoutRecordDoesNotCrash()
{
    QTemporaryDir dir;
    Scene scene;
    SilentMessages silence;
    QVERIFY(scene.loadImage(writeImage(dir, QStringLiteral("a.png"), QSize(100, 50))));
    QCOMPARE(scene.projection()->origin(), QPointF(50, 25));
    scene.setCalibrating(false);
    scene.addPoint(1, QPointF(1, 1), QStringLiteral("a.png"));
    Geometry record;
    scene.setGeometry(&record);
    QCOMPARE(scene.pointList()->count(), 0);
}

void SceneTest::clickInEditModeCreatesNumberedPoints()
{
    Fixture f;
    f.edit();
    const QPoint at = f.view.mapFromScene(QPointF(100, 100));
    f.click(at);
    f.click(f.view.mapFromScene(QPointF(200, 150)));
    QCOMPARE(f.ids(), QList<int>({1, 2}));
    QCOMPARE(f.scene.nextId(), 3);
    const GraphicsPointItem *first = f.scene.pointList()->graphicsItemAt(0);
    QCOMPARE(first->pos(), f.view.mapToScene(at));
    QCOMPARE(first->file(), QStringLiteral("photo.png"));
    QCOMPARE(first->toolTip(), QStringLiteral("1"));
    QVERIFY(!first->isSelected());
    QVERIFY(f.scene.pointList()->graphicsItemAt(1)->isSelected());
    QCOMPARE(first->data(Scene::pointMarkerKey).toBool(), true);
    QCOMPARE(first->type(), 65537);
}

void SceneTest::clickInCalibrationModeCreatesNothing()
{
    Fixture f;
    f.click(f.view.mapFromScene(QPointF(100, 100)));
    QCOMPARE(f.scene.pointList()->count(), 0);
}

void SceneTest::clickThresholdInSceneUnits_data()
{
    QTest::addColumn<double>("distance");
    QTest::addColumn<bool>("created");
    QTest::newRow("4.9") << 4.9 << true;
    QTest::newRow("5.0") << 5.0 << false;
    QTest::newRow("diagonal 3-4-5") << 5.0 << false;
}

void SceneTest::clickThresholdInSceneUnits()
{
    QFETCH(double, distance);
    QFETCH(bool, created);

    Fixture f;
    f.edit();
    f.sceneClick(QPointF(100, 100), QPointF(100 + distance, 100));
    QCOMPARE(f.scene.pointList()->count(), created ? 1 : 0);
    if (created)
        QCOMPARE(f.scene.pointList()->graphicsItemAt(0)->pos(), QPointF(100 + distance, 100));
}

void SceneTest::panCreatesNoPoint()
{
    Fixture f;
    f.edit();
    f.view.setZoomLevel(60);
    f.drag(QPoint(300, 300), QPoint(340, 330));
    QCOMPARE(f.scene.pointList()->count(), 0);
}

void SceneTest::rightButtonDoesNothing()
{
    Fixture f;
    f.edit();
    f.click(f.view.mapFromScene(QPointF(100, 100)), Qt::RightButton);
    QCOMPARE(f.scene.pointList()->count(), 0);
    f.scene.addPoint(7, QPointF(50, 50), QString());
    QSignalSpy selected(&f.scene, &Scene::pointSelected);
    f.click(f.view.mapFromScene(QPointF(50, 50)), Qt::RightButton);
    QCOMPARE(selected.count(), 0);
    QVERIFY(!f.scene.pointList()->graphicsItemAt(0)->isSelected());
    QCOMPARE(f.scene.pointList()->count(), 1);
}

void SceneTest::pressOnPointSelectsItsRow()
{
    Fixture f;
    f.edit();
    f.scene.addPoint(1, QPointF(100, 100), QString());
    f.scene.addPoint(2, QPointF(300, 200), QString());
    f.scene.pointList()->graphicsItemAt(0)->setSelected(true);
    QSignalSpy selected(&f.scene, &Scene::pointSelected);
    // Anywhere in the 20 × 20 screen-pixel square hits the point.
    f.click(f.view.mapFromScene(QPointF(300, 200)) + QPoint(7, -7));
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.first().at(0).toInt(), 1);
    QCOMPARE(f.scene.selectedItems().size(), 1);
    QCOMPARE(f.scene.selectedItems().first(), f.scene.pointList()->graphicsItemAt(1));
    QCOMPARE(f.scene.pointList()->count(), 2);
}

void SceneTest::rowSelectionSelectsPoint()
{
    Fixture f;
    f.scene.addPoint(1, QPointF(100, 100), QString());
    f.scene.selectPoint(0);
    QVERIFY(f.scene.selectedItems().isEmpty());
    f.edit();
    QSignalSpy selected(&f.scene, &Scene::pointSelected);
    f.scene.selectPoint(0);
    QVERIFY(f.scene.pointList()->graphicsItemAt(0)->isSelected());
    f.scene.selectPoint(-1);
    QVERIFY(f.scene.selectedItems().isEmpty());
    QCOMPARE(selected.count(), 0);
}

void SceneTest::draggingPointUpdatesOnlyItsRow()
{
    Fixture f;
    f.edit();
    f.scene.addPoint(1, QPointF(100, 100), QString());
    f.scene.addPoint(2, QPointF(400, 300), QString());
    QSignalSpy changed(f.scene.pointList()->at(0), &kit::DataItem::changed);
    QSignalSpy other(f.scene.pointList()->at(1), &kit::DataItem::changed);
    const QPointF before = f.scene.pointList()->graphicsItemAt(0)->coordinates();
    const QPoint start = f.view.mapFromScene(QPointF(100, 100));
    f.drag(start, start + QPoint(29, 0));
    const GraphicsPointItem *moved = f.scene.pointList()->graphicsItemAt(0);
    QVERIFY(moved->pos().x() > 100);
    QCOMPARE(moved->pos().y(), 100.0);
    QVERIFY(changed.count() >= 1);
    QCOMPARE(other.count(), 0);
    const double scale = f.scene.projection()->scale();
    QVERIFY(qAbs(moved->coordinates().x() - (before.x() + (moved->pos().x() - 100) * scale)) < 1e-12);
    QCOMPARE(moved->coordinates().y(), before.y());
    QCOMPARE(f.scene.pointList()->count(), 2);
}

void SceneTest::draggingOriginUpdatesEveryRow()
{
    Fixture f;
    f.scene.addPoint(1, QPointF(100, 100), QString());
    f.scene.addPoint(2, QPointF(400, 300), QString());
    // The ruler starts on the origin and lies above it: move it aside first.
    f.scene.projection()->rulerEnd1Anchor()->setPos(500, 400);
    QSignalSpy first(f.scene.pointList()->at(0), &kit::DataItem::changed);
    QSignalSpy second(f.scene.pointList()->at(1), &kit::DataItem::changed);
    const QPoint origin = f.view.mapFromScene(QPointF(320, 240));
    f.drag(origin, origin + QPoint(30, 30));
    QVERIFY(f.scene.projection()->origin() != QPointF(320, 240));
    QVERIFY(first.count() >= 1);
    QVERIFY(second.count() >= 1);
    QCOMPARE(first.first().at(0).toInt(), 1);
    QCOMPARE(first.first().at(1).toInt(), 2);
}

void SceneTest::clickedPointLandsUnderTheMouse_data()
{
    QTest::addColumn<int>("level");
    for (int level : {1, 10, 37, 50, 75, 100})
        QTest::newRow(qPrintable(QString::number(level))) << level;
}

void SceneTest::clickedPointLandsUnderTheMouse()
{
    QFETCH(int, level);

    Fixture f;
    f.edit();
    f.view.setZoomLevel(level);
    f.view.centerOn(QPointF(123.4, 211.7));
    const QPoint pixel(401, 299);
    const QPointF clicked = f.view.mapToScene(pixel);
    f.click(pixel);
    QCOMPARE(f.scene.pointList()->count(), 1);
    const QPointF placed = f.scene.pointList()->graphicsItemAt(0)->pos();
    const double screenPixels = QLineF(placed, clicked).length() * GraphicsView::scaleForLevel(level);
    QVERIFY2(screenPixels <= 0.5, qPrintable(QString::number(screenPixels)));
    // The view shows the cross where the mouse was.
    QVERIFY(QLineF(f.view.mapFromScene(placed), pixel).length() <= 1.0);
}

void SceneTest::deletePointKeepsNumbers()
{
    Fixture f;
    f.edit();
    for (int x : {100, 200, 300})
        f.click(f.view.mapFromScene(QPointF(x, 100)));
    f.scene.deletePoint(1);
    QCOMPARE(f.ids(), QList<int>({1, 3}));
    f.click(f.view.mapFromScene(QPointF(400, 100)));
    QCOMPARE(f.ids(), QList<int>({1, 3, 4}));
    QTest::ignoreMessage(QtWarningMsg, "Ignoring invalid row 7 in Scene::deletePoint");
    f.scene.deletePoint(7);
}

void SceneTest::clearPointsIsOneReset()
{
    Fixture f;
    for (int i = 1; i <= 5; ++i)
        f.scene.addPoint(i, QPointF(i * 10, 10), QString());
    QSignalSpy reset(f.scene.pointModel(), &QAbstractItemModel::modelReset);
    QSignalSpy removed(f.scene.pointModel(), &QAbstractItemModel::rowsRemoved);
    const int itemsBefore = f.scene.items().size();
    f.scene.clearPoints();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(removed.count(), 0);
    QCOMPARE(f.scene.pointList()->count(), 0);
    QCOMPARE(f.scene.items().size(), itemsBefore - 5);
    f.edit();
    f.click(f.view.mapFromScene(QPointF(50, 50)));
    QCOMPARE(f.ids(), QList<int>({1}));
}

void SceneTest::switchingRecordsRestoresState()
{
    Fixture f;
    f.edit();
    f.click(f.view.mapFromScene(QPointF(100, 100)));
    f.click(f.view.mapFromScene(QPointF(200, 100)));
    f.scene.pointList()->graphicsItemAt(1)->setPos(250, 120);
    f.scene.projection()->originAnchor()->setPos(10, 20);

    Geometry other;
    f.scene.setGeometry(&other);
    QCOMPARE(f.scene.pointList()->count(), 0);
    QCOMPARE(f.geometry.pointCount(), 2);
    QCOMPARE(f.geometry.point(1).pos(), QPointF(250, 120));
    QCOMPARE(f.geometry.nextId(), 3);
    f.scene.addPoint(1, QPointF(5, 5), QString());

    f.scene.setGeometry(&f.geometry);
    QCOMPARE(f.ids(), QList<int>({1, 2}));
    QCOMPARE(f.scene.pointList()->graphicsItemAt(1)->pos(), QPointF(250, 120));
    QCOMPARE(f.scene.projection()->origin(), QPointF(10, 20));
    QCOMPARE(f.scene.nextId(), 3);
    QCOMPARE(other.pointCount(), 1);
}

void SceneTest::modeSwitchHidesPoints()
{
    Fixture f;
    f.edit();
    f.click(f.view.mapFromScene(QPointF(100, 100)));
    GraphicsPointItem *item = f.scene.pointList()->graphicsItemAt(0);
    QVERIFY(item->isVisible() && item->isSelected());
    f.scene.setCalibrating(true);
    QVERIFY(!item->isVisible());
    QVERIFY(f.scene.selectedItems().isEmpty());
    f.edit();
    QVERIFY(item->isVisible());
}

void SceneTest::mouseMoveReportsCalibratedCoordinates()
{
    Fixture f;
    // The snap line shows only while the mouse is over the view.
    f.scene.setSnapHorizontal(true);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.view.viewport(), &leave);
    QSignalSpy moved(&f.scene, &Scene::mouseMoved);
    QSignalSpy left(&f.scene, &Scene::mouseLeft);
    const auto visibleLines = [&f] {
        int count = 0;
        for (const QGraphicsItem *item : f.scene.items())
            count += item->type() == QGraphicsLineItem::Type && item->isVisible();
        return count;
    };
    const int linesOutside = visibleLines();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(f.view.viewport(), &enter);
    const QPoint at = f.view.mapFromScene(QPointF(480, 240));
    f.send(QEvent::MouseMove, at);
    QCOMPARE(visibleLines(), linesOutside + 1);
    QCOMPARE(moved.count(), 1);
    const QPointF expected = f.scene.projection()->toCoordinates(f.view.mapToScene(at));
    QCOMPARE(moved.first().at(0).toPointF(), expected);
    QApplication::sendEvent(f.view.viewport(), &leave);
    QCOMPARE(left.count(), 1);
    QCOMPARE(visibleLines(), linesOutside);
}

void SceneTest::snappedClickLinesUpWithEarlierPoint()
{
    Fixture f;
    f.edit();
    f.view.setZoomLevel(50);
    f.scene.addPoint(1, QPointF(300, 200), QString());
    f.scene.setSnapHorizontal(true);
    const QPoint near = f.view.mapFromScene(QPointF(400, 203));
    f.send(QEvent::MouseMove, near);
    f.click(near);
    QCOMPARE(f.scene.pointList()->count(), 2);
    const QPointF placed = f.scene.pointList()->graphicsItemAt(1)->pos();
    QCOMPARE(placed.y(), 200.0);
    QCOMPARE(placed.x(), f.view.mapToScene(near).x());
}

void SceneTest::pointRowColumns()
{
    Fixture f;
    f.scene.projection()->rulerEnd2Anchor()->setPos(420, 240);
    f.scene.projection()->rulerEnd1Anchor()->setPos(320, 240);
    QAbstractItemModel *model = f.scene.pointModel();
    f.scene.addPoint(12, QPointF(400, 200), QStringLiteral("photo.png"));
    QCOMPARE(model->columnCount(), 4);
    QCOMPARE(model->data(model->index(0, 0)), QVariant(12));
    QCOMPARE(model->data(model->index(0, 1)).toDouble(), 0.8);
    QCOMPARE(model->data(model->index(0, 2)).toDouble(), 0.4);
    QCOMPARE(model->data(model->index(0, 3)).toString(), QStringLiteral("photo.png"));
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nbr."));
    QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("File"));
    QCOMPARE(model->data(model->index(0, 0), Qt::TextAlignmentRole).toInt(), 0x81);
    QCOMPARE(model->data(model->index(0, 1), Qt::TextAlignmentRole).toInt(), 0x82);
    const QList<int> widths = {50, 70, 70, 100};
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(model->headerData(column, Qt::Horizontal, kit::ColumnWidthRole).toInt(), widths.at(column));
        QVERIFY(!(model->flags(model->index(0, column)) & Qt::ItemIsEditable));
    }
}

MENSOR_GUITEST_MAIN(SceneTest)
#include "scenetest.moc"
