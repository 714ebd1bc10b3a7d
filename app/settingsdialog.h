#ifndef VIREO_SETTINGSDIALOG_H
#define VIREO_SETTINGSDIALOG_H

#include <QDialog>

#include <memory>

namespace kit {
class LocaleModel;
}

namespace vireo {

class Settings;

namespace Ui {
class SettingsDialog;
}

// Edits the decimal places and the interface language; writes them into the
// settings when confirmed. Deletes itself when closed.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(Settings *settings, QWidget *parent = nullptr);
    ~SettingsDialog() override;

public slots:
    void accept() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::SettingsDialog> m_ui;
    Settings *m_settings;
    kit::LocaleModel *m_locales;
};

} // namespace vireo

#endif
