#include "jpegdecoder.h"

#include <QFile>
#include <QPair>
#include <QVector>
#include <QtEndian>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace vireo {

namespace {

// Where the fast format keeps blue, green, red and an opaque fourth byte.
const J_COLOR_SPACE fastColorSpace = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;

struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void exitWithError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

quint32 readNumber(const QByteArray &data, qint64 at, int bytes, bool bigEndian)
{
    if (at < 0 || at + bytes > data.size())
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(data.constData()) + at;
    if (bytes == 2)
        return bigEndian ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
    return bigEndian ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
}

// The multi-picture index is a TIFF structure; each further image as its
// offset from the start of that structure and its size.
QVector<QPair<qint64, qint64>> indexedImages(const QByteArray &tiff)
{
    QVector<QPair<qint64, qint64>> images;
    const bool big = tiff.startsWith("MM");
    const quint32 directory = readNumber(tiff, 4, 4, big);
    const quint32 entries = readNumber(tiff, directory, 2, big);
    for (quint32 i = 0; i < qMin(entries, 64u); ++i) {
        const qint64 entry = qint64(directory) + 2 + 12 * i;
        if (readNumber(tiff, entry, 2, big) != 0xb002)
            continue;
        const quint32 count = readNumber(tiff, entry + 4, 4, big) / 16;
        const qint64 list = readNumber(tiff, entry + 8, 4, big);
        for (quint32 image = 1; image < count && image < 16; ++image) {
            // An empty or misplaced entry reads as no JPEG at all.
            images.append({readNumber(tiff, list + 16 * image + 8, 4, big), readNumber(tiff, list + 16 * image + 4, 4, big)});
        }
    }
    return images;
}

} // namespace

class JpegDecoder::Private
{
public:
    ~Private()
    {
        if (created)
            jpeg_destroy_decompress(&info);
        if (file)
            std::fclose(file);
    }

    // libjpeg reports errors by a long jump: no C++ object may be made
    // between the jump's target and the library's calls.
    bool readHeader()
    {
        info.err = jpeg_std_error(&error.manager);
        error.manager.error_exit = exitWithError;
        error.manager.output_message = [](j_common_ptr) {};
        if (setjmp(error.jump))
            return failed();
        jpeg_create_decompress(&info);
        created = true;
        if (file)
            jpeg_stdio_src(&info, file);
        else
            jpeg_mem_src(&info, reinterpret_cast<const uchar *>(data.constData()), static_cast<unsigned long>(data.size()));
        jpeg_read_header(&info, TRUE);
        size = QSize(int(info.image_width), int(info.image_height));
        return true;
    }

    bool decodeInto(JSAMPROW *rows, const QSize &scaled, int denominator, const std::function<void(int)> &nextRow)
    {
        if (setjmp(error.jump))
            return failed();
        info.scale_num = 1;
        info.scale_denom = unsigned(denominator);
        info.out_color_space = fastColorSpace;
        jpeg_start_decompress(&info);
        if (QSize(int(info.output_width), int(info.output_height)) != scaled) {
            jpeg_abort_decompress(&info);
            return false;
        }
        while (info.output_scanline < info.output_height) {
            if (nextRow)
                nextRow(int(info.output_scanline));
            if (jpeg_read_scanlines(&info, rows + info.output_scanline, info.output_height - info.output_scanline) == 0) {
                jpeg_abort_decompress(&info);
                return false;
            }
        }
        jpeg_finish_decompress(&info);
        return true;
    }

    bool failed()
    {
        if (created)
            jpeg_abort_decompress(&info);
        return false;
    }

    jpeg_decompress_struct info;
    ErrorManager error;
    bool created = false;
    bool decoded = false;
    std::FILE *file = nullptr;
    QByteArray data;
    QSize size;
};

JpegDecoder::JpegDecoder(const QString &path)
    : d(new Private)
{
    d->file = std::fopen(QFile::encodeName(path).constData(), "rb");
    // libjpeg asks for 4 KiB at a time: one system call for sixteen of them.
    if (d->file) {
        std::setvbuf(d->file, nullptr, _IOFBF, 1 << 16);
        d->readHeader();
    }
}

JpegDecoder::JpegDecoder(const QByteArray &data)
    : d(new Private)
{
    d->data = data;
    d->readHeader();
}

JpegDecoder::~JpegDecoder() = default;

QSize JpegDecoder::size() const
{
    return d->size;
}

QSize JpegDecoder::scaledSize(int denominator) const
{
    return QSize((d->size.width() + denominator - 1) / denominator, (d->size.height() + denominator - 1) / denominator);
}

QImage JpegDecoder::decode(int denominator)
{
    if (d->size.isEmpty() || d->decoded)
        return QImage();
    QImage image(scaledSize(denominator), QImage::Format_RGB32);
    return decodeInto(denominator, image) ? image : QImage();
}

bool JpegDecoder::decodeInto(int denominator, QImage &target, const std::function<void(int)> &nextRow)
{
    const QSize scaled = scaledSize(denominator);
    if (d->size.isEmpty() || d->decoded || target.size() != scaled || target.format() != QImage::Format_RGB32)
        return false;
    d->decoded = true;
    uchar *bits = target.bits();
    std::vector<JSAMPROW> rows(size_t(scaled.height()));
    for (int y = 0; y < scaled.height(); ++y)
        rows[size_t(y)] = bits + y * target.bytesPerLine();
    return d->decodeInto(rows.data(), scaled, denominator, nextRow);
}

QByteArray JpegDecoder::embeddedPreview(const QString &path, int minimumWidth)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(2) != "\xff\xd8")
        return QByteArray();
    // The index sits among the first segments, before the compressed data.
    for (;;) {
        const qint64 at = file.pos();
        const QByteArray header = file.read(4);
        const int marker = header.size() == 4 && quint8(header.at(0)) == 0xff ? quint8(header.at(1)) : 0xda;
        const quint32 length = readNumber(header, 2, 2, true);
        if (marker == 0xda || length < 2)
            break;
        if (marker == 0xe2) {
            const QByteArray segment = file.read(length - 2);
            if (segment.startsWith(QByteArray("MPF\0", 4))) {
                const qint64 tiff = at + 8;
                for (const auto &image : indexedImages(segment.mid(4))) {
                    if (tiff + image.first + image.second > file.size() || !file.seek(tiff + image.first))
                        continue;
                    const QByteArray jpeg = file.read(image.second);
                    if (JpegDecoder(jpeg).size().width() >= minimumWidth)
                        return jpeg;
                }
                break;
            }
        }
        if (!file.seek(at + 2 + length))
            break;
    }
    return QByteArray();
}

} // namespace vireo
