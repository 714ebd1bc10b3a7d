#ifndef VIREO_THUMBNAILVIEW_H
#define VIREO_THUMBNAILVIEW_H

#include <QDir>
#include <QWidget>

namespace vireo {

// The thumbnail strip of the opened folder.
class ThumbnailView : public QWidget
{
    Q_OBJECT

public:
    explicit ThumbnailView(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~ThumbnailView() override;

    void loadThumbnails(const QDir &dir);
    void selectNext();
    void selectPrevious();
    void clear();

signals:
    void fileSelected(const QString &fileName);
};

} // namespace vireo

#endif
