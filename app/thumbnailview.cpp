#include "thumbnailview.h"

namespace vireo {

ThumbnailView::ThumbnailView(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    setMinimumSize(170, 170);
}

ThumbnailView::~ThumbnailView() = default;

void ThumbnailView::loadThumbnails(const QDir &)
{
}

void ThumbnailView::selectNext()
{
}

void ThumbnailView::selectPrevious()
{
}

void ThumbnailView::clear()
{
}

} // namespace vireo
