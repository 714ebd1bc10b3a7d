#ifndef VIREO_JPEGDECODER_H
#define VIREO_JPEGDECODER_H

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace vireo {

// Decodes a JPEG with libjpeg-turbo, straight into an image in the toolkit's
// fast format: whole, or scaled by 1/2, 1/4 or 1/8 while decoding (far
// quicker than decoding whole and scaling). A file is read as it is decoded,
// a few kilobytes at a time, never held whole. Warnings of a damaged stream
// are accepted, as the toolkit's reader accepts them.
class JpegDecoder
{
public:
    explicit JpegDecoder(const QString &path);
    // data must stay alive while the decoder is used.
    explicit JpegDecoder(const QByteArray &data);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder &) = delete;
    JpegDecoder &operator=(const JpegDecoder &) = delete;

    // The stored size; invalid when the header cannot be read.
    QSize size() const;
    // The size decoded with a denominator of 1, 2, 4 or 8.
    QSize scaledSize(int denominator) const;
    // Once per decoder; a null image on failure.
    QImage decode(int denominator = 1);
    // Into an image of the scaled size in the fast format; nextRow is told
    // the first row not yet written before each stretch of rows is.
    bool decodeInto(int denominator, QImage &target, const std::function<void(int)> &nextRow = {});

    // The preview a camera stores after the photo (a second image in its
    // multi-picture index) when it has at least minimumWidth pixels a row;
    // empty when there is none.
    static QByteArray embeddedPreview(const QString &path, int minimumWidth);

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace vireo

#endif
