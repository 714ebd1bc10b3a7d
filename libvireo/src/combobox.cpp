#include "combobox.h"

#include <QDebug>

namespace kit {

class ComboBox::Private : public QObject
{
public:
    explicit Private(ComboBox *q)
        : q(q)
    {
    }

    void currentIndexHasChanged() { emit q->valueChanged(q->value()); }

    bool modelSet = false;
    int valueRole = Qt::UserRole;
    ComboBox *q;
};

ComboBox::ComboBox(QWidget *parent)
    : QComboBox(parent)
    , d(new Private(this))
{
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), d.get(), &Private::currentIndexHasChanged);
}

ComboBox::~ComboBox() = default;

QVariant ComboBox::value() const
{
    const int row = currentIndex();
    return row < 0 ? QVariant() : itemData(row, d->valueRole);
}

void ComboBox::setValue(const QVariant &value)
{
    setCurrentIndex(findData(value, d->valueRole));
}

int ComboBox::valueRole() const
{
    return d->valueRole;
}

void ComboBox::setValueRole(int role)
{
    d->valueRole = role;
}

void ComboBox::setModel(QAbstractItemModel *model)
{
    QComboBox::setModel(model);
    d->modelSet = true;
}

void ComboBox::setModelColumn(int column)
{
    if (!d->modelSet)
        qWarning("You should call setModel prior to setModelColumn!");
    QComboBox::setModelColumn(column);
}

} // namespace kit
