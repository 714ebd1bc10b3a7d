#include "unit.h"

#include <QMap>

namespace kit {

// Abstract unit definition; definitions are created once and never freed.
class Unit::Private
{
public:
    Private(const Private *base, int system, const QString &symbol)
        : base(base ? base : this)
        , system(system)
        , symbol(symbol)
    {
    }
    virtual ~Private() = default;

    virtual double fromBase(double value) const = 0;
    virtual double toBase(double value) const = 0;
    virtual QString quantity() const { return base->quantity(); }

    const Private *const base;
    const int system;
    const QString symbol;
};

namespace {

class BaseUnit final : public Unit::Private
{
public:
    BaseUnit(const QString &quantityName, const QString &symbol)
        : Private(nullptr, 0, symbol)
        , quantityName(quantityName)
    {
    }
    double fromBase(double value) const override { return value; }
    double toBase(double value) const override { return value; }
    QString quantity() const override { return quantityName; }

private:
    const QString quantityName;
};

class FactorUnit final : public Unit::Private
{
public:
    FactorUnit(const Private *base, int system, const QString &symbol, double factor)
        : Private(base, system, symbol)
        , factor(factor)
    {
    }
    double fromBase(double value) const override { return value / factor; }
    double toBase(double value) const override { return value * factor; }

private:
    const double factor;
};

class CelsiusUnit final : public Unit::Private
{
public:
    CelsiusUnit(const Private *base, const QString &symbol)
        : Private(base, 0, symbol)
    {
    }
    double fromBase(double value) const override { return value - 273.15; }
    double toBase(double value) const override { return value + 273.15; }
};

class FahrenheitUnit final : public Unit::Private
{
public:
    FahrenheitUnit(const Private *base, const QString &symbol)
        : Private(base, 1, symbol)
    {
    }
    double fromBase(double value) const override { return value * 9.0 / 5.0 - 459.67; }
    double toBase(double value) const override { return (value + 459.67) * 5.0 / 9.0; }
};

using Registry = QMap<QString, const Unit::Private *>;

// Functions rather than constants: the registry may be built from another
// translation unit's static initialisation.
QString degreeCelsius() { return QString(QChar(0x2103)); }
QString degreeFahrenheit() { return QString(QChar(0x2109)); }
QString squared() { return QString(QChar(0x00B2)); }
QString cubed() { return QString(QChar(0x00B3)); }

const Unit::Private *noneUnit()
{
    static const Unit::Private *const none = new BaseUnit(QStringLiteral("None"), QString());
    return none;
}

class RegistryBuilder
{
public:
    explicit RegistryBuilder(Registry &registry)
        : registry(registry)
    {
    }

    const Unit::Private *base(const char *quantity, const QString &symbol)
    {
        return enter(new BaseUnit(QString::fromLatin1(quantity), symbol));
    }
    void factor(const Unit::Private *base, int system, const QString &symbol, double factor)
    {
        enter(new FactorUnit(base, system, symbol, factor));
    }
    void celsius(const Unit::Private *base) { enter(new CelsiusUnit(base, degreeCelsius())); }
    void fahrenheit(const Unit::Private *base) { enter(new FahrenheitUnit(base, degreeFahrenheit())); }

private:
    const Unit::Private *enter(const Unit::Private *unit)
    {
        registry.insert(unit->symbol, unit);
        return unit;
    }

