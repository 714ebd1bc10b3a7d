#include "jpegdecoder.h"

#include <QtEndian>

#include <turbojpeg.h>

namespace vireo {

namespace {

// Where the fast format keeps blue, green, red and an opaque fourth byte.
const int fastPixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRA : TJPF_ARGB;

quint32 readNumber(const QByteArray &data, qint64 at, int bytes, bool bigEndian)
{
    if (at < 0 || at + bytes > data.size())
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(data.constData()) + at;
    if (bytes == 2)
        return bigEndian ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
    return bigEndian ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
}

// The multi-picture index: a TIFF structure after "MPF\0" in an APP2
// segment; image offsets count from the start of that structure.
QList<QByteArray> indexedImages(const QByteArray &jpeg, qint64 tiff)
{
    QList<QByteArray> images;
    const bool big = jpeg.mid(int(tiff), 2) == "MM";
    const quint32 directory = readNumber(jpeg, tiff + 4, 4, big);
    const quint32 entries = readNumber(jpeg, tiff + directory, 2, big);
    for (quint32 i = 0; i < entries && i < 64; ++i) {
        const qint64 entry = tiff + directory + 2 + 12 * i;
        if (readNumber(jpeg, entry, 2, big) != 0xb002)
            continue;
        const quint32 count = readNumber(jpeg, entry + 4, 4, big) / 16;
        const qint64 list = tiff + readNumber(jpeg, entry + 8, 4, big);
        for (quint32 image = 1; image < count && image < 16; ++image) {
            const quint32 size = readNumber(jpeg, list + 16 * image + 4, 4, big);
            const qint64 offset = tiff + readNumber(jpeg, list + 16 * image + 8, 4, big);
            if (size > 0 && offset > tiff && offset + size <= jpeg.size())
                images.append(QByteArray::fromRawData(jpeg.constData() + offset, int(size)));
        }
    }
    return images;
}

} // namespace

JpegDecoder::JpegDecoder(const QByteArray &data)
    : m_handle(tjInitDecompress())
    , m_data(data)
{
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (!m_handle) {
        m_error = QString::fromLocal8Bit(tjGetErrorStr2(nullptr));
    } else if (tjDecompressHeader3(m_handle, reinterpret_cast<const uchar *>(m_data.constData()),
                                   static_cast<unsigned long>(m_data.size()), &width, &height, &subsampling,
                                   &colorspace)
               == 0) {
        m_size = QSize(width, height);
    } else {
        m_error = QString::fromLocal8Bit(tjGetErrorStr2(m_handle));
    }
}

JpegDecoder::~JpegDecoder()
{
    if (m_handle)
        tjDestroy(m_handle);
}

QSize JpegDecoder::size() const
{
    return m_size;
}

QString JpegDecoder::errorString() const
{
    return m_error;
}

QImage JpegDecoder::decode(int denominator, const std::function<void(uchar *, qint64)> &allocated)
{
    if (m_size.isEmpty())
        return QImage();
    const tjscalingfactor factor{1, denominator};
    QImage image(TJSCALED(m_size.width(), factor), TJSCALED(m_size.height(), factor), QImage::Format_RGB32);
    if (image.isNull()) {
        m_error = QStringLiteral("Not enough memory for %1 × %2 pixels.").arg(m_size.width()).arg(m_size.height());
        return image;
    }
    if (allocated)
        allocated(image.bits(), image.sizeInBytes());
    const int failed = tjDecompress2(m_handle, reinterpret_cast<const uchar *>(m_data.constData()),
                                     static_cast<unsigned long>(m_data.size()), image.bits(), image.width(),
                                     int(image.bytesPerLine()), image.height(), fastPixelFormat, 0);
    if (failed && tjGetErrorCode(m_handle) != TJERR_WARNING) {
        m_error = QString::fromLocal8Bit(tjGetErrorStr2(m_handle));
        return QImage();
    }
    return image;
}

QByteArray JpegDecoder::embeddedPreview(const QByteArray &jpeg, int minimumWidth)
{
    if (!jpeg.startsWith("\xff\xd8"))
        return QByteArray();
    // The index sits among the first segments, before the compressed data.
    qint64 at = 2;
    while (at + 4 <= jpeg.size() && quint8(jpeg.at(int(at))) == 0xff) {
        const int marker = quint8(jpeg.at(int(at) + 1));
        const quint32 length = readNumber(jpeg, at + 2, 2, true);
        if (marker == 0xda || length < 2)
            break;
        if (marker == 0xe2 && jpeg.mid(int(at) + 4, 4) == QByteArray("MPF\0", 4)) {
            for (const QByteArray &image : indexedImages(jpeg, at + 8)) {
                if (JpegDecoder(image).size().width() >= minimumWidth)
                    return image;
            }
            break;
        }
        at += 2 + length;
    }
    return QByteArray();
}

} // namespace vireo
