#ifndef VIREO_THUMBNAILLOADER_H
#define VIREO_THUMBNAILLOADER_H

#include "workerthread.h"

#include <QDir>
#include <QImage>

namespace vireo {

// Lists a folder and loads every image scaled to fit 100 × 100 on the worker
// thread. Each request has a number, carried by the signals, so a receiver
// can drop what an outdated pass still delivers.
class ThumbnailLoader : public WorkerThread
{
    Q_OBJECT

public:
    static const int thumbnailSize = 100;

    explicit ThumbnailLoader(QObject *parent = nullptr);
    ~ThumbnailLoader() override;

    // Scaled while decoding where the format allows it (JPEG decodes at 1/2,
    // 1/4 or 1/8 size); a null image for a file that cannot be read.
    static QImage loadThumbnail(const QString &fileName);

    // The number of the latest request.
    int request();
    // Thumbnails sharp at the screen's pixel ratio.
    void setPixelRatio(double ratio);

public slots:
    int loadThumbnails(const QDir &dir);
    // Stops the running pass before its next image.
    int cancel();

signals:
    void aboutToLoadThumbnails(int request);
    void thumbnailLoaded(int request, const QString &fileName, const QImage &image);

protected:
    void doWork() override;

private:
    int storeRequest(const QDir &dir, bool hasListing);

    QDir m_dir;
    bool m_hasListing = false;
    int m_request = 0;
    int m_side = thumbnailSize;
};

} // namespace vireo

#endif
