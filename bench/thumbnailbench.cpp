// Thumbnails of a folder of 60 photos of 4000 × 3000 pixels: images per second
// for the loader, which lets the decoder scale, against a full decode scaled
// afterwards; and the time from the request to the first thumbnail on screen.
#include "thumbnailcache.h"
#include "thumbnailloader.h"
#include "thumbnailview.h"

#include "benchutils.h"
#include "photos.h"

#include <QApplication>
#include <QtTest>

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

    QVector<double> firstTimes;
    for (int run = 0; run < 5; ++run) {
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
        static_cast<void>(QTest::qWaitFor([&] { return view.count() >= 1; }, 10000));
        firstTimes.append(first.nsecsElapsed() / 1e6);
    }
    std::sort(firstTimes.begin(), firstTimes.end());

    std::printf("thumbnails: %d JPEG photos of 4000 x 3000 pixels\n", int(files.size()));
    printRow("loader (decoder scales while decoding)", files.size() / loaderSeconds, "images/s");
    printRow("baseline: full decode + QImage::scaled", files.size() / baselineSeconds, "images/s");
    printRow("speed-up", baselineSeconds / loaderSeconds, "x");
    printRow("request to first thumbnail (median of 5)", firstTimes.at(firstTimes.size() / 2), "ms");
    printRow("first visit through the cache (decode and keep)", firstVisitSeconds * 1e3, "ms");
    printRow("second visit from the cache, min of 5", secondVisits.first() * 1e3, "ms");
    printRow("second visit from the cache, median of 5", secondVisits.at(2) * 1e3, "ms");
    printRow("second visit against the scaled-decode pass", loaderSeconds / secondVisits.at(2), "x");
    printRow("first visit of camera photos with their own thumbnails", cameraFirstVisitSeconds * 1e3, "ms");
    printRow("that against the scaled-decode pass", loaderSeconds / cameraFirstVisitSeconds, "x");
    return 0;
}
