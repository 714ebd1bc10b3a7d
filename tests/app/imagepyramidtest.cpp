#include "graphicspointitem.h"
#include "graphicsview.h"
#include "imagepyramid.h"
#include "pointlist.h"
#include "scene.h"

#include "testutils.h"

#include <QPainter>

using vireo::ImagePyramid;

namespace {

// Every pixel differs from its neighbours, so any sampling error shows.
QImage patternImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb((x * 37 + y * 11) & 0xff, (x * 5 + y * 101) & 0xff, (x ^ y) & 0xff);
    }
    return image;
}

} // namespace

class ImagePyramidTest : public QObject
{
    Q_OBJECT

private slots:
    void levelsHalveDownToScreenSize();
    void levelChoiceAtBoundaries_data();
    void levelChoiceAtBoundaries();
    void exactPixelsAtAndAbove100Percent_data();
    void exactPixelsAtAndAbove100Percent();
    void filteredBelow100PercentFromSmallerLevel();
    void releasedAndRebuiltForAnotherImage();
    void clickLandsOnSamePixelWhicheverLevel_data();
    void clickLandsOnSamePixelWhicheverLevel();
    void keepsFastFormat_data();
    void keepsFastFormat();
};

void ImagePyramidTest::levelsHalveDownToScreenSize()
{
    ImagePyramid pyramid;
    pyramid.setImage(QImage(6000, 4001, QImage::Format_RGB32));
    QVERIFY(!pyramid.hasLevels());
    QCOMPARE(pyramid.levelCount(), 1);
    pyramid.buildLevels();
    pyramid.waitForLevels();
    QVERIFY(pyramid.hasLevels());
    QCOMPARE(pyramid.levelCount(), 3);
    QCOMPARE(pyramid.level(1).size(), QSize(3000, 2000));
    QCOMPARE(pyramid.level(2).size(), QSize(1500, 1000));
    QVERIFY(pyramid.levelBytes() <= pyramid.image().sizeInBytes() / 3);
    QVERIFY(pyramid.levelBytes() > 0);
}

void ImagePyramidTest::levelChoiceAtBoundaries_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("level");

    QTest::newRow("above 1") << 1.7 << 0;
    QTest::newRow("exactly 1") << 1.0 << 0;
    QTest::newRow("just below 1") << 0.99 << 0;
    QTest::newRow("exactly 1/2") << 0.5 << 1;
    QTest::newRow("just below 1/2") << 0.49 << 1;
    QTest::newRow("exactly 1/4") << 0.25 << 2;
    QTest::newRow("just above 1/4") << 0.2501 << 1;
    QTest::newRow("start level") << 0.288 << 1;
    QTest::newRow("below the smallest level") << 0.01 << 3;
}

void ImagePyramidTest::levelChoiceAtBoundaries()
{
    QFETCH(double, scale);
    QFETCH(int, level);

    ImagePyramid pyramid;
    pyramid.setImage(QImage(8192, 4096, QImage::Format_RGB32));
    pyramid.buildLevels();
    pyramid.waitForLevels();
    QCOMPARE(pyramid.levelCount(), 4);
    QCOMPARE(pyramid.levelForScale(scale), level);
}

void ImagePyramidTest::exactPixelsAtAndAbove100Percent_data()
{
    QTest::addColumn<int>("scale");
    QTest::newRow("100 %") << 1;
    QTest::newRow("200 %") << 2;
    QTest::newRow("700 %") << 7;
}

