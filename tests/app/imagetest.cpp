#include "graphicspointitem.h"
#include "graphicsview.h"
#include "imagefile.h"
#include "imageloader.h"
#include "imagepyramid.h"
#include "memoryahead.h"
#include "pointlist.h"
#include "progressivehalving.h"
#include "scene.h"
#include "thumbnailcache.h"
#include "thumbnailitem.h"
#include "thumbnailloader.h"
#include "thumbnailview.h"

#include "testutils.h"

#include <sys/mman.h>
#include <sys/stat.h>

using namespace vireo;

namespace {

QImage drawn(const ImagePyramid &pyramid, QSize size, double scale, QPoint offset = QPoint())
{
    QImage target(size, QImage::Format_RGB32);
    QPainter painter(&target);
    painter.scale(scale, scale);
    painter.translate(-offset);
    const QPainter::RenderHints hints = painter.renderHints();
    pyramid.draw(&painter, QRectF(offset, QSizeF(size) / scale));
    // What is drawn after the image is drawn as before it.
    return painter.renderHints() == hints ? target : QImage();
}

QDir listing(const QString &path)
{
    return QDir(path, QStringLiteral("*.png *.jpg"), QDir::Name | QDir::IgnoreCase, QDir::Files | QDir::Readable);
}

// Colour runs one way, green the other, and squares give edges: a picture
// that is turned, mirrored or shifted differs everywhere.
QImage testPhoto(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), ((x / 64 + y / 64) & 1) * 255));
    return image;
}

double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 255;
    qint64 sum = 0;
    const QImage p = a.convertToFormat(QImage::Format_RGB888), q = b.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < a.height(); ++y)
        for (int i = 0; i < 3 * a.width(); ++i)
            sum += qAbs(p.constScanLine(y)[i] - q.constScanLine(y)[i]);
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

