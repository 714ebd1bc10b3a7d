#include "graphicsview.h"
#include "mainwindow.h"
#include "thumbnailview.h"

#include "startup.h"
#include "testutils.h"

#include <translations.h>

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QHeaderView>
#include <QToolBar>
#include <QToolButton>

using vireo::MainWindow;

namespace {

QStringList entries(const QList<QAction *> &actions)
{
    QStringList names;
    for (const QAction *action : actions)
        names.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
    return names;
}

template <typename T>
T *child(const MainWindow &window, const char *name)
{
    T *object = window.findChild<T *>(QLatin1String(name));
    if (!object)
        qWarning("no child %s", name);
    return object;
}

void switchLocale(const QLocale &locale)
{
    SilentMessages silence;
    kit::Translations::instance().setLocale(locale);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

} // namespace

class MainWindowFormTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void actionsInOrder();
    void actionProperties_data();
    void actionProperties();
    void menusWithSeparators();
    void toolBarEntries();
    void docks();
    void centralWidgets();
    void firstRunShowsSwissGerman();
    void translatedTexts_data();
    void translatedTexts();
    void englishAfterSwitching();
    void retranslatingClearsReadOuts();
    void zoomButtonsMoveSliderAndView();

private:
    std::unique_ptr<MainWindow> m_window;
};

void MainWindowFormTest::initTestCase()
{
    vireo::setApplicationIdentity();
    SilentMessages silence;
    m_window = std::make_unique<MainWindow>();
}

void MainWindowFormTest::cleanup()
{
    switchLocale(QLocale(QLocale::German, QLocale::Switzerland));
}

void MainWindowFormTest::actionsInOrder()
{
    QStringList names;
    for (const QObject *object : m_window->children()) {
        if (qobject_cast<const QAction *>(object) && !object->objectName().isEmpty())
            names.append(object->objectName());
    }
    const QStringList expected = {"actionOpenFolder", "actionZoomIn", "actionZoomOut", "actionCopyCoordinates",
                                  "actionDeletePoint", "actionExit", "actionModeCalibrate", "actionModeEdit",
                                  "actionDockThumbnails", "actionClearPoints", "actionConfigure", "actionResetOrigin",
                                  "actionResetCalibrationRuler", "actionSnapHorizontal", "actionSnapVertical",
                                  "actionAbout", "actionNextImage", "actionPreviousImage", "actionOpenImage",
                                  "actionSetRulerLength"};
    QCOMPARE(names, expected);
}

void MainWindowFormTest::actionProperties_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("whatsThis");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("hasIcon");
    QTest::addColumn<int>("check");

    const QKeySequence none;
    // check: 0 not checkable, 1 checkable and off, 2 checkable and on
    QTest::newRow("open folder") << "actionOpenFolder" << "Open Fo&lder..." << "Open a folder containing images" << ""
                                 << QKeySequence(Qt::CTRL | Qt::Key_L) << true << 0;
    QTest::newRow("zoom in") << "actionZoomIn" << "Zoom &In" << "Zoom in" << "Increase the zoom level." << none << true << 0;
    QTest::newRow("copy") << "actionCopyCoordinates" << "&Copy Coordinates" << "Copy coordinates to clipboard" << ""
                          << QKeySequence(Qt::CTRL | Qt::Key_C) << true << 0;
    QTest::newRow("delete") << "actionDeletePoint" << "&Delete Point" << "Delete the selected point"
                            << "Delete the selected point." << QKeySequence(Qt::Key_Delete) << true << 0;
    QTest::newRow("calibrate") << "actionModeCalibrate" << "&Calibrate" << "" << "Switch to calibration mode." << none
                               << true << 2;
    QTest::newRow("edit") << "actionModeEdit" << "&Edit Points" << "" << "Switch to point editing mode." << none << true << 1;
    QTest::newRow("thumbnails") << "actionDockThumbnails" << "&Thumbnails" << "" << "Show/hide the thumbnail window."
                                << none << true << 2;
    QTest::newRow("clear") << "actionClearPoints" << "C&lear All Points" << "" << "Delete all points." << none << true << 0;
    QTest::newRow("reset origin") << "actionResetOrigin" << "Reset &Origin" << "Reset origin" << "" << none << false << 0;
    QTest::newRow("snap vertical") << "actionSnapVertical" << "Snap &Vertical" << "Snap vertical"
                                   << "Enable/disable the vertical snap line." << none << true << 1;
    QTest::newRow("next") << "actionNextImage" << "&Next Image" << "Show the next in the folder" << ""
                          << QKeySequence(Qt::Key_Right) << true << 0;
    QTest::newRow("previous") << "actionPreviousImage" << "&Previous Image" << "Show the previous image in the folder"
                              << "" << QKeySequence(Qt::Key_Left) << true << 0;
    QTest::newRow("open image") << "actionOpenImage" << "Open &Image..." << "Open a single image" << ""
                                << QKeySequence(Qt::CTRL | Qt::Key_O) << true << 0;
    QTest::newRow("ruler length") << "actionSetRulerLength" << "Set Ruler Length" << "" << "" << none << false << 0;
}