void ImagePyramidTest::exactPixelsAtAndAbove100Percent()
{
    QFETCH(int, scale);

    const QImage source = patternImage(QSize(2400, 1300));
    ImagePyramid pyramid;
    pyramid.setImage(source);
    pyramid.buildLevels();
    pyramid.waitForLevels();

    const QPoint offset(1234, 567);
    QImage target(160, 100, QImage::Format_RGB32);
    QPainter painter(&target);
    painter.scale(scale, scale);
    painter.translate(-offset);
    pyramid.draw(&painter, QRectF(offset, QSizeF(target.size()) / scale));
    painter.end();
    for (int y = 0; y < target.height(); ++y) {
        for (int x = 0; x < target.width(); ++x) {
            const QRgb expected = source.pixel(offset.x() + x / scale, offset.y() + y / scale);
            if (target.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
        }
    }
}

void ImagePyramidTest::filteredBelow100PercentFromSmallerLevel()
{
    QImage source(4096, 2048, QImage::Format_RGB32);
    source.fill(Qt::white);
    // A one-pixel grid that fast sampling would alias.
    for (int y = 0; y < source.height(); y += 2)
        std::fill_n(reinterpret_cast<QRgb *>(source.scanLine(y)), source.width(), qRgb(0, 0, 0));
    ImagePyramid pyramid;
    pyramid.setImage(source);
    pyramid.buildLevels();
    pyramid.waitForLevels();

    QImage target(200, 100, QImage::Format_RGB32);
    QPainter painter(&target);
    painter.scale(0.3, 0.3);
    pyramid.draw(&painter, QRectF(0, 0, 200 / 0.3, 100 / 0.3));
    painter.end();
    // Filtering averages the grid to grey instead of picking black or white rows.
    for (int y = 5; y < 95; y += 7) {
        const int grey = qGray(target.pixel(100, y));
        QVERIFY2(grey > 60 && grey < 195, qPrintable(QString::number(grey)));
    }
}

void ImagePyramidTest::releasedAndRebuiltForAnotherImage()
{
    ImagePyramid pyramid;
    QSignalSpy ready(&pyramid, &ImagePyramid::levelsReady);
    pyramid.setImage(QImage(4096, 4096, QImage::Format_RGB32));
    pyramid.buildLevels();
    pyramid.setImage(QImage(3000, 2500, QImage::Format_RGB32));
    QCOMPARE(pyramid.levelCount(), 1);
    QVERIFY(!pyramid.hasLevels());
    pyramid.buildLevels();
    pyramid.waitForLevels();
    QCOMPARE(pyramid.level(1).size(), QSize(1500, 1250));
    QCOMPARE(pyramid.levelCount(), 2);
    QTest::qWait(50);
    QCOMPARE(ready.count(), 1);
    pyramid.setImage(QImage());
    QVERIFY(pyramid.isNull());
    QCOMPARE(pyramid.levelCount(), 1);
}

void ImagePyramidTest::clickLandsOnSamePixelWhicheverLevel_data()
{
    QTest::addColumn<int>("zoomLevel");
    QTest::newRow("level 1") << 1;
    QTest::newRow("level 10") << 10;
    QTest::newRow("level 30") << 30;
    QTest::newRow("level 60") << 60;
}

void ImagePyramidTest::clickLandsOnSamePixelWhicheverLevel()
{
    QFETCH(int, zoomLevel);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.png"));
    QVERIFY(QImage(5000, 3000, QImage::Format_RGB32).save(path));
    vireo::Scene scene;
    vireo::GraphicsView view;
    view.resize(800, 600);
    view.setScene(&scene);
    SilentMessages silence;
    QVERIFY(scene.loadImage(path));
    scene.setCalibrating(false);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    scene.imagePyramid()->buildLevels();
    scene.imagePyramid()->waitForLevels();
    view.setZoomLevel(zoomLevel);
    view.centerOn(2345.6, 1234.5);

    const QPoint pixel(413, 287);
    const QPointF expected = view.mapToScene(pixel);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pixel);
    QCOMPARE(scene.pointList()->count(), 1);
    const QPointF placed = scene.pointList()->graphicsItemAt(0)->pos();
    QCOMPARE(placed, expected);
    QCOMPARE(QPoint(int(placed.x()), int(placed.y())), QPoint(int(expected.x()), int(expected.y())));

    // Whatever the screen's scale (also run at 200 %), the image pixel is the
    // one the zoom level alone gives, within the whole-pixel scrolling.
    const double scale = vireo::GraphicsView::scaleForLevel(zoomLevel);
    const QPoint centre = view.viewport()->rect().center();
    const QPointF fromZoom = view.mapToScene(centre) + QPointF(pixel - centre) / scale;
    QVERIFY2(QLineF(placed, fromZoom).length() <= 1.5 / scale + 1, qPrintable(QStringLiteral("%1, %2").arg(placed.x()).arg(placed.y())));
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        QCOMPARE(view.devicePixelRatioF(), qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
}

void ImagePyramidTest::keepsFastFormat_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("kept");
    QTest::newRow("rgb32") << int(QImage::Format_RGB32) << int(QImage::Format_RGB32);
    QTest::newRow("rgb888") << int(QImage::Format_RGB888) << int(QImage::Format_RGB32);
    QTest::newRow("argb32") << int(QImage::Format_ARGB32) << int(QImage::Format_ARGB32_Premultiplied);
    QTest::newRow("grayscale") << int(QImage::Format_Grayscale8) << int(QImage::Format_RGB32);
    QTest::newRow("indexed") << int(QImage::Format_Indexed8) << int(QImage::Format_RGB32);
}

void ImagePyramidTest::keepsFastFormat()
{
    QFETCH(int, format);
    QFETCH(int, kept);

    QImage image(40, 30, QImage::Format(format));
    if (image.format() == QImage::Format_Indexed8)
        image.setColorTable({qRgb(1, 2, 3)});
    image.fill(0);
    ImagePyramid pyramid;
    pyramid.setImage(image);
    QCOMPARE(int(pyramid.image().format()), kept);
    QCOMPARE(pyramid.image().size(), QSize(40, 30));
}

MENSOR_GUITEST_MAIN(ImagePyramidTest)
#include "imagepyramidtest.moc"
