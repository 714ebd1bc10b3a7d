#ifndef VIREO_SCENE_H
#define VIREO_SCENE_H

#include "geometry.h"
#include "imageloader.h"
#include "imagepyramid.h"

#include <QGraphicsScene>
#include <QImage>

class QAbstractItemModel;

namespace vireo {

class GraphicsPointItem;
class PointList;
class Projection;
class SnapLines;

// The measuring surface: the image as background, the calibration, the snap
// lines and one item per measurement point, kept in step with the point
// table. Works on one Geometry record at a time.
class Scene : public QGraphicsScene
{
    Q_OBJECT

public:
    // Item data key marking measurement point items.
    static const int pointMarkerKey = 342;

    explicit Scene(QObject *parent = nullptr);
    ~Scene() override;

    // False when the image cannot be read. A large image opens in the
    // background: its size and a preview first, the whole image later
    // (imageCompleted() or imageFailed()).
    bool loadImage(const QString &path);
    bool isImageComplete() const;
    // Waits for an image opening in the background and its downsampled
    // copies; for tests and benchmarks.
    void waitForImage();
    // Why the last image could not be loaded.
    QString loadErrorString() const;
    // Shows no image until the next one loads.
    void clearImage();
    void setGeometry(Geometry *geometry);
    void storeGeometry();
    // The record as the items show it now, and back: for undo. Numbers
    // handed out stay handed out.
    Geometry currentState() const;
    void restoreState(const Geometry &state);
    // The number of the selected point; -1 for none.
    int selectedPointId() const;
    void selectPointById(int id);
    GraphicsPointItem *addPoint(int id, const QPointF &position, const QString &fileName);
    void deletePoint(int row);
    // Removes every point at once; numbers are never reused.
    void clearPoints();
    void setCalibrating(bool calibrating);
    void setDecimalPlaces(int decimalPlaces);
    void setSnapHorizontal(bool enabled);
    void setSnapVertical(bool enabled);
    void resetOrigin();
    void resetRuler();

    bool isCalibrating() const;
    QString fileName() const;
    int nextId() const;
    const QImage &image() const;
    ImagePyramid *imagePyramid();
    // The calibration handle pressed last; the origin until another one is.
    QGraphicsItem *lastPressedHandle() const;
    QAbstractItemModel *pointModel() const;
    PointList *pointList() const;
    Projection *projection() const;
    SnapLines *snapLines() const;

public slots:
    void editRulerLength();
    void selectPoint(int index);

signals:
    void mouseMoved(const QPointF &coordinates);
    void mouseLeft();
    void pointSelected(int index);
    // A point or the calibration changed by the user (or by undo), not by
    // showing another record or image.
    void edited();
    // A change the user made is complete (a click, a drag released, a
    // length typed): one step for undo.
    void editFinished(const QString &text);
    void imageCompleted();
    void imageFailed(const QString &reason);

protected:
    bool event(QEvent *event) override;
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void imageChanged();
    void showPreview(const QImage &preview);
    void showFullImage(const QImage &image);
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private slots:
    void onPointSelected(vireo::GraphicsPointItem *point);

private:
    void removePointItems();
    bool isClick(const QGraphicsSceneMouseEvent *event) const;
    void createPointAt(const QPointF &position);
    void announceEdit();
    void rebuildPointItems(const Geometry &record);
    void writeStateTo(Geometry &record) const;
    QString moveText(const QGraphicsItem *item) const;

    bool m_calibrating = true;
    // Set while the items are rebuilt from a record or for a new image.
    bool m_rebuilding = false;
    QString m_fileName;
    QString m_loadError;
    // The record shown until one is given with setGeometry.
    Geometry m_ownGeometry;
    Geometry *m_geometry = &m_ownGeometry;
    ImagePyramid m_pyramid;
    ImageLoader m_loader;
    int m_nextId = 1;
    PointList *m_pointList;
    Projection *m_projection;
    QGraphicsItem *m_lastPressedHandle = nullptr;
    // The item a press grabbed and where it was, to tell a drag at release.
    QGraphicsItem *m_pressedItem = nullptr;
    QPointF m_pressedItemPos;
    SnapLines *m_snapLines;
};

} // namespace vireo

#endif
