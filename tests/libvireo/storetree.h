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
    void load(kit::DataReader &r) override
    {
        r.readInt(QStringLiteral("id"), id);
        r.readPointF(QStringLiteral("pos"), pos);
        r.readString(QStringLiteral("file"), file);
    }

    void save(kit::DataWriter &w) const override
    {
        w.writeInt(QStringLiteral("id"), id);
        w.writePointF(QStringLiteral("pos"), pos);
        w.writeString(QStringLiteral("file"), file);
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

    void load(kit::DataReader &r) override
    {
        r.readInt(QStringLiteral("nextid"), nextId);
        r.readPoint(QStringLiteral("origin"), origin);
        r.readDouble(QStringLiteral("length"), length);
        r.readList(QStringLiteral("points"), QStringLiteral("point"), points);
    }

    void save(kit::DataWriter &w) const override
    {
        w.writeInt(QStringLiteral("nextid"), nextId);
        w.writePoint(QStringLiteral("origin"), origin);
        w.writeDouble(QStringLiteral("length"), length);
        w.writeList(QStringLiteral("points"), QStringLiteral("point"), points);
    }
};

struct Root : kit::Storable
{
    QLocale locale = QLocale(QLocale::German, QLocale::Switzerland);
    bool flag = false;
    QByteArray bytes;
    kit::Unit unit;
    QString text;
    Record single;
    QMap<QString, Record> records;
    void load(kit::DataReader &r) override
    {
        r.readLocale(QStringLiteral("locale"), locale);
        r.readBool(QStringLiteral("flag"), flag);
        r.readByteArray(QStringLiteral("bytes"), bytes);
        r.readUnit(QStringLiteral("unit"), unit);
        r.readString(QStringLiteral("text"), text);
        r.readObject(QStringLiteral("single"), single);
        r.readMap(QStringLiteral("records"), QStringLiteral("record"), records);
    }

    void save(kit::DataWriter &w) const override
    {
        w.writeLocale(QStringLiteral("locale"), locale);
        w.writeBool(QStringLiteral("flag"), flag);
        w.writeByteArray(QStringLiteral("bytes"), bytes);
        w.writeUnit(QStringLiteral("unit"), unit);
        w.writeString(QStringLiteral("text"), text);
        w.writeObject(QStringLiteral("single"), single);
        w.writeMap(QStringLiteral("records"), QStringLiteral("record"), records);
    }
};

#endif
