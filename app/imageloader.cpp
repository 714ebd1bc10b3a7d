#include "imageloader.h"

#include "imagefile.h"
#include "jpegdecoder.h"

#include <QCoreApplication>
#include <QFile>
#include <QTransform>

#include <mutex>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace vireo {

namespace {

#ifdef Q_OS_LINUX
#ifdef MADV_POPULATE_WRITE
const int populateWrite = MADV_POPULATE_WRITE;
#else
const int populateWrite = 23;
#endif
#endif

// The decoders keep both cores busy; the GUI thread is served first when
// it has something to do, so the window stays responsive.
void yieldToGuiThread()
{
#ifdef Q_OS_LINUX
    thread_local bool lowered = false;
    if (lowered)
        return;
    lowered = true;
    const auto thread = id_t(::syscall(SYS_gettid));
    ::setpriority(PRIO_PROCESS, thread, ::getpriority(PRIO_PROCESS, thread) + 5);
#endif
}
} // namespace

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

    // The whole image's memory while it is being decoded, for populateAhead().
    std::mutex bufferMutex;
    uchar *buffer = nullptr;
    qint64 bufferBytes = 0;

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
    yieldToGuiThread();
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
    populateAhead(job.get());
}

// A fresh image's pages cost the decoder a fault each, about as much as the
// decoding itself. Mapped ahead of the decoder (without touching their
// contents) they cost a third of that: the decoder's thread maps the first
// half before it starts, the preview's thread the second half once the
// preview is out, while the decoder works on the first. In chunks: the call
// holds the process's memory map, which the GUI thread may need meanwhile.
bool ImageLoader::populate(uchar *buffer, qint64 from, qint64 to)
{
#ifdef Q_OS_LINUX
    const qint64 page = 4096;
    const qint64 chunk = qint64(1) << 20;
    for (qint64 at = from; at < to; at += chunk) {
        const auto start = (quintptr(buffer + at) + page - 1) & ~quintptr(page - 1);
        const auto end = quintptr(buffer + qMin(to, at + chunk)) & ~quintptr(page - 1);
        // Kernels before 5.14 do not know the advice: then the decoder faults alone.
        if (end > start && ::madvise(reinterpret_cast<void *>(start), end - start, populateWrite) != 0)
            return false;
    }
    return true;
#else
    Q_UNUSED(buffer)
    Q_UNUSED(from)
    Q_UNUSED(to)
    return false;
#endif
}

void ImageLoader::populateAhead(Job *job)
{
    const qint64 chunk = qint64(16) << 20;
    for (qint64 done = 0;; done += chunk) {
        const std::lock_guard<std::mutex> lock(job->bufferMutex);
        const qint64 at = job->bufferBytes / 2 + done;
        if (!job->buffer || at >= job->bufferBytes || !populate(job->buffer, at, qMin(job->bufferBytes, at + chunk)))
            return;
    }
}

void ImageLoader::decodeImage(const std::shared_ptr<Job> &job)
{
    yieldToGuiThread();
    if (job->generation != *m_generation)
        return;
    QImage image;
    if (job->isJpeg()) {
        // Three bytes a pixel: a quarter less memory to write and to fault in.
        image = JpegDecoder(job->data).decode(1, QImage::Format_RGB888, [&job](uchar *buffer, qint64 bytes) {
            {
                const std::lock_guard<std::mutex> lock(job->bufferMutex);
                job->buffer = buffer;
                job->bufferBytes = bytes;
            }
            populate(buffer, 0, bytes / 2);
        });
        const std::lock_guard<std::mutex> lock(job->bufferMutex);
        job->buffer = nullptr;
    }
    image = upright(image, job->transformation);
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
