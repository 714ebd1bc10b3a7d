#include "textdatastore.h"
#include "unit.h"

#include "testutils.h"

using namespace kit;

namespace {

// Values kept as plain strings, so only the text forms are under test.
class MemoryReader final : public TextDataReader
{
public:
    explicit MemoryReader(const QMap<QString, QString> &values)
        : TextDataReader(DataFormat(QStringLiteral("test"), 1))
        , values(values)
    {
    }

    bool hasNextItem() override { return false; }
    bool readString(const QString &name, QString &value) override
    {
        if (!values.contains(name))
            return false;
        value = values.value(name);
        return true;
    }
    bool readObject(const QString &, Storable &) override { return true; }
    void beginGroup(const QString &) override {}
    void endGroup() override {}
    int formatVersion() override { return 1; }
    void setError(const QString &message) override { errors.append(message); }

    QMap<QString, QString> values;
    QStringList errors;
};

class MemoryWriter final : public TextDataWriter
{
public:
    MemoryWriter()
        : TextDataWriter(DataFormat(QStringLiteral("test"), 1))
    {
    }

    void writeString(const QString &name, const QString &value) override
    {
        names.append(name);
        values.insert(name, value);
    }
    void writeObject(const QString &, const Storable &) override {}
    void beginGroup(const QString &) override {}
    void endGroup() override {}

    QStringList names;
    QMap<QString, QString> values;
};

QString failure(const char *type, const char *name)
{
    return QStringLiteral("The value of %1 is not a valid %2.").arg(QLatin1String(name), QLatin1String(type));
}

} // namespace

class TextDataStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Switzerland)); }

    void dataFormatTruthWords();
    void writtenTexts_data();
    void writtenTexts();
    void readBool_data();
    void readBool();
    void readDouble_data();
    void readDouble();
    void readInt_data();
    void readInt();
    void readLocale_data();
    void readLocale();
    void readUnit_data();
    void readUnit();
    void readDates();
    void readNeverFailingTypes();
    void absentValueKeepsDefaultWithoutError();
    void doubleRoundTripKeepsSixDigits_data();
    void doubleRoundTripKeepsSixDigits();
};

void TextDataStoreTest::dataFormatTruthWords()
{
    DataFormat format(QStringLiteral("mensor"), 3);
    QCOMPARE(format.name(), QStringLiteral("mensor"));
    QCOMPARE(format.version(), 3);
    QCOMPARE(format.boolText(true), QStringLiteral("true"));
    QCOMPARE(format.boolText(false), QStringLiteral("false"));

    DataFormat copy = format;
    copy = DataFormat(QStringLiteral("other"), 1);
    QCOMPARE(format.name(), QStringLiteral("mensor"));
    QCOMPARE(copy.name(), QStringLiteral("other"));
}

void TextDataStoreTest::writtenTexts_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("true") << "bool" << QVariant(true) << "true";
    QTest::newRow("false") << "bool" << QVariant(false) << "false";
    QTest::newRow("half") << "double" << QVariant(0.5) << "0.5";
    QTest::newRow("rounded") << "double" << QVariant(1234.5678) << "1234.57";
    QTest::newRow("exponent") << "double" << QVariant(1234567.0) << "1.23457e+06";
    QTest::newRow("small") << "double" << QVariant(1e-7) << "1e-07";
    QTest::newRow("negative int") << "int" << QVariant(-1234567) << "-1234567";
    QTest::newRow("bytes") << "bytes" << QVariant(QByteArray("\x01\xab\xff", 3)) << "01abff";
    QTest::newRow("no bytes") << "bytes" << QVariant(QByteArray()) << "";
    QTest::newRow("date") << "date" << QVariant(QDate(2014, 3, 31)) << "2014-03-31";
    QTest::newRow("datetime") << "datetime" << QVariant(QDateTime(QDate(2014, 3, 31), QTime(17, 5))) << "2014-03-31T17:05:00";
    QTest::newRow("locale") << "locale" << QVariant(QLocale(QLocale::German, QLocale::Switzerland)) << "de_CH";
    QTest::newRow("unit") << "unit" << Unit::KilometrePerHour.toVariant() << "km/h";
    QTest::newRow("none unit") << "unit" << Unit().toVariant() << "";
    QTest::newRow("dir") << "dir" << QVariant(QStringLiteral("/tmp/a/../b")) << "/tmp/b";
}

