#ifndef VIREO_MAINWINDOW_H
#define VIREO_MAINWINDOW_H

#include <QMainWindow>

class QTimer;

#include <memory>

namespace kit {
class TableView;
}

namespace vireo {

class AboutDialog;
class Scene;
class Settings;
class UndoHistory;

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The name patterns of the images the program opens: the twelve every
    // installation reads, then those the installed image plug-ins add.
    static QStringList imageNamePatterns();
    // "Image Files (*.bmp ... )" for the open-image dialog.
    static QString imageFilter();
    // A coordinate as the read-outs show it: "." and no grouping in every language.
    static QString numberText(double value, int decimalPlaces);

    // How long after the first of a burst of edits the store is written.
    void setAutoSaveDelay(int milliseconds);

    Scene *scene() const;
    Settings *settings() const;
    UndoHistory *undoHistory() const;
    kit::TableView *tableView() const;

public slots:
    // What Open Image and Open Folder do with the path the user chose.
    void openImage(const QString &path);
    void openFolder(const QString &path);
    // An image or a folder named on the command line or by the desktop.
    void openPath(const QString &path);
    void loadImage(const QString &path);
    void loadFolderImage(const QString &path);
    void loadThumbnails(const QString &currentDir);
    void updateGui();
    void updateImageName();
    void updateThumbnailsTitle();
    void updateMouseCoordinates(const QPointF &coordinates);
    void clearMouseCoordinates();
    void decimalPlacesChanged(int decimalPlaces);
    void retranslate();
    // Writes the store without asking anything and ends the program: for
    // the signals of a logout or a shutdown.
    void saveAndQuit();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_actionOpenImage_triggered();
    void on_actionOpenFolder_triggered();
    void on_actionNextImage_triggered();
    void on_actionPreviousImage_triggered();
    void on_actionCopyCoordinates_triggered();
    void on_actionDeletePoint_triggered();
    void on_actionClearPoints_triggered();
    void on_actionResetOrigin_triggered();
    void on_actionResetCalibrationRuler_triggered();
    void on_actionSnapHorizontal_triggered(bool checked);
    void on_actionSnapVertical_triggered(bool checked);
    void on_actionZoomIn_triggered();
    void on_actionZoomOut_triggered();
    void on_actionPlaneCalibration_triggered(bool checked);
    void on_actionSetPlaneCoordinates_triggered();
    void on_actionUndo_triggered();
    void on_actionRedo_triggered();
    void on_actionFitToWindow_triggered();
    void on_actionActualPixels_triggered();
    void on_actionModeCalibrate_triggered();
    void on_actionModeEdit_triggered();
    void on_actionConfigure_triggered();
    void on_actionAbout_triggered();

private:
    void showCurrentPoint(int row);
    void connectUndo();
    void updateUndoActions();
    void stepRestored(bool calibrating);
    void connectZoom();
    void connectParts();
    void createModeGroup();
    void setCalibrating(bool calibrating);
    void updatePlaneActions();
    bool confirm(const QString &title, const QString &text);
    void createNudgeActions();
    void showLoadError(const QString &reason);
    void nudge(const QPointF &step);
    void saveSettings();
    void takeFinalState();
    bool saveBeforeClosing();
    bool mayDropEditsOfReadOnlyWindow();
    QString saveFailureText() const;
    void reportSaveFailure();
    void measurementsEdited();
    void autoSave();
    void backgroundSaveFinished(bool ok);
    void reportStoreAtStart();
    void reportLockAtStart();
    void reportLoadErrorAtStart();

    // The reason of the save failure the user was last told about; a
    // failure for the same reason is not shown again until a save succeeds.
    QString m_reportedSaveError;
    bool m_firstShowPending = true;
    bool m_folderMode = false;
    bool m_imageLoaded = false;
    // Edits not yet written (or, in a read-only window, never to be).
    bool m_unsavedEdits = false;
    std::unique_ptr<Scene> m_scene;
    Settings *m_settings;
    std::unique_ptr<Ui::MainWindow> m_ui;
    kit::TableView *m_tableView = nullptr;
    AboutDialog *m_aboutDialog = nullptr;
    QTimer *m_autoSave;
    UndoHistory *m_history;
};

} // namespace vireo

#endif
