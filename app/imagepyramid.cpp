#include "imagepyramid.h"

#include "progressivehalving.h"

#include <QPainter>
#include <QtConcurrent>

#include <cmath>
#include <memory>

namespace vireo {

namespace {
QImage inFastFormat(const QImage &image)
{
    if (image.isNull())
        return image;
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}
// Shared out in bands between this thread and one helper from the pool;
// whichever is free takes the next band, so the work ends even when the
// pool has no thread to spare.
QImage halved(const QImage &source, QImage target)
{
    const QSize size(qMax(1, source.width() / 2), qMax(1, source.height() / 2));
    if (target.size() != size || target.format() != source.format() || !target.isDetached())
        target = QImage(size, source.format());
    if (target.isNull() || source.width() < 2 || source.height() < 2)
        return source.scaled(target.size());
    // The helper may start after the work is done; then it finds no band left.
    const auto halving = std::make_shared<ProgressiveHalving>(source, target);
    QThreadPool::globalInstance()->start([halving] { halving->work(INT_MAX); });
    halving->finish();
    return target;
}

} // namespace

ImagePyramid::ImagePyramid(QObject *parent)
    : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &ImagePyramid::takeLevels);
}

ImagePyramid::~ImagePyramid()
{
    m_watcher.waitForFinished();
}

void ImagePyramid::setImage(const QImage &image)
{
    setPreview(QImage(), image.size());
    m_image = inFastFormat(image);
}

void ImagePyramid::setPreview(const QImage &preview, const QSize &size)
{
    m_image = QImage();
    m_preview = inFastFormat(preview);
    m_size = size;
    m_levels.clear();
    m_build = Build::NotStarted;
    ++m_generation;
}

void ImagePyramid::setFullImage(const QImage &image, bool levelsFollow)
{
    if (image.size() != m_size)
        return;
    m_image = inFastFormat(image);
    m_preview = QImage();
    m_build = levelsFollow ? Build::Awaited : Build::NotStarted;
    ++m_generation;
}

void ImagePyramid::setLevels(const QVector<QImage> &levels)
{
    if (m_build != Build::Awaited)
        return;
    m_levels = levels;
    m_build = Build::Done;
    emit levelsReady();
}

const QImage &ImagePyramid::preview() const
{
    return m_preview;
}

QSize ImagePyramid::size() const
{
    return m_size;
}

const QImage &ImagePyramid::image() const
{
    return m_image;
}

bool ImagePyramid::isNull() const
{
    return m_size.isEmpty();
}

QVector<QSize> ImagePyramid::levelSizes(const QSize &size)
{
    QVector<QSize> sizes;
    QSize current = size;
    while (qMax(current.width(), current.height()) / 2 >= smallestLevelSide) {
        current = QSize(qMax(1, current.width() / 2), qMax(1, current.height() / 2));
        sizes.append(current);
    }
    return sizes;
}

QVector<QImage> ImagePyramid::downsampledLevels(const QImage &image, QVector<QImage> memory,
                                                const std::function<void(const QImage &)> &beforeWriting, int built)
{
    QVector<QImage> levels;
    QImage current = inFastFormat(image);
    for (int level = 0; level < levelSizes(image.size()).size(); ++level) {
        if (level < built && level < memory.size()) {
            current = memory.at(level);
            levels.append(current);
            continue;
        }
        if (level < memory.size() && beforeWriting)
            beforeWriting(memory.at(level));
        current = halved(current, level < memory.size() ? std::move(memory[level]) : QImage());
        levels.append(current);
    }
    return levels;
}

void ImagePyramid::buildLevels()
{
    if (m_build != Build::NotStarted || m_image.isNull())
        return;
    m_build = Build::Running;
    m_buildGeneration = m_generation;
    const QImage image = m_image;
    m_watcher.setFuture(QtConcurrent::run([image] { return downsampledLevels(image); }));
}

void ImagePyramid::waitForLevels()
{
    m_watcher.waitForFinished();
    takeLevels();
}

void ImagePyramid::takeLevels()
{
    if (m_build != Build::Running || m_buildGeneration != m_generation || !m_watcher.future().isFinished())
        return;
    m_levels = m_watcher.future().result();
    m_build = Build::Done;
    emit levelsReady();
}

bool ImagePyramid::hasLevels() const
{
    return m_build == Build::Done;
}

int ImagePyramid::levelCount() const
{
    return 1 + m_levels.size();
}

const QImage &ImagePyramid::level(int index) const
{
    return index == 0 ? m_image : m_levels.at(index - 1);
}

qint64 ImagePyramid::levelBytes() const
{
    qint64 bytes = 0;
    for (const QImage &level : m_levels)
        bytes += level.sizeInBytes();
    return bytes;
}

int ImagePyramid::levelForScale(double scale) const
{
    int index = 0;
    while (index + 1 < levelCount() && std::ldexp(1.0, -(index + 1)) >= scale)
        ++index;
    return index;
}

// The image that suits a view scale: a downsampled copy below 100 %, the
// whole image at and above it, the preview while nothing better has come.
const QImage &ImagePyramid::drawnSource(double scale) const
{
    if (scale < 1.0 && hasLevels())
        return level(levelForScale(scale));
    const bool previewSuffices = !m_preview.isNull() && scale * m_size.width() <= m_preview.width();
    return m_image.isNull() || previewSuffices ? m_preview : m_image;
}

void ImagePyramid::draw(QPainter *painter, const QRectF &exposed) const
{
    const QRectF imageRect(QPointF(0, 0), QSizeF(m_size));
    const QRectF target = exposed.intersected(imageRect);
    if (target.isEmpty())
        return;
    const double scale = std::sqrt(qAbs(painter->transform().determinant()));
    const QImage &source = drawnSource(scale);
    if (source.isNull())
        return;
    const bool filtered = (scale < 1.0 && hasLevels()) || &source == &m_preview;
    const double fx = source.width() / imageRect.width();
    const double fy = source.height() / imageRect.height();
    const QRectF sourceRect(target.x() * fx, target.y() * fy, target.width() * fx, target.height() * fy);
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, filtered);
    painter->drawImage(target, source, sourceRect);
    painter->restore();
}

} // namespace vireo
