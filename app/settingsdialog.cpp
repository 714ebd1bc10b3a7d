#include "settingsdialog.h"
#include "ui_settingsdialog.h"

#include "settings.h"

#include <icons.h>
#include <localemodel.h>

namespace vireo {

SettingsDialog::SettingsDialog(Settings *settings, QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
    , m_ui(new Ui::SettingsDialog)
    , m_settings(settings)
    , m_locales(new kit::LocaleModel(this))
{
    m_locales->addLocale(QLocale(QLocale::German, QLocale::Switzerland));
    m_locales->addLocale(QLocale(QLocale::German, QLocale::Germany));
    m_locales->addLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    m_ui->setupUi(this);
    m_ui->editDecimalPlaces->setValue(settings->decimalPlaces());
    m_ui->editLocale->setModel(m_locales);
    m_ui->editLocale->setValue(settings->locale());
    setAttribute(Qt::WA_DeleteOnClose);
    kit::setStandardButtonIcons(m_ui->buttonBox);
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::accept()
{
    m_settings->setDecimalPlaces(m_ui->editDecimalPlaces->value());
    const QVariant locale = m_ui->editLocale->value();
    if (locale.isValid())
        m_settings->setLocale(locale.toLocale());
    QDialog::accept();
}

void SettingsDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        m_ui->retranslateUi(this);
}

} // namespace vireo
