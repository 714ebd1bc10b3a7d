#ifndef VIREO_MAINWINDOW_H
#define VIREO_MAINWINDOW_H

#include <QMainWindow>

#include <memory>

namespace kit {
class Settings;
}

namespace vireo {

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

public slots:
    void retranslate();
    void updateGui();
    void updateImageName();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_actionZoomIn_triggered();
    void on_actionZoomOut_triggered();
    void on_actionModeCalibrate_triggered();
    void on_actionModeEdit_triggered();
    void on_actionNextImage_triggered();
    void on_actionPreviousImage_triggered();

private:
    void connectZoom();
    void connectActions();
    void createModeGroup();
    void setCalibrating(bool calibrating);

    std::unique_ptr<Ui::MainWindow> m_ui;
    kit::Settings *m_settings;
    bool m_firstShowPending = true;
    bool m_folderMode = false;
    bool m_imageLoaded = false;
    QString m_fileName;
};

} // namespace vireo

#endif
