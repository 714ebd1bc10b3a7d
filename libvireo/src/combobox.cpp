#include "combobox.h"

#include <QAbstractItemView>
#include <QDebug>
#include <QStyledItemDelegate>

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
    // The toolkit's menu-like rows need more room than they ask for and
    // elide what does not fit; plain rows paint within what they ask for.
    setItemDelegate(new QStyledItemDelegate(this));
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

// The list is sized for the box's own text, not for its rows' margins.
void ComboBox::showPopup()
{
    QComboBox::showPopup();
    QAbstractItemView *list = view();
    QWidget *popup = list->window();
    const int needed = list->sizeHintForColumn(0) + popup->width() - list->viewport()->width();
    if (popup->width() < needed)
        popup->resize(needed, popup->height());
}

} // namespace kit