void TextDataStoreTest::writtenTexts()
{
    QFETCH(QString, type);
    QFETCH(QVariant, value);
    QFETCH(QString, text);

    MemoryWriter writer;
    const QString name = QStringLiteral("v");
    if (type == QLatin1String("bool"))
        writer.writeBool(name, value.toBool());
    else if (type == QLatin1String("double"))
        writer.writeDouble(name, value.toDouble());
    else if (type == QLatin1String("int"))
        writer.writeInt(name, value.toInt());
    else if (type == QLatin1String("bytes"))
        writer.writeByteArray(name, value.toByteArray());
    else if (type == QLatin1String("date"))
        writer.writeDate(name, value.toDate());
    else if (type == QLatin1String("datetime"))
        writer.writeDateTime(name, value.toDateTime());
    else if (type == QLatin1String("locale"))
        writer.writeLocale(name, value.toLocale());
    else if (type == QLatin1String("unit"))
        writer.writeUnit(name, Unit(value));
    else if (type == QLatin1String("dir"))
        writer.writeDir(name, QDir(value.toString()));

    QCOMPARE(writer.names, QStringList{name});
    QCOMPARE(writer.values.value(name), text);
}

void TextDataStoreTest::readBool_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("value");

    QTest::newRow("true") << "true" << true << true;
    QTest::newRow("false") << "false" << true << false;
    QTest::newRow("True") << "True" << false << false;
    QTest::newRow("TRUE") << "TRUE" << false << false;
    QTest::newRow("1") << "1" << false << false;
    QTest::newRow("yes") << "yes" << false << false;
    QTest::newRow("empty") << "" << false << false;
}

void TextDataStoreTest::readBool()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(bool, value);

    for (bool initial : {false, true}) {
        MemoryReader reader({{QStringLiteral("visible"), text}});
        bool result = initial;
        QCOMPARE(reader.readBool(QStringLiteral("visible"), result), ok);
        QCOMPARE(result, ok ? value : initial);
        QCOMPARE(reader.errors, ok ? QStringList() : QStringList{failure("bool", "visible")});
    }
}

void TextDataStoreTest::readDouble_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");

    QTest::newRow("plain") << "102.5" << true << 102.5;
    QTest::newRow("exponent") << "1.23457e+06" << true << 1234570.0;
    QTest::newRow("negative") << "-0.25" << true << -0.25;
    QTest::newRow("decimal comma") << "1,5" << false << 0.0;
    QTest::newRow("word") << "abc" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
}

void TextDataStoreTest::readDouble()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);

    MemoryReader reader({{QStringLiteral("x"), text}});
    double result = -7.0;
    QCOMPARE(reader.readDouble(QStringLiteral("x"), result), ok);
    QCOMPARE(result, ok ? value : -7.0);
    QCOMPARE(reader.errors, ok ? QStringList() : QStringList{failure("double", "x")});
}

void TextDataStoreTest::readInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << "42" << true << 42;
    QTest::newRow("negative") << "-3" << true << -3;
    QTest::newRow("fraction") << "4.5" << false << 0;
    QTest::newRow("hex") << "0x10" << false << 0;
    QTest::newRow("too large") << "99999999999" << false << 0;
    QTest::newRow("grouped") << "1,000" << false << 0;
}

void TextDataStoreTest::readInt()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);

    MemoryReader reader({{QStringLiteral("nextid"), text}});
    int result = 11;
    QCOMPARE(reader.readInt(QStringLiteral("nextid"), result), ok);
    QCOMPARE(result, ok ? value : 11);
    QCOMPARE(reader.errors, ok ? QStringList() : QStringList{failure("int", "nextid")});
}

void TextDataStoreTest::readLocale_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");

    QTest::newRow("de_CH") << "de_CH" << true;
    QTest::newRow("en_US") << "en_US" << true;
    QTest::newRow("C") << "C" << false;
    QTest::newRow("unknown") << "xx_YY" << false;
}

void TextDataStoreTest::readLocale()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);

    MemoryReader reader({{QStringLiteral("locale"), text}});
    QLocale result(QLocale::French, QLocale::France);
    QCOMPARE(reader.readLocale(QStringLiteral("locale"), result), ok);
    QCOMPARE(result.name(), ok ? text : QStringLiteral("fr_FR"));
    QCOMPARE(reader.errors, ok ? QStringList() : QStringList{failure("locale", "locale")});
}

