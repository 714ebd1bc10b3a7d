#include "thumbnailitem.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QGraphicsSimpleTextItem>
#include <QPainter>

namespace vireo {

namespace {
const int framePadding = 12;
const int frameInset = 3;
const int labelGap = 2;

const QPen &selectedPen()
{
    static const QPen pen(QBrush(Qt::darkBlue), 3, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    return pen;
}
} // namespace

ThumbnailItem::ThumbnailItem(QGraphicsItem *parent)
    : QGraphicsItem(parent)
    , m_label(new QGraphicsSimpleTextItem(this))
{
    setFlag(ItemIsSelectable);
    m_label->hide();
}

ThumbnailItem::~ThumbnailItem() = default;

void ThumbnailItem::setImage(const QImage &image)
{
    prepareGeometryChange();
    m_image = image;
    const int w = image.width();
    const int h = image.height();
    const int side = qMax(w, h) + framePadding;
    m_imageOffset = QPointF((side - w) / 2.0, (side - h) / 2.0);
    m_imageRect = QRectF(m_imageOffset, QSizeF(w, h)).toRect();
    m_bounds = QRectF(0, 0, side, side);
    positionLabel();
}

QImage ThumbnailItem::image() const
{
    return m_image;
}

void ThumbnailItem::setFileName(const QString &fileName)
{
    m_fileName = fileName;
    setToolTip(QFileInfo(fileName).fileName());
    updateLabel();
}

QString ThumbnailItem::fileName() const
{
    return m_fileName;
}

void ThumbnailItem::setFont(const QFont &font)
{
    m_font = font;
    updateLabel();
}

QFont ThumbnailItem::font() const
{
    return m_font;
}

QRect ThumbnailItem::imageRect() const
{
    return m_imageRect;
}

QString ThumbnailItem::labelText() const
{
    return m_label->isVisible() ? m_label->text() : QString();
}

// Names wider than the square lose characters before a trailing "...".
void ThumbnailItem::updateLabel()
{
    const QString name = QFileInfo(m_fileName).fileName();
    if (name.isEmpty()) {
        m_label->hide();
        return;
    }
    const QFontMetricsF metrics(m_font);
    QString text = name;
    if (metrics.horizontalAdvance(text) > m_bounds.width()) {
        text += QLatin1String("...");
        while (text.size() > 3 && metrics.horizontalAdvance(text) > m_bounds.width())
            text.remove(text.size() - 4, 1);
    }
    m_label->setText(text);
    m_label->setFont(m_font);
    m_label->show();
    positionLabel();
}

void ThumbnailItem::positionLabel()
{
    const QRectF label = m_label->boundingRect();
    m_label->setPos((m_bounds.width() - label.width()) / 2, m_bounds.top() + m_bounds.height() + labelGap);
}

QRectF ThumbnailItem::boundingRect() const
{
    return m_bounds;
}

int ThumbnailItem::type() const
{
    return Type;
}

void ThumbnailItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (!m_image.isNull())
        painter->drawImage(m_imageRect, m_image);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(isSelected() ? selectedPen() : QPen(Qt::gray));
    painter->drawRect(m_bounds.adjusted(frameInset, frameInset, -frameInset, -frameInset));
}

} // namespace vireo
