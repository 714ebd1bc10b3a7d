#ifndef KIT_COMBOBOX_H
#define KIT_COMBOBOX_H

#include "qtcompat.h"

#include <QComboBox>
#include <QVariant>

#include <memory>

namespace kit {

// A combo box read and written by value: the data of the current row under
// valueRole.
class ComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged USER true)
    Q_PROPERTY(int valueRole READ valueRole WRITE setValueRole)

public:
    explicit ComboBox(QWidget *parent = nullptr);
    ~ComboBox() override;

    QVariant value() const;
    void setValue(const QVariant &value);
    int valueRole() const;
    void setValueRole(int role);

    void setModel(QAbstractItemModel *model) KIT_OVERRIDE_SINCE_QT6;
    void setModelColumn(int column);

    // The list drops down as wide as its rows need, never shortening a name.
    void showPopup() override;

signals:
    void valueChanged(const QVariant &value);

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
