#ifndef MENSOR_STORETREE_H
#define MENSOR_STORETREE_H

#include "storable.h"
#include "unit.h"

// A small tree of storables shaped like the settings: nested objects, a group,
// a list and a map, with every value type.
struct Leaf : kit::Storable
{
    int id = 0;
    QPointF pos;
    QString file;

    bool operator==(const Leaf &o) const { return id == o.id && pos == o.pos && file == o.file; }

    void load(kit::DataReader &reader) override
    {
        reader.readInt(QStringLiteral("id"), id);
        reader.readPointF(QStringLiteral("pos"), pos);
        reader.readString(QStringLiteral("file"), file);
    }
    void save(kit::DataWriter &writer) const override
    {
        writer.writeInt(QStringLiteral("id"), id);
        writer.writePointF(QStringLiteral("pos"), pos);
        writer.writeString(QStringLiteral("file"), file);
    }
};

struct Record : kit::Storable
{
    int nextId = 1;
    QPoint origin;
    double length = 1.0;
    QList<Leaf> points;

    bool operator==(const Record &o) const
    {
        return nextId == o.nextId && origin == o.origin && length == o.length && points == o.points;
    }

    void load(kit::DataReader &reader) override
    {
        reader.readInt(QStringLiteral("nextid"), nextId);
        reader.readPoint(QStringLiteral("origin"), origin);
        reader.readDouble(QStringLiteral("length"), length);
        reader.readList(QStringLiteral("points"), QStringLiteral("point"), points);
    }
    void save(kit::DataWriter &writer) const override
    {
        writer.writeInt(QStringLiteral("nextid"), nextId);
        writer.writePoint(QStringLiteral("origin"), origin);
        writer.writeDouble(QStringLiteral("length"), length);
        writer.writeList(QStringLiteral("points"), QStringLiteral("point"), points);
    }
};

struct Root : kit::Storable
{
    QLocale locale = QLocale(QLocale::German, QLocale::Switzerland);
    bool flag = false;
    QByteArray bytes;
    QDate date;
    QDateTime dateTime;
    QDir dir;
    kit::Unit unit;
    QString text;
    Record single;
    QMap<QString, Record> records;

    void load(kit::DataReader &reader) override
    {
        reader.readLocale(QStringLiteral("locale"), locale);
        reader.readBool(QStringLiteral("flag"), flag);
        reader.readByteArray(QStringLiteral("bytes"), bytes);
        reader.readDate(QStringLiteral("date"), date);
        reader.readDateTime(QStringLiteral("datetime"), dateTime);
        reader.readDir(QStringLiteral("dir"), dir);
        reader.readUnit(QStringLiteral("unit"), unit);
        reader.readString(QStringLiteral("text"), text);
        reader.readObject(QStringLiteral("single"), single);
        reader.readMap(QStringLiteral("records"), QStringLiteral("record"), records);
    }
    void save(kit::DataWriter &writer) const override
    {
        writer.writeLocale(QStringLiteral("locale"), locale);
        writer.writeBool(QStringLiteral("flag"), flag);
        writer.writeByteArray(QStringLiteral("bytes"), bytes);
        writer.writeDate(QStringLiteral("date"), date);
        writer.writeDateTime(QStringLiteral("datetime"), dateTime);
        writer.writeDir(QStringLiteral("dir"), dir);
        writer.writeUnit(QStringLiteral("unit"), unit);
        writer.writeString(QStringLiteral("text"), text);
        writer.writeObject(QStringLiteral("single"), single);
        writer.writeMap(QStringLiteral("records"), QStringLiteral("record"), records);
    }
};

#endif
