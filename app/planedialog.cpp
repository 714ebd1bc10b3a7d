#include "planedialog.h"

#include "decimalcommafilter.h"
#include "planemap.h"

#include <icons.h>

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vireo {

namespace {
const double largestCoordinate = 1e9;
} // namespace

PlaneDialog::PlaneDialog(const QVector<QPointF> &image, const QVector<QPointF> &world, int decimalPlaces, QWidget *parent)
    : QDialog(parent)
    , m_image(image)
{
    setObjectName(QStringLiteral("vireo__PlaneDialog"));
    setWindowTitle(tr("Plane Coordinates"));
    auto grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("X")), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Y")), 0, 2, Qt::AlignCenter);
    for (int i = 0; i < world.size(); ++i) {
        grid->addWidget(new QLabel(tr("Reference %1").arg(i + 1)), i + 1, 0);
        m_x.append(numberBox(world[i].x(), decimalPlaces));
        m_y.append(numberBox(world[i].y(), decimalPlaces));
        grid->addWidget(m_x.last(), i + 1, 1);
        grid->addWidget(m_y.last(), i + 1, 2);
    }
    auto rectangle = new QHBoxLayout;
    m_width = numberBox(qAbs(world.value(2).x() - world.value(0).x()), decimalPlaces);
    m_height = numberBox(qAbs(world.value(2).y() - world.value(0).y()), decimalPlaces);
    auto fill = new QPushButton(tr("&Fill In"));
    fill->setObjectName(QStringLiteral("fillRectangle"));
    connect(fill, &QPushButton::clicked, this, &PlaneDialog::fillRectangle);
    rectangle->addWidget(new QLabel(tr("A rectangle of")));
    rectangle->addWidget(m_width);
    rectangle->addWidget(new QLabel(QStringLiteral("×")));
    rectangle->addWidget(m_height);
    rectangle->addWidget(fill);
    m_accuracy = new QLabel;
    m_accuracy->setWordWrap(true);
    auto buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    kit::setStandardButtonIcons(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Where the references lie on the plane, in the unit you measure in:")));
    layout->addLayout(grid);
    layout->addLayout(rectangle);
    layout->addWidget(m_accuracy);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    updateAccuracy();
}

PlaneDialog::~PlaneDialog() = default;

QDoubleSpinBox *PlaneDialog::numberBox(double value, int decimalPlaces)
{
    auto box = new QDoubleSpinBox;
    box->setDecimals(decimalPlaces);
    box->setRange(-largestCoordinate, largestCoordinate);
    DecimalCommaFilter::install(box);
    box->setValue(value);
    connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, &PlaneDialog::updateAccuracy);
    return box;
}

QVector<QPointF> PlaneDialog::world() const
{
    QVector<QPointF> world;
    for (int i = 0; i < m_x.size(); ++i)
        world.append(QPointF(m_x[i]->value(), m_y[i]->value()));
    return world;
}

QString PlaneDialog::accuracyText() const
{
    return m_accuracy->text();
}

void PlaneDialog::fillRectangle()
{
    const double w = m_width->value();
    const double h = m_height->value();
    const QPointF corners[] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    for (int i = 0; i < m_x.size() && i < 4; ++i) {
        m_x[i]->setValue(corners[i].x());
        m_y[i]->setValue(corners[i].y());
    }
}

void PlaneDialog::updateAccuracy()
{
    const PlaneMap map(m_image, world());
    if (!map.isValid()) {
        m_accuracy->setText(map.problem() + QLatin1Char(' ') + tr("No coordinates are shown until this is mended."));
        return;
    }
    m_accuracy->setText(tr("References placed up to half a pixel off move the points within the quadrilateral by at "
                           "most %1 on the plane.")
                            .arg(map.errorBound(), 0, 'f', m_x.isEmpty() ? 3 : m_x.first()->decimals()));
}

} // namespace vireo
