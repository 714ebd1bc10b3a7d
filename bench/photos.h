#ifndef MENSOR_PHOTOS_H
#define MENSOR_PHOTOS_H

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

#endif
