#include "dataspec.h"
#include "unit.h"

#include "testutils.h"

#include <QSet>

using kit::Unit;

class UnitTest : public QObject
{
    Q_OBJECT

private slots:
    void registryHoldsAllUnitsOfAllQuantities();
    void lookupBySymbol_data();
    void lookupBySymbol();
    void conversions_data();
    void conversions();
    void toBaseInvertsFromBase();
    void formatUsesSixSignificantDigits_data();
    void formatUsesSixSignificantDigits();
    void equalityIsIdentityOfDefinition();
    void constantsMatchRegistry();
    void specsAnswerTheirConfiguration();
};

void UnitTest::registryHoldsAllUnitsOfAllQuantities()
{
    const QList<Unit> units = Unit::registeredUnits();
    QCOMPARE(units.size(), 43);
    QSet<QString> quantities;
    QStringList symbols;
    for (const Unit &unit : units) {
        QVERIFY(!unit.isNone());
        quantities.insert(unit.quantity());
        symbols.append(unit.symbol());
    }
    // The registry table names 15 quantities.
    QCOMPARE(quantities.size(), 15);
    QStringList sorted = symbols;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(symbols, sorted);
    QVERIFY(!quantities.contains(QStringLiteral("None")));
}

void UnitTest::lookupBySymbol_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<int>("system");

    QTest::newRow("empty") << QString() << false << "None" << 0;
    QTest::newRow("metre") << "m" << true << "Length" << 0;
    QTest::newRow("inch") << "in" << true << "Length" << 1;
    QTest::newRow("acceleration") << QStringLiteral("m/s\u00B2") << true << "Acceleration" << 0;
    QTest::newRow("density") << QStringLiteral("kg/m\u00B3") << true << "Density" << 0;
    QTest::newRow("celsius") << QStringLiteral("\u2103") << true << "Temperature" << 0;
    QTest::newRow("fahrenheit") << QStringLiteral("\u2109") << true << "Temperature" << 1;
    QTest::newRow("fahrenheit per foot") << QStringLiteral("\u2109/ft") << true << "Temperature Lapse Rate" << 1;
    QTest::newRow("degree sign and C") << QStringLiteral("\u00B0C") << false << "None" << 0;
    QTest::newRow("ascii squared") << "m2" << false << "None" << 0;
    QTest::newRow("wrong case") << "KM" << false << "None" << 0;
    QTest::newRow("pound") << "lb" << true << "Mass" << 1;
    QTest::newRow("angular velocity") << "rad/s" << true << "Angular velocity" << 0;
}

void UnitTest::lookupBySymbol()
{
    QFETCH(QString, symbol);
    QFETCH(bool, registered);
    QFETCH(QString, quantity);
    QFETCH(int, system);

    const Unit unit(symbol);
    QCOMPARE(unit.isNone(), !registered);
    QCOMPARE(unit.symbol(), registered ? symbol : QString());
    QCOMPARE(unit.quantity(), quantity);
    QCOMPARE(unit.system(), system);
    QCOMPARE(Unit(QVariant(symbol)), unit);
    QCOMPARE(unit.toVariant().toString(), unit.symbol());
}

void UnitTest::conversions_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<double>("base");
    QTest::addColumn<double>("expected");

    QTest::newRow("km/h") << "km/h" << 10.0 << 36.0;
    QTest::newRow("deg uses 3.14159") << "deg" << 3.14159 << 180.0;
    QTest::newRow("mil uses 3.14159") << "mil" << 3.14159 << 3200.0;
    QTest::newRow("celsius at zero") << QStringLiteral("\u2103") << 0.0 << -273.15;
    QTest::newRow("fahrenheit at zero") << QStringLiteral("\u2109") << 0.0 << -459.67;
    QTest::newRow("fahrenheit freezing") << QStringLiteral("\u2109") << 255.3722222 << 0.0;
    QTest::newRow("km") << "km" << 1500.0 << 1.5;
    QTest::newRow("pound is 0.45359") << "lb" << 0.45359 << 1.0;
    QTest::newRow("grain") << "gr" << 6.479891e-05 << 1.0;
    QTest::newRow("square millimetre") << QStringLiteral("mm\u00B2") << 1.0 << 1e6;
    QTest::newRow("J/mm2") << QStringLiteral("J/mm\u00B2") << 2e6 << 2.0;
    QTest::newRow("g/mm2") << QStringLiteral("g/mm\u00B2") << 1000.0 << 1.0;
    QTest::newRow("fahrenheit per metre") << QStringLiteral("\u2109/m") << 1.0 << 1.8;
    QTest::newRow("celsius per metre") << QStringLiteral("\u2103/m") << 4.0 << 4.0;
    QTest::newRow("bar") << "bar" << 250000.0 << 2.5;
    QTest::newRow("ms") << "ms" << 1.0 << 1000.0;
    QTest::newRow("none passes through") << QString() << 42.5 << 42.5;
}

