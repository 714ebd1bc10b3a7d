#include "datalistmodel.h"
#include "geometry.h"
#include "grahpicsanchoritem.h"
#include "graphicslabelitem.h"
#include "graphicspointitem.h"
#include "graphicsview.h"
#include "loupe.h"
#include "planemap.h"
#include "pointlist.h"
#include "projection.h"
#include "scene.h"

#include "testutils.h"


#include <cmath>
#include <random>

using namespace vireo;

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

// A 640 × 480 image in an 800 × 600 view.
struct Fixture
{
    explicit Fixture(bool editing = true)
    {
        view.resize(800, 600);
        view.setScene(&scene);
        scene.setGeometry(&geometry);
        SilentMessages silence;
        scene.loadImage(writeImage(dir.filePath(QStringLiteral("photo.png")), QSize(640, 480), Qt::darkGray));
        scene.setCalibrating(!editing);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

    void click(QPointF at, Qt::MouseButton button = Qt::LeftButton)
    {
        sendMouse(view.viewport(), QEvent::MouseButtonPress, view.mapFromScene(at), button);
        sendMouse(view.viewport(), QEvent::MouseButtonRelease, view.mapFromScene(at), button);
    }
    QList<int> ids() const
    {
        QList<int> result;
        for (int row = 0; row < scene.pointList()->count(); ++row)
            result.append(scene.pointList()->graphicsItemAt(row)->id());
        return result;
    }
    QPointF pos(int row) const { return scene.pointList()->graphicsItemAt(row)->pos(); }
    Projection *projection() const { return scene.projection(); }
    QTemporaryDir dir;
    Geometry geometry;
    Scene scene;
    QAbstractItemModelTester tester{scene.pointList()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest};
    GraphicsView view;
};

// Counts the presses and releases that reach the scene.
struct RecordingScene : QGraphicsScene
{
    RecordingScene() : QGraphicsScene(0, 0, 4000, 3000) {}
    int presses = 0, releases = 0;
    void mousePressEvent(QGraphicsSceneMouseEvent *e) override { ++presses; QGraphicsScene::mousePressEvent(e); }
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *e) override { ++releases; QGraphicsScene::mouseReleaseEvent(e); }
};

struct ViewFixture
{
    ViewFixture()
    {
        view.resize(400, 300);
        view.setScene(&scene);
        view.show();
        view.setZoomLevel(50);
    }

    void wheel(int delta, QPointF position = QPointF(200, 150))
    {
        QWheelEvent event(position, view.viewport()->mapToGlobal(position.toPoint()), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &event);
    }
    QPoint scroll() const { return QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()); }
    RecordingScene scene;
    GraphicsView view;
};

} // namespace

class SceneTest : public QObject
{
    Q_OBJECT

private slots:
    void clicksMakeNumberedPoints()
    {
        Fixture f;
        f.click(QPointF(300, 100), Qt::RightButton);
        f.click(QPointF(100, 100));
        f.click(QPointF(200, 150));
        QCOMPARE(f.ids(), QList<int>({1, 2}));
        const GraphicsPointItem *first = f.scene.pointList()->graphicsItemAt(0);
        QCOMPARE(QVariantList({first->file(), first->toolTip(), first->isSelected(), first->data(Scene::pointMarkerKey)}),
                 QVariantList({"photo.png", "1", false, true}));
        QVERIFY(f.scene.pointList()->graphicsItemAt(1)->isSelected());
        // Each point is a red cross with an open centre.
        const QImage shown = f.view.viewport()->grab().toImage();
        const QPoint centre = f.view.mapFromScene(f.pos(0));
        QString arms;
        for (const QPoint arm : {QPoint(0, 0), QPoint(6, 0), QPoint(-6, 0), QPoint(0, 6), QPoint(0, -6)})
            arms += shown.pixelColor(centre + arm) == QColor(Qt::red) ? QLatin1Char('+') : QLatin1Char('-');
        QCOMPARE(arms, QStringLiteral("-++++"));
        // A click moves less than 5 image units between press and release: at this zoom, one screen pixel
        // is 3.5 units, two are 7, though the view lets 5 screen pixels pass as a click.
        for (const int pixels : {1, 2}) {
            const QPoint press = f.view.mapFromScene(100 * pixels, 300);
            drag(f.view.viewport(), press, press + QPoint(pixels, 0));
        }
        QVERIFY(f.ids() == QList<int>({1, 2, 3}) && f.pos(2) == f.view.mapToScene(f.view.mapFromScene(100, 300) + QPoint(1, 0)));
        // At actual pixels a 3-4-5 move is exactly 5 units: no longer a click.
        f.view.showActualPixels();
        drag(f.view.viewport(), QPoint(300, 300), QPoint(303, 304));
        // A pan makes no point; deleted numbers are never used again.
        f.view.setZoomLevel(60);
        drag(f.view.viewport(), QPoint(300, 300), QPoint(340, 330));
        f.scene.deletePoint(1);
        QTest::ignoreMessage(QtWarningMsg, "Ignoring invalid row 7 in Scene::deletePoint");
        f.scene.deletePoint(7);
        f.view.setZoomLevel(10);
        f.click(QPointF(400, 100));
        QCOMPARE(f.ids(), QList<int>({1, 3, 4}));
        QSignalSpy reset(f.scene.pointModel(), &QAbstractItemModel::modelReset);
        const int itemsBefore = f.scene.items().size();
        f.scene.clearPoints();
        QCOMPARE(QVector<int>({int(reset.count()), f.scene.pointList()->count(), int(f.scene.items().size())}),
                 QVector<int>({1, 0, itemsBefore - 3}));
        f.click(QPointF(50, 50));
        QCOMPARE(f.ids(), QList<int>({5}));

        Fixture calibrating(false);
        calibrating.click(QPointF(100, 100));
        QCOMPARE(calibrating.ids(), QList<int>());
    }

