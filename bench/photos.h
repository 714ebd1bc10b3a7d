#ifndef MENSOR_PHOTOS_H
#define MENSOR_PHOTOS_H

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

// A photo-like picture: soft gradients, shapes and fine texture, so that it
// compresses like a photograph rather than like a flat colour.
inline QImage photoLikeImage(QSize size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 90, 230));
    sky.setColorAt(1, QColor::fromHsv(int(random.bounded(360)), 160, 90));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv(int(random.bounded(360)), int(random.bounded(255)), int(random.bounded(255)), 150));
        const int w = int(random.bounded(size.width() / 4)) + 10;
        painter.drawEllipse(int(random.bounded(size.width())), int(random.bounded(size.height())), w, w / 2 + 5);
    }
    painter.end();
    for (int y = 0; y < size.height(); y += 2) {
        auto line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); x += 3) {
            const int noise = int(random.bounded(24)) - 12;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + noise, 255), qBound(0, qGreen(p) + noise, 255), qBound(0, qBlue(p) + noise, 255));
        }
    }
    return image;
}

// A folder of generated JPEG photos, made once and kept for later runs.
inline QString photoFolder(const QString &name, int count, QSize size)
{
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("benchdata/") + name);
    QDir().mkpath(path);
    for (int i = 0; i < count; ++i) {
        const QString file = QStringLiteral("%1/photo%2.jpg").arg(path).arg(i, 3, 10, QLatin1Char('0'));
        if (!QFile::exists(file))
            photoLikeImage(size, quint32(i + 1)).save(file, "JPG", 90);
    }
    return path;
}

// A camera's JPEG: the photo with a 160 × 120 thumbnail in its EXIF data
// (the TIFF structure of a second directory holding the thumbnail).
inline QByteArray withCameraThumbnail(const QByteArray &jpeg)
{
    QImage thumbnailImage = QImage::fromData(jpeg, "JPG").scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QByteArray thumbnail;
    QBuffer buffer(&thumbnail);
    buffer.open(QIODevice::WriteOnly);
    thumbnailImage.save(&buffer, "JPG", 85);
    const auto word = [](quint32 value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out.append(char((value >> (8 * i)) & 0xff));
        return out;
    };
    QByteArray tiff = QByteArray("II*\0", 4) + word(8, 4) + word(0, 2) + word(14, 4);
    tiff += word(2, 2) + word(0x0201, 2) + word(4, 2) + word(1, 4) + word(44, 4);
    tiff += word(0x0202, 2) + word(4, 2) + word(1, 4) + word(quint32(thumbnail.size()), 4) + word(0, 4) + thumbnail;
    const int length = 8 + tiff.size();
    QByteArray segment("\xff\xe1", 2);
    segment += char(length >> 8);
    segment += char(length & 0xff);
    return QByteArray(jpeg).insert(2, segment + QByteArray("Exif\0\0", 6) + tiff);
}

// The same photos as cameras write them, with their own thumbnails.
inline QString cameraFolder(const QString &photos, const QString &name)
{
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("benchdata/") + name);
    QDir().mkpath(path);
    for (const QFileInfo &photo : QDir(photos, QStringLiteral("*.jpg")).entryInfoList()) {
        QFile target(path + QLatin1Char('/') + photo.fileName());
        QFile source(photo.absoluteFilePath());
        if (!target.exists() && source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly))
            target.write(withCameraThumbnail(source.readAll()));
    }
    return path;
}

#endif
