#ifndef KIT_STORABLE_H
#define KIT_STORABLE_H

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QList>
#include <QLocale>
#include <QMap>
#include <QPoint>
#include <QPointF>
#include <QString>

#include <map>

namespace kit {

class DataReader;
class DataWriter;
class Unit;

// An object that reads its values from a DataReader and writes them to a
// DataWriter, in one fixed order.
class Storable
{
public:
    Storable() = default;
    Storable(const Storable &) = default;
    Storable &operator=(const Storable &) = default;
    virtual ~Storable();

protected:
    friend class DataReader;
    friend class DataWriter;

    virtual void load(DataReader &reader);
    virtual void save(DataWriter &writer) const;
};

// Reads named values in document order. A read of an absent value returns
// false and leaves the variable untouched; the first error stops all reading.
class DataReader
{
public:
    virtual ~DataReader();

    virtual bool hasNextItem() = 0;
    virtual bool readBool(const QString &name, bool &value) = 0;
    virtual bool readDouble(const QString &name, double &value) = 0;
    virtual bool readInt(const QString &name, int &value) = 0;
    virtual bool readByteArray(const QString &name, QByteArray &value) = 0;
    virtual bool readDate(const QString &name, QDate &value) = 0;
    virtual bool readDateTime(const QString &name, QDateTime &value) = 0;
    virtual bool readDir(const QString &name, QDir &value) = 0;
    virtual bool readLocale(const QString &name, QLocale &value) = 0;
    virtual bool readString(const QString &name, QString &value) = 0;
    virtual bool readObject(const QString &name, Storable &value) = 0;
    virtual bool readUnit(const QString &name, Unit &value) = 0;
    virtual void beginGroup(const QString &name) = 0;
    virtual void endGroup() = 0;
    virtual int formatVersion() = 0;
    virtual void setError(const QString &message) = 0;

    bool readPoint(const QString &name, QPoint &point);
    bool readPointF(const QString &name, QPointF &point);

    template <typename T>
    void readList(const QString &groupName, const QString &itemName, QList<T> &list)
    {
        list.clear();
        beginGroup(groupName);
        while (hasNextItem()) {
            T item;
            readObject(itemName, item);
            list.append(item);
        }
        endGroup();
    }

    // For QMap and std::map alike: one item element per entry, holding the
    // key and the value. A repeated key replaces the earlier entry.
    template <typename Map>
    void readMap(const QString &groupName, const QString &itemName, Map &map)
    {
        map.clear();
        beginGroup(groupName);
        while (hasNextItem()) {
            QString key;
            typename Map::mapped_type value;
            beginGroup(itemName);
            readString(QStringLiteral("key"), key);
            readObject(QStringLiteral("value"), value);
            endGroup();
            map[key] = std::move(value);
        }
        endGroup();
    }

protected:
    void loadObject(Storable &object) { object.load(*this); }
};

// Writes named values; the counterpart of DataReader.
class DataWriter
{
public:
    virtual ~DataWriter();

    virtual void writeBool(const QString &name, bool value) = 0;
    virtual void writeDouble(const QString &name, double value) = 0;
    virtual void writeInt(const QString &name, int value) = 0;
    virtual void writeByteArray(const QString &name, const QByteArray &value) = 0;
    virtual void writeDate(const QString &name, const QDate &value) = 0;
    virtual void writeDateTime(const QString &name, const QDateTime &value) = 0;
    virtual void writeDir(const QString &name, const QDir &value) = 0;
    virtual void writeLocale(const QString &name, const QLocale &value) = 0;
    virtual void writeString(const QString &name, const QString &value) = 0;
    virtual void writeObject(const QString &name, const Storable &value) = 0;
    virtual void writeUnit(const QString &name, const Unit &value) = 0;
    virtual void beginGroup(const QString &name) = 0;
    virtual void endGroup() = 0;

    void writePoint(const QString &name, const QPoint &point);
    void writePointF(const QString &name, const QPointF &point);

    template <typename T>
    void writeList(const QString &groupName, const QString &itemName, const QList<T> &list)
    {
        beginGroup(groupName);
        for (const T &item : list)
            writeObject(itemName, item);
        endGroup();
    }

    template <typename T>
    void writeMap(const QString &groupName, const QString &itemName, const QMap<QString, T> &map)
    {
        beginGroup(groupName);
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            beginGroup(itemName);
            writeString(QStringLiteral("key"), it.key());
            writeObject(QStringLiteral("value"), it.value());
            endGroup();
        }
        endGroup();
    }

    template <typename T>
    void writeMap(const QString &groupName, const QString &itemName, const std::map<QString, T> &map)
    {
        beginGroup(groupName);
        for (const auto &[key, value] : map) {
            beginGroup(itemName);
            writeString(QStringLiteral("key"), key);
            writeObject(QStringLiteral("value"), value);
            endGroup();
        }
        endGroup();
    }

protected:
    void saveObject(const Storable &object) { object.save(*this); }
};

} // namespace kit

#endif