void UnitTest::conversions()
{
    QFETCH(QString, symbol);
    QFETCH(double, base);
    QFETCH(double, expected);

    const double value = Unit(symbol).fromBase(base);
    QVERIFY2(qAbs(value - expected) < 1e-4, qPrintable(QString::number(value, 'g', 12)));
}

void UnitTest::toBaseInvertsFromBase()
{
    for (const Unit &unit : Unit::registeredUnits()) {
        for (double value : {-40.0, 0.0, 1.0, 123.456}) {
            const double roundTrip = unit.toBase(unit.fromBase(value));
            QVERIFY2(qAbs(roundTrip - value) < 1e-9 * qMax(1.0, qAbs(value)), qPrintable(unit.symbol()));
        }
    }
}

void UnitTest::formatUsesSixSignificantDigits_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<double>("base");
    QTest::addColumn<QString>("text");

    QTest::newRow("km") << "km" << 1500.0 << "1.5 km";
    QTest::newRow("rounded") << "m" << 1234.5678 << "1234.57 m";
    QTest::newRow("exponent") << "m" << 1234567.0 << "1.23457e+06 m";
    QTest::newRow("none") << QString() << 2.0 << "2 ";
}

void UnitTest::formatUsesSixSignificantDigits()
{
    QFETCH(QString, symbol);
    QFETCH(double, base);
    QFETCH(QString, text);

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(Unit(symbol).format(base), text);
    QLocale::setDefault(QLocale::c());
}

void UnitTest::equalityIsIdentityOfDefinition()
{
    const Unit a(QStringLiteral("mm"));
    const Unit copy = a;
    QCOMPARE(copy, a);
    QCOMPARE(Unit(QStringLiteral("mm")), a);
    QVERIFY(Unit(QStringLiteral("cm")) != a);
    QCOMPARE(Unit(), Unit(QString()));
    QCOMPARE(Unit(), Unit(QStringLiteral("nonsense")));
    QVERIFY(Unit().isNone());
    QVERIFY(Unit().symbol().isEmpty());
    // Velocity m/s and the metre share no definition even though "m" prefixes "m/s".
    QVERIFY(Unit(QStringLiteral("m/s")) != Unit(QStringLiteral("m")));
}

void UnitTest::constantsMatchRegistry()
{
    QCOMPARE(Unit::Metre.symbol(), QStringLiteral("m"));
    QCOMPARE(Unit::Celsius.symbol(), QStringLiteral("\u2103"));
    QCOMPARE(Unit::FahrenheitPerFoot.symbol(), QStringLiteral("\u2109/ft"));
    QCOMPARE(Unit::SquareMillimetre.symbol(), QStringLiteral("mm\u00B2"));
    QCOMPARE(Unit::KilogramPerCubicMetre, Unit(QStringLiteral("kg/m\u00B3")));
    QCOMPARE(Unit::Millisecond.quantity(), QStringLiteral("Time"));
    QCOMPARE(Unit::Degree.quantity(), QStringLiteral("Angle"));
}

void UnitTest::specsAnswerTheirConfiguration()
{
    const kit::DataSpec plain;
    QVERIFY(!plain.isCheckable());
    QVERIFY(plain.unit().isNone());

    const kit::QuantitySpec quantity(Unit::Millimetre, 3);
    QCOMPARE(quantity.unit(), Unit::Millimetre);
    QCOMPARE(quantity.decimals(), 3);
    QVERIFY(!quantity.isCheckable());

    QWidget parent;
    QWidget *editor = quantity.createEditor(&parent, QModelIndex());
    QVERIFY(editor);
    QCOMPARE(editor->parent(), &parent);
}

MENSOR_GUITEST_MAIN(UnitTest)
#include "unittest.moc"
