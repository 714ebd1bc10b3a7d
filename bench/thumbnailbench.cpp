// Thumbnails of a folder of 60 photos of 4000 × 3000 pixels: images per second
// for the loader, which lets the decoder scale, against a full decode scaled
// afterwards; and the time from the request to the first thumbnail on screen.
#include "thumbnailcache.h"
#include "thumbnailloader.h"
#include "thumbnailview.h"

#include "benchutils.h"
#include "photos.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

namespace {

const int photoCount = 60;

QStringList photos(const QString &folder)
{
    QStringList files;
    for (const QFileInfo &info : QDir(folder, QStringLiteral("*.jpg")).entryInfoList())
        files.append(info.absoluteFilePath());
    return files;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A cache of the benchmark's own, empty at the start.
    const QString cache = QDir::current().absoluteFilePath(QStringLiteral("benchdata/thumbnail-cache"));
    QDir(cache).removeRecursively();
    qputenv("XDG_CACHE_HOME", cache.toUtf8());
    QApplication app(argc, argv);
    const QString folder = photoFolder(QStringLiteral("thumbnails"), photoCount, QSize(4000, 3000));
    const QStringList files = photos(folder);

    QElapsedTimer timer;
    timer.start();
    for (const QString &file : files)
        vireo::ThumbnailLoader::loadThumbnail(file);
    const double loaderSeconds = timer.nsecsElapsed() / 1e9;

    timer.restart();
    for (const QString &file : files)
        static_cast<void>(QImage(file).scaled(vireo::ThumbnailLoader::thumbnailSize,
                                              vireo::ThumbnailLoader::thumbnailSize, Qt::KeepAspectRatio,
                                              Qt::FastTransformation));
    const double baselineSeconds = timer.nsecsElapsed() / 1e9;

    // Through the shared cache: the first visit decodes and keeps, the
    // second reads what it kept.
    timer.restart();
    for (const QString &file : files)
        vireo::ThumbnailCache::thumbnail(file, vireo::ThumbnailLoader::thumbnailSize);
    const double firstVisitSeconds = timer.nsecsElapsed() / 1e9;
    QVector<double> secondVisits;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        for (const QString &file : files)
            vireo::ThumbnailCache::thumbnail(file, vireo::ThumbnailLoader::thumbnailSize);
        secondVisits.append(timer.nsecsElapsed() / 1e9);
    }
    std::sort(secondVisits.begin(), secondVisits.end());

    // Photos whose cameras embedded a thumbnail, first visit with an empty cache.
    const QStringList cameraFiles = photos(cameraFolder(folder, QStringLiteral("thumbnails-camera")));
    QDir(cache).removeRecursively();
    timer.restart();
    for (const QString &file : cameraFiles)
        vireo::ThumbnailCache::thumbnail(file, vireo::ThumbnailLoader::thumbnailSize);
    const double cameraFirstVisitSeconds = timer.nsecsElapsed() / 1e9;

    // Five requests with the folder's thumbnails not kept yet, five with them kept.
    QVector<double> decodedFirst, cachedFirst;
    for (int run = 0; run < 10; ++run) {
        if (run < 5)
            QDir(cache).removeRecursively();
        vireo::ThumbnailView view;
        view.resize(800, 200);
        view.show();
        QCoreApplication::processEvents();
        QDir dir(folder);
        dir.setNameFilters({QStringLiteral("*.jpg")});
        dir.setFilter(QDir::Files | QDir::Readable);
        dir.setSorting(QDir::Name | QDir::IgnoreCase);
        QElapsedTimer first;
        first.start();
        view.loadThumbnails(dir);
        // Not QTest::qWaitFor: it sleeps 10 ms between its looks. The timer
        // wakes the loop to give up should no thumbnail come.
        QTimer wake;
        wake.start(100);
        while (view.count() < 1 && first.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        (run < 5 ? decodedFirst : cachedFirst).append(first.nsecsElapsed() / 1e6);
        // The rest of the folder kept before the next request.
        while (run == 4 && view.count() < photoCount && first.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QVector<double> djpegEighth;
    for (int run = 0; run < 5; ++run)
        djpegEighth.append(djpeg(files.first(), {QStringLiteral("-scale"), QStringLiteral("1/8")}));
    std::sort(djpegEighth.begin(), djpegEighth.end());
    std::sort(decodedFirst.begin(), decodedFirst.end());
    std::sort(cachedFirst.begin(), cachedFirst.end());

    std::printf("thumbnails: %d JPEG photos of 4000 x 3000 pixels\n", int(files.size()));
    printRow("loader (decoder scales while decoding)", files.size() / loaderSeconds, "images/s");
    printRow("baseline: full decode + QImage::scaled", files.size() / baselineSeconds, "images/s");
    printRow("speed-up", baselineSeconds / loaderSeconds, "x");
    printRow("request to first thumbnail, decoded, min of 5", decodedFirst.first(), "ms");
    printRow("request to first thumbnail, decoded, median of 5", decodedFirst.at(2), "ms");
    printRow("request to first thumbnail, kept, min of 5", cachedFirst.first(), "ms");
    printRow("request to first thumbnail, kept, median of 5", cachedFirst.at(2), "ms");
    printRow("djpeg -scale 1/8 of the first photo, min of 5", djpegEighth.first(), "ms");
    printRow("first visit through the cache (decode and keep)", firstVisitSeconds * 1e3, "ms");
    printRow("second visit from the cache, min of 5", secondVisits.first() * 1e3, "ms");
    printRow("second visit from the cache, median of 5", secondVisits.at(2) * 1e3, "ms");
    printRow("second visit against the scaled-decode pass", loaderSeconds / secondVisits.at(2), "x");
    printRow("first visit of camera photos with their own thumbnails", cameraFirstVisitSeconds * 1e3, "ms");
    printRow("that against the scaled-decode pass", loaderSeconds / cameraFirstVisitSeconds, "x");
    return 0;
}
