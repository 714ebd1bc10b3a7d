#include "imageloader.h"

#include "imagefile.h"
#include "imagepyramid.h"
#include "jpegdecoder.h"
#include "memoryahead.h"
#include "progressivehalving.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>
#include <QThread>
#include <QTransform>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <utility>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace vireo {

namespace {

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

struct ImageLoader::Job {
    Job(const QString &path, const QSize &size, QImageIOHandler::Transformations transformation, int generation)
        : path(path)
        , size(size)
        , transformation(transformation)
        , generation(generation)
    {
        QFile file(path);
        isJpeg = file.open(QIODevice::ReadOnly) && file.read(2) == "\xff\xd8";
        // Not written yet, so not yet in the process's memory.
        for (const QSize &levelSize : ImagePyramid::levelSizes(size))
            levelMemory.append(QImage(levelSize, QImage::Format_RGB32));
    }

    // Memory the decoder and the copies will write. The decoder's thread maps
    // what it is about to write when nobody has; the preview's thread, once
    // the preview is out, runs ahead of it and then maps the copies' memory.
    MemoryAhead ahead;

    // The copies' memory; the preview may borrow a level's until the
    // decoder takes them.
    std::mutex memoryMutex;
    QVector<QImage> levelMemory;
    bool levelMemoryTaken = false;

    // The first copy, halved by the preview's thread behind the decoder.
    std::mutex rowsMutex;
    std::condition_variable rowsWritten;
    const QImage *decoding = nullptr;
    bool decodeEnded = false;
    std::atomic<int> writtenRows{0};
    std::atomic<int> awaitedRows{INT_MAX};
    std::shared_ptr<ProgressiveHalving> halving;

