#ifndef VIREO_THUMBNAILCACHE_H
#define VIREO_THUMBNAILCACHE_H

#include <QImage>
#include <QString>

#include <functional>

namespace vireo {

// The thumbnail cache that file managers share (freedesktop.org): PNG files
// in $XDG_CACHE_HOME/thumbnails/normal (128 pixels) and large (256), named by
// the MD5 of the file's URI and tagged with Thumb::URI and Thumb::MTime; a
// thumbnail whose MTime is not the file's is stale and made anew. Files that
// cannot be read are recorded under fail/. A cache that cannot be read or
// written only makes thumbnails slower.
class ThumbnailCache
{
public:
    static const int normalSize = 128;
    static const int largeSize = 256;

    // The thumbnail of the file fitting a square of side pixels, from the
    // cache where it is fresh, else decoded scaled and then kept: at once,
    // or when the caller calls keep, so the thumbnail can be shown first.
    static QImage thumbnail(const QString &path, int side, const std::function<bool()> &interrupted = {},
                            std::function<void()> *keep = nullptr);

    // Where the cache keeps the thumbnail of a file for a size.
    static QString fileName(const QString &path, int side);
    static QString failFileName(const QString &path);
    static QString uri(const QString &path);

private:
    static QImage read(const QString &cacheFile, const QString &uri, qint64 mtime);
    static void write(const QString &cacheFile, QImage image, const QString &uri, qint64 mtime);
};

} // namespace vireo

#endif