void MainWindowFormTest::actionProperties()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, tip);
    QFETCH(QString, whatsThis);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, hasIcon);
    QFETCH(int, check);

    switchLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    const QAction *action = child<QAction>(*m_window, name.toLatin1());
    QVERIFY(action);
    QCOMPARE(action->text(), text);
    // Without an explicit tip the toolkit derives one from the text.
    if (!tip.isEmpty())
        QCOMPARE(action->toolTip(), tip);
    QCOMPARE(action->whatsThis(), whatsThis);
    QCOMPARE(action->shortcut(), shortcut);
    QCOMPARE(!action->icon().isNull(), hasIcon);
    QCOMPARE(action->isCheckable(), check > 0);
    QCOMPARE(action->isChecked(), check == 2);
}

void MainWindowFormTest::menusWithSeparators()
{
    const QMenuBar *bar = child<QMenuBar>(*m_window, "menuBar");
    QVERIFY(bar);
    QStringList menus;
    for (const QAction *action : bar->actions())
        menus.append(action->menu()->objectName());
    QCOMPARE(menus, QStringList({"menu_File", "menu_Edit", "menu_View", "menuMode", "menu_Help"}));

    QCOMPARE(entries(child<QMenu>(*m_window, "menu_File")->actions()),
             QStringList({"actionOpenImage", "actionOpenFolder", "actionNextImage", "actionPreviousImage", "-", "actionExit"}));
    QCOMPARE(entries(child<QMenu>(*m_window, "menu_Edit")->actions()),
             QStringList({"actionCopyCoordinates", "actionDeletePoint", "actionClearPoints", "-", "actionResetOrigin",
                          "actionResetCalibrationRuler", "actionSetRulerLength", "-", "actionConfigure"}));
    QCOMPARE(entries(child<QMenu>(*m_window, "menu_View")->actions()),
             QStringList({"actionZoomIn", "actionZoomOut", "-", "actionSnapHorizontal", "actionSnapVertical", "-",
                          "actionDockThumbnails"}));
    QCOMPARE(entries(child<QMenu>(*m_window, "menuMode")->actions()),
             QStringList({"actionModeCalibrate", "actionModeEdit"}));
    QCOMPARE(entries(child<QMenu>(*m_window, "menu_Help")->actions()), QStringList({"actionAbout"}));
}

