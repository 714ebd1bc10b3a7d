#ifndef KIT_UNIT_H
#define KIT_UNIT_H

#include "equality.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace kit {

// A physical unit. A small value pointing to a shared, never-freed definition;
// the default-constructed unit is the none unit.
class Unit final : public Equality<Unit>
{
public:
    class Private;

    Unit();
    explicit Unit(const QString &symbol);
    explicit Unit(const QVariant &symbol);

    bool isNone() const;
    QString symbol() const;
    QString quantity() const;
    int system() const;
    QVariant toVariant() const;

    double fromBase(double valueInBase) const;
    double toBase(double value) const;
    // "value symbol", the value converted from the base unit, 6 significant digits.
    QString format(double valueInBase) const;

    bool isEqual(const Unit &other) const override;

    // Every registered unit, sorted by symbol.
    static QList<Unit> registeredUnits();

    static const Unit MetrePerSecondSquared;
    static const Unit Radian;
    static const Unit Degree;
    static const Unit Mil;
    static const Unit RadianPerSecond;
    static const Unit SquareMetre;
    static const Unit SquareDecimetre;
    static const Unit SquareCentimetre;
    static const Unit SquareMillimetre;
    static const Unit KilogramPerCubicMetre;
    static const Unit Joule;
    static const Unit JoulePerSquareMetre;
    static const Unit JoulePerSquareMillimetre;
    static const Unit Metre;
    static const Unit Kilometre;
    static const Unit Decimetre;
    static const Unit Centimetre;
    static const Unit Millimetre;
    static const Unit Yard;
    static const Unit Foot;
    static const Unit Inch;
    static const Unit Kilogram;
    static const Unit Gram;
    static const Unit Grain;
    static const Unit Pound;
    static const Unit Pascal;
    static const Unit Hectopascal;
    static const Unit Bar;
    static const Unit Millibar;
    static const Unit KilogramPerSquareMetre;
    static const Unit GramPerSquareMillimetre;
    static const Unit MetrePerSecond;
    static const Unit KilometrePerHour;
    static const Unit FootPerSecond;
    static const Unit Kelvin;
    static const Unit Celsius;
    static const Unit Fahrenheit;
    static const Unit KelvinPerMetre;
    static const Unit CelsiusPerMetre;
    static const Unit FahrenheitPerMetre;
    static const Unit FahrenheitPerFoot;
    static const Unit Second;
    static const Unit Millisecond;

private:
    explicit Unit(const Private *d);

    const Private *d;
};

} // namespace kit

Q_DECLARE_METATYPE(kit::Unit)

#endif
