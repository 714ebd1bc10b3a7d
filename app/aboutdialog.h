#ifndef VIREO_ABOUTDIALOG_H
#define VIREO_ABOUTDIALOG_H

#include <QDialog>

#include <memory>

namespace vireo {

namespace Ui {
class AboutDialog;
}

// Name, version, rights holder and credits.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

    static QString aboutText();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void retranslate();
    void growToText();

    std::unique_ptr<Ui::AboutDialog> m_ui;
};

} // namespace vireo

#endif
