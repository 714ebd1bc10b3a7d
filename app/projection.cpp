#include "projection.h"

#include "geometry.h"
#include "grahpicsanchoritem.h"
#include "graphicslabelitem.h"
#include "decimalcommafilter.h"
#include "planecalibration.h"

#include <icons.h>
#include <tableview.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QInputDialog>
#include <QBoxLayout>
#include <QPen>

#include <cmath>
#include <limits>

namespace vireo {

namespace {
const double minimumRulerLength = 1e-10;
const double maximumRulerLength = 1e10;

QFont rulerLabelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    font.setWeight(QFont::Bold);
    return font;
}
} // namespace

Projection::Projection(QGraphicsScene *scene)
    : QObject(scene)
    , m_scene(scene)
{
    createItems();
    connectAnchors();
    m_plane = new PlaneCalibration(m_scene, this);
    connect(m_plane, &PlaneCalibration::changed, this, &Projection::changed);
    updateAxes();
    updateRuler();
}

Projection::~Projection() = default;

void Projection::createItems()
{
    m_originAnchor = new GrahpicsAnchorItem;
    m_rulerLine = new QGraphicsLineItem;
    m_rulerEnd1Anchor = new GrahpicsAnchorItem;
    m_rulerEnd2Anchor = new GrahpicsAnchorItem;
    m_rulerLabel = new GraphicsLabelItem;
    m_xAxis = new QGraphicsLineItem;
    m_yAxis = new QGraphicsLineItem;

    m_xAxis->setPen(QPen(Qt::red));
    m_yAxis->setPen(QPen(Qt::red));
    m_rulerLine->setPen(QPen(QBrush(Qt::red, Qt::SolidPattern), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    m_rulerLabel->setBrush(QBrush(Qt::red, Qt::SolidPattern));
    m_rulerLabel->setFont(rulerLabelFont());

    m_scene->addItem(m_originAnchor);
    m_scene->addItem(m_rulerLine);
    m_scene->addItem(m_rulerEnd1Anchor);
    m_scene->addItem(m_rulerEnd2Anchor);
    m_scene->addItem(m_rulerLabel);
    m_scene->addItem(m_xAxis);
    m_scene->addItem(m_yAxis);
}

void Projection::connectAnchors()
{
    connect(m_originAnchor, &QGraphicsObject::xChanged, this, &Projection::updateAxes);
    connect(m_originAnchor, &QGraphicsObject::yChanged, this, &Projection::updateAxes);
    connect(m_rulerEnd1Anchor, &QGraphicsObject::xChanged, this, &Projection::updateRuler);
    connect(m_rulerEnd1Anchor, &QGraphicsObject::yChanged, this, &Projection::updateRuler);
    connect(m_rulerEnd2Anchor, &QGraphicsObject::xChanged, this, &Projection::updateRuler);
    connect(m_rulerEnd2Anchor, &QGraphicsObject::yChanged, this, &Projection::updateRuler);
    connect(m_rulerLabel, &GraphicsLabelItem::clicked, this, &Projection::editRulerLength);
}

void Projection::loadFrom(const Geometry &geometry)
{
    m_originAnchor->setPos(geometry.origin());
    m_rulerEnd1Anchor->setPos(geometry.rulerEnd1());
    m_rulerEnd2Anchor->setPos(geometry.rulerEnd2());
    m_rulerLength = geometry.rulerLength();
    updateRulerLabel();
    const bool hadPlane = m_plane->isOn();
    m_plane->setReferences(geometry.plane());
    applyVisibility();
    if (m_plane->isOn() != hadPlane)
        emit planeSwitched();
}

void Projection::saveTo(Geometry &geometry) const
{
    geometry.setOrigin(m_originAnchor->pos());
    geometry.setRulerEnd1(m_rulerEnd1Anchor->pos());
    geometry.setRulerEnd2(m_rulerEnd2Anchor->pos());
    geometry.setRulerLength(m_rulerLength);
    geometry.setPlane(m_plane->references());
}

void Projection::setImageRect(const QRectF &rect)
{
    m_imageRect = rect;
    updateAxes();
}

void Projection::resetOrigin()
{
    m_originAnchor->setPos(m_imageRect.x() + m_imageRect.width() * 0.5, m_imageRect.y() + m_imageRect.height() * 0.5);
}

void Projection::resetRuler()
{
    if (m_imageRect.isEmpty())
        return;
    const QPointF half(m_imageRect.width() * 0.5, m_imageRect.height() * 0.5);
    const QPointF centre = m_imageRect.topLeft() + half;
    // Both ends are placed before the line is updated once.
    const QSignalBlocker blockEnd1(m_rulerEnd1Anchor);
    const QSignalBlocker blockEnd2(m_rulerEnd2Anchor);
    m_rulerEnd1Anchor->setPos(centre);
    m_rulerEnd2Anchor->setPos(centre + half);
    m_rulerLength = 1.0;
    updateRulerLabel();
    applyRulerLine();
    emit changed();
}

QPointF Projection::origin() const
{
    return m_originAnchor->pos();
}

QPointF Projection::rulerEnd1() const
{
    return m_rulerEnd1Anchor->pos();
}

QPointF Projection::rulerEnd2() const
{
    return m_rulerEnd2Anchor->pos();
}

double Projection::rulerLength() const
{
    return m_rulerLength;
}

int Projection::decimalPlaces() const
{
    return m_decimalPlaces;
}

QString Projection::rulerLabelText() const
{
    return m_rulerLabel->text();
}

double Projection::scale() const
{
    const double pixels = m_rulerLine->line().length();
    if (pixels == 0.0)
        return std::numeric_limits<double>::quiet_NaN();
    return m_rulerLength / pixels;
}

QPointF Projection::toCoordinates(const QPointF &scenePos) const
{
    if (m_plane->isOn())
        return m_plane->map().map(scenePos);
    const double s = scale();
    const QPointF q = m_originAnchor->mapFromScene(scenePos);
    return QPointF(q.x() * s, -(q.y() * s));
}

GrahpicsAnchorItem *Projection::originAnchor() const
{
    return m_originAnchor;
}

GrahpicsAnchorItem *Projection::rulerEnd1Anchor() const
{
    return m_rulerEnd1Anchor;
}

GrahpicsAnchorItem *Projection::rulerEnd2Anchor() const
{
    return m_rulerEnd2Anchor;
}

GraphicsLabelItem *Projection::rulerLabel() const
{
    return m_rulerLabel;
}

QGraphicsLineItem *Projection::xAxis() const
{
    return m_xAxis;
}

QGraphicsLineItem *Projection::yAxis() const
{
    return m_yAxis;
}

QList<QGraphicsItem *> Projection::handles() const
{
    QList<QGraphicsItem *> handles = {m_originAnchor, m_rulerEnd1Anchor, m_rulerEnd2Anchor};
    if (m_plane->isOn()) {
        for (GrahpicsAnchorItem *reference : m_plane->handles())
            handles.append(reference);
    }
    return handles;
}

PlaneCalibration *Projection::plane() const
{
    return m_plane;
}

bool Projection::hasPlane() const
{
    return m_plane->isOn();
}

void Projection::setPlaneOn(bool on)
{
    if (on == m_plane->isOn())
        return;
    if (on)
        m_plane->startIn(m_imageRect);
    else
        m_plane->setReferences({});
    applyVisibility();
    emit planeSwitched();
}

QGraphicsLineItem *Projection::rulerLine() const
{
    return m_rulerLine;
}

// The spin box rounds its minimum to the shown decimals, so 1e-10 would let a
// zero length through; the smallest offered length is one step of the last
// shown digit instead.
void Projection::editRulerLength()
{
    const double minimum = qMax(minimumRulerLength, std::pow(10.0, -m_decimalPlaces));
    QInputDialog dialog;
    dialog.setWindowTitle(tr("Define Ruler Length"));
    dialog.setLabelText(tr("Enter the length of the ruler:"));
    dialog.setDoubleDecimals(m_decimalPlaces);
    dialog.setDoubleRange(minimum, maximumRulerLength);
    dialog.setDoubleValue(m_rulerLength);
    if (auto spinBox = dialog.findChild<QDoubleSpinBox *>())
        DecimalCommaFilter::install(spinBox);
    // The dialog makes its buttons when it first lays itself out.
    dialog.setOkButtonText(dialog.okButtonText());
    showWholeTitle(&dialog);
    if (auto buttons = dialog.findChild<QDialogButtonBox *>())
        kit::setStandardButtonIcons(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const double length = dialog.doubleValue();
    if (!(length >= minimum))
        return;
    m_rulerLength = length;
    updateRulerLabel();
    emit changed();
    emit lengthTyped();
}

// The window title is drawn in the title bar's font, larger and bolder than
// the dialog's own: room for it with that margin and the bar's buttons.
void Projection::showWholeTitle(QDialog *dialog)
{
    QFont titleFont = dialog->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    const int titleButtons = 120;
    const int width = QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) + titleButtons;
    // The dialog's layout sets the dialog's own minimum width: the layout is widened.
    if (auto *box = qobject_cast<QBoxLayout *>(dialog->layout())) {
        const QMargins margins = box->contentsMargins();
        box->addStrut(width - margins.left() - margins.right());
    } else {
        dialog->setMinimumWidth(width);
    }
}

void Projection::setCalibrating(bool calibrating)
{
    m_calibrating = calibrating;
    m_originAnchor->setEnabled(calibrating);
    applyVisibility();
}

void Projection::setShown(bool shown)
{
    m_shown = shown;
    applyVisibility();
}

void Projection::applyVisibility()
{
    // The ruler's items wait while a plane decides the coordinates.
    const bool ruler = m_shown && !m_plane->isOn();
    for (QGraphicsItem *item : {static_cast<QGraphicsItem *>(m_originAnchor), static_cast<QGraphicsItem *>(m_xAxis),
                                static_cast<QGraphicsItem *>(m_yAxis)})
        item->setVisible(ruler);
    for (QGraphicsItem *item : {static_cast<QGraphicsItem *>(m_rulerLine), static_cast<QGraphicsItem *>(m_rulerEnd1Anchor),
                                static_cast<QGraphicsItem *>(m_rulerEnd2Anchor), static_cast<QGraphicsItem *>(m_rulerLabel)})
        item->setVisible(ruler && m_calibrating);
    m_plane->setVisible(m_shown, m_calibrating);
}

void Projection::setDecimalPlaces(int decimalPlaces)
{
    m_decimalPlaces = decimalPlaces;
    updateRulerLabel();
    m_plane->setDecimalPlaces(decimalPlaces);
}

// An anchor moved diagonally reports x and y one after the other, with both
// already in place; only the first report changes anything, and only a change
// is announced, so the rows recompute once per move.
void Projection::updateAxes()
{
    if (applyAxes())
        emit changed();
}

void Projection::updateRuler()
{
    if (applyRulerLine())
        emit changed();
}

bool Projection::applyAxes()
{
    const QPointF o = m_originAnchor->pos();
    const QRectF &r = m_imageRect;
    const QLineF xLine(qMin(o.x(), r.x()), o.y(), qMax(o.x(), r.x() + r.width()), o.y());
    const QLineF yLine(o.x(), qMin(o.y(), r.y()), o.x(), qMax(o.y(), r.y() + r.height()));
    if (xLine == m_xAxis->line() && yLine == m_yAxis->line())
        return false;
    m_xAxis->setLine(xLine);
    m_yAxis->setLine(yLine);
    return true;
}

bool Projection::applyRulerLine()
{
    const QLineF wanted(m_rulerEnd1Anchor->pos(), m_rulerEnd2Anchor->pos());
    if (wanted == m_rulerLine->line())
        return false;
    m_rulerLine->setLine(wanted);
    const QLineF line = m_rulerLine->line();
    QPointF labelPos = line.p2();
    if (line.p1() != line.p2()) {
        const QLineF unit = line.unitVector();
        labelPos = line.p1() + (unit.p2() - unit.p1()) * (line.length() * 0.5);
    }
    m_rulerLabel->setPos(labelPos);
    return true;
}

void Projection::updateRulerLabel()
{
    m_rulerLabel->setText(kit::isNumberToShow(m_rulerLength) ? QString::number(m_rulerLength, 'f', m_decimalPlaces)
                                                             : QString());
}

} // namespace vireo
