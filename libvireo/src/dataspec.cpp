#include "dataspec.h"

#include <QDoubleSpinBox>
#include <QLineEdit>

#include <limits>

namespace kit {

DataSpec::~DataSpec() = default;

QWidget *DataSpec::createEditor(QWidget *parent, const QModelIndex &) const
{
    return new QLineEdit(parent);
}

bool DataSpec::isCheckable() const
{
    return false;
}

int DataSpec::decimals() const
{
    return 1;
}

Unit DataSpec::unit() const
{
    return Unit();
}

DoubleSpec::DoubleSpec(int decimals)
    : m_decimals(decimals)
{
}

DoubleSpec::~DoubleSpec() = default;

QWidget *DoubleSpec::createEditor(QWidget *parent, const QModelIndex &) const
{
    auto editor = new QDoubleSpinBox(parent);
    editor->setDecimals(m_decimals);
    editor->setRange(-std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
    return editor;
}

int DoubleSpec::decimals() const
{
    return m_decimals;
}

QuantitySpec::QuantitySpec(const Unit &unit, int decimals)
    : DoubleSpec(decimals)
    , m_unit(unit)
{
}

QuantitySpec::~QuantitySpec() = default;

Unit QuantitySpec::unit() const
{
    return m_unit;
}

} // namespace kit
