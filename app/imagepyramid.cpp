#include "imagepyramid.h"

#include <QPainter>
#include <QtConcurrent>

#include <cmath>

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
    m_image = inFastFormat(image);
    m_levels.clear();
    m_build = Build::NotStarted;
    ++m_generation;
}

const QImage &ImagePyramid::image() const
{
    return m_image;
}

bool ImagePyramid::isNull() const
{
    return m_image.isNull();
}

QVector<QImage> ImagePyramid::downsampledLevels(const QImage &image)
{
    QVector<QImage> levels;
    QImage current = image;
    while (qMax(current.width(), current.height()) / 2 >= smallestLevelSide) {
        current = current.scaled(qMax(1, current.width() / 2), qMax(1, current.height() / 2), Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
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

void ImagePyramid::draw(QPainter *painter, const QRectF &exposed) const
{
    if (m_image.isNull())
        return;
    const QRectF imageRect(0, 0, m_image.width(), m_image.height());
    const QRectF target = exposed.intersected(imageRect);
    if (target.isEmpty())
        return;
    const double scale = std::sqrt(qAbs(painter->transform().determinant()));
    const bool filtered = scale < 1.0 && hasLevels();
    const QImage &source = level(filtered ? levelForScale(scale) : 0);
    const double fx = source.width() / imageRect.width();
    const double fy = source.height() / imageRect.height();
    const QRectF sourceRect(target.x() * fx, target.y() * fy, target.width() * fx, target.height() * fy);
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, filtered);
    painter->drawImage(target, source, sourceRect);
    painter->restore();
}

} // namespace vireo
