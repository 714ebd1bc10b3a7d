#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "resources.h"

#include <settings.h>

#include <QActionGroup>
#include <QCloseEvent>

namespace vireo {

namespace {
const int zoomStep = 5;
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_ui(new Ui::MainWindow)
    , m_settings(new kit::Settings(1, this))
{
    // Referencing the bundles keeps them linked in from the static library.
    static_cast<void>(resourcesRegistered());
    m_ui->setupUi(this);

    connectZoom();
    m_ui->imageView->setZoomLevel(10);
    m_ui->buttonZoomIn->setDefaultAction(m_ui->actionZoomIn);
    m_ui->buttonZoomOut->setDefaultAction(m_ui->actionZoomOut);
    connectActions();
    createModeGroup();
    m_ui->labelMouseX->setMinimumSize(100, 0);
    m_ui->labelMouseY->setMinimumSize(100, 0);

    m_settings->load();
    setCalibrating(true);
    updateGui();
    updateImageName();
    retranslate();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectZoom()
{
    connect(m_ui->zoomSlider, &QSlider::valueChanged, m_ui->imageView, &GraphicsView::setZoomLevel);
    connect(m_ui->imageView, &GraphicsView::zoomLevelChanged, m_ui->zoomSlider, &QSlider::setValue);
}

void MainWindow::connectActions()
{
    connect(m_ui->actionDockThumbnails, &QAction::triggered, m_ui->dockThumbnails, &QDockWidget::setVisible);
    connect(m_ui->actionExit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->dockThumbnails, &QDockWidget::visibilityChanged, m_ui->actionDockThumbnails, &QAction::setChecked);
    connect(m_settings, &kit::Settings::localeChanged, this, &MainWindow::retranslate);
}

void MainWindow::createModeGroup()
{
    auto group = new QActionGroup(this);
    group->setExclusive(true);
    group->addAction(m_ui->actionModeCalibrate);
    group->addAction(m_ui->actionModeEdit);
    m_ui->actionModeCalibrate->setChecked(true);
}

void MainWindow::setCalibrating(bool calibrating)
{
    m_ui->actionClearPoints->setEnabled(!calibrating);
    m_ui->actionResetCalibrationRuler->setEnabled(calibrating);
    m_ui->actionResetOrigin->setEnabled(calibrating);
    m_ui->actionSetRulerLength->setEnabled(calibrating);
    m_ui->tableView->setEnabled(!calibrating);
}

void MainWindow::retranslate()
{
    m_ui->retranslateUi(this);
    setWindowTitle(tr("mensor 2.4"));
    updateImageName();
}

void MainWindow::updateGui()
{
    m_ui->actionNextImage->setEnabled(m_folderMode);
    m_ui->actionPreviousImage->setEnabled(m_folderMode);
    m_ui->imageView->setEnabled(m_imageLoaded);
}

void MainWindow::updateImageName()
{
    m_ui->labelImageName->setText(m_fileName.isEmpty() ? tr("No Image") : m_fileName);
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        event->accept();
        return;
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_firstShowPending) {
        m_settings->restoreWindowState(this);
        m_firstShowPending = false;
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_settings->saveWindowState(this);
    m_settings->save();
    event->accept();
}

void MainWindow::on_actionZoomIn_triggered()
{
    m_ui->zoomSlider->setValue(m_ui->zoomSlider->value() + zoomStep);
}

void MainWindow::on_actionZoomOut_triggered()
{
    m_ui->zoomSlider->setValue(m_ui->zoomSlider->value() - zoomStep);
}

void MainWindow::on_actionModeCalibrate_triggered()
{
    setCalibrating(true);
}

void MainWindow::on_actionModeEdit_triggered()
{
    setCalibrating(false);
}

void MainWindow::on_actionNextImage_triggered()
{
    m_ui->thumbnailView->selectNext();
}

void MainWindow::on_actionPreviousImage_triggered()
{
    m_ui->thumbnailView->selectPrevious();
}

} // namespace vireo
