#ifndef VIREO_JPEGDECODER_H
#define VIREO_JPEGDECODER_H

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

namespace vireo {

// Decodes a JPEG held in memory with libjpeg-turbo, straight into an image
// in the toolkit's fast format: whole, or scaled by 1/2, 1/4 or 1/8 while
// decoding (far quicker than decoding whole and scaling). Warnings of a
// damaged stream are accepted, as the toolkit's reader accepts them.
class JpegDecoder
{
public:
    // data must stay alive while the decoder is used.
    explicit JpegDecoder(const QByteArray &data);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder &) = delete;
    JpegDecoder &operator=(const JpegDecoder &) = delete;

    // The stored size; invalid when the header cannot be read.
    QSize size() const;
    // denominator 1, 2, 4 or 8; a null image on failure. allocated is told
    // the image's memory before the decoder starts writing it.
    QImage decode(int denominator = 1, const std::function<void(uchar *, qint64)> &allocated = {});
    QString errorString() const;

    // The preview a camera stores after the photo (a second image in its
    // multi-picture index) when it has at least minimumWidth pixels a row;
    // empty when there is none.
    static QByteArray embeddedPreview(const QByteArray &jpeg, int minimumWidth);

private:
    void *m_handle;
    QByteArray m_data;
    QSize m_size;
    QString m_error;
};

} // namespace vireo

#endif