    void draggingUpdatesTheRows()
    {
        Fixture f;
        f.scene.addPoint(1, QPointF(100, 100), QString())->setSelected(true);
        f.scene.addPoint(2, QPointF(400, 300), QString());
        QSignalSpy selected(&f.scene, &Scene::pointSelected);
        f.click(QPointF(400, 300), Qt::RightButton);
        // Anywhere in the 20 × 20 screen-pixel square hits the point, and selects its row.
        const QPoint near = f.view.mapFromScene(QPointF(400, 300)) + QPoint(7, -7);
        drag(f.view.viewport(), near, near);
        QCOMPARE(QVariantList({selected.count(), selected.first().at(0)}), QVariantList({1, 1}));
        QCOMPARE(f.scene.selectedItems(), QList<QGraphicsItem *>({f.scene.pointList()->graphicsItemAt(1)}));
        f.scene.selectPoint(0);
        QVERIFY(f.scene.pointList()->graphicsItemAt(0)->isSelected());
        f.scene.selectPoint(-1);
        QVERIFY(f.scene.selectedItems().isEmpty() && selected.count() == 1);
        QSignalSpy first(f.scene.pointList()->at(0), &kit::DataItem::changed);
        QSignalSpy second(f.scene.pointList()->at(1), &kit::DataItem::changed);
        const QPointF before = f.scene.pointList()->graphicsItemAt(0)->coordinates();
        const QPoint start = f.view.mapFromScene(QPointF(100, 100));
        drag(f.view.viewport(), start, start + QPoint(29, 0));
        const GraphicsPointItem *moved = f.scene.pointList()->graphicsItemAt(0);
        QVERIFY(moved->pos().x() > 100 && moved->pos().y() == 100.0 && first.count() >= 1 && second.count() == 0);
        QVERIFY(qAbs(moved->coordinates().x() - (before.x() + (moved->pos().x() - 100) * f.projection()->scale())) < 1e-12);
        QCOMPARE(moved->coordinates().y(), before.y());
        // Moving the origin changes every row, in one notification. The ruler lies above it: move it aside.
        f.scene.setCalibrating(true);
        f.projection()->rulerEnd1Anchor()->setPos(500, 400);
        QSignalSpy rows(f.scene.pointModel(), &QAbstractItemModel::dataChanged);
        const QPoint origin = f.view.mapFromScene(QPointF(320, 240));
        drag(f.view.viewport(), origin, origin + QPoint(30, 30));
        QVERIFY(f.projection()->origin() != QPointF(320, 240) && rows.count() == 1);
        const auto range = [&rows](int argument) { return rows.first().at(argument).toModelIndex(); };
        QCOMPARE(QList<int>({range(0).row(), range(0).column(), range(1).row(), range(1).column()}), QList<int>({0, 1, 1, 2}));
    }

