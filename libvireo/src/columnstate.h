#ifndef KIT_COLUMNSTATE_H
#define KIT_COLUMNSTATE_H

#include "storable.h"
#include "unit.h"

#include <memory>

namespace kit {

// The display state of one table column.
class ColumnState : public Storable
{
public:
    ColumnState();
    ColumnState(const ColumnState &other);
    ColumnState &operator=(const ColumnState &other);
    ~ColumnState() override;

    int decimals() const;
    void setDecimals(int decimals);
    Unit unit() const;
    void setUnit(const Unit &unit);
    bool isVisible() const;
    void setVisible(bool visible);
    int width() const;
    void setWidth(int width);

    void load(DataReader &reader) override;
    void save(DataWriter &writer) const override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
