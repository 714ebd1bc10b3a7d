#include "thumbnailview.h"

#include "thumbnailitem.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QResizeEvent>

namespace vireo {

namespace {
const QPointF firstPosition(10, 10);
const double horizontalStep = 120;
const double verticalStep = 140;
const int scrollMargin = 50;
} // namespace

ThumbnailView::ThumbnailView(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , m_nextPosition(firstPosition)
    , m_scene(new QGraphicsScene(this))
    , m_view(new QGraphicsView(m_scene, this))
{
    setMinimumSize(170, 170);
    auto layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    connect(m_scene, &QGraphicsScene::selectionChanged, this, &ThumbnailView::selectionChanged);
    connect(&m_loader, &ThumbnailLoader::aboutToLoadThumbnails, this,
            [this](int request) {
                if (request == m_request)
                    clearThumbnails();
            },
            Qt::QueuedConnection);
    connect(&m_loader, &ThumbnailLoader::thumbnailLoaded, this,
            [this](int request, const QString &fileName, const QImage &image) {
                if (request == m_request)
                    addThumbnail(fileName, image);
            },
            Qt::QueuedConnection);
}

// The loader, a member, stops before the scene, a child, goes; the scene's
// last signals must not reach this half-destroyed view.
ThumbnailView::~ThumbnailView()
{
    disconnect(m_scene, nullptr, this, nullptr);
}

void ThumbnailView::loadThumbnails(const QDir &dir)
{
    // Nothing of the previous folder stays on screen to be chosen.
    m_loader.setPixelRatio(devicePixelRatioF());
    m_request = m_loader.loadThumbnails(dir);
    clearThumbnails();
}

void ThumbnailView::clear()
{
    m_request = m_loader.cancel();
    clearThumbnails();
}

void ThumbnailView::clearThumbnails()
{
    m_items.clear();
    m_scene->clear();
    m_currentIndex = -1;
    layOut();
    m_nextPosition = firstPosition;
}

void ThumbnailView::addThumbnail(const QString &fileName, const QImage &image)
{
    auto item = new ThumbnailItem;
    item->setImage(image);
    item->setFileName(fileName);
    placeAtNextPosition(item);
    m_scene->addItem(item);
    m_items.append(item);
    updateSceneRect();
}

void ThumbnailView::placeAtNextPosition(ThumbnailItem *item)
{
    item->setPos(m_nextPosition);
    if (m_orientation == Qt::Horizontal)
        m_nextPosition.rx() += horizontalStep;
    else
        m_nextPosition.ry() += verticalStep;
}

void ThumbnailView::updateSceneRect()
{
    QRectF bounds = m_scene->itemsBoundingRect();
    if (bounds.isEmpty())
        bounds = QRectF(0, 0, 1, 1);
    m_scene->setSceneRect(bounds);
}

void ThumbnailView::layOut()
{
    m_nextPosition = firstPosition;
    for (ThumbnailItem *item : qAsConst(m_items))
        placeAtNextPosition(item);
    updateSceneRect();
}

void ThumbnailView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_orientation = width() > height() ? Qt::Horizontal : Qt::Vertical;
    layOut();
}

void ThumbnailView::selectionChanged()
{
    int index = -1;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i)->isSelected() && i != m_currentIndex) {
            index = i;
            break;
        }
    }
    if (index < 0)
        return;
    ThumbnailItem *item = m_items.at(index);
    m_view->ensureVisible(item, scrollMargin, scrollMargin);
    {
        const QSignalBlocker blocker(m_scene);
        for (ThumbnailItem *other : qAsConst(m_items)) {
            if (other != item)
                other->setSelected(false);
        }
    }
    m_currentIndex = index;
    emit fileSelected(item->fileName());
}

void ThumbnailView::select(int index)
{
    m_items.at(index)->setSelected(true);
}

void ThumbnailView::selectNext()
{
    if (m_currentIndex < m_items.size() - 1)
        select(m_currentIndex + 1);
}

void ThumbnailView::selectPrevious()
{
    if (m_currentIndex > 0)
        select(m_currentIndex - 1);
}

int ThumbnailView::count() const
{
    return m_items.size();
}

int ThumbnailView::currentIndex() const
{
    return m_currentIndex;
}

ThumbnailItem *ThumbnailView::itemAt(int index) const
{
    return m_items.value(index);
}

Qt::Orientation ThumbnailView::orientation() const
{
    return m_orientation;
}

} // namespace vireo
