#include "decimalcommafilter.h"

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace vireo {

void DecimalCommaFilter::install(QDoubleSpinBox *spinBox)
{
    QLocale numbers = QLocale::c();
    numbers.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    spinBox->setLocale(numbers);
    spinBox->findChild<QLineEdit *>()->installEventFilter(new DecimalCommaFilter(spinBox));
}

bool DecimalCommaFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->text() != QLatin1String(","))
        return false;
    const auto key = static_cast<QKeyEvent *>(event);
    QKeyEvent point(QEvent::KeyPress, Qt::Key_Period, key->modifiers(), QStringLiteral("."));
    QCoreApplication::sendEvent(watched, &point);
    return true;
}

} // namespace vireo