    void recordsAndModesKeepTheirPoints()
    {
        Fixture f;
        QCOMPARE(f.projection()->rulerEnd2(), QPointF(640, 480));
        f.click(QPointF(100, 100));
        f.click(QPointF(200, 100));
        GraphicsPointItem *item = f.scene.pointList()->graphicsItemAt(1);
        item->setPos(250, 120);
        f.scene.setCalibrating(true);
        const bool hidden = !item->isVisible() && f.scene.selectedItems().isEmpty()
                            && !f.scene.addPoint(3, QPointF(50, 50), QString())->isVisible();
        f.scene.setCalibrating(false);
        QVERIFY(hidden && item->isVisible());
        f.projection()->originAnchor()->setPos(10, 20);
        Geometry other;
        f.scene.setGeometry(&other);
        QCOMPARE(f.scene.pointList()->count(), 0);
        f.scene.addPoint(1, QPointF(5, 5), QString());
        f.scene.setGeometry(&f.geometry);
        QCOMPARE(f.ids(), QList<int>({1, 2, 3}));
        QCOMPARE(QVariantList({f.pos(1), f.projection()->origin(), f.scene.nextId(), other.pointCount()}),
                 QVariantList({QPointF(250, 120), QPointF(10, 20), 3, 1}));
    }

