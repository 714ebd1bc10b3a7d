// Repainting large photos: generated 24 MP and 96 MP images in a 1600 × 1000
// view at several zoom levels, each a synchronous full repaint; at the start
// level against drawing the whole image through the view transform. Also the
// image load time against a bare QImageReader::read of the same file.
#include "graphicsview.h"
#include "imagepyramid.h"
#include "scene.h"

#include "benchutils.h"
#include "photos.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>

namespace {

QString photo(const QString &name, QSize size)
{
    const QString folder = photoFolder(name, 1, size);
    return folder + QStringLiteral("/photo000.jpg");
}

double wholeImageDraw(const QImage &image, double scale, bool smooth)
{
    QImage target(1600, 1000, QImage::Format_RGB32);
    return medianMilliseconds(5, [&] {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
        painter.scale(scale, scale);
        painter.drawImage(QPointF(0, 0), image);
    });
}

void measure(const QString &label, QSize size)
{
    const QString path = photo(label, size);
    std::printf("\n%s photo, %d x %d pixels\n", qPrintable(label), size.width(), size.height());

    const double bare = medianMilliseconds(3, [&] { QImageReader(path).read(); });
    vireo::Scene scene;
    const double load = medianMilliseconds(3, [&] {
        scene.loadImage(path);
        scene.waitForImage();
    });
    printRow("load: Scene::loadImage", load, "ms");
    printRow("load: bare QImageReader::read", bare, "ms");
    printRow("load ratio", load / bare, "x");

    vireo::GraphicsView view;
    view.resize(1600, 1000);
    view.setScene(&scene);
    view.show();
    QCoreApplication::processEvents();
    QElapsedTimer build;
    build.start();
    scene.imagePyramid()->buildLevels();
    scene.imagePyramid()->waitForLevels();
    printRow("pyramid build (worker thread)", build.nsecsElapsed() / 1e6, "ms");
    printRow("pyramid memory / image memory",
             double(scene.imagePyramid()->levelBytes()) / scene.imagePyramid()->image().sizeInBytes(), "");

    // A redraw paints the image anew, as after a zoom step; a repaint reuses
    // the view's cached background, as when the items above it change.
    const auto redraw = [&] {
        view.resetCachedContent();
        view.viewport()->repaint();
    };
    const auto repaint = [&] { view.viewport()->repaint(); };
    for (int level : {1, 10, 30, 50, 75, 100}) {
        view.setZoomLevel(level);
        view.centerOn(scene.sceneRect().center());
        const QString name = QStringLiteral("zoom level %1 (scale %2)").arg(level).arg(
            vireo::GraphicsView::scaleForLevel(level), 0, 'f', 3);
        printRow(qPrintable(QStringLiteral("redraw at ") + name), medianMilliseconds(9, redraw), "ms");
        printRow(qPrintable(QStringLiteral("repaint at ") + name), medianMilliseconds(9, repaint), "ms");
    }
    const double scale = vireo::GraphicsView::scaleForLevel(10);
    const QImage &image = scene.imagePyramid()->image();
    const double smooth = wholeImageDraw(image, scale, true);
    const double fast = wholeImageDraw(image, scale, false);
    view.setZoomLevel(10);
    view.centerOn(scene.sceneRect().center());
    const double ours = medianMilliseconds(9, redraw);
    printRow("baseline at level 10: whole image, smooth drawImage", smooth, "ms");
    printRow("baseline at level 10: whole image, fast sampling", fast, "ms");
    printRow("speed-up of a redraw at level 10 against smooth", smooth / ours, "x");
    printRow("speed-up of a redraw at level 10 against fast sampling", fast / ours, "x");
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    std::printf("repaint: 1600 x 1000 view, synchronous repaints\n");
    measure(QStringLiteral("24MP"), QSize(6000, 4000));
    measure(QStringLiteral("96MP"), QSize(12000, 8000));
    return 0;
}
