#ifndef KIT_DATASPEC_H
#define KIT_DATASPEC_H

#include "unit.h"

class QModelIndex;
class QWidget;

namespace kit {

// Describes the data of a table column: its editor, whether it is a check box,
// and the unit and decimals its numbers are shown with.
class DataSpec
{
public:
    virtual ~DataSpec();

    virtual QWidget *createEditor(QWidget *parent, const QModelIndex &index) const;
    virtual bool isCheckable() const;
    virtual int decimals() const;
    virtual Unit unit() const;
};

// A floating-point column.
class DoubleSpec : public DataSpec
{
public:
    explicit DoubleSpec(int decimals = 1);
    ~DoubleSpec() override;

    QWidget *createEditor(QWidget *parent, const QModelIndex &index) const override;
    int decimals() const override;

private:
    int m_decimals;
};

// A floating-point column holding a quantity in its base unit.
class QuantitySpec : public DoubleSpec
{
public:
    explicit QuantitySpec(const Unit &unit, int decimals = 1);
    ~QuantitySpec() override;

    Unit unit() const override;

private:
    Unit m_unit;
};

} // namespace kit

#endif
