#include "decimalcommafilter.h"

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>

namespace vireo {

void DecimalCommaFilter::install(QDoubleSpinBox *spinBox)
{
    QLocale numbers = QLocale::c();
    numbers.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    spinBox->setLocale(numbers);
    // The box has the focus and hands keys to its editor itself, past any filter there.
    spinBox->installEventFilter(new DecimalCommaFilter(spinBox));
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
