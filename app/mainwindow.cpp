#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "aboutdialog.h"
#include "grahpicsanchoritem.h"
#include "graphicspointitem.h"
#include "planecalibration.h"
#include "planedialog.h"
#include "pointlist.h"
#include "projection.h"
#include "resources.h"
#include "scene.h"
#include "settings.h"
#include "settingsdialog.h"
#include "undohistory.h"

#include <tableview.h>

#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>

#include <cmath>

namespace vireo {

namespace {
const int zoomStep = 5;
const int startZoomLevel = 10;
// A burst of edits is written once, this long after its first edit.
const int autoSaveDelay = 1500;
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_scene(new Scene)
    , m_settings(new Settings(this))
    , m_ui(new Ui::MainWindow)
    , m_autoSave(new QTimer(this))
    , m_history(new UndoHistory(m_scene.get(), this))
{
    // Referencing the bundles keeps them linked in from the static library.
    static_cast<void>(resourcesRegistered());
    m_ui->setupUi(this);
    m_tableView = new kit::TableView(m_ui->tableView);
    m_tableView->setModel(m_scene->pointModel());

    connectZoom();
    m_ui->imageView->setZoomLevel(startZoomLevel);
    m_ui->imageView->setScene(m_scene.get());
    m_ui->buttonZoomIn->setDefaultAction(m_ui->actionZoomIn);
    m_ui->buttonZoomOut->setDefaultAction(m_ui->actionZoomOut);
    m_ui->actionZoomIn->setShortcuts(QKeySequence::ZoomIn);
    m_ui->actionZoomOut->setShortcuts(QKeySequence::ZoomOut);
    connectParts();
    connectUndo();
    createModeGroup();
    createNudgeActions();

    m_settings->lock();
    m_settings->load();
    setCalibrating(true);
    loadImage(QString());
    retranslate();
}

// The settings save once more as they go, after this object is gone.
MainWindow::~MainWindow()
{
    m_settings->disconnect(this);
    m_scene->disconnect(this);
}

// The twelve patterns every installation reads come first, then what the
// installed image plug-ins add (phone and camera formats, WebP, ...).
QStringList MainWindow::imageNamePatterns()
{
    static const QStringList patterns = [] {
        QStringList patterns = {QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
                                QStringLiteral("*.gif"), QStringLiteral("*.png"), QStringLiteral("*.pbm"),
                                QStringLiteral("*.pgm"), QStringLiteral("*.ppm"), QStringLiteral("*.tif"),
                                QStringLiteral("*.tiff"), QStringLiteral("*.xbm"), QStringLiteral("*.xpm")};
        QStringList added;
        // In the toolkit's order, which is sorted.
        for (const QByteArray &format : QImageReader::supportedImageFormats()) {
            const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format).toLower();
            if (!patterns.contains(pattern) && !added.contains(pattern))
                added.append(pattern);
        }
        return patterns + added;
    }();
    return patterns;
}

// The file dialog takes the patterns from between the parentheses only when
// the filter ends with the closing one; anything after it would make the
// first pattern "(*.bmp" and hide every BMP file.
QString MainWindow::imageFilter()
{
    return tr("Image Files") + QStringLiteral(" (") + imageNamePatterns().join(QLatin1Char(' ')) + QLatin1Char(')');
}

QString MainWindow::numberText(double value, int decimalPlaces)
{
    if (!kit::isNumberToShow(value))
        return QString();
    return QString::number(value, 'f', decimalPlaces);
}

void MainWindow::setAutoSaveDelay(int milliseconds)
{
    m_autoSave->setInterval(milliseconds);
}

Scene *MainWindow::scene() const
{
    return m_scene.get();
}

Settings *MainWindow::settings() const
{
    return m_settings;
}

UndoHistory *MainWindow::undoHistory() const
{
    return m_history;
}

void MainWindow::connectUndo()
{
    m_ui->actionUndo->setShortcuts(QKeySequence::Undo);
    m_ui->actionRedo->setShortcuts(QKeySequence::Redo);
    QUndoGroup *group = m_history->group();
    connect(group, &QUndoGroup::canUndoChanged, this, &MainWindow::updateUndoActions);
    connect(group, &QUndoGroup::canRedoChanged, this, &MainWindow::updateUndoActions);
    connect(group, &QUndoGroup::undoTextChanged, this, &MainWindow::updateUndoActions);
    connect(group, &QUndoGroup::redoTextChanged, this, &MainWindow::updateUndoActions);
    connect(group, &QUndoGroup::activeStackChanged, this, &MainWindow::updateUndoActions);
    connect(m_scene.get(), &Scene::editFinished, this,
            [this](const QString &text) { m_history->commit(text, m_scene->isCalibrating()); });
    connect(m_history, &UndoHistory::restored, this, &MainWindow::stepRestored);
    connect(m_scene->projection(), &Projection::planeSwitched, this, &MainWindow::updatePlaneActions);
    connect(m_scene.get(), &Scene::imageFailed, this, [this](const QString &reason) {
        m_imageLoaded = false;
        updateGui();
        showLoadError(reason);
    });
}

void MainWindow::updateUndoActions()
{
    const QUndoGroup *group = m_history->group();
    m_ui->actionUndo->setEnabled(group->canUndo());
    m_ui->actionRedo->setEnabled(group->canRedo());
    // Steps keep their names untranslated, so they follow a change of language.
    const auto step = [](const QString &name) { return QCoreApplication::translate("vireo::UndoHistory", name.toUtf8()); };
    m_ui->actionUndo->setText(group->canUndo() ? tr("&Undo %1").arg(step(group->undoText())) : tr("&Undo"));
    m_ui->actionRedo->setText(group->canRedo() ? tr("&Redo %1").arg(step(group->redoText())) : tr("&Redo"));
}

// A step undone or redone shows in the mode it was made in and reaches the store.
void MainWindow::stepRestored(bool calibrating)
{
    (calibrating ? m_ui->actionModeCalibrate : m_ui->actionModeEdit)->setChecked(true);
    setCalibrating(calibrating);
    measurementsEdited();
}

void MainWindow::updatePlaneActions()
{
    const bool plane = m_scene->projection()->hasPlane();
    m_ui->actionPlaneCalibration->setChecked(plane);
    m_ui->actionPlaneCalibration->setEnabled(m_scene->isCalibrating());
    m_ui->actionSetPlaneCoordinates->setEnabled(m_scene->isCalibrating() && plane);
}

// The origin, the ruler and its length stay as they are, for the way back.
void MainWindow::on_actionPlaneCalibration_triggered(bool checked)
{
    m_scene->projection()->setPlaneOn(checked);
    m_history->commit(checked ? QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Measure on a Plane"))
                              : QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Measure with the Ruler")),
                      m_scene->isCalibrating());
    if (checked)
        on_actionSetPlaneCoordinates_triggered();
}

void MainWindow::on_actionSetPlaneCoordinates_triggered()
{
    PlaneCalibration *plane = m_scene->projection()->plane();
    if (!plane->isOn())
        return;
    QVector<QPointF> image;
    for (const GrahpicsAnchorItem *handle : plane->handles())
        image.append(handle->pos());
    PlaneDialog dialog(image, plane->world(), m_settings->decimalPlaces(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    plane->setWorld(dialog.world());
    m_history->commit(QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Set Plane Coordinates")),
                      m_scene->isCalibrating());
}

void MainWindow::on_actionUndo_triggered()
{
    m_history->group()->undo();
}

void MainWindow::on_actionRedo_triggered()
{
    m_history->group()->redo();
}

kit::TableView *MainWindow::tableView() const
{
    return m_tableView;
}

// The point pressed in the image becomes the table's current row, also when
// no cell was current, so that Del and the nudge keys act on what shows as
// selected.
void MainWindow::showCurrentPoint(int row)
{
    m_tableView->setCurrentRow(row);
    if (row < 0 || m_tableView->currentRow() == row)
        return;
    QAbstractItemModel *model = m_ui->tableView->model();
    const int column = m_ui->tableView->horizontalHeader()->logicalIndexAt(0);
    m_ui->tableView->setCurrentIndex(model->index(row, qMax(column, 0)));
}

void MainWindow::connectZoom()
{
    connect(m_ui->zoomSlider, &QSlider::valueChanged, m_ui->imageView, &GraphicsView::setZoomLevel);
    connect(m_ui->imageView, &GraphicsView::zoomLevelChanged, m_ui->zoomSlider, &QSlider::setValue);
}

void MainWindow::connectParts()
{
    connect(m_tableView, &kit::TableView::currentRowChanged, m_scene.get(), &Scene::selectPoint);
    connect(m_scene.get(), &Scene::pointSelected, this, &MainWindow::showCurrentPoint);
    connect(m_scene.get(), &Scene::mouseLeft, this, &MainWindow::clearMouseCoordinates);
    connect(m_scene.get(), &Scene::mouseMoved, this, &MainWindow::updateMouseCoordinates);
    connect(m_ui->actionDockThumbnails, &QAction::triggered, m_ui->dockThumbnails, &QDockWidget::setVisible);
    connect(m_ui->actionExit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->actionSetRulerLength, &QAction::triggered, m_scene.get(), &Scene::editRulerLength);
    connect(m_ui->dockThumbnails, &QDockWidget::visibilityChanged, m_ui->actionDockThumbnails, &QAction::setChecked);
    connect(m_ui->thumbnailView, &ThumbnailView::fileSelected, this, &MainWindow::loadFolderImage);
    connect(m_settings, &Settings::decimalPlacesChanged, this, &MainWindow::decimalPlacesChanged);
    connect(m_settings, &kit::Settings::localeChanged, this, &MainWindow::retranslate);
    m_autoSave->setObjectName(QStringLiteral("autoSave"));
    m_autoSave->setSingleShot(true);
    m_autoSave->setInterval(autoSaveDelay);
    connect(m_autoSave, &QTimer::timeout, this, &MainWindow::autoSave);
    connect(m_scene.get(), &Scene::edited, this, &MainWindow::measurementsEdited);
    connect(m_settings, &kit::Settings::saveFinished, this, &MainWindow::backgroundSaveFinished);
}

void MainWindow::createModeGroup()
{
    auto group = new QActionGroup(this);
    group->setExclusive(true);
    group->addAction(m_ui->actionModeCalibrate);
    group->addAction(m_ui->actionModeEdit);
    m_ui->actionModeCalibrate->setChecked(true);
}

// Shift+arrow moves the current point, or in calibration the handle pressed
// last, by an image pixel; with Ctrl by ten. Plain arrows stay with the
// folder's images.
void MainWindow::createNudgeActions()
{
    const struct
    {
        Qt::Key key;
        QPointF step;
    } directions[] = {
        {Qt::Key_Left, {-1, 0}},
        {Qt::Key_Right, {1, 0}},
        {Qt::Key_Up, {0, -1}},
        {Qt::Key_Down, {0, 1}},
    };
    for (const auto &direction : directions) {
        for (const int pixels : {1, 10}) {
            const int modifiers = pixels == 1 ? Qt::SHIFT : Qt::SHIFT | Qt::CTRL;
            auto action = new QAction(this);
            action->setShortcut(QKeySequence(modifiers | direction.key));
            action->setShortcutContext(Qt::WindowShortcut);
            connect(action, &QAction::triggered, this, [this, step = direction.step * pixels] { nudge(step); });
            addAction(action);
        }
    }
}

// Moves the item as a drag would: through its own position handling, so
// snapping, the table and the record follow.
void MainWindow::nudge(const QPointF &step)
{
    if (!m_imageLoaded)
        return;
    QGraphicsItem *item = nullptr;
    if (m_scene->isCalibrating())
        item = m_scene->lastPressedHandle();
    else if (m_tableView->currentRow() >= 0)
        item = m_scene->pointList()->graphicsItemAt(m_tableView->currentRow());
    if (!item)
        return;
    item->setPos(item->pos() + step);
    // Repeated nudges of one item are one step.
    const auto point = dynamic_cast<const GraphicsPointItem *>(item);
    const int mergeKey = point ? point->id() : -1 - m_scene->projection()->handles().indexOf(item);
    const QLatin1String name = point ? QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Nudge Point"))
                                     : QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Nudge Handle"));
    m_history->commit(name, m_scene->isCalibrating(), mergeKey);
}

void MainWindow::setCalibrating(bool calibrating)
{
    m_scene->setCalibrating(calibrating);
    m_ui->actionClearPoints->setEnabled(!calibrating);
    m_ui->actionResetCalibrationRuler->setEnabled(calibrating);
    m_ui->actionResetOrigin->setEnabled(calibrating);
    m_ui->actionSetRulerLength->setEnabled(calibrating);
    updatePlaneActions();
    m_ui->tableView->setEnabled(!calibrating);
}

bool MainWindow::confirm(const QString &title, const QString &text)
{
    return QMessageBox::question(this, title, text, QMessageBox::Yes | QMessageBox::Cancel) == QMessageBox::Yes;
}

void MainWindow::loadImage(const QString &path)
{
    if (!path.isEmpty()) {
        m_imageLoaded = m_scene->loadImage(path);
        m_history->takeBaseline();
        m_ui->imageView->followScene();
        clearMouseCoordinates();
        if (!m_imageLoaded)
            showLoadError(m_scene->loadErrorString());
    }
    updateGui();
    updateImageName();
}

void MainWindow::showLoadError(const QString &reason)
{
    QMessageBox box(QMessageBox::Information, tr("Error"), tr("Cannot load image."), QMessageBox::Ok, this);
    box.setInformativeText(reason);
    box.exec();
}

// As Open Image or Open Folder would, with the path made absolute as the
// dialogs give it. A path that names nothing makes no record.
void MainWindow::openPath(const QString &path)
{
    const QFileInfo info(path);
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    if (!info.exists()) {
        showLoadError(QCoreApplication::translate("vireo::ImageFile", "The file does not exist."));
        return;
    }
    if (!info.isDir()) {
        openImage(absolute);
        return;
    }
    if (!info.isReadable() || !info.isExecutable()) {
        showLoadError(tr("The folder %1 cannot be read.").arg(QDir::toNativeSeparators(absolute)));
        return;
    }
    openFolder(absolute);
}

// An image of the folder whose record is active, and no other.
void MainWindow::loadFolderImage(const QString &path)
{
    if (m_folderMode && QFileInfo(path).absolutePath() == QDir(m_settings->currentDir()).absolutePath())
        loadImage(path);
}

void MainWindow::loadThumbnails(const QString &currentDir)
{
    QDir dir(currentDir);
    dir.setFilter(QDir::Files | QDir::Readable);
    dir.setNameFilters(imageNamePatterns());
    m_ui->thumbnailView->loadThumbnails(dir);
    updateThumbnailsTitle();
}

void MainWindow::updateGui()
{
    m_ui->actionNextImage->setEnabled(m_folderMode);
    m_ui->actionPreviousImage->setEnabled(m_folderMode);
    m_ui->imageView->setEnabled(m_imageLoaded);
}

void MainWindow::updateImageName()
{
    const QString name = m_scene->fileName();
    m_ui->labelImageName->setText(name.isEmpty() ? tr("No Image") : name);
}

void MainWindow::updateThumbnailsTitle()
{
    const QString folder = m_settings->currentDir();
    m_ui->dockThumbnails->setWindowTitle(QFileInfo(folder).isDir() ? tr("Images in Directory %1").arg(folder)
                                                                     : tr("Images in Directory"));
}

void MainWindow::updateMouseCoordinates(const QPointF &coordinates)
{
    const int decimals = m_settings->decimalPlaces();
    m_ui->labelMouseX->setText(QStringLiteral("x = %1").arg(numberText(coordinates.x(), decimals)));
    m_ui->labelMouseY->setText(QStringLiteral("y = %1").arg(numberText(coordinates.y(), decimals)));
}

void MainWindow::clearMouseCoordinates()
{
    m_ui->labelMouseX->clear();
    m_ui->labelMouseY->clear();
}

void MainWindow::decimalPlacesChanged(int decimalPlaces)
{
    for (int column = 0; column < m_tableView->columnCount(); ++column)
        m_tableView->setColumnDecimals(column, decimalPlaces);
    m_scene->setDecimalPlaces(decimalPlaces);
}

void MainWindow::retranslate()
{
    m_ui->retranslateUi(this);
    updateUndoActions();
    setWindowTitle(m_settings->isReadOnly() ? tr("mensor 2.4 (read-only)") : tr("mensor 2.4"));
    updateImageName();
    updateThumbnailsTitle();
    const int columns = m_tableView->columnCount();
    if (columns > 0)
        m_ui->tableView->horizontalHeader()->headerDataChanged(Qt::Horizontal, 0, columns - 1);
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
        // Once the window is on screen, so the boxes have a parent to sit on.
        QTimer::singleShot(0, this, &MainWindow::reportStoreAtStart);
    }
}

void MainWindow::reportStoreAtStart()
{
    reportLockAtStart();
    reportLoadErrorAtStart();
    // Only now has the user heard of the newest copy.
    m_settings->pruneBackups();
}

void MainWindow::reportLockAtStart()
{
    const QString store = QDir::toNativeSeparators(m_settings->fileName());
    const QString lock = QDir::toNativeSeparators(m_settings->lockFileName());
    switch (m_settings->lockState()) {
    case kit::Settings::LockState::InUse:
        QMessageBox::warning(this, tr("Measurements Open in Another Window"),
                             tr("The measurements file %1 is in use by another mensor window (%2, lock file %3).\n\n"
                                "This window shows the measurements as they were last saved and saves nothing. "
                                "Close the other window first to keep your work.")
                                 .arg(store, m_settings->lockHolder(), lock));
        break;
    case kit::Settings::LockState::HeldElsewhere: {
        QMessageBox box(QMessageBox::Warning, tr("Measurements Open on Another Computer"),
                        tr("The measurements file %1 is locked by %2 (lock file %3). mensor cannot tell from here "
                           "whether that window is still open.\n\n"
                           "Take the file over only if mensor no longer runs there; otherwise this window saves nothing.")
                            .arg(store, m_settings->lockHolder(), lock),
                        QMessageBox::NoButton, this);
        QPushButton *takeOver = box.addButton(tr("Take Over"), QMessageBox::AcceptRole);
        box.addButton(tr("Open Read-Only"), QMessageBox::RejectRole);
        box.exec();
        if (box.clickedButton() == takeOver && m_settings->takeOverLock())
            retranslate();
        break;
    }
    case kit::Settings::LockState::Unavailable:
        QMessageBox::warning(this, tr("Measurements Cannot Be Saved"),
                             tr("The measurements file %1 cannot be claimed for this window:\n%2\n\n"
                                "Nothing will be saved until this is fixed; mensor tries again at every save.")
                                 .arg(store, m_settings->lockErrorString()));
        break;
    default:
        break;
    }
}

void MainWindow::reportLoadErrorAtStart()
{
    const QString error = m_settings->loadErrorString();
    if (error.isEmpty())
        return;
    const QString backup = m_settings->backupFileName();
    QString kept;
    if (m_settings->isReadOnly())
        kept = tr("This window does not change it.");
    else if (backup.isEmpty())
        kept = tr("No copy of it could be made, so it will not be overwritten.");
    else
        kept = tr("The file as it was is kept unchanged as %1.").arg(QDir::toNativeSeparators(backup));
    const QString loaded = m_settings->loadStoppedEarly()
        ? tr("Everything before that point has been loaded.")
        : tr("Values that could not be read keep their defaults; everything else has been loaded.");
    QMessageBox::warning(this, tr("Measurements Read Incompletely"),
                         tr("The measurements file %1 could not be read completely:\n%2\n\n%3 %4")
                             .arg(QDir::toNativeSeparators(m_settings->fileName()), error, loaded, kept));
}

QString MainWindow::saveFailureText() const
{
    return tr("The measurements could not be saved to %1:\n%2")
        .arg(QDir::toNativeSeparators(m_settings->fileName()), m_settings->errorString());
}

void MainWindow::reportSaveFailure()
{
    if (m_settings->errorString() == m_reportedSaveError)
        return;
    m_reportedSaveError = m_settings->errorString();
    QMessageBox::warning(this, tr("Cannot Save Measurements"), saveFailureText());
}

// The record shown is brought up to date first: its live state is in the scene.
void MainWindow::saveSettings()
{
    if (m_settings->isReadOnly())
        return;
    m_autoSave->stop();
    m_scene->storeGeometry();
    if (m_settings->save()) {
        m_unsavedEdits = false;
        m_reportedSaveError.clear();
        m_history->markSaved();
        return;
    }
    reportSaveFailure();
}

void MainWindow::measurementsEdited()
{
    m_unsavedEdits = true;
    if (!m_settings->isReadOnly() && !m_autoSave->isActive())
        m_autoSave->start();
}

// Off the GUI thread: only taking the copy holds the window.
void MainWindow::autoSave()
{
    if (m_settings->isReadOnly())
        return;
    m_scene->storeGeometry();
    m_unsavedEdits = false;
    m_settings->saveInBackground();
}

void MainWindow::backgroundSaveFinished(bool ok)
{
    if (ok) {
        m_reportedSaveError.clear();
        m_history->markSaved();
        return;
    }
    m_unsavedEdits = true;
    reportSaveFailure();
}

// Offers to try again until the save succeeds, the user gives the work up,
// or stays in the program (false).
bool MainWindow::saveBeforeClosing()
{
    if (m_settings->isReadOnly())
        return mayDropEditsOfReadOnlyWindow();
    while (!m_settings->save()) {
        QMessageBox box(QMessageBox::Warning, tr("Cannot Save Measurements"),
                        saveFailureText() + QStringLiteral("\n\n") + tr("Close without saving?"),
                        QMessageBox::Retry | QMessageBox::Discard | QMessageBox::Cancel, this);
        box.button(QMessageBox::Discard)->setText(tr("Close Without Saving"));
        box.setDefaultButton(QMessageBox::Retry);
        switch (box.exec()) {
        case QMessageBox::Retry:
            continue;
        case QMessageBox::Discard:
            return true;
        default:
            return false;
        }
    }
    return true;
}

// A read-only window keeps what the user does in it, but cannot save it:
// closing says so before the work goes.
bool MainWindow::mayDropEditsOfReadOnlyWindow()
{
    if (!m_unsavedEdits)
        return true;
    QMessageBox box(QMessageBox::Warning, tr("Changes Cannot Be Saved"),
                    tr("This window is read-only and cannot save to the measurements file %1. "
                       "The points and calibrations changed in it will be lost.\n\n"
                       "Close without saving?")
                        .arg(QDir::toNativeSeparators(m_settings->fileName())),
                    QMessageBox::Discard | QMessageBox::Cancel, this);
    box.button(QMessageBox::Discard)->setText(tr("Close Without Saving"));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Discard;
}

// The shown record and the layout as they are now, for the last save.
void MainWindow::takeFinalState()
{
    m_autoSave->stop();
    m_scene->storeGeometry();
    m_settings->saveWindowState(this);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    takeFinalState();
    if (saveBeforeClosing())
        event->accept();
    else
        event->ignore();
}

void MainWindow::saveAndQuit()
{
    takeFinalState();
    if (!m_settings->isReadOnly())
        m_settings->save();
    QCoreApplication::quit();
}

void MainWindow::on_actionOpenImage_triggered()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Image"), m_settings->currentDir(), imageFilter());
    if (!path.isEmpty())
        openImage(path);
}

void MainWindow::openImage(const QString &path)
{
    m_settings->setCurrentDir(QFileInfo(path).absolutePath());
    saveSettings();
    m_scene->setGeometry(&m_settings->geometryFor(path));
    m_history->setRecord(path);
    m_folderMode = false;
    m_ui->thumbnailView->clear();
    loadImage(path);
}

void MainWindow::on_actionOpenFolder_triggered()
{
    const QString path = QFileDialog::getExistingDirectory(this, tr("Open Image Folder"), m_settings->currentDir(),
                                                           QFileDialog::ShowDirsOnly);
    if (!path.isEmpty())
        openFolder(path);
}

void MainWindow::openFolder(const QString &path)
{
    m_imageLoaded = false;
    m_settings->setCurrentDir(path);
    saveSettings();
    m_scene->setGeometry(&m_settings->geometryFor(path));
    m_history->setRecord(path);
    m_folderMode = true;
    // The previous image stays out of reach until one of the folder's is chosen.
    m_scene->clearImage();
    clearMouseCoordinates();
    m_ui->imageView->setEnabled(false);
    updateImageName();
    loadThumbnails(path);
}

void MainWindow::on_actionNextImage_triggered()
{
    m_ui->thumbnailView->selectNext();
}

void MainWindow::on_actionPreviousImage_triggered()
{
    m_ui->thumbnailView->selectPrevious();
}

void MainWindow::on_actionCopyCoordinates_triggered()
{
    QApplication::clipboard()->setText(m_tableView->toText(QStringLiteral("\t")));
}

void MainWindow::on_actionDeletePoint_triggered()
{
    const int row = m_tableView->currentRow();
    if (row == -1)
        return;
    m_scene->deletePoint(row);
    m_history->commit(QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Delete Point")), m_scene->isCalibrating());
}

void MainWindow::on_actionClearPoints_triggered()
{
    if (!confirm(tr("Clear All Points"), tr("Do you want to delete all points?")))
        return;
    m_scene->clearPoints();
    m_history->commit(QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Clear All Points")),
                      m_scene->isCalibrating());
}

void MainWindow::on_actionResetOrigin_triggered()
{
    if (confirm(tr("Reset Origin"),
                tr("Do you want to reset the origin of the coordinate system to the center of the current image?"))) {
        m_scene->resetOrigin();
        m_history->commit(QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Reset Origin")),
                      m_scene->isCalibrating());
    }
}

void MainWindow::on_actionResetCalibrationRuler_triggered()
{
    if (confirm(tr("Reset Calibration Rulers"), tr("Do you want to reset the calibration rulers?"))) {
        m_scene->resetRuler();
        m_history->commit(QLatin1String(QT_TRANSLATE_NOOP("vireo::UndoHistory", "Reset Calibration Ruler")),
                      m_scene->isCalibrating());
    }
}

void MainWindow::on_actionSnapHorizontal_triggered(bool checked)
{
    m_scene->setSnapHorizontal(checked);
}

void MainWindow::on_actionSnapVertical_triggered(bool checked)
{
    m_scene->setSnapVertical(checked);
}

void MainWindow::on_actionZoomIn_triggered()
{
    m_ui->zoomSlider->setValue(m_ui->zoomSlider->value() + zoomStep);
}

void MainWindow::on_actionZoomOut_triggered()
{
    m_ui->zoomSlider->setValue(m_ui->zoomSlider->value() - zoomStep);
}

void MainWindow::on_actionFitToWindow_triggered()
{
    m_ui->imageView->fitToWindow();
}

void MainWindow::on_actionActualPixels_triggered()
{
    m_ui->imageView->showActualPixels();
}

void MainWindow::on_actionModeCalibrate_triggered()
{
    setCalibrating(true);
}

void MainWindow::on_actionModeEdit_triggered()
{
    setCalibrating(false);
}

void MainWindow::on_actionConfigure_triggered()
{
    auto dialog = new SettingsDialog(m_settings, this);
    dialog->exec();
}

void MainWindow::on_actionAbout_triggered()
{
    if (!m_aboutDialog)
        m_aboutDialog = new AboutDialog(this);
    m_aboutDialog->exec();
}

} // namespace vireo
