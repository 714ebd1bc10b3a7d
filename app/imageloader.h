#ifndef VIREO_IMAGELOADER_H
#define VIREO_IMAGELOADER_H

#include <QImage>
#include <QImageIOHandler>
#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace vireo {

class JpegDecoder;

// Opens large images off the GUI thread. A JPEG gives a preview first (the
// one the camera embedded, or a decode at 1/8 of the size) while the whole
// image is decoded beside it on another core; other formats give the whole
// image only. Its downsampled copies follow. Results come as signals on the
// loader's thread, upright, and only for the latest load.
class ImageLoader : public QObject
{
    Q_OBJECT

public:
    // Smaller images decode in a few tens of milliseconds: opened at once.
    static const qint64 backgroundPixels = qint64(1) << 22;

    explicit ImageLoader(QObject *parent = nullptr);
    // Waits for decodes under way; their results are dropped.
    ~ImageLoader() override;

    // size is the upright size; transformation turns the stored image upright.
    void load(const QString &path, const QSize &size, QImageIOHandler::Transformations transformation);
    void cancel();
    bool isLoading() const;

    static QImage upright(const QImage &image, QImageIOHandler::Transformations transformation);

signals:
    void previewReady(const QImage &preview);
    void imageReady(const QImage &image);
    // The image's downsampled copies, made after it.
    void levelsReady(const QVector<QImage> &levels);
    void failed(const QString &reason);

private:
    struct Job;
    void decodePreview(const std::shared_ptr<Job> &job);
    void decodeImage(const std::shared_ptr<Job> &job);
    static QImage decodeWhole(JpegDecoder &decoder, Job *job);
    void halveBehindDecoder(Job *job);
    static QImage borrowLevelMemory(Job *job, const QSize &size);
    static QImage decodeUpright(JpegDecoder &decoder, int denominator, Job *job);
    void awaitRelease(const QImage &memory, int generation) const;
    void deliver(int generation, const std::function<void()> &emitter);

    QThreadPool m_pool;
    std::shared_ptr<std::atomic<int>> m_generation;
    bool m_loading = false;
};

} // namespace vireo

#endif
