#include "dataspec.h"
#include "qtcompat.h"
#include "translations.h"
#include "unit.h"

#include "testutils.h"

using kit::Translations;
using kit::Unit;

class UnitTest : public QObject
{
    Q_OBJECT

private slots:

    // Stored files name units by symbol: a unit missing from the registry makes
    // them unreadable.
    void registryHoldsEveryUnit()
    {
        const QList<Unit> units = Unit::registeredUnits();
        QSet<QString> quantities;
        QStringList symbols;
        for (const Unit &unit : units) {
            quantities.insert(unit.quantity());
            symbols.append(unit.symbol());
            for (double value : {-40.0, 0.0, 1.0, 123.456})
                QVERIFY2(qAbs(unit.toBase(unit.fromBase(value)) - value) < 1e-9 * qMax(1.0, qAbs(value)), qPrintable(unit.symbol()));
        }
        QCOMPARE(units.size(), 43);
        QCOMPARE(quantities.size(), 15);
        QVERIFY(std::is_sorted(symbols.begin(), symbols.end()));
        QVERIFY(!quantities.contains(QStringLiteral("None")));
        QVERIFY(Unit(QStringLiteral("m/s")) != Unit::Metre);
        QCOMPARE(Unit(QVariant(QStringLiteral("mm"))), Unit::Millimetre);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(Unit::Kilometre.format(1500) + Unit::Metre.format(1234567.0), QStringLiteral("1.5 km1.23457e+06 m"));
        QLocale::setDefault(QLocale::c());
        const kit::QuantitySpec spec(Unit::Millimetre, 3);
        QCOMPARE(spec.unit(), Unit::Millimetre);
        QVERIFY(!spec.isCheckable() && !kit::DataSpec().isCheckable());
    }

    void unitsBySymbol_data()
    {
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<int>("system");
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("expected");
        QTest::newRow("deg uses 3.14159") << "deg" << "Angle" << 0 << 3.14159 << 180.0;
        QTest::newRow("celsius at zero") << QStringLiteral("\u2103") << "Temperature" << 0 << 0.0 << -273.15;
        QTest::newRow("fahrenheit freezing") << QStringLiteral("\u2109") << "Temperature" << 1 << 255.3722222 << 0.0;
        QTest::newRow("fahrenheit per foot") << QStringLiteral("\u2109/ft") << "Temperature Lapse Rate" << 1 << 1.0 << 0.54864;
        QTest::newRow("km") << "km" << "Length" << 0 << 1500.0 << 1.5;
        QTest::newRow("pound") << "lb" << "Mass" << 1 << 0.45359 << 1.0;
        QTest::newRow("square millimetre") << QStringLiteral("mm\u00b2") << "Area" << 0 << 1.0 << 1e6;
        QTest::newRow("J/mm2") << QStringLiteral("J/mm\u00b2") << "Energy Density" << 0 << 2e6 << 2.0;
        QTest::newRow("g/mm2") << QStringLiteral("g/mm\u00b2") << "Sectional Density" << 0 << 1000.0 << 1.0;
        QTest::newRow("mbar") << "mbar" << "Pressure" << 0 << 250.0 << 2.5;
        QTest::newRow("ms") << "ms" << "Time" << 0 << 1.0 << 1000.0;
        for (const QString &unknown : {QString(), QStringLiteral("\u00b0C"), QStringLiteral("m2"), QStringLiteral("KM")})
            QTest::newRow(qPrintable(QStringLiteral("unknown '%1'").arg(unknown))) << unknown << "None" << 0 << 42.5 << 42.5;
    }

    void unitsBySymbol()
    {
        QFETCH(QString, symbol);
        QFETCH(QString, quantity);
        QFETCH(int, system);
        QFETCH(double, base);
        QFETCH(double, expected);
        const Unit unit(symbol);
        QCOMPARE(unit.isNone(), quantity == QLatin1String("None"));
        QCOMPARE(unit.symbol(), unit.isNone() ? QString() : symbol);
        QCOMPARE(unit.quantity(), quantity);
        QCOMPARE(unit.system(), system);
        QVERIFY2(qAbs(unit.fromBase(base) - expected) < 1e-4, qPrintable(QString::number(unit.fromBase(base), 'g', 12)));
    }

    void catalogueTexts_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("text");
        const QLocale ch(QLocale::German, QLocale::Switzerland);
        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        const char *doubleMessage = "The value of %1 is not a valid double.";
        QTest::newRow("ch double") << ch << "kit::TextDataReader" << doubleMessage << "%1 ist keine gültige Fliesskommazahl.";
        QTest::newRow("de double") << de << "kit::TextDataReader" << doubleMessage << "%1 ist keine gültige Fließkommazahl.";
        QTest::newRow("en double") << en << "kit::TextDataReader" << doubleMessage << doubleMessage;
        QTest::newRow("de closing tag") << de << "ns::XmlDataReader::Private" << "Closing tag </%1> expected."
                                        << "Schließendes Tag </%1> erwartet.";
    }

    // One catalogue of the program's and one of the toolkit's at a time, whatever
    // was switched before.
    void catalogueTexts()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, text);
        const bool toolkit = QFile::exists(kit::toolkitTranslationsPath() + QStringLiteral("/qt_%1.qm").arg(locale.name().left(2)));
        SilentMessages silence;
        for (const QLocale &other : {QLocale(QLocale::German, QLocale::Switzerland), QLocale(QLocale::German, QLocale::Germany), locale})
            Translations::instance().setLocale(other);
        QCOMPARE(QCoreApplication::translate(context.toLatin1(), source.toLatin1()), text);
        QCOMPARE(Translations::instance().installedCount(), int(locale.language() == QLocale::German) + int(toolkit));
    }
};

MENSOR_GUITEST_MAIN(UnitTest)
#include "unittest.moc"
