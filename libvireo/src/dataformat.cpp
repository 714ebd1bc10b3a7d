#include "dataformat.h"

namespace kit {

class DataFormat::Private
{
public:
    QStringList falseWords;
    QString name;
    QStringList trueWords;
    int version = 0;
};

DataFormat::DataFormat(const QString &name, int version)
    : d(new Private)
{
    d->falseWords = QStringList{QStringLiteral("false")};
    d->name = name;
    d->trueWords = QStringList{QStringLiteral("true")};
    d->version = version;
}

DataFormat::DataFormat(const DataFormat &other)
    : d(new Private(*other.d))
{
}

DataFormat &DataFormat::operator=(const DataFormat &other)
{
    if (this != &other)
        *d = *other.d;
    return *this;
}

DataFormat::~DataFormat() = default;

QString DataFormat::name() const
{
    return d->name;
}

int DataFormat::version() const
{
    return d->version;
}

QStringList DataFormat::trueWords() const
{
    return d->trueWords;
}

QStringList DataFormat::falseWords() const
{
    return d->falseWords;
}

bool DataFormat::toBool(const QString &text, bool &ok) const
{
    ok = true;
    if (d->trueWords.contains(text, Qt::CaseSensitive))
        return true;
    if (d->falseWords.contains(text, Qt::CaseSensitive))
        return false;
    ok = false;
    return false;
}

QString DataFormat::boolText(bool value) const
{
    return value ? d->trueWords.first() : d->falseWords.first();
}

} // namespace kit