class ImageTest : public QObject
{
    Q_OBJECT

private slots:
    // Each refusal says why, in words a user understands.
    void refusesWhatMustNotBeRead_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        const QString pipe = m_dir.filePath(QStringLiteral("pipe.jpg"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(QFile::link(pipe, m_dir.filePath(QStringLiteral("link.jpg"))));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), m_dir.filePath(QStringLiteral("zero.png"))));
        const QByteArray decoy("#define d_width 23000\n#define d_height 23000\nstatic char d_bits[] = {\n0x00 };\n");
        writeFile(m_dir.filePath(QStringLiteral("decoy.xbm")), decoy);
        writeFile(m_dir.filePath(QStringLiteral("broken.png")), "no picture");
        const QString special = QStringLiteral("It is not a regular file but a folder, a pipe or a device.");
        QTest::newRow("named pipe") << pipe << special;
        QTest::newRow("link to a pipe") << m_dir.filePath(QStringLiteral("link.jpg")) << special;
        QTest::newRow("link to a device") << m_dir.filePath(QStringLiteral("zero.png")) << special;
        QTest::newRow("folder") << m_dir.path() << special;
        QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.png")) << "The file does not exist.";
        QTest::newRow("84 bytes claiming 23000 x 23000") << m_dir.filePath(QStringLiteral("decoy.xbm"))
            << QStringLiteral("The file claims 23000 × 23000 pixels, far more than its %1 bytes can hold.").arg(decoy.size());
        QTest::newRow("not a picture") << m_dir.filePath(QStringLiteral("broken.png")) << "Unsupported image format";
    }

    void refusesWhatMustNotBeRead()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        ImageFile file(path);
        QVERIFY(file.read().isNull() && !file.errorString().isEmpty());
        QVERIFY2(reason.isEmpty() || file.errorString() == reason, qPrintable(file.errorString()));
        QVERIFY(file.readThumbnail(100).isNull() && ThumbnailLoader::loadThumbnail(path).isNull());
    }

    // A grey map keeps the test fast (a sparse file, no encoding) and still
    // needs 400 MB decoded: more than Qt 6 decodes by default.
    void readsAPhotoOf20000By20000()
    {
        const QString path = m_dir.filePath(QStringLiteral("large.pgm"));
        const QByteArray header = "P5\n20000 20000\n255\n";
        writeFile(path, header);
        QVERIFY(QFile(path).resize(header.size() + qint64(20000) * 20000));
        ImageFile image(path);
        QCOMPARE(QList<QSize>({image.read().size(), image.readThumbnail(100).size()}),
                 QList<QSize>({QSize(20000, 20000), QSize(100, 100)}));
    }

    // Mapped ahead in order: with a limit only the image's memory below it, then all
    // (on kernels from 5.14).
    void memoryIsMappedAheadOfItsWriters()
    {
        // The image's 64 MiB, then a copy's 32 MiB.
        QImage memory(4096, 6144, QImage::Format_RGB32);
        uchar *bits = const_cast<uchar *>(memory.constBits());
        MemoryAhead ahead;
        ahead.setImage(bits, bits + (64 << 20));
        ahead.append(bits + (64 << 20), bits + (96 << 20));
        QString mapped;
        for (const uchar *limit : {bits + (10 << 20), bits + (80 << 20), static_cast<uchar *>(nullptr)}) {
            ahead.map(limit);
            for (const int mebibytes : {5, 14, 60, 70}) {
                unsigned char resident = 0;
                ::mincore(reinterpret_cast<void *>((quintptr(bits) + (mebibytes << 20) + 65536) & ~quintptr(4095)), 1, &resident);
                mapped += resident & 1 ? QLatin1Char('+') : QLatin1Char('-');
            }
        }
        QCOMPARE(mapped, QStringLiteral("+---" "+++-" "++++"));
    }

    void interruptedDecodeStopsAtItsNextRead()
    {
        // Noise does not compress: many reads of the file.
        QImage noise(1500, 1500, QImage::Format_ARGB32);
        QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(noise.bits()), int(noise.sizeInBytes() / 4));
        const QString path = m_dir.filePath(QStringLiteral("noise.png"));
        QVERIFY(noise.save(path));
        int whole = 0, stopped = 0;
        QVERIFY(!ImageFile(path).readThumbnail(100, [&whole] { return ++whole < 0; }).isNull()
                && ImageFile(path).readThumbnail(100, [&stopped] { return ++stopped > 3; }).isNull());
        QVERIFY2(whole > 20 && stopped < 8, qPrintable(QStringLiteral("%1 reads, %2 after the stop").arg(whole).arg(stopped)));
    }

    void levelsHalveDownToScreenSize_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("level");
        QTest::newRow("above 1") << 1.7 << 0;
        QTest::newRow("exactly 1/2") << 0.5 << 1;
        QTest::newRow("just above 1/4") << 0.2501 << 1;
        QTest::newRow("below the smallest level") << 0.01 << 3;
    }

    void levelsHalveDownToScreenSize()
    {
        QFETCH(double, scale);
        QFETCH(int, level);
        ImagePyramid pyramid;
        QSignalSpy ready(&pyramid, &ImagePyramid::levelsReady);
        pyramid.setImage(QImage(4096, 4096, QImage::Format_RGB32));
        pyramid.buildLevels();
        // Another image releases the levels under way.
        pyramid.setImage(QImage(8192, 4097, QImage::Format_Grayscale8));
        QVERIFY(pyramid.image().format() == QImage::Format_RGB32 && !pyramid.hasLevels() && pyramid.levelCount() == 1);
        pyramid.buildLevels();
        pyramid.waitForLevels();
        QVERIFY(QTest::qWaitFor([&ready] { return ready.count() > 0; }, 5000));
        QCOMPARE(QVariantList({pyramid.levelCount(), pyramid.level(1).size(), pyramid.level(3).size()}),
                 QVariantList({4, QSize(4096, 2048), QSize(1024, 512)}));
        QVERIFY(pyramid.levelBytes() > 0 && pyramid.levelBytes() <= pyramid.image().sizeInBytes() / 3);
        QCOMPARE(QVector<int>({pyramid.levelForScale(scale), int(ready.count())}), QVector<int>({level, 1}));
    }

    // Each pixel of a copy is the mean of the 2 × 2 pixels it stands for, in every band of rows.
    // Halved behind a writer, a band is taken only once all its rows are written, none once abandoned.
    void halvingFollowsTheWrittenRows()
    {
        const QImage source = patternImage(QSize(2048, 1100));
        const QImage half = ImagePyramid::downsampledLevels(source).value(0);
        for (const QPoint at : {QPoint(0, 0), QPoint(517, 301), QPoint(1023, 549)}) {
            int sum[3] = {2, 2, 2};
            for (const QPoint by : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
                const QRgb pixel = source.pixel(2 * at + by);
                sum[0] += qRed(pixel), sum[1] += qGreen(pixel), sum[2] += qBlue(pixel);
            }
            QCOMPARE(half.pixel(at), qRgb(sum[0] / 4, sum[1] / 4, sum[2] / 4));
        }
        QImage untouched = filledImage(half.size(), qRgb(1, 2, 3));
        // The rows halved from the top, or -1 where a row below them was written.
        const auto halvedRows = [&half, &untouched](const QImage &target) {
            int rows = 0;
            while (rows < half.height() && target.copy(0, rows, half.width(), 1) == half.copy(0, rows, half.width(), 1))
                ++rows;
            const QRect below(0, rows, half.width(), half.height() - rows);
            return target.copy(below) == untouched.copy(below) ? rows : -1;
        };
        QImage target = untouched.copy(), whole = untouched.copy();
        ProgressiveHalving halving(source, target), finished(source, whole);
        QVector<int> seen;
        for (const int written : {127, 128, 383, 1099}) {
            halving.work(written);
            seen << halvedRows(target) << halving.rowsNeeded();
        }
        halving.abandon();
        halving.work(INT_MAX);
        finished.finish();
        seen << halvedRows(target) << halvedRows(whole) << finished.rowsNeeded();
        QCOMPARE(seen, QVector<int>({0, 128, 64, 256, 128, 384, 512, 1100, 512, 550, INT_MAX}));
    }

    void exactPixelsAtAndAbove100Percent_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("format");
        QTest::newRow("100 %") << 1 << int(QImage::Format_RGB32);
        QTest::newRow("200 %, from RGB888") << 2 << int(QImage::Format_RGB888);
        QTest::newRow("700 %, with alpha") << 7 << int(QImage::Format_ARGB32);
    }

    void exactPixelsAtAndAbove100Percent()
    {
        QFETCH(int, scale);
        QFETCH(int, format);
        const QImage source = patternImage(QSize(2400, 1300)).convertToFormat(QImage::Format(format));
        ImagePyramid pyramid;
        pyramid.setImage(source);
        QVERIFY(QList<int>({QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}).contains(pyramid.image().format()));
        pyramid.buildLevels();
        pyramid.waitForLevels();
        const QPoint offset(1234, 567);
        const QImage target = drawn(pyramid, QSize(160, 100), scale, offset);
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                if (target.pixel(x, y) != source.pixel(offset.x() + x / scale, offset.y() + y / scale))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
    }

    void clickLandsOnSamePixelWhicheverLevel_data()
    {
        QTest::addColumn<int>("zoomLevel");
        for (int level : {1, 10, 30, 60})
            QTest::newRow(qPrintable(QStringLiteral("level %1").arg(level))) << level;
    }

    void clickLandsOnSamePixelWhicheverLevel()
    {
        QFETCH(int, zoomLevel);
        const QString path = m_dir.filePath(QStringLiteral("big.png"));
        QVERIFY(QFile::exists(path) || QImage(5000, 3000, QImage::Format_RGB32).save(path));
        Scene scene;
        GraphicsView view;
        view.resize(800, 600);
        view.setScene(&scene);
        SilentMessages silence;
        QVERIFY(scene.loadImage(path));
        scene.waitForImage();
        scene.setCalibrating(false);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        scene.imagePyramid()->buildLevels();
        scene.imagePyramid()->waitForLevels();
        view.setZoomLevel(zoomLevel);
        view.centerOn(2345.6, 1234.5);
        const QPoint pixel(413, 287);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pixel);
        QCOMPARE(scene.pointList()->count(), 1);
        const QPointF placed = scene.pointList()->graphicsItemAt(0)->pos();
        QCOMPARE(placed, view.mapToScene(pixel));
        // Whatever the screen's scale (also run at 200 %), the image pixel is the
        // one the zoom level alone gives, within the whole-pixel scrolling.
        const double scale = GraphicsView::scaleForLevel(zoomLevel);
        const QPoint centre = view.viewport()->rect().center();
        QVERIFY2(QLineF(placed, view.mapToScene(centre) + QPointF(pixel - centre) / scale).length() <= 1.5 / scale + 1,
                 qPrintable(QStringLiteral("%1, %2").arg(placed.x()).arg(placed.y())));
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(view.devicePixelRatioF(), qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    }

    // A large image opens in the background: a preview of the whole picture
    // first (JPEG), then the whole image, both upright as the toolkit turns them.
    void largeImageComesAsPreviewThenWhole_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("embedded");
        QTest::addColumn<QSize>("photoSize");
        const QSize photo(2400, 1800);
        // Two copies: the first, of odd height, is halved while the decoder writes the rows.
        QTest::newRow("JPEG") << "large.jpg" << 1 << QSize() << QSize(4096, 2071);
        QTest::newRow("JPEG turned by its orientation tag") << "turned.jpg" << 6 << QSize() << photo;
        QTest::newRow("JPEG mirrored and turned") << "mirrored.jpg" << 7 << QSize() << photo;
        QTest::newRow("JPEG with the camera's preview") << "camera.jpg" << 1 << QSize(300, 225) << photo;
        QTest::newRow("the camera's preview too large for one copy") << "wide.jpg" << 1 << QSize(1600, 809) << QSize(4096, 2071);
        QTest::newRow("the camera's preview too large for any copy") << "whole.jpg" << 1 << photo << photo;
        QTest::newRow("PNG: the whole image only") << "large.png" << 1 << QSize() << photo;
    }

    void largeImageComesAsPreviewThenWhole()
    {
        QFETCH(QString, name);
        QFETCH(int, orientation);
        QFETCH(QSize, embedded);
        QFETCH(QSize, photoSize);
        const QString path = m_dir.filePath(name);
        const bool jpeg = name.endsWith(QLatin1String(".jpg"));
        const QImage photo = testPhoto(photoSize);
        QVERIFY(jpeg ? !writeCameraPhoto(path, QSize(160, 120), orientation, photo, embedded).isEmpty() : photo.save(path));
        const QImage expected = ImageFile(path).read().convertToFormat(QImage::Format_RGB32);
        QSize size;
        QImageIOHandler::Transformations transformation;
        QVERIFY(ImageFile(path).inspect(&size, &transformation));
        QVERIFY(size == expected.size() && qint64(size.width()) * size.height() > ImageLoader::backgroundPixels);
        ImageLoader loader;
        QSignalSpy previews(&loader, &ImageLoader::previewReady);
        QSignalSpy images(&loader, &ImageLoader::imageReady);
        QSignalSpy levels(&loader, &ImageLoader::levelsReady);
        loader.load(path, size, transformation);
        QVERIFY(QTest::qWaitFor([&] { return levels.count() == 1 && previews.count() == int(jpeg); }, 20000));
        const QImage whole = images.at(0).at(0).value<QImage>();
        QVERIFY(meanDifference(whole, expected) < 0.5);
        // The copies are the whole image's, though a preview still shown shares their memory.
        QCOMPARE(levels.at(0).at(0).value<QVector<QImage>>(), ImagePyramid::downsampledLevels(whole));
        if (jpeg) {
            const QImage preview = previews.at(0).at(0).value<QImage>();
            QCOMPARE(preview.size(), embedded.isValid() ? embedded : QSize((size.width() + 7) / 8, (size.height() + 7) / 8));
            const QImage reduced = expected.scaled(preview.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            QVERIFY(embedded.isValid() ? qGreen(preview.pixel(9, 9)) > 200 && qRed(preview.pixel(9, 9)) < 60
                                       : meanDifference(preview, reduced) < 4);
        }
        // Loading ends with the copies, or when it is called off.
        const bool ended = !loader.isLoading();
        loader.load(path, size, transformation);
        const bool loading = loader.isLoading();
        loader.cancel();
        QCOMPARE(QVector<bool>({ended, loading, loader.isLoading()}), QVector<bool>({true, true, false}));
    }

    // The preview is stretched over the whole image's place: nothing moves
    // when the whole image replaces it, at any zoom.
    void previewDrawsWhereTheWholeImageWill_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("1/8") << 0.125 << QPoint();
        QTest::newRow("1/2, inside") << 0.5 << QPoint(700, 300);
        QTest::newRow("200 %") << 2.0 << QPoint(1200, 900);
    }

    void previewDrawsWhereTheWholeImageWill()
    {
        QFETCH(double, scale);
        QFETCH(QPoint, offset);
        static const QImage whole = testPhoto(QSize(2400, 1800));
        ImagePyramid pyramid;
        pyramid.setPreview(whole.scaled(300, 225, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), whole.size());
        const QImage early = drawn(pyramid, QSize(300, 200), scale, offset);
        pyramid.setFullImage(whole);
        const QImage late = drawn(pyramid, QSize(300, 200), scale, offset);
        QVERIFY2(meanDifference(early, late) < 8, qPrintable(QString::number(meanDifference(early, late))));
        QCOMPARE(late.pixel(150, 100), whole.pixel(offset.x() + int(150 / scale), offset.y() + int(100 / scale)));
    }

    // Zoomed out, a copy is drawn filtered: a fine pattern turns grey, not into moiré.
    void zoomedOutDrawingIsFiltered()
    {
        QImage checker(2400, 1800, QImage::Format_RGB32), grey(300, 200, QImage::Format_RGB32);
        QBrush squares(Qt::black, Qt::Dense4Pattern);
        squares.setTransform(QTransform::fromScale(4, 4));
        checker.fill(Qt::white);
        QPainter(&checker).fillRect(checker.rect(), squares);
        grey.fill(QColor(128, 128, 128));
        ImagePyramid pyramid;
        pyramid.setImage(checker);
        pyramid.buildLevels();
        pyramid.waitForLevels();
        // Black or white pixels are 127.5 off the grey; filtered, far fewer are.
        QVERIFY(meanDifference(drawn(pyramid, grey.size(), 0.3), grey) < 100);
    }

    // Points can be placed on the preview, in the whole image's pixels; they
    // stay where they are when the whole image arrives.
    void pointsPlacedWhileTheImageOpensStay()
    {
        const QString path = m_dir.filePath(QStringLiteral("opening.jpg"));
        QVERIFY(testPhoto(QSize(3000, 2000)).save(path, "JPG", 90));
        Scene scene;
        GraphicsView view;
        view.resize(600, 450);
        view.setScene(&scene);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(scene.loadImage(path) && !scene.isImageComplete() && scene.sceneRect() == QRectF(0, 0, 3000, 2000));
        scene.setCalibrating(false);
        view.fitToWindow();
        const QPoint pixel(413, 287);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pixel);
        const QPointF placed = view.mapToScene(pixel);
        scene.waitForImage();
        QCOMPARE(QVariantList({scene.pointList()->count(), scene.pointList()->graphicsItemAt(0)->pos(), view.mapToScene(pixel),
                               scene.image().size()}), QVariantList({1, placed, placed, QSize(3000, 2000)}));
        QCOMPARE(scene.imagePyramid()->level(1), ImagePyramid::downsampledLevels(scene.image()).at(0));
    }

    // The cache file managers share, by the standard's rules: names, tags,
    // modes, the MTime rule, failures, and a cache that cannot be used.
    void thumbnailCacheFollowsTheStandard()
    {
        const QString path = writeImage(m_dir.filePath(QStringLiteral("Grüne Blätter.png")), QSize(400, 200));
        const QString root = qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/thumbnails");
        const QByteArray uri = "file://" + QUrl::toPercentEncoding(path, "/");
        const QString name = QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) + ".png";
        const auto mode = [](const QString &file) {
            struct stat info;
            return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
        };
        QCOMPARE(ThumbnailCache::thumbnail(path, 100).size(), QSize(100, 50));
        QCOMPARE(ThumbnailCache::thumbnail(path, 200).size(), QSize(200, 100));
        QImage normal(root + QStringLiteral("/normal/") + name);
        QCOMPARE(QVariantList({normal.size(), normal.text("Thumb::URI").toUtf8(), normal.text("Thumb::MTime"),
                               normal.text("Software"), QImage(root + "/large/" + name).size(), mode(root + "/normal/" + name),
                               mode(root + QStringLiteral("/normal")), mode(root)}),
                 QVariantList({QSize(128, 64), uri, QString::number(QFileInfo(path).lastModified().toSecsSinceEpoch()),
                               "mensor 2.4", QSize(256, 128), 0600, 0700, 0700}));
        // Read from the cache while fresh; a photo changed since is never shown stale.
        normal.fill(Qt::blue);
        QVERIFY(normal.save(root + QStringLiteral("/normal/") + name));
        QCOMPARE(ThumbnailCache::thumbnail(path, 100).pixelColor(50, 25), QColor(Qt::blue));
        QFile photo(path);
        QVERIFY(photo.open(QIODevice::ReadWrite)
                && photo.setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime));
        photo.close();
        QVERIFY(ThumbnailCache::thumbnail(path, 100).pixelColor(50, 25) != QColor(Qt::blue));
        const QString broken = m_dir.filePath(QStringLiteral("broken.png"));
        writeFile(broken, "no picture");
        QVERIFY(ThumbnailCache::thumbnail(broken, 100).isNull() && QFile::exists(ThumbnailCache::failFileName(broken)));
        // A cache that cannot be used only costs time.
        QVERIFY(QDir(root).removeRecursively());
        writeFile(root, "not a folder");
        QCOMPARE(ThumbnailCache::thumbnail(path, 100).size(), QSize(100, 50));
        QFile::remove(root);
    }

    // A camera's own thumbnail is used where it is as large as the cell, upright.
    void cameraThumbnailsAreUsed_data()
    {
        QTest::addColumn<QSize>("embedded");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<bool>("blue");
        // The quarter the stored top left quarter shows in, white.
        QTest::addColumn<QPoint>("white");
        QTest::newRow("turned 270°") << QSize(160, 120) << 8 << QSize(75, 100) << true << QPoint(0, 1);
        QTest::newRow("turned") << QSize(160, 120) << 6 << QSize(75, 100) << true << QPoint(1, 0);
        QTest::newRow("mirrored and turned 270°") << QSize(160, 120) << 5 << QSize(75, 100) << true << QPoint(0, 0);
        QTest::newRow("mirrored and turned 90°") << QSize(160, 120) << 7 << QSize(75, 100) << true << QPoint(1, 1);
        QTest::newRow("flipped") << QSize(160, 120) << 4 << QSize(100, 75) << true << QPoint(0, 1);
        QTest::newRow("unknown orientation") << QSize(160, 120) << 9 << QSize(100, 75) << true << QPoint(0, 0);
        QTest::newRow("too small") << QSize(80, 60) << 1 << QSize(100, 75) << false << QPoint(-1, -1);
    }

    void cameraThumbnailsAreUsed()
    {
        QFETCH(QSize, embedded);
        QFETCH(int, orientation);
        QFETCH(QSize, shown);
        QFETCH(bool, blue);
        QFETCH(QPoint, white);
        const QString name = QStringLiteral("camera%1.jpg").arg(orientation * 1000 + embedded.width());
        const QImage thumbnail = ThumbnailCache::thumbnail(writeCameraPhoto(m_dir.filePath(name), embedded, orientation), 100);
        const QPoint at((2 * white.x() + 1) * shown.width() / 4, (2 * white.y() + 1) * shown.height() / 4);
        QCOMPARE(QVariantList({thumbnail.size(), thumbnail.pixelColor(30, 30).blue() > 200,
                               thumbnail.valid(at) && thumbnail.pixelColor(at).red() > 200}),
                 QVariantList({shown, blue, white.x() >= 0}));
    }

    // A damaged EXIF block costs the camera's thumbnail, nothing more; at is
    // where in the block the bytes go, -1 a segment of their own before it.
    // The block as the test photo has it: byte order at 0, 42 at 2, the
    // orientation's value at 18 with its padding at 20, the next directory's
    // offset at 34, the second directory's entry count at 38, the thumbnail's
    // length at 60.
    void damagedExifCostsTheThumbnail_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("used");
        QTest::newRow("after a comment") << -1 << QByteArray("\xff\xfe\0\4ab", 6) << true;
        QTest::newRow("a short orientation beside other bytes") << 20 << QByteArray("\1", 1) << true;
        QTest::newRow("not a TIFF block") << 2 << QByteArray("\x2b", 1) << false;
        QTest::newRow("second directory past the block") << 35 << QByteArray("\xff", 1) << false;
        QTest::newRow("thumbnail length beyond its directory") << 38 << QByteArray("\1", 1) << false;
        QTest::newRow("thumbnail past the block") << 62 << QByteArray("\1", 1) << false;
    }

    void damagedExifCostsTheThumbnail()
    {
        QFETCH(int, at);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, used);
        const QString path = writeCameraPhoto(m_dir.filePath(QStringLiteral("exif.jpg")), QSize(160, 120), 6);
        QByteArray file = readFile(path);
        writeFile(path, at < 0 ? file.insert(2, bytes) : file.replace(12 + at, bytes.size(), bytes));
        QCOMPARE(ImageFile(path).embeddedThumbnail().size(), used ? QSize(120, 160) : QSize(0, 0));
    }

    void thumbnailsInOrderAndBrowsable()
    {
        QTemporaryDir dir;
        writeImage(dir.filePath(QStringLiteral("b.png")), QSize(400, 200));
        writeImage(dir.filePath(QStringLiteral("A.png")), QSize(50, 100));
        writeImage(dir.filePath(QStringLiteral("c-a-very-long-file-name-of-a-photograph-taken-at-the-lab.jpg")),
                   QSize(300, 900), Qt::red, "JPG");
        writeFile(dir.filePath(QStringLiteral("d.png")), "no picture");
        writeFile(dir.filePath(QStringLiteral("skipped.txt")), readFile(dir.filePath(QStringLiteral("b.png"))));
        ThumbnailView view;
        view.resize(600, 200);
        view.show();
        QSignalSpy selected(&view, &ThumbnailView::fileSelected);
        view.loadThumbnails(listing(dir.path()));
        QVERIFY(QTest::qWaitFor([&view] { return view.count() == 4; }, 10000));
        QCOMPARE(view.itemAt(0)->fileName(), dir.filePath(QStringLiteral("A.png")));
        // Small pictures are enlarged; a JPEG is decoded at the size shown.
        QCOMPARE(QList<QSize>({view.itemAt(0)->image().size(), view.itemAt(2)->image().size()}),
                 QList<QSize>({QSize(50, 100), QSize(33, 100)}));
        const QGraphicsItem *name = view.itemAt(1)->childItems().at(0);
        QCOMPARE(QVariantList({view.itemAt(1)->boundingRect(), view.itemAt(1)->imageRect(), view.itemAt(1)->toolTip(),
                               view.itemAt(1)->labelText(), qRound(name->mapRectToParent(name->boundingRect()).center().x())}),
                 QVariantList({QRectF(0, 0, 112, 112), QRect(6, 31, 100, 50), "b.png", "b.png", 56}));
        // Long names end in dots within the frame; an unreadable file gets an empty frame.
        const QString label = view.itemAt(2)->labelText();
        QVERIFY(label.endsWith(QLatin1String("...")) && view.itemAt(2)->toolTip().startsWith(label.chopped(3)));
        QVERIFY(QFontMetricsF(view.itemAt(2)->font()).horizontalAdvance(label) <= view.itemAt(2)->boundingRect().width());
        QVERIFY(view.itemAt(3)->image().isNull() && view.itemAt(3)->boundingRect() == QRectF(0, 0, 12, 12) && !selected.count());
        // Nothing current yet; the thumbnail kept in the cache (side 1: the normal size).
        QVERIFY(view.currentIndex() < 0 && QFile::exists(ThumbnailCache::fileName(view.itemAt(1)->fileName(), 1)));
        // A row of thumbnails in a wide strip, a column in a tall one; each shows its picture.
        // The strip's view fills it, edge to edge.
        const QGraphicsView *graphics = view.findChild<QGraphicsView *>();
        QVERIFY(view.itemAt(2)->pos() == QPointF(250, 10) && graphics->geometry() == view.rect());
        const QImage strip = graphics->viewport()->grab().toImage();
        const QPointF middle = graphics->mapFromScene(view.itemAt(2)->mapToScene(QRectF(view.itemAt(2)->imageRect()).center()));
        const QRgb shown = strip.pixel((middle * strip.devicePixelRatioF()).toPoint());
        QVERIFY2(qRed(shown) > 200 && qGreen(shown) < 80, qPrintable(QColor(shown).name()));
        const QPointF frame = graphics->mapFromScene(view.itemAt(2)->mapToScene(QPointF(3, 56))) * strip.devicePixelRatioF();
        QCOMPARE(QColor(strip.pixel(frame.toPoint())), QColor(Qt::gray));
        view.resize(200, 600);
        QCOMPARE(view.itemAt(2)->pos(), QPointF(10, 290));

        view.selectPrevious();
        QCOMPARE(selected.count(), 0);
        for (int i = 0; i < 5; ++i)
            view.selectNext();
        QCOMPARE(view.currentIndex(), 3);
        view.selectPrevious();
        QVERIFY(view.currentIndex() == 2 && view.itemAt(2)->isSelected() && !view.itemAt(3)->isSelected());
        QCOMPARE(QVariantList({selected.count(), selected.first().at(0)}),
                 QVariantList({5, dir.filePath(QStringLiteral("A.png"))}));
        // At 200 % twice the cell, drawn at its size.
        ThumbnailLoader loader;
        loader.setPixelRatio(2);
        QList<QImage> large;
        connect(&loader, &ThumbnailLoader::thumbnailLoaded, this, [&large](int, QString, QImage i) { large << i; });
        loader.loadThumbnails(listing(dir.path()));
        QVERIFY(QTest::qWaitFor([&large] { return large.size() == 4; }, 10000));
        QCOMPARE(QVariantList({large.at(1).size(), large.at(1).devicePixelRatio()}), QVariantList({QSize(200, 100), 2.0}));
    }

    void outdatedThumbnailsNeverArrive()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        for (int i = 0; i < 40; ++i)
            writeImage(first.filePath(QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0'))), QSize(1600, 1200));
        writeImage(second.filePath(QStringLiteral("a.png")), QSize(30, 30));
        ThumbnailView view;
        for (bool clear : {false, true}) {
            view.loadThumbnails(listing(first.path()));
            QVERIFY(QTest::qWaitFor([&view] { return view.count() >= 1; }, 10000));
            clear ? view.clear() : view.loadThumbnails(listing(second.path()));
            QVERIFY(QTest::qWaitFor([&] { return view.count() == (clear ? 0 : 1); }, 10000));
            QTest::qWait(300);
            // An empty strip has nothing to scroll to.
            const bool unscrolled = view.findChild<QGraphicsView *>()->sceneRect().size() == QSizeF(1, 1);
            QCOMPARE(QVector<int>({view.count(), view.currentIndex(), unscrolled}), QVector<int>({clear ? 0 : 1, -1, clear}));
        }
        // Closing in the middle of a pass ends it at once.
        ThumbnailView closing;
        closing.loadThumbnails(listing(first.path()));
        QVERIFY(QTest::qWaitFor([&closing] { return closing.count() >= 1; }, 10000));
    }

private:
    QTemporaryDir m_dir;
};

MENSOR_GUITEST_MAIN(ImageTest)
#include "imagetest.moc"
