#ifndef VIREO_THUMBNAILVIEW_H
#define VIREO_THUMBNAILVIEW_H

#include "thumbnailloader.h"

#include <QDir>
#include <QWidget>

class QGraphicsScene;
class QGraphicsView;

namespace vireo {

class ThumbnailItem;

// The thumbnails of the opened folder in a row or a column, filled from a
// worker thread; reports the file of the thumbnail the user selects.
class ThumbnailView : public QWidget
{
    Q_OBJECT

public:
    explicit ThumbnailView(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~ThumbnailView() override;

    void loadThumbnails(const QDir &dir);
    // Empties the view and stops a folder pass that is still running.
    void clear();
    void selectNext();
    void selectPrevious();

    int count() const;
    int currentIndex() const;
    ThumbnailItem *itemAt(int index) const;
    Qt::Orientation orientation() const;

public slots:
    void clearThumbnails();

signals:
    void fileSelected(const QString &fileName);

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void addThumbnail(const QString &fileName, const QImage &image);
    void selectionChanged();

private:
    void layOut();
    void placeAtNextPosition(ThumbnailItem *item);
    void updateSceneRect();
    void select(int index);

    QList<ThumbnailItem *> m_items;
    ThumbnailLoader m_loader;
    QPointF m_nextPosition;
    Qt::Orientation m_orientation = Qt::Horizontal;
    QGraphicsScene *m_scene;
    int m_currentIndex = -1;
    QGraphicsView *m_view;
    // Deliveries of other requests than this one are outdated.
    int m_request = 0;
};

} // namespace vireo

#endif