void MainWindowFormTest::toolBarEntries()
{
    const QToolBar *bar = child<QToolBar>(*m_window, "mainToolBar");
    QVERIFY(bar);
    QCOMPARE(m_window->toolBarArea(const_cast<QToolBar *>(bar)), Qt::TopToolBarArea);
    QCOMPARE(bar->iconSize(), QSize(24, 24));
    QCOMPARE(entries(bar->actions()),
             QStringList({"actionOpenImage", "actionOpenFolder", "actionNextImage", "actionPreviousImage", "-",
                          "actionCopyCoordinates", "actionDeletePoint", "-", "actionDockThumbnails", "-",
                          "actionSnapHorizontal", "actionSnapVertical", "-", "actionModeCalibrate", "actionModeEdit", "-"}));
}

void MainWindowFormTest::docks()
{
    QDockWidget *coordinates = child<QDockWidget>(*m_window, "dockCoordinates");
    QDockWidget *thumbnails = child<QDockWidget>(*m_window, "dockThumbnails");
    QVERIFY(coordinates && thumbnails);
    QCOMPARE(coordinates->features(), QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    QCOMPARE(coordinates->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    QCOMPARE(m_window->dockWidgetArea(coordinates), Qt::LeftDockWidgetArea);
    QCOMPARE(m_window->dockWidgetArea(thumbnails), Qt::TopDockWidgetArea);
    QCOMPARE(thumbnails->allowedAreas(), Qt::AllDockWidgetAreas);
    QVERIFY(thumbnails->features() & QDockWidget::DockWidgetClosable);
    QVERIFY(thumbnails->findChild<vireo::ThumbnailView *>(QStringLiteral("thumbnailView")));

    const QTableView *table = child<QTableView>(*m_window, "tableView");
    QCOMPARE(table->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(table->verticalHeader()->isHidden());
    QCOMPARE(table->horizontalHeader()->defaultSectionSize(), 75);
    QVERIFY(!table->horizontalHeader()->highlightSections());
}

void MainWindowFormTest::centralWidgets()
{
    const QSlider *slider = child<QSlider>(*m_window, "zoomSlider");
    QCOMPARE(slider->minimum(), 1);
    QCOMPARE(slider->maximum(), 100);
    QCOMPARE(slider->orientation(), Qt::Vertical);
    QVERIFY(child<vireo::GraphicsView>(*m_window, "imageView"));
    QCOMPARE(child<QToolButton>(*m_window, "buttonZoomIn")->defaultAction(), child<QAction>(*m_window, "actionZoomIn"));
    QCOMPARE(child<QToolButton>(*m_window, "buttonZoomOut")->defaultAction(), child<QAction>(*m_window, "actionZoomOut"));
    QCOMPARE(m_window->objectName(), QStringLiteral("vireo__MainWindow"));
    QCOMPARE(m_window->locale(), QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(!m_window->windowIcon().isNull());
    QVERIFY(!m_window->findChild<QStatusBar *>());
}

void MainWindowFormTest::firstRunShowsSwissGerman()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("mensor 2.4"));
    QCOMPARE(child<QAction>(*m_window, "actionOpenImage")->text(), QStringLiteral("&Bilddatei öffnen..."));
    QCOMPARE(child<QLabel>(*m_window, "labelImageName")->text(), QStringLiteral("kein Bild"));
    QCOMPARE(child<QSlider>(*m_window, "zoomSlider")->value(), 10);
    QVERIFY(child<QAction>(*m_window, "actionModeCalibrate")->isChecked());
    QVERIFY(!child<QAction>(*m_window, "actionClearPoints")->isEnabled());
    QVERIFY(child<QAction>(*m_window, "actionResetOrigin")->isEnabled());
    QVERIFY(!child<QAction>(*m_window, "actionNextImage")->isEnabled());
    QVERIFY(!child<QTableView>(*m_window, "tableView")->isEnabled());
    QVERIFY(!child<vireo::GraphicsView>(*m_window, "imageView")->isEnabled());
}

void MainWindowFormTest::translatedTexts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcutSource");
    QTest::addColumn<QString>("shortcutText");

    const QLocale ch(QLocale::German, QLocale::Switzerland);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::newRow("ch open") << ch << "actionOpenImage" << "&Bilddatei öffnen..." << "Ctrl+O" << "Ctrl+O";
    QTest::newRow("de open") << de << "actionOpenImage" << "&Bilddatei öffnen..." << "Ctrl+O" << "Strg+O";
    QTest::newRow("ch zoom in") << ch << "actionZoomIn" << "Ver&grössern" << "" << "";
    QTest::newRow("de zoom in") << de << "actionZoomIn" << "Ver&größern" << "" << "";
    QTest::newRow("de delete") << de << "actionDeletePoint" << "Punkt &löschen" << "Del" << "Entf";
    QTest::newRow("de folder") << de << "actionOpenFolder" << "&Verzeichnis öffnen..." << "Ctrl+L" << "Strg+L";
    QTest::newRow("ch ruler") << ch << "actionResetCalibrationRuler" << "&Massstab zurücksetzen" << "" << "";
    QTest::newRow("de ruler") << de << "actionResetCalibrationRuler" << "&Maßstab zurücksetzen" << "" << "";
}

void MainWindowFormTest::translatedTexts()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(QString, shortcutSource);
    QFETCH(QString, shortcutText);

    switchLocale(locale);
    const QAction *a = child<QAction>(*m_window, action.toLatin1());
    QCOMPARE(a->text(), text);
    if (!shortcutSource.isEmpty()) {
        QCOMPARE(QCoreApplication::translate("vireo::MainWindow", shortcutSource.toLatin1()), shortcutText);
        // The translated text still means the same keys.
        QCOMPARE(a->shortcut(), QKeySequence(shortcutSource, QKeySequence::PortableText));
    }
    QCOMPARE(m_window->windowTitle(), QStringLiteral("mensor 2.4"));
    QCOMPARE(QCoreApplication::translate("vireo::MainWindow", "Zoom in"),
             locale == QLocale(QLocale::German, QLocale::Germany) ? QStringLiteral("Vergrößere das Bild")
                                                                  : QStringLiteral("Vergrössere das Bild"));
}

