// A record of 10,000 points shown in the scene with the coordinates table:
// taking the record up, and one step of an origin drag (the anchor moves,
// every row recomputes, the table repaints).
#include "geometry.h"
#include "grahpicsanchoritem.h"
#include "graphicsview.h"
#include "projection.h"
#include "scene.h"

#include "benchutils.h"

#include <tableview.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTableView>

namespace {

const int pointCount = 10000;

vireo::Geometry bigRecord()
{
    vireo::Geometry geometry;
    geometry.initialize(QSize(6000, 4000));
    for (int i = 0; i < pointCount; ++i)
        geometry.addPoint(vireo::Point(i + 1, QPointF((i * 37) % 6000, (i * 53) % 4000), QStringLiteral("photo.jpg")));
    geometry.setNextId(pointCount + 1);
    return geometry;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    vireo::Scene scene;
    vireo::GraphicsView view;
    view.resize(1200, 800);
    view.setScene(&scene);
    scene.setSceneRect(0, 0, 6000, 4000);
    scene.setCalibrating(false);
    QTableView table;
    table.resize(300, 800);
    kit::TableView tableView(&table);
    tableView.setModel(scene.pointModel());
    view.show();
    table.show();
    QCoreApplication::processEvents();

    vireo::Geometry first = bigRecord();
    vireo::Geometry empty;
    empty.initialize(QSize(6000, 4000));
    const double takeUp = medianMilliseconds(5, [&] {
        scene.setGeometry(&first);
        QCoreApplication::processEvents();
        scene.setGeometry(&empty);
    });
    scene.setGeometry(&first);
    QCoreApplication::processEvents();

    vireo::GrahpicsAnchorItem *origin = scene.projection()->originAnchor();
    int step = 0;
    const auto dragStep = [&] {
        ++step;
        origin->setPos(3000 + step % 50, 2000 + step % 50);
        QCoreApplication::processEvents();
    };
    const double withBoth = medianMilliseconds(51, dragStep);
    view.hide();
    QCoreApplication::processEvents();
    const double tableOnly = medianMilliseconds(51, dragStep);
    table.hide();
    QCoreApplication::processEvents();
    const double modelOnly = medianMilliseconds(51, dragStep);

    // The same drag by the mouse in calibration, with the loupe showing a
    // 24-megapixel image around the origin at every step.
    scene.imagePyramid()->setImage(QImage(6000, 4000, QImage::Format_RGB32));
    // As a loaded image does: the calibration items show.
    scene.projection()->setShown(true);
    scene.setCalibrating(true);
    view.show();
    table.show();
    view.centerOn(origin->scenePos());
    QCoreApplication::processEvents();
    QWidget *viewport = view.viewport();
    const QPoint start = view.mapFromScene(origin->scenePos());
    const auto send = [viewport](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    send(QEvent::MouseButtonPress, start);
    const auto mouseStep = [&] {
        ++step;
        send(QEvent::MouseMove, start + QPoint(10 + step % 40, 10 + step % 30));
        QCoreApplication::processEvents();
    };
    const double withLoupe = medianMilliseconds(51, mouseStep);
    QWidget *loupe = viewport->findChild<QWidget *>(QStringLiteral("loupe"));
    const bool loupeShown = loupe && loupe->isVisible();
    send(QEvent::MouseButtonRelease, start);

    std::printf("scene: %d points, coordinates table shown\n", pointCount);
    printRow("setGeometry of the record (and back to an empty one)", takeUp, "ms");
    printRow("origin drag step: rows, table and image view repainted", withBoth, "ms");
    printRow("origin drag step: rows and table repainted", tableOnly, "ms");
    printRow("origin drag step: rows only (nothing shown)", modelOnly, "ms");
    printRow(loupeShown ? "origin drag step by mouse, calibrating, loupe shown" : "origin drag step by mouse: LOUPE NOT SHOWN",
             withLoupe, "ms");
    return 0;
}
