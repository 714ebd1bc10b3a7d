#include "thumbnailloader.h"

#include "imagefile.h"

namespace vireo {

ThumbnailLoader::ThumbnailLoader(QObject *parent)
    : WorkerThread(parent)
    , m_dir(QString())
{
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
    unlock();
    if (!hasListing)
        return;
    const QFileInfoList entries = dir.entryInfoList();
    emit aboutToLoadThumbnails(request);
    for (const QFileInfo &entry : entries) {
        if (mustStop())
            return;
        const QImage image = ImageFile(entry.absoluteFilePath()).readThumbnail(thumbnailSize, [this] { return mustStop(); });
        if (mustStop())
            return;
        emit thumbnailLoaded(request, entry.absoluteFilePath(), image);
    }
}

} // namespace vireo