    const QString path;
    const QSize size;
    const QImageIOHandler::Transformations transformation;
    const int generation;
    bool isJpeg = false;
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
    if (job->isJpeg)
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
    const QByteArray embedded = JpegDecoder::embeddedPreview(job->path, stored.width() / 8);
    if (!embedded.isEmpty()) {
        JpegDecoder decoder(embedded);
        const QSize size = decoder.size();
        // Only a preview of the whole photo, not of a crop of it.
        if (qAbs(qint64(size.width()) * stored.height() - qint64(size.height()) * stored.width()) <= stored.width())
            preview = decodeUpright(decoder, 1, job.get());
    }
    if (preview.isNull()) {
        JpegDecoder decoder(job->path);
        preview = decodeUpright(decoder, 8, job.get());
    }
    if (preview.isNull())
        return;
    deliver(job->generation, [this, preview] { emit previewReady(preview); });
    job->ahead.map();
    halveBehindDecoder(job.get());
}

// Most of the copies' work is the first copy; it is halved from the rows
// the decoder has written, unless the preview lives in its memory.
void ImageLoader::halveBehindDecoder(Job *job)
{
    std::unique_lock<std::mutex> lock(job->rowsMutex);
    if (!job->decoding || job->transformation != QImageIOHandler::TransformationNone)
        return;
    {
        const std::lock_guard<std::mutex> memoryLock(job->memoryMutex);
        if (job->levelMemoryTaken || job->levelMemory.isEmpty() || !job->levelMemory.at(0).isDetached())
            return;
        job->halving = std::make_shared<ProgressiveHalving>(*job->decoding, job->levelMemory[0]);
    }
    const auto halving = job->halving;
    while (!job->decodeEnded && job->generation == *m_generation) {
        job->awaitedRows = halving->rowsNeeded();
        job->rowsWritten.wait(lock, [job] { return job->writtenRows >= job->awaitedRows || job->decodeEnded; });
        const int rows = job->decodeEnded ? INT_MAX : int(job->writtenRows);
        lock.unlock();
        halving->work(rows);
        lock.lock();
    }
}

// Kept in the memory of the smallest copy that holds it, the preview costs
// no memory of its own: that copy is written once the window has let the
// preview go, when the whole image has come. Null when no copy can lend.
QImage ImageLoader::borrowLevelMemory(Job *job, const QSize &size)
{
    const std::lock_guard<std::mutex> lock(job->memoryMutex);
    const qint64 bytes = qint64(size.width()) * 4 * size.height();
    for (int level = job->levelMemory.size() - 1; level >= 0 && !job->levelMemoryTaken && bytes > 0; --level) {
        QImage &memory = job->levelMemory[level];
        if (memory.sizeInBytes() >= bytes && memory.isDetached()) {
            // Taken before the memory is shared: bits() on shared memory would copy it.
            uchar *bits = memory.bits();
            return QImage(
                bits, size.width(), size.height(), size.width() * 4, QImage::Format_RGB32,
                [](void *owner) { delete static_cast<QImage *>(owner); }, new QImage(memory));
        }
    }
    return QImage();
}

// Decoded in place when it need not be turned.
QImage ImageLoader::decodeUpright(JpegDecoder &decoder, int denominator, Job *job)
{
    QImage borrowed;
    if (job->transformation == QImageIOHandler::TransformationNone)
        borrowed = borrowLevelMemory(job, decoder.scaledSize(denominator));
    if (!borrowed.isNull())
        return decoder.decodeInto(denominator, borrowed) ? borrowed : QImage();
    const QImage preview = upright(decoder.decode(denominator), job->transformation);
    borrowed = borrowLevelMemory(job, preview.size());
    if (borrowed.isNull() || preview.format() != QImage::Format_RGB32)
        return preview;
    for (int y = 0; y < preview.height(); ++y)
        std::memcpy(borrowed.scanLine(y), preview.constScanLine(y), size_t(borrowed.bytesPerLine()));
    return borrowed;
}

// The window lets the preview go as soon as the whole image arrives; should
// it hold on, the copy gets memory of its own.
void ImageLoader::awaitRelease(const QImage &memory, int generation) const
{
    for (int wait = 0; wait < 100 && !memory.isDetached() && generation == *m_generation; ++wait)
        QThread::msleep(1);
}

void ImageLoader::decodeImage(const std::shared_ptr<Job> &job)
{
    yieldToGuiThread();
    if (job->generation != *m_generation)
        return;
    QImage image;
    if (job->isJpeg) {
        JpegDecoder decoder(job->path);
        image = decodeWhole(decoder, job.get());
    }
    // The halving reads the decoded memory until it is finished or abandoned.
    const QImage decoded = image;
    const std::shared_ptr<ProgressiveHalving> halving = decoded.isNull() ? nullptr : job->halving;
    const auto stopHalving = qScopeGuard([&halving] {
        if (halving)
            halving->abandon();
    });
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
    QVector<QImage> levelMemory;
    {
        const std::lock_guard<std::mutex> lock(job->memoryMutex);
        job->levelMemoryTaken = true;
        levelMemory = std::move(job->levelMemory);
    }
    if (halving)
        halving->finish();
    const QVector<QImage> levels = ImagePyramid::downsampledLevels(
        image, std::move(levelMemory), [this, &job](const QImage &memory) { awaitRelease(memory, job->generation); },
        halving ? 1 : 0);
    deliver(job->generation, [this, levels] {
        m_loading = false;
        emit levelsReady(levels);
    });
}

// Into memory of the loader's own, which the first copy's halving reads
// until the decoder's thread lets it go.
QImage ImageLoader::decodeWhole(JpegDecoder &decoder, Job *job)
{
    QImage image(decoder.scaledSize(1), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    uchar *rows = image.bits();
    job->ahead.setImage(rows, rows + image.sizeInBytes());
    {
        const std::lock_guard<std::mutex> memoryLock(job->memoryMutex);
        // Mapping ahead leaves the contents, the preview's included, as they are.
        for (const QImage &level : qAsConst(job->levelMemory)) {
            auto *bits = const_cast<uchar *>(level.constBits());
            job->ahead.append(bits, bits + level.sizeInBytes());
        }
    }
    {
        const std::lock_guard<std::mutex> lock(job->rowsMutex);
        job->decoding = &image;
    }
    const qint64 bytesPerRow = image.bytesPerLine();
    const auto nextRow = [job, rows, bytesPerRow](int row) {
        const qint64 margin = qint64(4) << 20;
        job->ahead.map(rows + row * bytesPerRow + margin);
        job->writtenRows = row;
        if (row >= job->awaitedRows) {
            const std::lock_guard<std::mutex> lock(job->rowsMutex);
            job->rowsWritten.notify_all();
        }
    };
    const bool decoded = decoder.decodeInto(1, image, nextRow);
    job->ahead.clear();
    const std::lock_guard<std::mutex> lock(job->rowsMutex);
    job->decodeEnded = true;
    job->decoding = nullptr;
    job->rowsWritten.notify_all();
    if (!decoded && job->halving)
        job->halving->abandon();
    return decoded ? image : QImage();
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
