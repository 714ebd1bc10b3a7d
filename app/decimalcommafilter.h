#ifndef VIREO_DECIMALCOMMAFILTER_H
#define VIREO_DECIMALCOMMAFILTER_H

#include <QObject>

class QDoubleSpinBox;

namespace vireo {

// Numbers show "." in every language; a typed "," means the same, never a
// thousands separator.
class DecimalCommaFilter : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Reads "." and "," as the decimal point and refuses any grouping,
    // whatever the language.
    static void install(QDoubleSpinBox *spinBox);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace vireo

#endif
