// Thumbnails of a folder of 60 photos of 4000 × 3000 pixels: images per second
// for the loader, which lets the decoder scale, against a full decode scaled
// afterwards; and the time from the request to the first thumbnail on screen.
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
    return 0;
}