    void mouseMoveReportsCalibratedCoordinates()
    {
        Fixture f;
        f.scene.setDecimalPlaces(0);
        QCOMPARE(f.projection()->rulerLabelText(), QStringLiteral("1"));
        f.projection()->rulerEnd2Anchor()->setPos(420, 240);
        f.scene.addPoint(12, QPointF(400, 200), QStringLiteral("photo.png"));
        QAbstractItemModel *model = f.scene.pointModel();
        // The snap lines show only while the mouse is over the view, across the whole image.
        const auto shownLines = [&f] {
            int count = 0;
            for (const QGraphicsItem *item : f.scene.items())
                if (const auto *line = qgraphicsitem_cast<const QGraphicsLineItem *>(item))
                    count += line->isVisible() && line->pen().color() == Qt::blue && line->line().length() > 0;
            return count;
        };
        QCOMPARE(QVariantList({shownLines(), model->index(0, 0).data(), model->index(0, 1).data(), model->index(0, 2).data(),
                               model->index(0, 3).data(), model->flags(model->index(0, 1)).testFlag(Qt::ItemIsEditable)}),
                 QVariantList({0, 12, 0.8, 0.4, "photo.png", false}));
        f.scene.setSnapHorizontal(true);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(f.view.viewport(), &leave);
        QSignalSpy moved(&f.scene, &Scene::mouseMoved);
        QSignalSpy left(&f.scene, &Scene::mouseLeft);
        const QPoint at = f.view.mapFromScene(QPointF(480, 240));
        sendMouse(f.view.viewport(), QEvent::MouseMove, at);
        QCOMPARE(QVector<int>({shownLines(), int(moved.count())}), QVector<int>({1, 1}));
        QCOMPARE(moved.first().at(0).toPointF(), f.projection()->toCoordinates(f.view.mapToScene(at)));
        QApplication::sendEvent(f.view.viewport(), &leave);
        QCOMPARE(QVector<int>({int(left.count()), shownLines()}), QVector<int>({1, 0}));
        // A click near the snap line lines up with the nearest earlier point.
        f.scene.addPoint(13, QPointF(100, 204), QStringLiteral("photo.png"));
        f.view.setZoomLevel(50);
        const QPoint near = f.view.mapFromScene(QPointF(300, 203));
        sendMouse(f.view.viewport(), QEvent::MouseMove, near);
        QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, near);
        QCOMPARE(f.pos(2), QPointF(f.view.mapToScene(near).x(), 204));
        // Snapping both ways, a click lines up under that point.
        f.scene.setSnapVertical(true);
        const QPoint under = f.view.mapFromScene(QPointF(303, 260));
        sendMouse(f.view.viewport(), QEvent::MouseMove, under);
        QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, under);
        QCOMPARE(QVariantList({f.pos(3), shownLines()}), QVariantList({QPointF(f.pos(2).x(), f.view.mapToScene(under).y()), 2}));
        // Between the points, away from each both ways, the click stays where it is.
        QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.view.mapFromScene(QPointF(350, 230)));
        QCOMPARE(f.pos(4), f.view.mapToScene(f.view.mapFromScene(QPointF(350, 230))));
    }

    // The loupe sits diagonally above right of the spot, else beside it where there is room, never over it.
    void loupeFindsRoomBesideTheSpot()
    {
        QList<QRect> placed;
        const QSize wide(800, 600), low(800, 200), narrow(200, 600);
        for (const auto &[spot, area] : {std::make_pair(QPointF(300, 300), wide), {QPointF(750, 300), wide},
                                         {QPointF(300, 100), wide}, {QPointF(300, 160), low}, {QPointF(300, 30), low},
                                         {QPointF(100, 250), narrow}, {QPointF(170, 590), narrow}})
            placed.append(Loupe::placement(spot, area));
        QCOMPARE(placed, QList<QRect>({QRect(324, 126, 150, 150), QRect(576, 126, 150, 150), QRect(324, 124, 150, 150),
                                       QRect(324, 50, 150, 150), QRect(324, 0, 150, 150), QRect(25, 76, 150, 150),
                                       QRect(50, 416, 150, 150)}));
    }

    void toCoordinates_data()
    {
        QTest::addColumn<QPointF>("origin");
        QTest::addColumn<QPointF>("end1");
        QTest::addColumn<QPointF>("end2");
        QTest::addColumn<double>("length");
        QTest::addColumn<QPointF>("position");
        QTest::addColumn<QPointF>("expected");
        const QPointF o(320, 240);
        QTest::newRow("worked example") << o << o << QPointF(420, 240) << 5.0 << QPointF(400, 200) << QPointF(4, 2);
        QTest::newRow("diagonal ruler") << o << QPointF(10, 10) << QPointF(70, 90) << 5.0 << QPointF(400, 200) << QPointF(4, 2);
        QTest::newRow("200 pixels, length 1") << QPointF(0, 0) << QPointF(0, 0) << QPointF(200, 0) << 1.0
                << QPointF(1, -1) << QPointF(0.005, 0.005);
        QTest::newRow("ruler ends coincide") << o << QPointF(50, 50) << QPointF(50, 50) << 3.0 << QPointF(10, 10)
                << QPointF(qQNaN(), qQNaN());
    }

    void toCoordinates()
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
        const auto near = [](double a, double b) { return std::isnan(b) ? std::isnan(a) : qAbs(a - b) < 1e-12; };
        QVERIFY2(near(coordinates.x(), expected.x()) && near(coordinates.y(), expected.y()),
                 qPrintable(QStringLiteral("%1, %2").arg(coordinates.x(), 0, 'g', 17).arg(coordinates.y(), 0, 'g', 17)));
        Geometry saved;
        projection.saveTo(saved);
        QCOMPARE(QList<QPointF>({saved.origin(), saved.rulerEnd1(), saved.rulerEnd2()}), QList<QPointF>({origin, end1, end2}));
        QCOMPARE(saved.rulerLength(), length);
    }

    void rulerAndAxesFollowTheAnchors()
    {
        QGraphicsScene scene;
        Projection projection(&scene);
        QSignalSpy changed(&projection, &Projection::changed);
        projection.setImageRect(QRectF(0, 0, 640, 480));
        projection.loadFrom(calibration(QPointF(700, 500), QPointF(10, 20), QPointF(110, 20), 1));
        // The label sits at the ruler's middle; the axes reach an origin outside the image.
        QCOMPARE(QVariantList({projection.rulerLabel()->pos(), projection.rulerLine()->line(),
                               projection.xAxis()->line(), projection.yAxis()->line()}),
                 QVariantList({QPointF(60, 20), QLineF(10, 20, 110, 20), QLineF(0, 500, 700, 500), QLineF(700, 0, 700, 500)}));
        changed.clear();
        projection.originAnchor()->setPos(700, 500);
        projection.originAnchor()->setPos(100, 50);
        // Sideways inside the image only one axis moves, and the coordinates change.
        projection.originAnchor()->setPos(200, 50);
        QCOMPARE(QVariantList({projection.xAxis()->line(), projection.yAxis()->line(), changed.count()}),
                 QVariantList({QLineF(0, 50, 640, 50), QLineF(200, 0, 200, 480), 2}));
        // Outside calibration only the origin and the axes show, and the origin stays put.
        projection.setCalibrating(false);
        QCOMPARE(QVector<bool>({projection.originAnchor()->isEnabled(), projection.originAnchor()->isVisible(),
                                projection.xAxis()->isVisible(), projection.rulerLine()->isVisible(),
                                projection.rulerEnd1Anchor()->isVisible(), projection.rulerEnd2Anchor()->isVisible(),
                                projection.rulerLabel()->isVisible()}),
                 QVector<bool>({false, true, true, false, false, false, false}));
        projection.setCalibrating(true);
        QVERIFY(projection.originAnchor()->isEnabled() && projection.rulerLabel()->isVisible()
                && projection.rulerEnd2Anchor()->isVisible());
        // All of it is in the scene; the length is red, in 12-point bold, the ruler red and two pixels wide, the axes red.
        for (QGraphicsItem *item : QList<QGraphicsItem *>({projection.rulerLine(), projection.rulerLabel(), projection.xAxis(),
                                                           projection.yAxis(), projection.rulerEnd1Anchor()}))
            QCOMPARE(item->scene(), &scene);
        const QFont font = projection.rulerLabel()->font();
        QCOMPARE(QVariantList({changed.count(), projection.rulerLabel()->brush().color(), font.pointSize(), font.bold(),
                               projection.rulerLine()->pen().color(), projection.rulerLine()->pen().widthF(),
                               projection.xAxis()->pen().color(), projection.yAxis()->pen().color()}),
                 QVariantList({2, QColor(Qt::red), 12, true, QColor(Qt::red), 2.0, QColor(Qt::red), QColor(Qt::red)}));
    }

    void lengthDialogScalesCoordinates_data()
    {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("entered");
        QTest::addColumn<double>("length");
        QTest::addColumn<QString>("label");
        QTest::newRow("4 at 2 places") << 2 << 4.0 << 4.0 << "4.00";
        QTest::newRow("cancelled") << 3 << qQNaN() << 7.0 << "7.000";
        QTest::newRow("zero at 0 places") << 0 << 0.0 << 1.0 << "1";
        QTest::newRow("zero at 12 places") << 12 << 0.0 << 1e-10 << "0.000000000100";
    }

    void lengthDialogScalesCoordinates()
    {
        QFETCH(int, decimals);
        QFETCH(double, entered);
        QFETCH(double, length);
        QFETCH(QString, label);
        QGraphicsScene scene;
        Projection projection(&scene);
        projection.loadFrom(calibration(QPointF(), QPointF(), QPointF(200, 0), 7.0));
        projection.setDecimalPlaces(decimals);
        QSignalSpy changed(&projection, &Projection::changed);
        const QPointF before = projection.toCoordinates(QPointF(50, -30));
        double minimum = 0, titleRoom = 0;
        ModalAnswerer answers;
        // Enters the length, or cancels when there is none.
        answers.expect<QInputDialog>([=, &minimum, &titleRoom](QInputDialog *dialog) {
            minimum = dialog->doubleMinimum();
            titleRoom = dialog->minimumWidth() - dialog->fontMetrics().horizontalAdvance(dialog->windowTitle());
            dialog->setDoubleValue(std::isnan(entered) ? 1 : entered);
            return answerLater(dialog, std::isnan(entered) ? "reject" : "accept");
        });
        // The label's click opens the dialog.
        emit projection.rulerLabel()->clicked();
        QVERIFY_ANSWERED(answers);
        // The smallest length the dialog offers is positive at its precision; its whole title shows beside the buttons.
        QVERIFY(titleRoom >= 120 && changed.count() == (std::isnan(entered) ? 0 : 1));
        QCOMPARE(QVariantList({minimum, projection.rulerLength(), projection.rulerLabelText()}),
                 QVariantList({std::pow(10.0, -qMin(decimals, 10)), length, label}));
        QVERIFY(qAbs(projection.toCoordinates(QPointF(50, -30)).x() - before.x() * length / 7) < 1e-12);
    }

    // Typed with real keys in each language: "." and "," are the decimal mark, grouping is refused.
    void typedLengthMeansWhatIsTyped_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("length");
        for (const char *locale : {"en_US", "de_DE", "de_CH"}) {
            QTest::addRow("%s, point", locale) << locale << "12.5" << 12.5;
            QTest::addRow("%s, comma", locale) << locale << "12,5" << 12.5;
            QTest::addRow("%s, grouped", locale) << locale << "1,234.5" << 1.234;
        }
    }

    void typedLengthMeansWhatIsTyped()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(double, length);
        QLocale::setDefault(QLocale(locale));
        QGraphicsScene scene;
        Projection projection(&scene);
        projection.loadFrom(calibration(QPointF(), QPointF(), QPointF(200, 0), 7.0));
        ModalAnswerer answers;
        answers.expect<QInputDialog>([typed](QInputDialog *dialog) {
            // Keys go to the box, which has the focus, as the window system sends them.
            dialog->findChild<QDoubleSpinBox *>()->selectAll();
            QTest::keyClicks(dialog->findChild<QDoubleSpinBox *>(), typed);
            return answerLater(dialog, "accept");
        });
        emit projection.rulerLabel()->clicked();
        QVERIFY_ANSWERED(answers);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(projection.rulerLength(), length);
    }

    // The plane's map against a projective map written out by hand, and the
    // sets that must give no numbers.
    void planeMapsAsTheCameraDoes_data()
    {
        QTest::addColumn<QVector<QPointF>>("image");
        QTest::addColumn<QVector<QPointF>>("plane");
        QTest::addColumn<QString>("problem");
        const QVector<QPointF> quad = {{412.5, 880.25}, {3410, 1020}, {2900, 160}, {800, 120}};
        QTest::newRow("oblique") << quad << QVector<QPointF>() << "";
        const QVector<QPointF> square = {{100, 900}, {700, 900}, {700, 500}, {100, 500}};
        QTest::newRow("square-on") << square << QVector<QPointF>() << "";
        QTest::newRow("three on a line in the photo")
            << QVector<QPointF>({{0, 0}, {100, 50}, {200, 100}, {0, 300}}) << QVector<QPointF>({{0, 0}, {1, 0}, {1, 1}, {0, 1}})
            << "Three references lie on one line in the photo.";
        QTest::newRow("three on a line on the plane") << quad << QVector<QPointF>({{0, 0}, {1, 0}, {2, 0}, {0, 1}})
                                                      << "Three references lie on one line on the plane.";
        QTest::newRow("folded in the photo") << QVector<QPointF>({quad[0], quad[1], quad[3], quad[2]})
                                             << QVector<QPointF>({{0, 0}, {1, 0}, {1, 1}, {0, 1}}) << "fold over";
        QTest::newRow("folded on the plane") << quad << QVector<QPointF>({{0, 0}, {1, 0}, {0, 1}, {1, 1}}) << "fold over";
        QTest::newRow("all on one spot of the plane") << quad << QVector<QPointF>(4, QPointF(5, 5))
                                                      << "Three references lie on one line on the plane.";
        QTest::newRow("a reference without its place") << quad << square.mid(0, 3) << "The references give no map.";
    }

    void planeMapsAsTheCameraDoes()
    {
        QFETCH(QVector<QPointF>, image);
        QFETCH(QVector<QPointF>, plane);
        QFETCH(QString, problem);
        // X = (a x + b y + c) / (g x + h y + 1), Y = (d x + e y + f) / (g x + h y + 1)
        const double m[8] = {0.08, 0.011, -30, -0.004, -0.09, 85, 2.1e-5, 3.3e-5};
        const auto camera = [&m](const QPointF &p) {
            const double w = m[6] * p.x() + m[7] * p.y() + 1;
            return QPointF((m[0] * p.x() + m[1] * p.y() + m[2]) / w, (m[3] * p.x() + m[4] * p.y() + m[5]) / w);
        };
        if (plane.isEmpty()) {
            for (const QPointF &p : image)
                plane.append(camera(p));
        }
        const PlaneMap map(image, plane);
        QVERIFY2(map.problem().contains(problem) && map.isValid() == problem.isEmpty(), qPrintable(map.problem()));
        if (!problem.isEmpty()) {
            QVERIFY(std::isnan(map.map(image[0]).x()) && std::isnan(map.errorBound()));
            return;
        }
        for (const QPointF &p : {QPointF(1000, 600), QPointF(2500, 300), QPointF(600, 700), QPointF(-50, 2000)}) {
            const QPointF error = map.map(p) - camera(p);
            QVERIFY2(std::hypot(error.x(), error.y()) < 1e-9 * (1 + std::hypot(camera(p).x(), camera(p).y())),
                     qPrintable(QStringLiteral("off by %1, %2").arg(error.x()).arg(error.y())));
            const QPointF back = map.imagePos(map.map(p)) - p;
            QVERIFY(std::hypot(back.x(), back.y()) < 1e-6);
        }
        // The bound holds for every placement of the references within half a pixel.
        const double bound = map.errorBound();
        std::mt19937 random(7);
        std::uniform_real_distribution<double> halfPixel(-0.5, 0.5);
        double worst = 0;
        for (int trial = 0; trial < 300; ++trial) {
            QVector<QPointF> placed = image;
            for (QPointF &p : placed)
                p += QPointF(halfPixel(random), halfPixel(random));
            const PlaneMap misplaced(placed, plane);
            for (int i = 0; i <= 4; ++i)
                for (int j = 0; j <= 4; ++j) {
                    const QPointF across = (plane[1] - plane[0]) * (i / 4.0) + (plane[3] - plane[0]) * (j / 4.0);
                    const QPointF inside = map.imagePos(plane[0] + across);
                    const QPointF d = misplaced.map(inside) - map.map(inside);
                    worst = std::max(worst, std::hypot(d.x(), d.y()));
                }
        }
        QVERIFY2(worst <= bound && worst > bound / 4, qPrintable(QStringLiteral("worst %1, bound %2").arg(worst).arg(bound)));
        // Plane units scale the bound with them.
        QVector<QPointF> doubled = plane;
        for (QPointF &p : doubled)
            p *= 2;
        QVERIFY(qAbs(PlaneMap(image, doubled).errorBound() / bound - 2) < 1e-6);
    }

    void wheelKeepsThePointUnderThePointer_data()
    {
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<QSizeF>("image");
        QTest::addColumn<bool>("rightToLeft");
        QTest::newRow("centre") << QPointF(200, 150) << QSizeF(4000, 3000) << false;
        QTest::newRow("right to left") << QPointF(350, 40) << QSizeF(4000, 3000) << true;
        QTest::newRow("image lower than the view") << QPointF(90, 160) << QSizeF(4000, 200) << false;
        QTest::newRow("image smaller than the view") << QPointF(30, 250) << QSizeF(600, 450) << false;
        QTest::newRow("near the edge of a photo") << QPointF(5, 290) << QSizeF(6000, 4500) << false;
    }

    // Twenty notches in and twenty out: the image point under the pointer stays
    // there, within a pixel, also while the image is smaller than the view.
    void wheelKeepsThePointUnderThePointer()
    {
        QFETCH(QPointF, pointer);
        QFETCH(QSizeF, image);
        QFETCH(bool, rightToLeft);
        ViewFixture f;
        f.view.setZoomLevel(10);
        f.scene.setSceneRect(QRectF(QPointF(0, 0), image));
        f.view.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        f.view.centerOn(1234, 567);
        QPointF target = f.view.viewportTransform().inverted().map(pointer);
        for (int notch = 0; notch < 40; ++notch) {
            // Scrolled between two notches, the point under the pointer is taken afresh.
            if (notch == 20) {
                f.view.horizontalScrollBar()->setValue(f.view.horizontalScrollBar()->value() + 30);
                target = f.view.viewportTransform().inverted().map(pointer);
            }
            f.wheel(notch < 20 ? 120 : -120, pointer);
            QCOMPARE(f.view.zoomLevel(), 10 + 4 * (notch < 20 ? notch + 1 : 39 - notch));
            const QPointF error = f.view.viewportTransform().map(target) - pointer;
            QVERIFY2(qAbs(error.x()) <= 1 && qAbs(error.y()) <= 1,
                     qPrintable(QStringLiteral("notch %1: off by %2, %3").arg(notch).arg(error.x()).arg(error.y())));
        }
        // Within the image the view's area stays the image's.
        QVERIFY(QTest::currentDataTag() != QByteArray("centre") || f.view.sceneRect() == f.scene.sceneRect());
        // A level takes a quarter notch; the levels end at 1 and 100.
        for (const auto &step : {std::make_pair(29, 10), std::make_pair(-45, 9), std::make_pair(12000, 100),
                                 std::make_pair(-12000, 1)}) {
            f.wheel(step.first);
            QCOMPARE(f.view.zoomLevel(), step.second);
        }
        QCOMPARE(QVector<int>({qRound(GraphicsView::scaleForLevel(1) * 1e5), qRound(GraphicsView::scaleForLevel(50) * 1e5),
                               qRound(f.view.transform().m22() * 1e5)}), QVector<int>({20743, 123835, 20743}));
        // Once zoomed otherwise, clicked or moved over, a resize no longer holds the point that was under the pointer
        // (within the pixel the view rounds its centre to).
        f.view.showActualPixels();
        for (const QEvent::Type event : {QEvent::None, QEvent::MouseButtonPress, QEvent::MouseMove}) {
            if (event != QEvent::None) {
                f.wheel(120);
                sendMouse(f.view.viewport(), event, QPoint(200, 150));
                sendMouse(f.view.viewport(), QEvent::MouseButtonRelease, QPoint(200, 150));
            }
            const QPointF centre = f.view.mapToScene(f.view.viewport()->rect().center());
            f.view.resize(f.view.size() + QSize(40, 0));
            QVERIFY(QLineF(f.view.mapToScene(f.view.viewport()->rect().center()), centre).length() < 3);
        }
    }

    void smallMoveIsAClickLargerOnePans_data()
    {
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("click");
        QTest::newRow("3-4-5 diagonal") << QPoint(3, 4) << int(Qt::LeftButton) << true;
        QTest::newRow("6 pixels") << QPoint(0, 6) << int(Qt::LeftButton) << false;
        QTest::newRow("far, right to left") << QPoint(30, 20) << int(Qt::LeftButton) << false;
        QTest::newRow("right button never pans") << QPoint(80, 60) << int(Qt::RightButton) << true;
    }

    void smallMoveIsAClickLargerOnePans()
    {
        QFETCH(QPoint, offset);
        QFETCH(int, button);
        QFETCH(bool, click);
        ViewFixture f;
        const bool rightToLeft = QTest::currentDataTag() == QByteArray("far, right to left");
        f.view.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        f.view.centerOn(2000, 1500);
        const QPoint start(200, 150);
        const QPointF grabbed = f.view.mapToScene(start);
        const QPoint before = f.scroll();
        sendMouse(f.view.viewport(), QEvent::MouseButtonPress, start, Qt::MouseButton(button));
        sendMouse(f.view.viewport(), QEvent::MouseMove, start + offset, Qt::MouseButton(button));
        QCOMPARE(f.view.viewport()->cursor().shape(), click ? Qt::CrossCursor : Qt::ClosedHandCursor);
        sendMouse(f.view.viewport(), QEvent::MouseButtonRelease, start + offset, Qt::MouseButton(button));
        QCOMPARE(QVector<int>({f.scene.presses, f.scene.releases, f.scroll() == before}), QVector<int>({1, click, click}));
        QCOMPARE(f.view.viewport()->cursor().shape(), Qt::CrossCursor);
        // A pan keeps the image point under the mouse.
        if (!click)
            QVERIFY(QLineF(f.view.mapToScene(start + offset), grabbed).length() < 1.0);
        // A press on an item that takes it neither pans nor clicks.
        struct GrabbingItem : QGraphicsRectItem
        {
            GrabbingItem() : QGraphicsRectItem(1900, 1400, 400, 400) {}
            void mousePressEvent(QGraphicsSceneMouseEvent *event) override { event->accept(); }
        };
        f.scene.addItem(new GrabbingItem);
        f.view.centerOn(2000, 1500);
        const QPoint scrolled = f.scroll();
        drag(f.view.viewport(), start, start + QPoint(40, 40));
        QCOMPARE(f.scroll(), scrolled);
    }

    void releaseAfterActivationIsSwallowed()
    {
        ViewFixture f;
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&f.view, &activate);
        sendMouse(f.view.viewport(), QEvent::MouseButtonRelease, QPoint(100, 100));
        QCOMPARE(f.scene.releases, 0);
        // Only one release is swallowed, and a press disarms it.
        sendMouse(f.view.viewport(), QEvent::MouseButtonRelease, QPoint(100, 100));
        QCOMPARE(f.scene.releases, 1);
        QApplication::sendEvent(&f.view, &activate);
        drag(f.view.viewport(), QPoint(100, 100), QPoint(102, 100));
        QCOMPARE(f.scene.releases, 2);
    }
};

MENSOR_GUITEST_MAIN(SceneTest)
#include "scenetest.moc"
