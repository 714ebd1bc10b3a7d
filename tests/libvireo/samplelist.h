#ifndef MENSOR_SAMPLELIST_H
#define MENSOR_SAMPLELIST_H

#include "datalist.h"
#include "dataspec.h"

#include <QVector>

// A row of four cells: name (text), x and y (numbers), done (check box).
// Setting x also changes y (y follows as 2·x), so one edit marks two columns.
class SampleItem : public kit::DataItem
{
public:
    explicit SampleItem(const QString &name = QString(), double x = 0)
        : m_name(name)
        , m_x(x)
        , m_y(2 * x)
    {
    }

    QVariant value(int column) const override
    {
        switch (column) {
        case 0:
            return m_name;
        case 1:
            return m_x;
        case 2:
            return m_y;
        case 3:
            return m_done;
        }
        return QVariant();
    }
    bool isEditable(int column) const override { return column != 2; }
    bool isEnabled(int column) const override { return column != 3 || !m_name.isEmpty(); }

    void load(kit::DataReader &reader) override
    {
        reader.readString(QStringLiteral("name"), m_name);
        reader.readDouble(QStringLiteral("x"), m_x);
        m_y = 2 * m_x;
    }
    void save(kit::DataWriter &writer) const override
    {
        writer.writeString(QStringLiteral("name"), m_name);
        writer.writeDouble(QStringLiteral("x"), m_x);
    }

    QVector<int> refusedColumns;
    bool nestedResult = true;
    bool callNested = false;

protected:
    bool storeValue(int column, const QVariant &value) override
    {
        if (refusedColumns.contains(column))
            return false;
        if (callNested)
            nestedResult = setValue(0, QStringLiteral("nested"));
        switch (column) {
        case 0:
            m_name = value.toString();
            return true;
        case 1:
            m_x = value.toDouble();
            m_y = 2 * m_x;
            markChanged(2);
            return true;
        case 3:
            m_done = value.toBool();
            return true;
        }
        return false;
    }

private:
    QString m_name;
    double m_x = 0;
    double m_y = 0;
    bool m_done = false;
};

class SampleList : public kit::DataList
{
public:
    explicit SampleList(QObject *parent = nullptr)
        : DataList(4, parent)
    {
    }

    QString columnTitle(int column) const override
    {
        static const char *titles[] = {"Name", "X", "Y", "Done"};
        return column >= 0 && column < 4 ? QString::fromLatin1(titles[column]) : QString();
    }
    QString columnDescription(int column) const override { return QStringLiteral("about %1").arg(column); }
    int columnWidth(int column) const override { return column == 1 ? 70 : DataList::columnWidth(column); }
    bool columnVisible(int column) const override { return column != 3; }
    kit::DataSpec *columnSpec(int column) const override
    {
        if (column == 3)
            return const_cast<CheckSpec *>(&m_check);
        if (column == 2)
            return const_cast<kit::QuantitySpec *>(&m_quantity);
        return nullptr;
    }

    void addRows(int count)
    {
        for (int i = 0; i < count; ++i)
            append(new SampleItem(QStringLiteral("row %1").arg(this->count()), this->count()));
    }

protected:
    kit::DataItem *createItem() override { return new SampleItem; }
    QString itemName() const override { return QStringLiteral("sample"); }

private:
    struct CheckSpec : kit::DataSpec
    {
        bool isCheckable() const override { return true; }
    };
    CheckSpec m_check;
    kit::QuantitySpec m_quantity{kit::Unit::Millimetre, 2};
};

#endif
