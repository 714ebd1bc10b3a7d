#include "imageloader.h"

#include "imagefile.h"
#include "imagepyramid.h"
#include "jpegdecoder.h"

#include <QCoreApplication>
#include <QFile>
#include <QTransform>

#include <deque>
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
        mapped = file.map(0, file.size());
        if (mapped)
            data = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), int(file.size()));
    }

    bool isJpeg() const { return data.startsWith("\xff\xd8"); }

    // The file's pages count as the process's memory while mapped: the last
    // decoder to finish reading lets them go.
    void doneReading()
    {
        if (--readers == 0 && mapped) {
            data.clear();
            file.unmap(mapped);
        }
    }
    std::atomic<int> readers{2};

    // Memory the decoder and the copies will write, for populateAhead():
    // begin and end of each stretch, in the order it is needed.
    std::mutex aheadMutex;
    std::deque<std::pair<uchar *, uchar *>> ahead;

    const QString path;
    QFile file;
    uchar *mapped = nullptr;
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
    else
        job->readers = 1;
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
    job->doneReading();
    if (preview.isNull())
        return;
    preview = upright(preview, job->transformation);
    deliver(job->generation, [this, preview] { emit previewReady(preview); });
    populateAhead(job.get());
}

// In chunks: the call holds the process's memory map, which the GUI thread
// may need meanwhile.
bool ImageLoader::populate(uchar *begin, uchar *end)
{
#ifdef Q_OS_LINUX
    const quintptr page = 4096;
    const qint64 chunk = qint64(1) << 20;
    for (uchar *at = begin; at < end; at += chunk) {
        const quintptr first = (quintptr(at) + page - 1) & ~(page - 1);
        const quintptr last = quintptr(qMin(end, at + chunk)) & ~(page - 1);
        // Kernels before 5.14 do not know the advice: then the writers fault alone.
        if (last > first && ::madvise(reinterpret_cast<void *>(first), last - first, populateWrite) != 0)
            return false;
    }
    return true;
#else
    Q_UNUSED(begin)
    Q_UNUSED(end)
    return false;
#endif
}

// A fresh image's pages cost the decoder a fault each, about as much as the
// decoding itself. Mapped ahead of it (contents untouched) they cost a third
// of that: the decoder's thread maps the top before it starts, the preview's
// thread the rest and then the copies' memory once the preview is out.
void ImageLoader::populateAhead(Job *job)
{
    const qint64 chunk = qint64(16) << 20;
    for (;;) {
        const std::lock_guard<std::mutex> lock(job->aheadMutex);
        if (job->ahead.empty())
            return;
        auto &stretch = job->ahead.front();
        uchar *end = stretch.first + qMin(chunk, qint64(stretch.second - stretch.first));
        if (!populate(stretch.first, end))
            return;
        stretch.first = end;
        if (stretch.first == stretch.second)
            job->ahead.pop_front();
    }
}

void ImageLoader::decodeImage(const std::shared_ptr<Job> &job)
{
    yieldToGuiThread();
    if (job->generation != *m_generation)
        return;
    QImage image;
    QVector<QImage> levelMemory;
    if (job->isJpeg()) {
        image = JpegDecoder(job->data).decode(1, [&job, &levelMemory](uchar *buffer, qint64 bytes) {
            uchar *top = buffer + bytes / 2;
            const std::lock_guard<std::mutex> lock(job->aheadMutex);
            job->ahead.emplace_back(top, buffer + bytes);
            for (const QSize &size : ImagePyramid::levelSizes(job->size)) {
                levelMemory.append(QImage(size, QImage::Format_RGB32));
                uchar *bits = levelMemory.last().bits();
                job->ahead.emplace_back(bits, bits + levelMemory.last().sizeInBytes());
            }
            populate(buffer, top);
        });
        const std::lock_guard<std::mutex> lock(job->aheadMutex);
        job->ahead.clear();
    }
    job->doneReading();
    image = upright(image, job->transformation);
    // What libjpeg-turbo cannot convert (CMYK photos) the toolkit's reader can.
    ImageFile file(job->path);
    if (image.isNull())
        image = file.read();
    if (image.size() != job->size)
        image = QImage();
    if (image.isNull()) {
        const char *undecodable = QT_TRANSLATE_NOOP("vireo::ImageFile", "The image cannot be decoded.");
        const QString error = file.errorString().isEmpty() ? QCoreApplication::translate("vireo::ImageFile", undecodable)
                                                           : file.errorString();
        deliver(job->generation, [this, error] {
            m_loading = false;
            emit failed(error);
        });
        return;
    }
    deliver(job->generation, [this, image] { emit imageReady(image); });
    if (job->generation != *m_generation)
        return;
    const QVector<QImage> levels = ImagePyramid::downsampledLevels(image, std::move(levelMemory));
    deliver(job->generation, [this, levels] {
        m_loading = false;
        emit levelsReady(levels);
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
