#ifndef VIREO_IMAGEPYRAMID_H
#define VIREO_IMAGEPYRAMID_H

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QVector>

#include <functional>

class QPainter;

namespace vireo {

// An image with downsampled copies (1/2, 1/4, … down to about a screen's
// size), so a view draws only what is exposed, from the smallest copy whose
// resolution still matches the zoom. The copies are built off the GUI thread
// on request; until they exist the full image is drawn with fast sampling.
// While a large image is still being decoded, a preview stands in for it,
// stretched over the whole image's size.
class ImagePyramid : public QObject
{
    Q_OBJECT

public:
    explicit ImagePyramid(QObject *parent = nullptr);
    ~ImagePyramid() override;

    // Keeps the image in a fast raster format and drops the copies of the
    // previous one.
    void setImage(const QImage &image);
    // Only a preview of an image of size so far; the image follows with
    // setFullImage(), which lets the preview go. With levelsFollow the
    // copies are built elsewhere and come by setLevels().
    void setPreview(const QImage &preview, const QSize &size);
    void setFullImage(const QImage &image, bool levelsFollow = false);
    void setLevels(const QVector<QImage> &levels);
    // The whole image; null while only a preview has come.
    const QImage &image() const;
    const QImage &preview() const;
    QSize size() const;
    bool isNull() const;

    // Starts building the copies, once per image.
    void buildLevels();
    // Waits for a build under way; for tests and benchmarks.
    void waitForLevels();
    // True once the copies exist (an image small enough needs none).
    bool hasLevels() const;
    int levelCount() const;
    const QImage &level(int index) const;
    qint64 levelBytes() const;

    // The level to draw at a view scale: the smallest one whose resolution
    // is still at least the scale.
    int levelForScale(double scale) const;
    // Draws the part of the image inside exposed (scene coordinates) with the
    // painter's transform: filtered below 100 %, exact pixels at and above.
    void draw(QPainter *painter, const QRectF &exposed) const;

    // Halving stops below this many pixels on the longer side.
    static const int smallestLevelSide = 1024;
    static QVector<QSize> levelSizes(const QSize &size);
    // Built where the caller runs, into memory where it is given (an image
    // of each level's size); beforeWriting is shown each level's memory
    // before it is written, which it gets anew if still shared then. The
    // first built levels of memory are taken as they are.
    static QVector<QImage> downsampledLevels(const QImage &image, QVector<QImage> memory = {},
                                             const std::function<void(const QImage &)> &beforeWriting = {},
                                             int built = 0);

signals:
    void levelsReady();

private:
    void takeLevels();

    enum class Build { NotStarted, Running, Awaited, Done };

    const QImage &drawnSource(double scale) const;

    QImage m_image;
    QImage m_preview;
    QSize m_size;
    QVector<QImage> m_levels;
    QFutureWatcher<QVector<QImage>> m_watcher;
    Build m_build = Build::NotStarted;
    // Changes with every image, so a build for an earlier one is ignored.
    int m_generation = 0;
    int m_buildGeneration = -1;
};

} // namespace vireo

#endif
