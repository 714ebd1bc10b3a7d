#ifndef KIT_TEXTDATASTORE_H
#define KIT_TEXTDATASTORE_H

#include "dataformat.h"
#include "storable.h"

#include <memory>

namespace kit {

// Typed reads on top of a single string primitive left to subclasses.
class TextDataReader : public DataReader
{
public:
    explicit TextDataReader(const DataFormat &format);
    ~TextDataReader() override;

    DataFormat format() const;

    bool readBool(const QString &name, bool &value) override;
    bool readDouble(const QString &name, double &value) override;
    bool readInt(const QString &name, int &value) override;
    bool readByteArray(const QString &name, QByteArray &value) override;
    bool readDate(const QString &name, QDate &value) override;
    bool readDateTime(const QString &name, QDateTime &value) override;
    bool readDir(const QString &name, QDir &value) override;
    bool readLocale(const QString &name, QLocale &value) override;
    bool readUnit(const QString &name, Unit &value) override;

protected:
    // A value whose text does not convert; by default an error like any
    // other, which stops the reading.
    virtual void setValueError(const QString &message);

private:
    template <typename T, typename Convert>
    bool readConverted(const QString &name, T &value, Convert convert, const char *failureMessage);

    class Private;
    std::unique_ptr<Private> d;
};

// Typed writes on top of a single string primitive left to subclasses.
class TextDataWriter : public DataWriter
{
public:
    explicit TextDataWriter(const DataFormat &format);
    ~TextDataWriter() override;

    DataFormat format() const;

    void writeBool(const QString &name, bool value) override;
    void writeDouble(const QString &name, double value) override;
    void writeInt(const QString &name, int value) override;
    void writeByteArray(const QString &name, const QByteArray &value) override;
    void writeDate(const QString &name, const QDate &value) override;
    void writeDateTime(const QString &name, const QDateTime &value) override;
    void writeDir(const QString &name, const QDir &value) override;
    void writeLocale(const QString &name, const QLocale &value) override;
    void writeUnit(const QString &name, const Unit &value) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
