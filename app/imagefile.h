#ifndef VIREO_IMAGEFILE_H
#define VIREO_IMAGEFILE_H

#include <QImage>
#include <QImageIOHandler>
#include <QString>

#include <functional>

namespace vireo {

// Reads image files safely: only regular files (after following links: a
// named pipe or a device would block the reader for ever), and only images
// whose claimed size is plausible for the file's byte size and fits the
// memory the program allows an image. Photos come upright, as their
// orientation tag says.
class ImageFile
{
public:
    // 2 GiB at four bytes a pixel: the largest image the toolkit makes, and
    // what the program allows one image (its downsampled copies add a third).
    static const qint64 maxPixels = ((qint64(1) << 31) - 1) / 4;
    // The most pixels a byte of file can stand for. Deflate (PNG) packs about
    // 8,300 one-bit pixels into a byte, fax coding of a blank page more; a
    // file that claims many times that is a decoy.
    static const qint64 maxPixelsPerByte = 65536;
    // Any file may hold an image this large.
    static const qint64 freePixels = qint64(1) << 20;

    explicit ImageFile(const QString &path);

    // Why the last read gave a null image.
    QString errorString() const;

    // Whether the file may be read, the size of its upright image (invalid
    // when the format does not tell it before decoding) and how the stored
    // image is turned upright.
    bool inspect(QSize *size, QImageIOHandler::Transformations *transformation);
    // The whole image; a null image when it cannot or must not be read.
    QImage read();
    // The image scaled to fit a box of side × side, scaled while decoding
    // where the format allows it. Once interrupted() says so, the decoder's
    // next read of the file fails, so even a long decode ends at once.
    QImage readThumbnail(int side, const std::function<bool()> &interrupted = {});

    // The thumbnail a camera embedded in the photo's EXIF data, upright as
    // the photo's orientation tag says; null when there is none.
    QImage embeddedThumbnail();

    static bool isRegularFile(const QString &path);
    static bool isPlausibleSize(const QSize &claimed, qint64 fileBytes);

private:
    bool mayRead(QSize *claimed);

    QString m_path;
    QString m_error;
};

} // namespace vireo

#endif
