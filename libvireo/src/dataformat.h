#ifndef KIT_DATAFORMAT_H
#define KIT_DATAFORMAT_H

#include <QString>
#include <QStringList>

#include <memory>

namespace kit {

// Name, version and truth words of a data document.
class DataFormat
{
public:
    DataFormat(const QString &name, int version);
    DataFormat(const DataFormat &other);
    DataFormat &operator=(const DataFormat &other);
    ~DataFormat();

    QString name() const;
    int version() const;
    QStringList trueWords() const;
    QStringList falseWords() const;

    // Exactly one of the truth words, compared case-sensitively.
    bool toBool(const QString &text, bool &ok) const;
    QString boolText(bool value) const;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
