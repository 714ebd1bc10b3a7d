#include "thumbnailcache.h"

#include "imagefile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace vireo {

namespace {

const char uriKey[] = "Thumb::URI";
const char mtimeKey[] = "Thumb::MTime";
const char widthKey[] = "Thumb::Image::Width";
const char heightKey[] = "Thumb::Image::Height";

// The size the photo shows at side pixels: from its own size where the
// thumbnail tells it, so that cached and fresh thumbnails round alike.
QSize shownSize(const QImage &thumbnail, int side)
{
    QSize original(thumbnail.text(QLatin1String(widthKey)).toInt(), thumbnail.text(QLatin1String(heightKey)).toInt());
    if (original.isEmpty())
        original = thumbnail.size();
    // The thumbnail stands upright; the size may be the file's as stored.
    if ((original.width() > original.height()) != (thumbnail.width() > thumbnail.height()))
        original.transpose();
    return original.scaled(side, side, Qt::KeepAspectRatio);
}

QString cacheRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QLatin1String("/thumbnails");
}

QString md5(const QString &uri)
{
    return QString::fromLatin1(QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex());
}

// Folders of the cache are the user's alone.
bool makePrivateFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QString path = folder;
    while (path.startsWith(cacheRoot()) && path.size() >= cacheRoot().size()) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        path = QFileInfo(path).path();
    }
    return true;
}

qint64 modificationTime(const QString &path)
{
    return QFileInfo(path).lastModified().toSecsSinceEpoch();
}

} // namespace

QString ThumbnailCache::uri(const QString &path)
{
    return QString::fromLatin1(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded());
}

QString ThumbnailCache::fileName(const QString &path, int side)
{
    const char *kind = side <= normalSize ? "/normal/" : "/large/";
    return cacheRoot() + QLatin1String(kind) + md5(uri(path)) + QLatin1String(".png");
}

QString ThumbnailCache::failFileName(const QString &path)
{
    return cacheRoot() + QStringLiteral("/fail/mensor-2.4/") + md5(uri(path)) + QLatin1String(".png");
}

QImage ThumbnailCache::thumbnail(const QString &path, int side, const std::function<bool()> &interrupted,
                                 std::function<void()> *keep)
{
    const QString fileUri = uri(path);
    const qint64 mtime = modificationTime(path);
    const QString cacheFile = fileName(path, side);
    QImage image = read(cacheFile, fileUri, mtime);
    if (image.isNull() && !read(failFileName(path), fileUri, mtime).isNull())
        return QImage();
    if (image.isNull()) {
        // A camera's own thumbnail, where it is as large as the cell: as
        // quick to read again as the cache, so it is not kept.
        ImageFile file(path);
        const QImage embedded = file.embeddedThumbnail();
        if (embedded.width() >= side || embedded.height() >= side)
            return embedded.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        image = file.readThumbnail(side <= normalSize ? normalSize : largeSize, interrupted);
        if (interrupted && interrupted())
            return QImage();
        if (image.isNull()) {
            QImage failed(1, 1, QImage::Format_ARGB32);
            failed.fill(Qt::transparent);
            write(failFileName(path), failed, fileUri, mtime);
            return image;
        }
        const int kept = side <= normalSize ? normalSize : largeSize;
        if (image.width() > kept || image.height() > kept)
            image = image.scaled(kept, kept, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QSize original = QImageReader(path).size();
        image.setText(QLatin1String(widthKey), QString::number(original.width()));
        image.setText(QLatin1String(heightKey), QString::number(original.height()));
        const auto keepImage = [cacheFile, image, fileUri, mtime] { write(cacheFile, image, fileUri, mtime); };
        if (keep)
            *keep = keepImage;
        else
            keepImage();
    }
    const QSize shown = shownSize(image, side);
    if (image.size() == shown || (image.width() <= side && image.height() <= side))
        return image;
    return image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Null unless the thumbnail is of this file as it is now.
QImage ThumbnailCache::read(const QString &cacheFile, const QString &uri, qint64 mtime)
{
    if (!ImageFile::isRegularFile(cacheFile))
        return QImage();
    // The reader splits keys at their colons before the image is read: the
    // tags are checked on the small image itself.
    QImageReader reader(cacheFile, "png");
    const QImage image = reader.read();
    if (image.text(QLatin1String(uriKey)) != uri || image.text(QLatin1String(mtimeKey)) != QString::number(mtime))
        return QImage();
    return image;
}

void ThumbnailCache::write(const QString &cacheFile, QImage image, const QString &uri, qint64 mtime)
{
    if (!makePrivateFolder(QFileInfo(cacheFile).path()))
        return;
    image.setText(QLatin1String(uriKey), uri);
    image.setText(QLatin1String(mtimeKey), QString::number(mtime));
    image.setText(QStringLiteral("Software"), QStringLiteral("mensor 2.4"));
    QSaveFile file(cacheFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QImageWriter writer(&file, "png");
    if (writer.write(image))
        file.commit();
}

} // namespace vireo