    Registry &registry;
};

void fillRegistry(Registry &registry)
{
    RegistryBuilder r(registry);
    const auto s = [](const char *ascii) { return QString::fromLatin1(ascii); };

    r.base("Acceleration", s("m/s") + squared());

    const auto rad = r.base("Angle", s("rad"));
    r.factor(rad, 0, s("deg"), 2 * 3.14159 / 360);
    r.factor(rad, 0, s("mil"), 2 * 3.14159 / 6400);

    r.base("Angular velocity", s("rad/s"));

    const auto m2 = r.base("Area", s("m") + squared());
    r.factor(m2, 0, s("dm") + squared(), 0.01);
    r.factor(m2, 0, s("cm") + squared(), 0.0001);
    r.factor(m2, 0, s("mm") + squared(), 1e-06);

    r.base("Density", s("kg/m") + cubed());
    r.base("Energy", s("J"));

    const auto jm2 = r.base("Energy Density", s("J/m") + squared());
    r.factor(jm2, 0, s("J/mm") + squared(), 1000000);

    const auto m = r.base("Length", s("m"));
    r.factor(m, 0, s("km"), 1000);
    r.factor(m, 0, s("dm"), 0.1);
    r.factor(m, 0, s("cm"), 0.01);
    r.factor(m, 0, s("mm"), 0.001);
    r.factor(m, 1, s("yd"), 0.9144);
    r.factor(m, 1, s("ft"), 0.3048);
    r.factor(m, 1, s("in"), 0.0254);

    const auto kg = r.base("Mass", s("kg"));
    r.factor(kg, 0, s("g"), 0.001);
    r.factor(kg, 1, s("gr"), 6.479891e-05);
    r.factor(kg, 1, s("lb"), 0.45359);

    const auto pa = r.base("Pressure", s("Pa"));
    r.factor(pa, 0, s("hPa"), 100);
    r.factor(pa, 0, s("bar"), 100000);
    r.factor(pa, 0, s("mbar"), 100);

    const auto kgm2 = r.base("Sectional Density", s("kg/m") + squared());
    r.factor(kgm2, 0, s("g/mm") + squared(), 1000);

    const auto ms = r.base("Velocity", s("m/s"));
    r.factor(ms, 0, s("km/h"), 0.2777777777777778);
    r.factor(ms, 1, s("ft/s"), 0.3048);

    const auto k = r.base("Temperature", s("K"));
    r.celsius(k);
    r.fahrenheit(k);

    const auto km = r.base("Temperature Lapse Rate", s("K/m"));
    r.factor(km, 0, degreeCelsius() + s("/m"), 1);
    r.factor(km, 1, degreeFahrenheit() + s("/m"), 0.5555555555555556);
    r.factor(km, 1, degreeFahrenheit() + s("/ft"), 1.8226888305628464);

    const auto sec = r.base("Time", s("s"));
    r.factor(sec, 0, s("ms"), 0.001);
}

const Registry &unitRegistry()
{
    static const Registry registry = [] {
        Registry r;
        fillRegistry(r);
        return r;
    }();
    return registry;
}

const Unit::Private *lookup(const QString &symbol)
{
    if (symbol.isEmpty())
        return noneUnit();
    return unitRegistry().value(symbol, noneUnit());
}

} // namespace

Unit::Unit()
    : d(noneUnit())
{
}

Unit::Unit(const QString &symbol)
    : d(lookup(symbol))
{
}

Unit::Unit(const QVariant &symbol)
    : d(lookup(symbol.toString()))
{
}

Unit::Unit(const Private *d)
    : d(d)
{
}

bool Unit::isNone() const
{
    return d == noneUnit();
}

QString Unit::symbol() const
{
    return d->symbol;
}

QString Unit::quantity() const
{
    return d->quantity();
}

int Unit::system() const
{
    return d->system;
}

QVariant Unit::toVariant() const
{
    return QVariant(d->symbol);
}

double Unit::fromBase(double valueInBase) const
{
    return d->fromBase(valueInBase);
}

double Unit::toBase(double value) const
{
    return d->toBase(value);
}

QString Unit::format(double valueInBase) const
{
    return QStringLiteral("%1 %2").arg(QString::number(fromBase(valueInBase), 'g', 6), symbol());
}

bool Unit::isEqual(const Unit &other) const
{
    return d == other.d;
}

QList<Unit> Unit::registeredUnits()
{
    QList<Unit> units;
    for (const Private *definition : unitRegistry())
        units.append(Unit(definition));
    return units;
}

const Unit Unit::MetrePerSecondSquared(QStringLiteral("m/s") + squared());
const Unit Unit::Radian(QStringLiteral("rad"));
const Unit Unit::Degree(QStringLiteral("deg"));
const Unit Unit::Mil(QStringLiteral("mil"));
const Unit Unit::RadianPerSecond(QStringLiteral("rad/s"));
const Unit Unit::SquareMetre(QStringLiteral("m") + squared());
const Unit Unit::SquareDecimetre(QStringLiteral("dm") + squared());
const Unit Unit::SquareCentimetre(QStringLiteral("cm") + squared());
const Unit Unit::SquareMillimetre(QStringLiteral("mm") + squared());
const Unit Unit::KilogramPerCubicMetre(QStringLiteral("kg/m") + cubed());
const Unit Unit::Joule(QStringLiteral("J"));
const Unit Unit::JoulePerSquareMetre(QStringLiteral("J/m") + squared());
const Unit Unit::JoulePerSquareMillimetre(QStringLiteral("J/mm") + squared());
const Unit Unit::Metre(QStringLiteral("m"));
const Unit Unit::Kilometre(QStringLiteral("km"));
const Unit Unit::Decimetre(QStringLiteral("dm"));
const Unit Unit::Centimetre(QStringLiteral("cm"));
const Unit Unit::Millimetre(QStringLiteral("mm"));
const Unit Unit::Yard(QStringLiteral("yd"));
const Unit Unit::Foot(QStringLiteral("ft"));
const Unit Unit::Inch(QStringLiteral("in"));
const Unit Unit::Kilogram(QStringLiteral("kg"));
const Unit Unit::Gram(QStringLiteral("g"));
const Unit Unit::Grain(QStringLiteral("gr"));
const Unit Unit::Pound(QStringLiteral("lb"));
const Unit Unit::Pascal(QStringLiteral("Pa"));
const Unit Unit::Hectopascal(QStringLiteral("hPa"));
const Unit Unit::Bar(QStringLiteral("bar"));
const Unit Unit::Millibar(QStringLiteral("mbar"));
const Unit Unit::KilogramPerSquareMetre(QStringLiteral("kg/m") + squared());
const Unit Unit::GramPerSquareMillimetre(QStringLiteral("g/mm") + squared());
const Unit Unit::MetrePerSecond(QStringLiteral("m/s"));
const Unit Unit::KilometrePerHour(QStringLiteral("km/h"));
const Unit Unit::FootPerSecond(QStringLiteral("ft/s"));
const Unit Unit::Kelvin(QStringLiteral("K"));
const Unit Unit::Celsius(degreeCelsius());
const Unit Unit::Fahrenheit(degreeFahrenheit());
const Unit Unit::KelvinPerMetre(QStringLiteral("K/m"));
const Unit Unit::CelsiusPerMetre(degreeCelsius() + QStringLiteral("/m"));
const Unit Unit::FahrenheitPerMetre(degreeFahrenheit() + QStringLiteral("/m"));
const Unit Unit::FahrenheitPerFoot(degreeFahrenheit() + QStringLiteral("/ft"));
const Unit Unit::Second(QStringLiteral("s"));
const Unit Unit::Millisecond(QStringLiteral("ms"));

} // namespace kit
