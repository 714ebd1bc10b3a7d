#include "imagefile.h"

#include <qtcompat.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>

namespace vireo {

namespace {

class InterruptibleFile : public QFile
{
public:
    InterruptibleFile(const QString &path, const std::function<bool()> &interrupted)
        : QFile(path)
        , m_interrupted(interrupted)
    {
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_interrupted && m_interrupted())
            return -1;
        return QFile::readData(data, maxSize);
    }

private:
    std::function<bool()> m_interrupted;
};

QString translate(const char *text)
{
    return QCoreApplication::translate("vireo::ImageFile", text);
}

} // namespace

ImageFile::ImageFile(const QString &path)
    : m_path(path)
{
}

QString ImageFile::errorString() const
{
    return m_error;
}

bool ImageFile::isRegularFile(const QString &path)
{
    // QFileInfo follows links; isFile() is false for pipes, sockets and devices.
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool ImageFile::isPlausibleSize(const QSize &claimed, qint64 fileBytes)
{
    if (!claimed.isValid())
        return true;
    const qint64 pixels = qint64(claimed.width()) * claimed.height();
    return pixels <= maxPixels && pixels <= freePixels + fileBytes * maxPixelsPerByte;
}

bool ImageFile::mayRead(QSize *claimed)
{
    m_error.clear();
    kit::setImageAllocationLimit(int((maxPixels * 4) >> 20) + 1);
    const QFileInfo info(m_path);
    if (!info.exists()) {
        m_error = translate(QT_TRANSLATE_NOOP("vireo::ImageFile", "The file does not exist."));
        return false;
    }
    if (!isRegularFile(m_path)) {
        m_error = translate(QT_TRANSLATE_NOOP("vireo::ImageFile", "It is not a regular file but a folder, a pipe or a device."));
        return false;
    }
    if (!info.isReadable()) {
        m_error = translate(QT_TRANSLATE_NOOP("vireo::ImageFile", "The file may not be read."));
        return false;
    }
    QImageReader reader(m_path);
    *claimed = reader.size();
    if (isPlausibleSize(*claimed, info.size()))
        return true;
    const qint64 pixels = qint64(claimed->width()) * claimed->height();
    m_error = pixels > maxPixels
        ? translate(QT_TRANSLATE_NOOP("vireo::ImageFile", "The image has %1 × %2 pixels; at most %3 million pixels can be opened."))
              .arg(claimed->width())
              .arg(claimed->height())
              .arg(maxPixels / 1000000)
        : translate(QT_TRANSLATE_NOOP("vireo::ImageFile", "The file claims %1 × %2 pixels, far more than its %3 bytes can hold."))
              .arg(claimed->width())
              .arg(claimed->height())
              .arg(info.size());
    return false;
}

QImage ImageFile::read()
{
    QSize claimed;
    if (!mayRead(&claimed))
        return QImage();
    QImageReader reader(m_path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        m_error = reader.errorString();
    return image;
}

QImage ImageFile::readThumbnail(int side, const std::function<bool()> &interrupted)
{
    QSize claimed;
    if (!mayRead(&claimed))
        return QImage();
    InterruptibleFile file(m_path, interrupted);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return QImage();
    }
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize target = claimed.isValid() ? claimed.scaled(side, side, Qt::KeepAspectRatio) : QSize();
    if (target.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(target);
    const QImage image = reader.read();
    if (image.isNull()) {
        m_error = reader.errorString();
        return image;
    }
    // Scaled as stored, then turned upright.
    if (image.size() == target || image.size() == target.transposed())
        return image;
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::FastTransformation);
}

} // namespace vireo
