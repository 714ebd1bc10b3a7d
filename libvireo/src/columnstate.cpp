#include "columnstate.h"

namespace kit {

class ColumnState::Private
{
public:
    int decimals = 1;
    Unit unit;
    bool visible = true;
    int width = 100;
};

ColumnState::ColumnState()
    : d(new Private)
{
}

ColumnState::ColumnState(const ColumnState &other)
    : Storable(other)
    , d(new Private(*other.d))
{
}

ColumnState &ColumnState::operator=(const ColumnState &other)
{
    if (this != &other)
        *d = *other.d;
    return *this;
}

ColumnState::~ColumnState() = default;

int ColumnState::decimals() const
{
    return d->decimals;
}

void ColumnState::setDecimals(int decimals)
{
    d->decimals = decimals;
}

Unit ColumnState::unit() const
{
    return d->unit;
}

void ColumnState::setUnit(const Unit &unit)
{
    d->unit = unit;
}

bool ColumnState::isVisible() const
{
    return d->visible;
}

void ColumnState::setVisible(bool visible)
{
    d->visible = visible;
}

int ColumnState::width() const
{
    return d->width;
}

void ColumnState::setWidth(int width)
{
    d->width = width;
}

void ColumnState::load(DataReader &reader)
{
    reader.readInt(QStringLiteral("decimal-places"), d->decimals);
    reader.readUnit(QStringLiteral("unit"), d->unit);
    reader.readBool(QStringLiteral("visible"), d->visible);
    reader.readInt(QStringLiteral("width"), d->width);
}

void ColumnState::save(DataWriter &writer) const
{
    writer.writeInt(QStringLiteral("decimal-places"), d->decimals);
    writer.writeUnit(QStringLiteral("unit"), d->unit);
    writer.writeBool(QStringLiteral("visible"), d->visible);
    writer.writeInt(QStringLiteral("width"), d->width);
}

} // namespace kit
