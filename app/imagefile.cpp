#include "imagefile.h"

#include <qtcompat.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QTransform>

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

// Reads the TIFF structure of an EXIF block: the photo's orientation and
// the embedded JPEG thumbnail of its second directory.
class ExifReader
{
public:
    explicit ExifReader(const QByteArray &tiff)
        : m_tiff(tiff)
        , m_bigEndian(tiff.startsWith("MM"))
    {
    }

    QImage thumbnail() const
    {
        // Every number read past the block's end reads 0: a short block gives no thumbnail.
        if ((!m_tiff.startsWith("II") && !m_tiff.startsWith("MM")) || number(2, 2) != 42)
            return QImage();
        const quint32 first = number(4, 4);
        const int orientation = int(tag(first, 0x0112));
        const quint32 second = nextDirectory(first);
        if (second == 0)
            return QImage();
        const quint32 offset = tag(second, 0x0201);
        const quint32 length = tag(second, 0x0202);
        if (offset == 0 || length == 0 || qint64(offset) + length > m_tiff.size())
            return QImage();
        return upright(QImage::fromData(m_tiff.mid(int(offset), int(length)), "JPG"), orientation);
    }

private:
    quint32 number(qint64 at, int bytes) const
    {
        if (at < 0 || at + bytes > m_tiff.size())
            return 0;
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i) {
            const quint32 byte = quint8(m_tiff.at(int(at) + (m_bigEndian ? i : bytes - 1 - i)));
            value = (value << 8) | byte;
        }
        return value;
    }

    // A SHORT or LONG value of the directory, 0 when absent.
    quint32 tag(quint32 directory, quint16 wanted) const
    {
        const quint32 entries = number(directory, 2);
        for (quint32 i = 0; i < qMin(entries, 512u); ++i) {
            const qint64 entry = qint64(directory) + 2 + 12 * i;
            if (number(entry, 2) != wanted)
                continue;
            return number(entry + 2, 2) == 3 ? number(entry + 8, 2) : number(entry + 8, 4);
        }
        return 0;
    }

    quint32 nextDirectory(quint32 directory) const
    {
        return directory == 0 ? 0 : number(qint64(directory) + 2 + 12 * qint64(number(directory, 2)), 4);
    }

    // EXIF orientation: 2 mirrored, 3 turned 180°, 4 flipped, 5 mirrored and
    // turned 270° clockwise, 6 turned 90°, 7 mirrored and turned 90°, 8 turned 270°.
    static QImage upright(const QImage &image, int orientation)
    {
        if (image.isNull())
            return image;
        const bool mirrored = orientation == 2 || orientation == 5 || orientation == 7;
        static const QVector<int> turns = {0, 0, 0, 180, 0, 270, 90, 90, 270};
        QImage turned = mirrored ? image.mirrored(true, false) : image;
        if (orientation == 4)
            turned = image.mirrored(false, true);
        const int degrees = turns.value(orientation);
        return degrees == 0 ? turned : turned.transformed(QTransform().rotate(degrees));
    }

    QByteArray m_tiff;
    bool m_bigEndian;
};

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
        ? translate(QT_TRANSLATE_NOOP("vireo::ImageFile",
                                      "The image has %1 × %2 pixels; at most %3 million pixels can be opened."))
              .arg(claimed->width())
              .arg(claimed->height())
              .arg(maxPixels / 1000000)
        : translate(QT_TRANSLATE_NOOP("vireo::ImageFile",
                                      "The file claims %1 × %2 pixels, far more than its %3 bytes can hold."))
              .arg(claimed->width())
              .arg(claimed->height())
              .arg(info.size());
    return false;
}

bool ImageFile::inspect(QSize *size, QImageIOHandler::Transformations *transformation)
{
    QSize claimed;
    if (!mayRead(&claimed))
        return false;
    QImageReader reader(m_path);
    *transformation = reader.transformation();
    *size = *transformation & QImageIOHandler::TransformationRotate90 ? claimed.transposed() : claimed;
    return true;
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

// The EXIF block lies in the first segments of a JPEG file, well within its
// first 128 KiB.
QImage ImageFile::embeddedThumbnail()
{
    if (!isRegularFile(m_path))
        return QImage();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    if (!file.peek(2).startsWith("\xff\xd8"))
        return QImage();
    const QByteArray head = file.read(128 * 1024);
    int at = 2;
    while (at + 4 <= head.size() && quint8(head.at(at)) == 0xff) {
        const int marker = quint8(head.at(at + 1));
        const int length = (quint8(head.at(at + 2)) << 8) | quint8(head.at(at + 3));
        if (marker == 0xda || length < 2)
            break;
        if (marker == 0xe1 && head.mid(at + 4, 6) == QByteArray("Exif\0\0", 6))
            return ExifReader(head.mid(at + 10, length - 8)).thumbnail();
        at += 2 + length;
    }
    return QImage();
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
    // Scaled as stored, then turned upright: already of the size asked for
    // unless the reader cannot scale, and the toolkit leaves such an image as it is.
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::FastTransformation);
}

} // namespace vireo
