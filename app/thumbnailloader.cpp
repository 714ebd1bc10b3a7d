#include "thumbnailloader.h"

#include "imagefile.h"
#include "thumbnailcache.h"

namespace vireo {

ThumbnailLoader::ThumbnailLoader(QObject *parent)
    : WorkerThread(parent)
    , m_dir(QString())
{
}

// Twice the cell on screens at 200 %: the cache's large size.
void ThumbnailLoader::setPixelRatio(double ratio)
{
    lock();
    m_side = ratio > 1.0 ? int(thumbnailSize * ratio) : thumbnailSize;
    unlock();
}

ThumbnailLoader::~ThumbnailLoader()
{
    abort();
    wait();
}

QImage ThumbnailLoader::loadThumbnail(const QString &fileName)
{
    return ImageFile(fileName).readThumbnail(thumbnailSize);
}

int ThumbnailLoader::request()
{
    lock();
    const int request = m_request;
    unlock();
    return request;
}

int ThumbnailLoader::storeRequest(const QDir &dir, bool hasListing)
{
    lock();
    m_dir = dir;
    m_hasListing = hasListing;
    const int request = ++m_request;
    unlock();
    return request;
}

int ThumbnailLoader::loadThumbnails(const QDir &dir)
{
    const int request = storeRequest(dir, true);
    startWork();
    return request;
}

int ThumbnailLoader::cancel()
{
    const int request = storeRequest(QDir(QString()), false);
    if (isRunning())
        restart();
    return request;
}

void ThumbnailLoader::doWork()
{
    lock();
    const QDir dir = m_dir;
    const bool hasListing = m_hasListing;
    const int request = m_request;
    const int side = m_side;
    unlock();
    if (!hasListing)
        return;
    const QFileInfoList entries = dir.entryInfoList();
    emit aboutToLoadThumbnails(request);
    for (const QFileInfo &entry : entries) {
        if (mustStop())
            return;
        std::function<void()> keep;
        QImage image = ThumbnailCache::thumbnail(entry.absoluteFilePath(), side, [this] { return mustStop(); }, &keep);
        image.setDevicePixelRatio(double(side) / thumbnailSize);
        if (!mustStop())
            emit thumbnailLoaded(request, entry.absoluteFilePath(), image);
        if (keep)
            keep();
    }
}

} // namespace vireo
