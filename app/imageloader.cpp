#include "imageloader.h"

#include "imagefile.h"
#include "jpegdecoder.h"

#include <QCoreApplication>
#include <QFile>
#include <QTransform>

namespace vireo {

// The file is mapped, not read: its pages are shared with the file cache
// and go when both decodes are done.
struct ImageLoader::Job {
    Job(const QString &path, const QSize &size, QImageIOHandler::Transformations transformation, int generation)
        : path(path)
        , file(path)
        , size(size)
        , transformation(transformation)
        , generation(generation)
    {
        if (!file.open(QIODevice::ReadOnly) || file.size() > std::numeric_limits<int>::max())
            return;
        if (const uchar *mapped = file.map(0, file.size()))
            data = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), int(file.size()));
    }

    bool isJpeg() const { return data.startsWith("\xff\xd8"); }

    const QString path;
    QFile file;
    QByteArray data;
    const QSize size;
    const QImageIOHandler::Transformations transformation;
    const int generation;
};

ImageLoader::ImageLoader(QObject *parent)
    : QObject(parent)
    , m_generation(std::make_shared<std::atomic<int>>(0))
{
    m_pool.setMaxThreadCount(qMax(2, QThread::idealThreadCount()));
}

ImageLoader::~ImageLoader()
{
    ++*m_generation;
    m_pool.waitForDone();
}

void ImageLoader::load(const QString &path, const QSize &size, QImageIOHandler::Transformations transformation)
{
    const auto job = std::make_shared<Job>(path, size, transformation, ++*m_generation);
    m_loading = true;
    if (job->isJpeg())
        m_pool.start([this, job] { decodePreview(job); });
    m_pool.start([this, job] { decodeImage(job); });
}

void ImageLoader::cancel()
{
    ++*m_generation;
    m_loading = false;
}

bool ImageLoader::isLoading() const
{
    return m_loading;
}

// Posted to the loader's thread, where a newer load may have started since.
void ImageLoader::deliver(int generation, const std::function<void()> &emitter)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation, emitter] {
            if (generation == *m_generation)
                emitter();
        },
        Qt::QueuedConnection);
}

void ImageLoader::decodePreview(const std::shared_ptr<Job> &job)
{
    if (job->generation != *m_generation)
        return;
    const QSize stored = job->transformation & QImageIOHandler::TransformationRotate90 ? job->size.transposed() : job->size;
    QImage preview;
    const QByteArray embedded = JpegDecoder::embeddedPreview(job->data, stored.width() / 8);
    if (!embedded.isEmpty()) {
        // Only a preview of the whole photo, not of a crop of it.
        preview = JpegDecoder(embedded).decode();
        if (qAbs(qint64(preview.width()) * stored.height() - qint64(preview.height()) * stored.width()) > stored.width())
            preview = QImage();
    }
    if (preview.isNull())
        preview = JpegDecoder(job->data).decode(8);
    if (preview.isNull())
        return;
    preview = upright(preview, job->transformation);
    deliver(job->generation, [this, preview] { emit previewReady(preview); });
}

void ImageLoader::decodeImage(const std::shared_ptr<Job> &job)
{
    if (job->generation != *m_generation)
        return;
    QImage image;
    if (job->isJpeg())
        image = upright(JpegDecoder(job->data).decode(), job->transformation);
    // What libjpeg-turbo cannot convert (CMYK photos) the toolkit's reader can.
    ImageFile file(job->path);
    if (image.isNull())
        image = file.read();
    if (image.size() != job->size)
        image = QImage();
    const QString error = file.errorString().isEmpty()
        ? QCoreApplication::translate("vireo::ImageFile", QT_TRANSLATE_NOOP("vireo::ImageFile", "The image cannot be decoded."))
        : file.errorString();
    deliver(job->generation, [this, image, error] {
        m_loading = false;
        if (image.isNull())
            emit failed(error);
        else
            emit imageReady(image);
    });
}

// Turned as the toolkit's reader turns an image upright.
QImage ImageLoader::upright(const QImage &image, QImageIOHandler::Transformations transformation)
{
    if (image.isNull() || transformation == QImageIOHandler::TransformationNone)
        return image;
    if (transformation == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    QImage turned = image.mirrored(transformation & QImageIOHandler::TransformationMirror,
                                   transformation & QImageIOHandler::TransformationFlip);
    if (transformation & QImageIOHandler::TransformationRotate90)
        turned = turned.transformed(QTransform().rotate(90));
    return turned;
}

} // namespace vireo