void TextDataStoreTest::readUnit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");

    QTest::newRow("empty is none") << "" << true;
    QTest::newRow("km/h") << "km/h" << true;
    QTest::newRow("celsius") << QStringLiteral("\u2103") << true;
    QTest::newRow("kmh") << "kmh" << false;
    QTest::newRow("degree sign C") << QStringLiteral("\u00B0C") << false;
}

void TextDataStoreTest::readUnit()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);

    MemoryReader reader({{QStringLiteral("unit"), text}});
    Unit result = Unit::Metre;
    QCOMPARE(reader.readUnit(QStringLiteral("unit"), result), ok);
    QCOMPARE(result, ok ? Unit(text) : Unit::Metre);
    QCOMPARE(reader.errors, ok ? QStringList() : QStringList{failure("unit", "unit")});
}

void TextDataStoreTest::readDates()
{
    MemoryReader reader({{QStringLiteral("d"), QStringLiteral("2014-03-31")},
                         {QStringLiteral("t"), QStringLiteral("2014-03-31T17:05:00")},
                         {QStringLiteral("bad"), QStringLiteral("2014-02-30")}});
    QDate date;
    QDateTime time;
    QVERIFY(reader.readDate(QStringLiteral("d"), date));
    QCOMPARE(date, QDate(2014, 3, 31));
    QVERIFY(reader.readDateTime(QStringLiteral("t"), time));
    QCOMPARE(time, QDateTime(QDate(2014, 3, 31), QTime(17, 5)));

    QVERIFY(!reader.readDate(QStringLiteral("bad"), date));
    QVERIFY(!reader.readDateTime(QStringLiteral("bad"), time));
    QCOMPARE(date, QDate(2014, 3, 31));
    // Both date types share the date message.
    QCOMPARE(reader.errors, QStringList({failure("date", "bad"), failure("date", "bad")}));
}

void TextDataStoreTest::readNeverFailingTypes()
{
    MemoryReader reader({{QStringLiteral("bytes"), QStringLiteral("01 AB-ff")},
                         {QStringLiteral("dir"), QStringLiteral("relative/path")},
                         {QStringLiteral("text"), QStringLiteral("  spaced  ")}});
    QByteArray bytes;
    QDir dir;
    QString text;
    QVERIFY(reader.readByteArray(QStringLiteral("bytes"), bytes));
    QCOMPARE(bytes, QByteArray("\x01\xab\xff", 3));
    QVERIFY(reader.readDir(QStringLiteral("dir"), dir));
    QCOMPARE(dir.path(), QStringLiteral("relative/path"));
    QVERIFY(reader.readString(QStringLiteral("text"), text));
    QCOMPARE(text, QStringLiteral("  spaced  "));
    QVERIFY(reader.errors.isEmpty());
}

void TextDataStoreTest::absentValueKeepsDefaultWithoutError()
{
    MemoryReader reader({});
    int number = 5;
    double real = 2.5;
    bool flag = true;
    Unit unit = Unit::Inch;
    QVERIFY(!reader.readInt(QStringLiteral("a"), number));
    QVERIFY(!reader.readDouble(QStringLiteral("b"), real));
    QVERIFY(!reader.readBool(QStringLiteral("c"), flag));
    QVERIFY(!reader.readUnit(QStringLiteral("d"), unit));
    QCOMPARE(number, 5);
    QCOMPARE(real, 2.5);
    QCOMPARE(flag, true);
    QCOMPARE(unit, Unit::Inch);
    QVERIFY(reader.errors.isEmpty());
}

void TextDataStoreTest::doubleRoundTripKeepsSixDigits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("stored");

    QTest::newRow("long fraction") << 0.123456789 << 0.123457;
    QTest::newRow("tiny") << 1e-7 << 1e-7;
    QTest::newRow("exact") << 102.5 << 102.5;
    QTest::newRow("large") << 1234567.0 << 1234570.0;
}

void TextDataStoreTest::doubleRoundTripKeepsSixDigits()
{
    QFETCH(double, value);
    QFETCH(double, stored);

    MemoryWriter writer;
    writer.writeDouble(QStringLiteral("v"), value);
    MemoryReader reader(writer.values);
    double result = 0;
    QVERIFY(reader.readDouble(QStringLiteral("v"), result));
    QCOMPARE(result, stored);
}

MENSOR_CORETEST_MAIN(TextDataStoreTest)
#include "textdatastoretest.moc"