void MainWindowFormTest::englishAfterSwitching()
{
    switchLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(child<QAction>(*m_window, "actionOpenImage")->text(), QStringLiteral("Open &Image..."));
    QCOMPARE(child<QAction>(*m_window, "actionOpenImage")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(child<QDockWidget>(*m_window, "dockCoordinates")->windowTitle(), QStringLiteral("Coordinates"));
    QCOMPARE(child<QLabel>(*m_window, "labelImageName")->text(), QStringLiteral("No Image"));
    QCOMPARE(child<QMenu>(*m_window, "menu_File")->title(), QStringLiteral("&File"));
}

void MainWindowFormTest::retranslatingClearsReadOuts()
{
    child<QLabel>(*m_window, "labelMouseX")->setText(QStringLiteral("x = 1"));
    switchLocale(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(child<QLabel>(*m_window, "labelMouseX")->text(), QString());
}

void MainWindowFormTest::zoomButtonsMoveSliderAndView()
{
    QSlider *slider = child<QSlider>(*m_window, "zoomSlider");
    auto view = child<vireo::GraphicsView>(*m_window, "imageView");
    QAction *zoomIn = child<QAction>(*m_window, "actionZoomIn");
    QAction *zoomOut = child<QAction>(*m_window, "actionZoomOut");
    slider->setValue(98);
    zoomIn->trigger();
    QCOMPARE(slider->value(), 100);
    QCOMPARE(view->zoomLevel(), 100);
    slider->setValue(3);
    zoomOut->trigger();
    QCOMPARE(slider->value(), 1);
    QCOMPARE(view->zoomLevel(), 1);
    view->setZoomLevel(42);
    QCOMPARE(slider->value(), 42);
}

MENSOR_GUITEST_MAIN(MainWindowFormTest)
#include "mainwindowformtest.moc"
