#include "textdatastore.h"

#include "unit.h"

#include <QCoreApplication>
#include <QLocale>
#include <QtMath>

namespace kit {

class TextDataReader::Private
{
public:
    explicit Private(const DataFormat &format)
        : format(format)
    {
    }
    DataFormat format;
};

class TextDataWriter::Private
{
public:
    explicit Private(const DataFormat &format)
        : format(format)
    {
    }
    DataFormat format;
};

TextDataReader::TextDataReader(const DataFormat &format)
    : d(new Private(format))
{
}

TextDataReader::~TextDataReader() = default;

DataFormat TextDataReader::format() const
{
    return d->format;
}

// Reads the text of a value and converts it; a failed conversion is reported
// with the value's name and leaves the variable untouched.
template <typename T, typename Convert>
bool TextDataReader::readConverted(const QString &name, T &value, Convert convert, const char *failureMessage)
{
    QString text;
    if (!readString(name, text))
        return false;
    bool ok = false;
    T converted = convert(text, ok);
    if (!ok) {
        setValueError(QCoreApplication::translate("kit::TextDataReader", failureMessage).arg(name));
        return false;
    }
    value = converted;
    return true;
}

void TextDataReader::setValueError(const QString &message)
{
    setError(message);
}

bool TextDataReader::readBool(const QString &name, bool &value)
{
    return readConverted(
        name, value, [this](const QString &text, bool &ok) { return d->format.toBool(text, ok); },
        QT_TRANSLATE_NOOP("kit::TextDataReader", "The value of %1 is not a valid bool."));
}

bool TextDataReader::readDouble(const QString &name, double &value)
{
    return readConverted(
        name, value, [](const QString &text, bool &ok) { return text.toDouble(&ok); },
        QT_TRANSLATE_NOOP("kit::TextDataReader", "The value of %1 is not a valid double."));
}

bool TextDataReader::readInt(const QString &name, int &value)
{
    return readConverted(
        name, value, [](const QString &text, bool &ok) { return text.toInt(&ok, 10); },
        QT_TRANSLATE_NOOP("kit::TextDataReader", "The value of %1 is not a valid int."));
}

bool TextDataReader::readByteArray(const QString &name, QByteArray &value)
{
    QString text;
    if (!readString(name, text))
        return false;
    value = QByteArray::fromHex(text.toUtf8());
    return true;
}

bool TextDataReader::readDate(const QString &name, QDate &value)
{
    return readConverted(
        name, value,
        [](const QString &text, bool &ok) {
            const QDate date = QDate::fromString(text, Qt::ISODate);
            ok = date.isValid();
            return date;
        },
        QT_TRANSLATE_NOOP("kit::TextDataReader", "The value of %1 is not a valid date."));
}

bool TextDataReader::readDateTime(const QString &name, QDateTime &value)
{
    return readConverted(
        name, value,
        [](const QString &text, bool &ok) {
            const QDateTime dateTime = QDateTime::fromString(text, Qt::ISODate);
            ok = dateTime.isValid();
            return dateTime;
        },
        QT_TRANSLATE_NOOP("kit::TextDataReader", "The value of %1 is not a valid date."));
}

bool TextDataReader::readDir(const QString &name, QDir &value)
{
    QString text;
    if (!readString(name, text))
        return false;
    value = QDir(text);
    return true;
}

bool TextDataReader::readLocale(const QString &name, QLocale &value)
{
    return readConverted(
        name, value,
        [](const QString &text, bool &ok) {
            const QLocale locale(text);
            ok = locale.language() != QLocale::C;
            return locale;
        },
        QT_TRANSLATE_NOOP("kit::TextDataReader", "The value of %1 is not a valid locale."));
}

bool TextDataReader::readUnit(const QString &name, Unit &value)
{
    return readConverted(
        name, value,
        [](const QString &text, bool &ok) {
            const Unit unit(text);
            ok = text.isEmpty() || !unit.isNone();
            return unit;
        },
        QT_TRANSLATE_NOOP("kit::TextDataReader", "The value of %1 is not a valid unit."));
}

TextDataWriter::TextDataWriter(const DataFormat &format)
    : d(new Private(format))
{
}

TextDataWriter::~TextDataWriter() = default;

DataFormat TextDataWriter::format() const
{
    return d->format;
}

void TextDataWriter::writeBool(const QString &name, bool value)
{
    writeString(name, d->format.boolText(value));
}

// Six significant digits where they say it all (the form stores have always
// had), else the shortest text that reads back to the same number.
void TextDataWriter::writeDouble(const QString &name, double value)
{
    const QString sixDigits = QString::number(value, 'g', 6);
    if (sixDigits.toDouble() == value || !qIsFinite(value))
        writeString(name, sixDigits);
    else
        writeString(name, QString::number(value, 'g', QLocale::FloatingPointShortest));
}

void TextDataWriter::writeInt(const QString &name, int value)
{
    writeString(name, QString::number(value, 10));
}

void TextDataWriter::writeByteArray(const QString &name, const QByteArray &value)
{
    writeString(name, QString::fromLatin1(value.toHex()));
}

void TextDataWriter::writeDate(const QString &name, const QDate &value)
{
    writeString(name, value.toString(Qt::ISODate));
}

void TextDataWriter::writeDateTime(const QString &name, const QDateTime &value)
{
    writeString(name, value.toString(Qt::ISODate));
}

void TextDataWriter::writeDir(const QString &name, const QDir &value)
{
    writeString(name, value.absolutePath());
}

void TextDataWriter::writeLocale(const QString &name, const QLocale &value)
{
    writeString(name, value.name());
}

void TextDataWriter::writeUnit(const QString &name, const Unit &value)
{
    writeString(name, value.symbol());
}

} // namespace kit
