// Renders the README's screenshot: mensor measuring examples/workbench.jpg.
// Usage: mensor_screenshot EXAMPLE_IMAGE OUTPUT_PNG
#include "geometry.h"
#include "mainwindow.h"
#include "projection.h"
#include "scene.h"
#include "settings.h"
#include "startup.h"

#include <tableview.h>

#include <QAction>
#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s EXAMPLE_IMAGE OUTPUT_PNG\n", argv[0]);
        return 2;
    }
    // Never touch the user's own settings.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    vireo::setApplicationIdentity();

    vireo::MainWindow window;
    window.settings()->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString path = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();

    // The calibration of the README's walk-through: origin on the 0 mm mark,
    // ruler from 0 to 100 mm, and the four targets measured.
    vireo::Geometry &record = window.settings()->geometryFor(path);
    record.initialize(QSize(1600, 1200));
    record.setOrigin(QPointF(200, 950));
    record.setRulerEnd1(QPointF(200, 950));
    record.setRulerEnd2(QPointF(1400, 950));
    record.setRulerLength(100);
    const QList<QPointF> targets = {{420, 380}, {900, 520}, {1250, 300}, {704, 764}};
    for (int i = 0; i < targets.size(); ++i)
        record.addPoint(vireo::Point(i + 1, targets.at(i), QFileInfo(path).fileName()));
    record.setNextId(targets.size() + 1);
    window.scene()->setGeometry(&record);
    window.settings()->setCurrentDir(QFileInfo(path).absolutePath());
    window.updateThumbnailsTitle();
    window.loadImage(path);

    window.resize(1280, 820);
    window.show();
    window.findChild<QAction *>(QStringLiteral("actionModeEdit"))->trigger();
    window.findChild<QSlider *>(QStringLiteral("zoomSlider"))->setValue(17);
    auto table = window.findChild<QTableView *>(QStringLiteral("tableView"));
    table->setCurrentIndex(table->model()->index(1, 1));
    const QString output = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(500, [&] {
        // After the language change has re-translated (and cleared) the read-outs.
        window.updateMouseCoordinates(window.scene()->projection()->toCoordinates(QPointF(900, 520)));
        const bool saved = window.grab().save(output);
        window.close();
        app.exit(saved ? 0 : 1);
    });
    return app.exec();
}
