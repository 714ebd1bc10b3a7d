#include "aboutdialog.h"
#include "graphicspointitem.h"
#include "grahpicsanchoritem.h"
#include "graphicslabelitem.h"
#include "graphicsview.h"
#include "loupe.h"
#include "planecalibration.h"
#include "planedialog.h"
#include "planemap.h"
#include "mainwindow.h"
#include "pointlist.h"
#include "projection.h"
#include "quitsignals.h"
#include "scene.h"
#include "settings.h"
#include "settingsdialog.h"
#include "snaplines.h"
#include "thumbnailloader.h"
#include "thumbnailview.h"
#include "undohistory.h"

#include "startup.h"
#include "testutils.h"

#include <sys/stat.h>


#include <combobox.h>
#include <tableview.h>

using vireo::Geometry;
using vireo::MainWindow;
using vireo::Point;
using vireo::Settings;

namespace {

// Accepts the next message box, keeping its text and, on a line of its own, its details.
void acceptMessage(ModalAnswerer &answers, QString *text = nullptr)
{
    answers.expect<QMessageBox>([text](QMessageBox *box) {
        if (text)
            *text = box->informativeText().isEmpty() ? box->text() : box->text() + '\n' + box->informativeText();
        return answerLater(box, "accept");
    });
}

// An answerer that accepts the next message box and keeps what it said.
struct MessageAnswerer : ModalAnswerer {
    MessageAnswerer() { acceptMessage(*this, &text); }
    QString text;
};

// Answers the next question box with the given button, after an optional step.
void answerQuestion(ModalAnswerer &answers, QMessageBox::StandardButton answer, std::function<void()> before = {})
{
    answers.expect<QMessageBox>([answer, before](QMessageBox *box) {
        if (before)
            before();
        // The button says what it does, and Enter tries again: one otherwise is not pressed.
        const bool labelled = (answer != QMessageBox::Discard || box->button(answer)->text() == "Close Without Saving")
                              && (answer != QMessageBox::Retry || box->defaultButton() == box->button(answer));
        return answerLater(box->button(labelled ? answer : QMessageBox::Cancel), "click");
    });
}

// Chooses a file or folder in the toolkit's file dialog once the dialog lists
// it, so that accepting never depends on how fast the folder is read.
bool chooseListed(QFileDialog *dialog, const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    auto model = dialog->findChild<QFileSystemModel *>();
    auto list = dialog->findChild<QListView *>(QStringLiteral("listView"));
    if (!model || !list)
        return false;
    if (list->rootIndex() != model->index(folder)) {
        dialog->setDirectory(folder);
        return false;
    }
    const QModelIndex index = model->index(path);
    if (!index.isValid() || index.parent() != list->rootIndex())
        return false;
    list->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return dialog->selectedFiles() == QStringList(path) && answerLater(dialog, "accept");
}

// Where the program keeps its store in this test's home.
QString storePath()
{
    static const QString path = QFileInfo(isolatedHome().path() + QStringLiteral("/.config/ortus/mensor.xml")).absoluteFilePath();
    return path;
}

enum class Store { Fresh, AsItIs };

struct Fixture
{
    explicit Fixture(Store store = Store::Fresh)
    {
        if (store == Store::Fresh) {
            QFile::remove(storePath());
            QDir(storePath()).removeRecursively();
        }
        window = std::make_unique<MainWindow>();
        window->setAutoSaveDelay(50);
        // Pinned so the texts under test do not depend on the first-run locale.
        window->settings()->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        using Tester = QAbstractItemModelTester;
        tester = std::make_unique<Tester>(table()->model(), Tester::FailureReportingMode::QtTest);
    }

    QAction *action(const char *name) const { return window->findChild<QAction *>(name); }

    QString openImage(QSize size = QSize(640, 480), const QString &name = QStringLiteral("photo.png"))
    {
        const QString path = writeImage(dir.filePath(name), size);
        window->openImage(path);
        return path;
    }

    void activate() { window->activateWindow(); QVERIFY(QTest::qWaitForWindowActive(window.get())); }
    void clickImage(QPointF at) { QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, view()->mapFromScene(at)); }

    int rows() const { return window->scene()->pointList()->count(); }
    vireo::GraphicsView *view() const { return window->findChild<vireo::GraphicsView *>("imageView"); }
    QTableView *table() const { return window->findChild<QTableView *>("tableView"); }
    QString label(const char *name) const { return window->findChild<QLabel *>(name)->text(); }
    QPointF pos(int row) const { return window->scene()->pointList()->graphicsItemAt(row)->pos(); }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

QVariantList summary(const Geometry &record)
{
    QVariantList points;
    for (const Point &point : record.points())
        points << point.id() << point.pos();
    return {record.origin(), record.rulerEnd1(), record.rulerEnd2(), record.rulerLength(), record.nextId(), points};
}

// The record of a path as the store on disk holds it, read beside the
// window that owns the store (a second reader never writes).
QVariantList storedRecord(const QString &path)
{
    SilentMessages silence;
    Settings stored;
    stored.lock();
    stored.load();
    return summary(stored.geometryFor(path));
}

QList<vireo::PlaneReference> samplePlane()
{
    using vireo::PlaneReference;
    return {PlaneReference(QPointF(412.5, 880.25), QPointF(0, 0)), PlaneReference(QPointF(3410, 1020), QPointF(297, 0)),
            PlaneReference(QPointF(2900, 160.125), QPointF(297, 210)), PlaneReference(QPointF(800, 120), QPointF(0, 210))};
}

void setRulerLength(Fixture &f, ModalAnswerer &answers, double length)
{
    answers.expect<QInputDialog>([length](QInputDialog *dialog) {
        dialog->setDoubleValue(length);
        // Only a dialog that asks is answered.
        return answerLater(dialog, dialog->labelText() == "Enter the length of the ruler:" ? "accept" : "reject");
    });
    f.action("actionSetRulerLength")->trigger();
    QVERIFY_ANSWERED(answers);
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        vireo::setApplicationIdentity();
    }

    void wholeStoreRoundTrip()
    {
        QFile::remove(storePath());
        SilentMessages silence;
        QMainWindow window;
        window.resize(700, 500);
        const Geometry *address = nullptr;
        {
            Settings settings;
            QCOMPARE(QVariantList({settings.currentDir(), settings.decimalPlaces()}),
                     QVariantList({QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), 3}));
            settings.setLocale(QLocale(QLocale::German, QLocale::Germany));
            settings.saveWindowState(&window);
            settings.setCurrentDir(QStringLiteral("/photos/R&D <2026>"));
            // A change made while a save runs is written by a save after it.
            settings.saveInBackground();
            QVERIFY(settings.isSaving());
            settings.setDecimalPlaces(5);
            settings.saveInBackground();
            QTRY_VERIFY(!settings.isSaving() && readFile(storePath()).contains("<decimalplaces>5</decimalplaces>"));
            Geometry &image = settings.geometryFor(QStringLiteral("/photos/b.jpg"));
            QVERIFY(image.isNew());
            image.initialize(QSize(640, 480));
            image.addPoint(Point(1, QPointF(10.5, 20), QStringLiteral("R&D <1>.png")));
            image.addPoint(Point(4, QPointF(-30, 40.25), QString()));
            image.setNextId(5);
            settings.geometryFor(QStringLiteral("/photos")).setRulerLength(25.4);
            settings.geometryFor(QStringLiteral("/photos")).setPlane(samplePlane());
            // Records stay where they are however many are added.
            address = &image;
            for (int i = 0; i < 1000; ++i)
                settings.geometryFor(QStringLiteral("/a/%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
            QVERIFY(&settings.geometryFor(QStringLiteral("/photos/b.jpg")) == address && settings.geometryFor("/PHOTOS").isNew());
            // Saved when it goes.
        }
        Settings loaded;
        QVERIFY(loaded.load());
        // A plane after the points, in the form users' scripts read; no other record has one.
        const QString stored = QString::fromUtf8(readFile(storePath()));
        QVERIFY2(stored.contains(QRegularExpression(QStringLiteral(
                    "(</points>|<points/>)\\s*<plane>\\s*<reference>\\s*<pos>\\s*<x>412.5</x>\\s*<y>880.25</y>\\s*</pos>\\s*"
                    "<world>\\s*<x>0</x>\\s*<y>0</y>\\s*</world>\\s*</reference>")))
                     && stored.count(QStringLiteral("<reference>")) == 4 && stored.count(QStringLiteral("<plane>")) == 1,
                 qPrintable(stored));
        QCOMPARE(loaded.geometryFor(QStringLiteral("/photos")).plane(), samplePlane());
        const Geometry &image = loaded.geometryFor(QStringLiteral("/photos/b.jpg"));
        QCOMPARE(image.points(), QList<Point>({Point(1, QPointF(10.5, 20), QStringLiteral("R&D <1>.png")),
                                               Point(4, QPointF(-30, 40.25), QString())}));
        QMainWindow restored;
        loaded.restoreWindowState(&restored);
        QCOMPARE(QVariantList({loaded.locale().name(), loaded.currentDir(), loaded.decimalPlaces(),
                               loaded.geometryCount(), image.nextId(), image.origin(),
                               loaded.geometryFor(QStringLiteral("/photos")).rulerLength(),
                               loaded.geometryFor(QStringLiteral("/a/0999.jpg")).isNew(), restored.size()}),
                 QVariantList({"de_DE", "/photos/R&D <2026>", 5, 1003, 5, QPointF(320, 240), 25.4, false, QSize(700, 500)}));
    }

    void firstRunSpeaksSwissGermanAndSwitches()
    {
        QFile::remove(storePath());
        {
            MainWindow window;
            QCOMPARE(QStringList({window.findChild<QAction *>("actionOpenImage")->text(),
                                  window.findChild<QAction *>("actionResetCalibrationRuler")->text(),
                                  window.findChild<QAction *>("actionActualPixels")->text(), window.windowTitle(),
                                  window.findChild<QDockWidget *>("dockThumbnails")->windowTitle()}),
                     QStringList({"&Bilddatei öffnen...", "&Massstab zurücksetzen", "&Originalgrösse", "mensor 2.4",
                                  "Bilder im Ordner"}));
            // The window comes back at the size it was closed at.
            window.resize(900, 640);
            QVERIFY(window.close());
        }
        Fixture f(Store::AsItIs);
        // About, opened in one language and again in another: its text follows, all of it in view.
        ModalAnswerer answers;
        const auto about = [&f, &answers](const QString &line) {
            QString shown;
            answers.expect<vireo::AboutDialog>([&shown, line](vireo::AboutDialog *dialog) {
                const auto browser = dialog->findChild<QTextBrowser *>();
                shown = dialog->windowTitle() + QString::number(browser->toPlainText().contains(line))
                    + QString::number(browser->verticalScrollBar()->maximum());
                return answerLater(dialog, "accept");
            });
            f.action("actionAbout")->trigger();
            return answers.failure().isEmpty() ? shown : answers.failure();
        };
        QCOMPARE(about(QStringLiteral("Measures positions on photographs.")), QStringLiteral("About mensor10"));
        QVERIFY(!f.view()->isEnabled() && !f.table()->isEnabled() && !f.action("actionClearPoints")->isEnabled()
                && f.action("actionModeCalibrate")->isChecked() && f.window->size() == QSize(900, 640));
        f.window->findChild<QLabel *>("labelMouseX")->setText(QStringLiteral("x = 1"));
        QStringList offered;
        answers.expect<vireo::SettingsDialog>([&offered](vireo::SettingsDialog *dialog) {
            auto locales = dialog->findChild<kit::ComboBox *>(QStringLiteral("editLocale"));
            offered << locales->currentText() + QString::number(dialog->findChild<QSpinBox *>("editDecimalPlaces")->value());
            for (int row = 0; row < locales->count(); ++row)
                offered << locales->itemData(row).toLocale().name() + QLatin1Char(' ') + locales->itemText(row);
            dialog->findChild<QSpinBox *>(QStringLiteral("editDecimalPlaces"))->setValue(1);
            locales->setValue(QLocale(QLocale::German, QLocale::Germany));
            return answerLater(dialog, "accept");
        });
        f.action("actionConfigure")->trigger();
        QVERIFY_ANSWERED(answers);
        QCOMPARE(offered, QStringList({"English (USA)3", "de_CH Deutsch (Schweiz)", "de_DE Deutsch (Deutschland)",
                                       "en_US English (USA)"}));
        QCOMPARE(QVector<int>({f.window->settings()->decimalPlaces(), f.window->tableView()->columnDecimals(1)}),
                 QVector<int>({1, 1}));
        QCOMPARE(QStringList({f.window->scene()->projection()->rulerLabelText(),
                              f.action("actionResetCalibrationRuler")->text(), f.label("labelImageName"), f.label("labelMouseX"),
                              f.window->scene()->pointModel()->headerData(3, Qt::Horizontal).toString(),
                              QCoreApplication::translate("vireo::MainWindow", "Del")}),
                 QStringList({"1.0", "&Maßstab zurücksetzen", "kein Bild", "", "Bilddatei", "Entf"}));
        // The translated shortcut text still means the same key.
        QCOMPARE(f.action("actionDeletePoint")->shortcut(), QKeySequence(Qt::Key_Delete));
        QCOMPARE(about(QStringLiteral("Misst Positionen auf Fotografien.")), QStringLiteral("Über mensor10"));
        f.window->settings()->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    // The photo is stored turned; its orientation tag says how it stands.
    void openImageThroughFileDialog()
    {
        Fixture f;
        // Stored 300 × 200, left half red, tagged "turn 90° clockwise": upright the top half is red.
        QImage stored = filledImage(QSize(300, 200), Qt::white);
        QPainter(&stored).fillRect(0, 0, 150, 200, Qt::red);
        const QString path = writeCameraPhoto(f.dir.filePath(QStringLiteral("turned.jpg")), QSize(16, 12), 6, stored);
        ModalAnswerer answers;
        QStringList patterns;
        answers.expect<QFileDialog>([path, &patterns](QFileDialog *dialog) {
            patterns = dialog->findChild<QFileSystemModel *>()->nameFilters();
            return chooseListed(dialog, path);
        });
        f.action("actionOpenImage")->trigger();
        QVERIFY_ANSWERED(answers);
        QCOMPARE(f.label("labelImageName"), QStringLiteral("turned.jpg"));
        // The dialog lists files by every pattern: the twelve every installation reads, then the plug-ins'.
        QVERIFY2(patterns.first() == "*.bmp" && patterns.count("*.jpg") == 1 && patterns.contains("*.webp"),
                 qPrintable(patterns.join(' ')));
        QVERIFY(f.view()->isEnabled() && !f.window->settings()->geometryFor(path).isNew()
                && !f.action("actionNextImage")->isEnabled() && !f.action("actionPreviousImage")->isEnabled());
        // Written when the image was chosen.
        QVERIFY(readFile(storePath()).contains(QStringLiteral("<currentdir>%1</currentdir>").arg(f.dir.path()).toUtf8()));
        QCOMPARE(f.window->scene()->sceneRect(), QRectF(0, 0, 200, 300));
        const QImage &image = f.window->scene()->image();
        QVERIFY(image.pixelColor(100, 20).red() > 200 && image.pixelColor(100, 20).green() < 60
                && image.pixelColor(100, 280).green() > 200);
        QCOMPARE(vireo::ThumbnailLoader::loadThumbnail(path).size(), QSize(66, 100));
        f.action("actionModeEdit")->trigger();
        f.clickImage(QPointF(40, 280));
        QVERIFY2(QLineF(f.pos(0), QPointF(40, 280)).length() < 4,
                 qPrintable(QStringLiteral("%1, %2").arg(f.pos(0).x()).arg(f.pos(0).y())));
    }

    void unreadableImageIsReported()
    {
        Fixture f;
        f.openImage();
        const auto imageCentre = [&f] {
            const QImage shown = f.view()->viewport()->grab().toImage();
            return shown.pixelColor(shown.width() / 2 + 30, shown.height() / 2 - 30);
        };
        QCOMPARE(imageCentre(), QColor(Qt::lightGray));
        const QString path = f.dir.filePath(QStringLiteral("broken.png"));
        writeFile(path, "not a picture");
        MessageAnswerer answers;
        f.window->openImage(path);
        QVERIFY_ANSWERED(answers);
        // The decoder's reason below the message (never empty: the reader tests say so).
        QVERIFY(answers.text == "Cannot load image.\n" + f.window->scene()->loadErrorString() && !f.view()->isEnabled());
        // Nothing of the image before stays drawn.
        QVERIFY(imageCentre() != QColor(Qt::lightGray) && f.label("labelImageName") == QStringLiteral("broken.png"));
    }

    void clickCopyDeleteClear()
    {
        Fixture f;
        f.openImage();
        vireo::Projection *projection = f.window->scene()->projection();
        projection->rulerEnd2Anchor()->setPos(10, 10);
        projection->originAnchor()->setPos(5, 5);
        ModalAnswerer answers;
        const auto ask = [&](const char *action, QMessageBox::StandardButton answer) {
            answerQuestion(answers, answer);
            f.action(action)->trigger();
        };
        ask("actionResetCalibrationRuler", QMessageBox::Cancel);
        QCOMPARE(projection->rulerEnd2(), QPointF(10, 10));
        ask("actionResetCalibrationRuler", QMessageBox::Yes);
        ask("actionResetOrigin", QMessageBox::Yes);
        QVERIFY_ANSWERED(answers);
        QCOMPARE(QVariantList({projection->rulerEnd2(), projection->rulerLength(), projection->origin()}),
                 QVariantList({QPointF(640, 480), 1.0, QPointF(320, 240)}));
        // The ruler runs from the centre to a corner, 400 pixels: ten units a pixel.
        setRulerLength(f, answers, 4000);

        f.action("actionModeEdit")->trigger();
        const auto enabled = [&f](const char *action) { return f.action(action)->isEnabled(); };
        QVERIFY(f.table()->isEnabled() && enabled("actionClearPoints") && !enabled("actionResetOrigin")
                && !enabled("actionResetCalibrationRuler") && !enabled("actionSetRulerLength"));
        f.clickImage(QPointF(400, 200));
        f.clickImage(QPointF(100, 300));
        f.window->scene()->pointList()->graphicsItemAt(1)->setPos(100, 300);
        f.window->scene()->pointList()->graphicsItemAt(0)->setPos(400, 200.05);
        f.action("actionCopyCoordinates")->trigger();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Nbr.\tX\tY\tFile\t\n1\t800.000\t399.500\tphoto.png\t\n2\t-2200.000\t-600.000\tphoto.png\t\n"));
        // Copies paste as numbers in every language: the table groups digits, copies do not.
        f.window->settings()->setLocale(QLocale(QLocale::German, QLocale::Germany));
        f.action("actionCopyCoordinates")->trigger();
        f.window->updateMouseCoordinates(QPointF(12.3456, -1234.5));
        const QString readOuts = f.label("labelMouseX") + f.label("labelMouseY");
        f.window->updateMouseCoordinates(QPointF(qQNaN(), 1));
        QCOMPARE(QStringList({f.table()->model()->index(1, 1).data().toString(),
                              QApplication::clipboard()->text().section(QLatin1Char('\n'), 2, 2),
                              readOuts, f.label("labelMouseX")}),
                 QStringList({"-2.200,000", "2\t-2200,000\t-600,000\tphoto.png\t", "x = 12.346y = -1234.500", "x = "}));
        f.window->settings()->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        // The table's current row, chosen as a user clicks it, is the point to delete.
        f.table()->setCurrentIndex(f.table()->model()->index(0, 1));
        QVERIFY(f.window->scene()->pointList()->graphicsItemAt(0)->isSelected());
        f.action("actionDeletePoint")->trigger();
        QCOMPARE(f.window->scene()->pointList()->graphicsItemAt(0)->id(), 2);
        // Nothing current, nothing goes; nor when clearing is cancelled.
        f.table()->setCurrentIndex(QModelIndex());
        f.action("actionDeletePoint")->trigger();
        ask("actionClearPoints", QMessageBox::Cancel);
        QCOMPARE(f.rows(), 1);
        ask("actionClearPoints", QMessageBox::Yes);
        QVERIFY_ANSWERED_AND(answers, f.rows() == 0);
    }

    void openFolderBrowsesThumbnails()
    {
        Fixture f;
        const QString folder = f.dir.filePath(QStringLiteral("folder"));
        writeImage(folder + QStringLiteral("/a.png"), QSize(300, 200));
        writeImage(folder + QStringLiteral("/b.png"), QSize(200, 300));
        // Only files: a folder named like an image is no image.
        QVERIFY(QDir(folder).mkpath(QStringLiteral("c.png")));
        writeFile(folder + QStringLiteral("/notes.txt"), "no image");
        ModalAnswerer answers;
        answers.expect<QFileDialog>([folder](QFileDialog *dialog) { return chooseListed(dialog, folder); });
        f.action("actionOpenFolder")->trigger();
        QVERIFY_ANSWERED(answers);
        auto thumbnails = f.window->findChild<vireo::ThumbnailView *>("thumbnailView");
        QVERIFY(QTest::qWaitFor([&] { return thumbnails->count() == 2; }, 10000));
        QCOMPARE(QVariantList({f.window->settings()->currentDir(),
                               f.window->findChild<QDockWidget *>("dockThumbnails")->windowTitle(),
                               f.action("actionNextImage")->isEnabled()}),
                 QVariantList({folder, QStringLiteral("Images in Directory %1").arg(folder), false}));
        thumbnails->selectNext();
        QCOMPARE(f.window->scene()->fileName(), QStringLiteral("a.png"));
        f.action("actionNextImage")->trigger();
        f.action("actionNextImage")->trigger();
        QCOMPARE(f.window->scene()->fileName(), QStringLiteral("b.png"));
        f.action("actionPreviousImage")->trigger();
        QVERIFY(f.window->scene()->fileName() == QStringLiteral("a.png") && !f.window->settings()->geometryFor(folder).isNew());
        // Another folder: nothing of this one stays to be chosen, and the image
        // shown is no longer within reach of the new folder's record.
        const QString other = writeImage(f.dir.filePath(QStringLiteral("other/c.png")), QSize(50, 50));
        f.window->findChild<QLabel *>("labelMouseX")->setText(QStringLiteral("x = 1"));
        f.window->openFolder(QFileInfo(other).absolutePath());
        QCOMPARE(thumbnails->count(), 0);
        // Nothing of the image before: no calibration items, no read-out.
        vireo::Scene *scene = f.window->scene();
        QVERIFY(!scene->projection()->originAnchor()->isVisible() && f.label("labelMouseX").isEmpty()
                && scene->imagePyramid()->isNull() && scene->fileName().isEmpty() && !f.view()->isEnabled());
        f.window->loadFolderImage(folder + QStringLiteral("/a.png"));
        QVERIFY(f.window->scene()->fileName().isEmpty() && QTest::qWaitFor([&] { return thumbnails->count() == 1; }, 10000));
        f.action("actionNextImage")->trigger();
        QCOMPARE(f.window->scene()->fileName(), QStringLiteral("c.png"));
    }

    // Run by measuredWorkOutlivesTheProgram in a process of its own: measures
    // on two images, says so, and runs until a signal ends it.
    void measureUntilStopped()
    {
        const QString folder = qEnvironmentVariable("MENSOR_TEST_IMAGES");
        if (folder.isEmpty())
            QSKIP("runs in a process of its own");
        MainWindow window;
        vireo::QuitSignals quitSignals;
        connect(&quitSignals, &vireo::QuitSignals::received, &window, &MainWindow::saveAndQuit);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window) && quitSignals.isInstalled());
        window.findChild<QAction *>("actionModeEdit")->trigger();
        auto view = window.findChild<vireo::GraphicsView *>("imageView");
        for (const auto &image : {std::make_pair("/a.png", 3), std::make_pair("/b.png", 2)}) {
            window.openImage(folder + QLatin1String(image.first));
            for (int i = 0; i < image.second; ++i)
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(QPointF(50 + 40 * i, 60)));
        }
        std::puts("measured");
        std::fflush(stdout);
        QApplication::exec();
    }

    void measuredWorkOutlivesTheProgram_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGKILL after the automatic save") << int(SIGKILL);
    }

    void measuredWorkOutlivesTheProgram()
    {
        QFETCH(int, signal);
        QFile::remove(storePath());
        QTemporaryDir images;
        writeImage(images.filePath(QStringLiteral("a.png")), QSize(300, 200));
        writeImage(images.filePath(QStringLiteral("b.png")), QSize(300, 200));
        const auto pointsOf = [&images](const char *name) {
            return storedRecord(images.filePath(QLatin1String(name))).last().toList().size() / 2;
        };
        QProcess helper;
        qputenv("MENSOR_TEST_IMAGES", images.path().toUtf8());
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        helper.start(QCoreApplication::applicationFilePath(), {QStringLiteral("measureUntilStopped")});
        qunsetenv("MENSOR_TEST_IMAGES");
        QVERIFY(QTest::qWaitFor([&helper] { return helper.readAllStandardOutput().contains("measured"); }, 30000));
        if (signal == SIGKILL)
            QTRY_COMPARE_WITH_TIMEOUT(pointsOf("b.png"), 2, 10000);
        ::kill(pid_t(helper.processId()), signal);
        QVERIFY(helper.waitForFinished(30000) && QVariantList({pointsOf("a.png"), pointsOf("b.png")}) == QVariantList({3, 2}));
        if (signal != SIGKILL)
            QVERIFY(helper.exitStatus() == QProcess::NormalExit && helper.exitCode() == 0);
    }

    // What shows as selected is what Del and the nudge keys act on; the grey
    // margin beside a small picture takes no points.
    void pressedPointIsTheOneKeysActOn()
    {
        Fixture f;
        f.openImage();
        f.action("actionModeEdit")->trigger();
        f.view()->setZoomLevel(1);
        QTest::mouseClick(f.view()->viewport(), Qt::LeftButton, {}, f.view()->mapFromScene(QPointF(-40, 240)));
        QCOMPARE(f.rows(), 0);
        f.clickImage(QPointF(100, 100));
        f.clickImage(QPointF(400, 300));
        const QList<QPointF> placed = {f.pos(0), f.pos(1)};
        // Pressed again, the current point keeps its current column.
        f.table()->setCurrentIndex(f.table()->model()->index(1, 2));
        f.clickImage(placed.last());
        QCOMPARE(f.table()->currentIndex(), f.table()->model()->index(1, 2));
        f.table()->setCurrentIndex(QModelIndex());
        f.clickImage(placed.first());
        QTest::keyClick(f.window.get(), Qt::Key_Left, Qt::ShiftModifier);
        const QPointF nudged = f.pos(0);
        QTest::keyClick(f.window.get(), Qt::Key_Delete);
        QCOMPARE(QVariantList({f.rows(), f.pos(0), nudged}), QVariantList({1, placed.last(), placed.first() - QPointF(1, 0)}));
    }

    // The whole photo at once, one pixel per pixel, zoom from the keyboard.
    void fitToWindowAndActualPixels()
    {
        Fixture f;
        auto view = f.view();
        for (const QSize size : {QSize(3000, 400), QSize(3000, 2000)}) {
            // Zoomed out with the wheel, the view's area grows around the image; the next brings its own,
            // which a resize keeps.
            QWheelEvent out(QPointF(5, 5), QPointF(), QPoint(), QPoint(0, -1200), Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &out);
            f.openImage(size);
            QResizeEvent resize(view->size(), view->size());
            QApplication::sendEvent(view, &resize);
            QCOMPARE(view->sceneRect(), QRectF(QPointF(), size));
            f.action("actionFitToWindow")->trigger();
            QCoreApplication::processEvents();
            const QRect shown = view->mapFromScene(QRectF(QPointF(), size)).boundingRect();
            QVERIFY(view->viewport()->rect().contains(shown)
                    && qMax(shown.width() - view->viewport()->width(), shown.height() - view->viewport()->height()) >= -3);
        }
        const int fitted = f.window->findChild<QSlider *>("zoomSlider")->value();
        QTest::keySequence(f.window.get(), QKeySequence(QKeySequence::ZoomIn));
        QTest::mouseClick(f.window->findChild<QToolButton *>("buttonZoomIn"), Qt::LeftButton);
        QCOMPARE(f.window->findChild<QSlider *>("zoomSlider")->value(), fitted + 10);
        f.action("actionActualPixels")->trigger();
        QCOMPARE(QVariantList({view->transform().m11(), f.window->findChild<QSlider *>("zoomSlider")->value()}),
                 QVariantList({1.0, vireo::GraphicsView::levelForScale(1.0)}));
        QTest::keySequence(f.window.get(), QKeySequence(QKeySequence::ZoomOut));
        QTest::mouseClick(f.window->findChild<QToolButton *>("buttonZoomOut"), Qt::LeftButton);
        QCOMPARE(view->zoomLevel(), vireo::GraphicsView::levelForScale(1.0) - 10);
        f.action("actionSnapHorizontal")->trigger();
        f.action("actionSnapVertical")->trigger();
        const auto snap = f.window->scene()->snapLines();
        QCOMPARE(QList<bool>({snap->isHorizontalEnabled(), snap->isVerticalEnabled()}),
                 QList<bool>({f.action("actionSnapHorizontal")->isChecked(), f.action("actionSnapVertical")->isChecked()}));
    }

    // A handle shows itself under the pointer.
    void handlesShowThemselvesAndTheOriginCanBeTaken()
    {
        Fixture f;
        vireo::Projection *projection = f.window->scene()->projection();
        QVERIFY(!projection->originAnchor()->isVisible() && !projection->rulerLabel()->isVisible());
        f.openImage();
        auto viewport = f.view()->viewport();
        const QPoint centre = f.view()->mapFromScene(QPointF(320, 240));
        // The mark: a red square in a white one, so it shows on any image.
        const auto markAround = [&] {
            const QImage shown = viewport->grab().toImage();
            QPoint redAndWhite;
            for (int y = -10; y <= 10; ++y) {
                for (int x = -10; x <= 10; ++x) {
                    const QColor colour = shown.pixelColor(centre + QPoint(x, y));
                    redAndWhite += QPoint(colour == QColor(Qt::red), colour == QColor(Qt::white));
                }
            }
            return redAndWhite;
        };
        // Both axes are drawn across the image.
        const auto axesAt = [&] {
            const QImage drawn = viewport->grab().toImage();
            return QList<QColor>({drawn.pixelColor(f.view()->mapFromScene(QPointF(100, 240))),
                                  drawn.pixelColor(f.view()->mapFromScene(QPointF(320, 60)))});
        };
        const QList<QColor> withAxes = axesAt();
        projection->xAxis()->hide();
        projection->yAxis()->hide();
        const QList<QColor> without = axesAt();
        QVERIFY(withAxes.first() != without.first() && withAxes.last() != without.last());
        projection->setShown(true);
        const QPoint plain = markAround();
        QTest::mouseMove(viewport, centre);
        QTRY_COMPARE(viewport->cursor().shape(), Qt::SizeAllCursor);
        const QPoint marked = markAround();
        QVERIFY(marked.x() > plain.x() + 30 && marked.y() > plain.y() + 30 && !f.label("labelMouseX").isEmpty());
        // The read-out and the mark go with the pointer.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(viewport, &leave);
        QCOMPARE(QVariantList({f.label("labelMouseX") + f.label("labelMouseY"), markAround()}), QVariantList({QString(), plain}));
        // Only the left button opens the length dialog.
        ModalAnswerer answers;
        const QPointF label = projection->rulerLabel()->sceneBoundingRect().center();
        QTest::mouseClick(viewport, Qt::RightButton, {}, f.view()->mapFromScene(label));
        QCOMPARE(answers.waitForAll(), QString());
    }

    // Every kind of step, made with real mouse and key events, undone to the
    // start and redone to the end: the table, the mode, the selection and the
    // stored record follow each step; numbers are never given back.
    void undoAndRedoEveryStep()
    {
        Fixture f;
        const QString path = f.openImage();
        ModalAnswerer answers;
        const auto press = [&](QPointF at, const QPoint &by, Qt::KeyboardModifiers modifiers = {}) {
            const QPoint from = f.view()->mapFromScene(at);
            drag(f.view()->viewport(), from, from + by, Qt::LeftButton, modifiers);
        };
        // Shift+arrows move the point or the handle pressed last by a pixel, with Ctrl by ten.
        const auto nudge = [&f](QGraphicsItem *item, const QPointF &by) {
            f.activate();
            const QPointF from = item->pos();
            QTest::keyClick(f.window.get(), Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
            for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right})
                QTest::keyClick(f.window.get(), key, Qt::ShiftModifier);
            QCOMPARE(item->pos(), from + by);
        };
        const auto state = [&f] {
            QVariantList shown = summary(f.window->scene()->currentState());
            shown.removeAt(4); // the next number only grows
            return QVariantList({shown, f.window->tableView()->toText(QStringLiteral("\t")), f.window->scene()->isCalibrating(),
                                 f.table()->currentIndex().row(), f.window->scene()->selectedItems().size()});
        };
        const std::vector<std::pair<QString, std::function<void()>>> steps = {
            // Without Ctrl the ruler's end lying on the origin is taken, with it the origin.
            {"Move Ruler End", [&] { press(QPointF(320, 240), QPoint(30, -20)); }},
            {"Move Ruler End", [&] { press(f.window->scene()->projection()->rulerEnd2Anchor()->pos(), QPoint(-15, 25)); }},
            {"Move Origin", [&] { press(QPointF(320, 240), QPoint(-40, 30), Qt::ControlModifier); }},
            {"Set Ruler Length", [&] { setRulerLength(f, answers, 25); }},
            {"Nudge Handle", [&] { nudge(f.window->scene()->projection()->originAnchor(), QPointF(-9, 2)); }},
            {"Add Point", [&] { f.action("actionModeEdit")->trigger(); f.clickImage(QPointF(100, 100)); }},
            {"Add Point", [&] { f.clickImage(QPointF(500, 400)); }},
            {"Move Point", [&] { press(f.pos(0), QPoint(25, 10)); }},
            {"Nudge Point", [&] { nudge(f.window->scene()->pointList()->graphicsItemAt(0), QPointF(-9, 2)); }},
            {"Delete Point", [&] { f.clickImage(f.pos(0)); QTest::keyClick(f.window.get(), Qt::Key_Delete); }},
            {"Clear All Points", [&] { answerQuestion(answers, QMessageBox::Yes); f.action("actionClearPoints")->trigger(); }},
            {"Reset Origin", [&] {
                f.action("actionModeCalibrate")->trigger();
                answerQuestion(answers, QMessageBox::Yes);
                f.action("actionResetOrigin")->trigger();
            }},
        };
        QList<QVariantList> states = {state()};
        const auto stored = [&path] { QVariantList record = storedRecord(path); record.removeAt(4); return record; };
        for (const auto &step : steps) {
            step.second();
            QVERIFY_ANSWERED(answers);
            QCOMPARE(f.action("actionUndo")->text(), QStringLiteral("&Undo ") + step.first);
            states.append(state());
            // Every change reaches the store on its own, once.
            QTRY_COMPARE_WITH_TIMEOUT(stored(), states.last().first().toList(), 10000);
            QTRY_VERIFY(!f.window->findChild<QTimer *>("autoSave")->isActive());
        }
        // Undone and redone with the keys, as users do: only an enabled action takes them.
        f.activate();
        for (int i = int(steps.size()) - 1; i >= 0; --i) {
            QTest::keySequence(f.window.get(), QKeySequence::Undo);
            // In the mode the step was made in.
            QVariantList before = states.at(i);
            before[2] = states.at(i + 1).at(2);
            QVERIFY2(state() == before, qPrintable(QStringLiteral("undoing step %1").arg(i + 1)));
            QTRY_COMPARE_WITH_TIMEOUT(stored(), states.at(i).first().toList(), 10000);
        }
        QVERIFY(!f.action("actionUndo")->isEnabled() && f.action("actionRedo")->isEnabled()
                && f.action("actionModeCalibrate")->isChecked() && !f.action("actionModeEdit")->isChecked()
                && f.action("actionRedo")->text() == "&Redo Move Ruler End");
        for (int i = 1; i <= int(steps.size()); ++i) {
            QTest::keySequence(f.window.get(), QKeySequence::Redo);
            QCOMPARE(state(), states.at(i));
        }
        // A folder has a history of its own; back on the image, undo acts there.
        const QVariantList left = summary(f.window->scene()->currentState());
        f.window->openFolder(f.dir.path());
        QVERIFY(storedRecord(path) == left && !f.action("actionUndo")->isEnabled() && !f.action("actionRedo")->isEnabled());
        f.window->openImage(path);
        f.window->settings()->setLocale(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(f.action("actionUndo")->text(), QStringLiteral("&Rückgängig: Ursprung zurücksetzen"));
        f.window->settings()->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        for (int i = 0; i < 3; ++i)
            f.action("actionUndo")->trigger();
        QCOMPARE(state().first(), states.at(steps.size() - 3).first());
        // Point 2 was the last number handed out: the next is 3, also after undoing.
        f.clickImage(QPointF(300, 300));
        QCOMPARE(f.window->scene()->pointList()->graphicsItemAt(f.rows() - 1)->id(), 3);
        QCOMPARE(f.window->undoHistory()->stack(f.dir.path())->count(), 0);
    }

    // A sheet photographed at an angle, calibrated with the mouse: the table
    // shows plane coordinates; a folded set shows none; the ruler comes back
    // as it was.
    void planeCalibratedWithTheMouse()
    {
        Fixture f;
        f.openImage(QSize(800, 600));
        vireo::Projection *projection = f.window->scene()->projection();
        const QVariantList ruler = summary(f.window->scene()->currentState()).mid(0, 4);
        QString accuracy;
        ModalAnswerer answers;
        answers.expect<vireo::PlaneDialog>([&accuracy](vireo::PlaneDialog *dialog) {
            const auto boxes = dialog->findChildren<QDoubleSpinBox *>();
            boxes.at(boxes.size() - 2)->setValue(300);
            boxes.last()->setValue(200);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("fillRectangle")), Qt::LeftButton);
            accuracy = dialog->accuracyText();
            return answerLater(dialog, "accept");
        });
        f.action("actionPlaneCalibration")->trigger();
        QVERIFY_ANSWERED(answers);
        const QList<QPointF> sheet = {{150, 500}, {650, 520}, {560, 180}, {230, 160}};
        const QList<vireo::GrahpicsAnchorItem *> references = projection->plane()->handles();
        // They start on the corners of the image's middle, the first at the bottom left.
        QCOMPARE(QList<QPointF>({references[0]->pos(), references[2]->pos()}), QList<QPointF>({{200, 450}, {600, 150}}));
        for (int i = 0; i < 4; ++i)
            drag(f.view()->viewport(), f.view()->mapFromScene(references[i]->pos()), f.view()->mapFromScene(sheet[i]));
        f.activate();
        QTest::keyClick(f.window.get(), Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(f.action("actionUndo")->text(), QStringLiteral("&Undo Nudge Handle"));
        const QVector<QPointF> placed = {references[0]->pos(), references[1]->pos(), references[2]->pos(), references[3]->pos()};
        QVERIFY(QLineF(placed[3], sheet[3] - QPointF(0, 1)).length() < 4 && QLineF(placed[0], sheet[0]).length() < 4);
        const vireo::PlaneMap map(placed, {{0, 0}, {300, 0}, {300, 200}, {0, 200}});
        QVERIFY2(accuracy.contains(QStringLiteral("at most")), qPrintable(accuracy));
        f.action("actionModeEdit")->trigger();
        // Measuring, the plane's outline stays; its label and handles go, and it cannot be switched.
        QCOMPARE(QVector<bool>({projection->plane()->label()->isVisible(), references[0]->isVisible(),
                                f.action("actionPlaneCalibration")->isEnabled()}), QVector<bool>(3, false));
        // Its outline two pixels wide at any zoom, its axes red from the first corner.
        QVector<QLineF> axes;
        for (const QGraphicsItem *item : f.window->scene()->items()) {
            if (const auto *line = qgraphicsitem_cast<const QGraphicsLineItem *>(item); line && line->isVisible())
                axes.append(line->pen().color() == Qt::red ? line->line() : QLineF());
            if (const auto *quad = qgraphicsitem_cast<const QGraphicsPolygonItem *>(item))
                QVERIFY(quad->pen().isCosmetic() && quad->pen().width() == 2 && quad->polygon() == QPolygonF(placed));
        }
        QVERIFY(axes.size() == 2 && axes.contains(QLineF(placed[0], placed[1])) && axes.contains(QLineF(placed[0], placed[3])));
        f.clickImage(QPointF(400, 340));
        const QPointF mapped = map.map(f.pos(0));
        const QString expected = QString::number(mapped.x(), 'f', 3) + QString::number(mapped.y(), 'f', 3);
        const auto cells = [&f] {
            return f.table()->model()->index(0, 1).data().toString() + f.table()->model()->index(0, 2).data().toString();
        };
        QCOMPARE(cells(), expected);
        QTRY_VERIFY_WITH_TIMEOUT(readFile(storePath()).contains("<plane>"), 10000);
        // Two references on one spot of the plane: no numbers, and the reason where the user looks.
        f.action("actionModeCalibrate")->trigger();
        QVERIFY(projection->plane()->label()->isVisible());
        // Opened again, the dialog shows the coordinates, each on its reference's row, under its heading.
        QVector<double> shown;
        QStringList texts;
        answers.expect<vireo::PlaneDialog>([&shown, &texts](vireo::PlaneDialog *dialog) {
            for (const QLabel *label : dialog->findChildren<QLabel *>())
                texts << label->text() + (label->wordWrap() ? "\n" : "");
            const auto boxes = dialog->findChildren<QDoubleSpinBox *>();
            shown.append(boxes.first()->decimals());
            for (const QDoubleSpinBox *box : boxes.mid(0, 8)) {
                shown.append(box->value());
                for (const QLabel *label : dialog->findChildren<QLabel *>()) {
                    const int apart = qAbs(label->geometry().center().y() - box->geometry().center().y());
                    if (label->text().startsWith("Reference") && apart < 8)
                        shown.append(label->text().back().digitValue());
                }
            }
            boxes.at(4)->setValue(0);
            texts << dialog->accuracyText();
            return answerLater(dialog, "accept");
        });
        f.action("actionSetPlaneCoordinates")->trigger();
        QVERIFY_ANSWERED(answers);
        QCOMPARE(shown, QVector<double>({3, 0, 1, 0, 1, 300, 2, 0, 2, 300, 3, 200, 3, 0, 4, 200, 4}));
        const QRegularExpression labelled("^(X|Y|×|Where the references lie .*:|.*at most.*\n|Three .* is mended\\.)$");
        QCOMPARE(texts.filter(labelled).size(), 6);
        QCOMPARE(cells() + projection->plane()->labelText(), QStringLiteral("Three references lie on one line on the plane."));
        f.action("actionUndo")->trigger();
        QCOMPARE(cells(), expected);
        // Back to the ruler: the plane leaves the record, the ruler is as it was.
        f.action("actionPlaneCalibration")->trigger();
        QCOMPARE(QVariantList({summary(f.window->scene()->currentState()).mid(0, 4), projection->hasPlane(),
                               references[0]->isVisible()}), QVariantList({ruler, false, false}));
        QTRY_VERIFY_WITH_TIMEOUT(!readFile(storePath()).contains("<plane>")
                                     && !f.action("actionSetPlaneCoordinates")->isEnabled(), 10000);
        // Undone, the plane's record comes back, and with it the plane's actions, also after another image's.
        f.action("actionUndo")->trigger();
        f.openImage(QSize(300, 200), QStringLiteral("flat.png"));
        QVERIFY(!f.action("actionPlaneCalibration")->isChecked());
        f.window->openImage(f.dir.filePath(QStringLiteral("photo.png")));
        QVERIFY(f.action("actionPlaneCalibration")->isChecked() && f.action("actionSetPlaneCoordinates")->isEnabled());
    }

    // What the desktop hands the program: a file, a folder, relative or not;
    // a path that names nothing gets the dialog's message and makes no record.
    void opensWhatTheCommandLineNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("image") << "photo.png" << "";
        QTest::newRow("relative image") << "./photo.png" << "";
        QTest::newRow("WebP") << "photo.webp" << "";
        QTest::newRow("16-bit TIFF") << "deep.tif" << "";
        QTest::newRow("folder") << "folder" << "";
        QTest::newRow("missing") << "missing.jpg" << "The file does not exist.";
        QTest::newRow("pipe") << "pipe.jpg" << "It is not a regular file but a folder, a pipe or a device.";
    }

    void opensWhatTheCommandLineNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        Fixture f;
        writeImage(f.dir.filePath(QStringLiteral("photo.png")), QSize(120, 80));
        QImage deep(120, 80, QImage::Format_RGBA64);
        deep.fill(Qt::darkGreen);
        QVERIFY(deep.save(f.dir.filePath(QStringLiteral("deep.tif")), "TIFF")
                && deep.convertToFormat(QImage::Format_RGB32).save(f.dir.filePath(QStringLiteral("photo.webp")), "WEBP"));
        writeImage(f.dir.filePath(QStringLiteral("folder/a.png")), QSize(30, 20));
        ::mkfifo(QFile::encodeName(f.dir.filePath(QStringLiteral("pipe.jpg"))).constData(), 0600);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(f.dir.path());
        QString shown;
        ModalAnswerer answers;
        if (!reason.isEmpty())
            acceptMessage(answers, &shown);
        const int records = f.window->settings()->geometryCount();
        f.window->openPath(name);
        QDir::setCurrent(previous);
        QVERIFY_ANSWERED(answers);
        const QString absolute = QDir::cleanPath(f.dir.filePath(name));
        if (!reason.isEmpty()) {
            QCOMPARE(shown, "Cannot load image.\n" + reason);
            QCOMPARE(f.window->settings()->geometryCount(), records + (name == QLatin1String("pipe.jpg")));
            return;
        }
        QVERIFY(!f.window->settings()->geometryFor(absolute).isNew() || name == QLatin1String("folder"));
        QVERIFY(name == QLatin1String("folder") || f.window->scene()->sceneRect() == QRectF(0, 0, 120, 80));
        QCOMPARE(f.window->settings()->currentDir(), name == QLatin1String("folder") ? absolute : f.dir.path());
        if (name == QLatin1String("folder"))
            QTRY_COMPARE(f.window->findChild<vireo::ThumbnailView *>("thumbnailView")->count(), 1);
    }

    // The real program on a phone photo named on its command line, as a file
    // manager starts it; --help and --version answer on the terminal.
    void opensAPhonePhotoFromTheCommandLine()
    {
        QProcess program;
        program.start(QStringLiteral(MENSOR_BINARY), {QStringLiteral("--version")});
        QVERIFY(program.waitForFinished(30000) && program.readAllStandardOutput().trimmed() == QByteArray("mensor 2.4"));
        program.start(QStringLiteral(MENSOR_BINARY), {QStringLiteral("--help")});
        QVERIFY(program.waitForFinished(30000) && program.readAllStandardOutput().contains("[path]"));
        if (!QImageReader::supportedImageFormats().contains("heic"))
            QSKIP("no image plug-in for HEIC with this toolkit");
        QTemporaryDir dir;
        const QString png = writeImage(dir.filePath(QStringLiteral("phone.png")), QSize(300, 200));
        const QString heic = dir.filePath(QStringLiteral("phone.heic"));
        QCOMPARE(QProcess::execute(QStringLiteral("heif-enc"), {QStringLiteral("-q"), QStringLiteral("90"),
                                                                QStringLiteral("-o"), heic, png}), 0);
        QFile::remove(storePath());
        program.start(QStringLiteral(MENSOR_BINARY), {heic});
        // Written as the image is chosen, with its folder as the current one.
        QVERIFY(QTest::qWaitFor([&dir] { return readFile(storePath()).contains(dir.path().toUtf8()); }, 30000));
        ::kill(pid_t(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(storedRecord(heic).mid(0, 3), QVariantList({QPointF(150, 100), QPointF(150, 100), QPointF(300, 200)}));
    }

    void loupeShowsTheSpotWhileDragging_data()
    {
        QTest::addColumn<bool>("calibrating");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPoint>("move");
        QTest::addColumn<int>("zoomLevel");
        QTest::newRow("point") << false << QPointF(300, 200) << QPoint(23, 17) << 10;
        QTest::newRow("point, zoomed in") << false << QPointF(300, 200) << QPoint(-40, 31) << 40;
        QTest::newRow("origin") << true << QPointF(320, 240) << QPoint(-35, 12) << 10;
    }

    void loupeShowsTheSpotWhileDragging()
    {
        QFETCH(bool, calibrating);
        QFETCH(QPointF, from);
        QFETCH(QPoint, move);
        QFETCH(int, zoomLevel);
        Fixture f;
        const QString coded = f.dir.filePath(QStringLiteral("coded.png"));
        QVERIFY(patternImage(QSize(640, 480)).save(coded));
        f.window->openImage(coded);
        auto view = f.view();
        if (!calibrating) {
            f.action("actionModeEdit")->trigger();
            f.clickImage(from);
        }
        view->setZoomLevel(zoomLevel);
        view->centerOn(from);
        QCOMPARE(view->viewport()->findChild<vireo::Loupe *>(), nullptr);
        const QPoint start = view->mapFromScene(from);
        sendMouse(view->viewport(), QEvent::MouseButtonPress, start);
        sendMouse(view->viewport(), QEvent::MouseMove, start + move);
        auto loupe = view->viewport()->findChild<vireo::Loupe *>();
        const QGraphicsItem *dragged = f.window->scene()->mouseGrabberItem();
        QVERIFY(loupe && loupe->isVisible() && dragged);
        const QPointF hotSpot = view->viewportTransform().map(dragged->scenePos());
        QVERIFY(view->viewport()->rect().contains(loupe->geometry())
                && loupe->size() == QSize(vireo::Loupe::side, vireo::Loupe::side));
        QVERIFY(!loupe->geometry().adjusted(-5, -5, 5, 5).contains(hotSpot.toPoint()));
        // Beside the cross's centre the image around the spot, at four times the view's scale, at least twice.
        const double magnification = qMax(4 * view->transform().m11(), 2.0);
        const QImage shown = loupe->grab().toImage();
        // A fine black cross, open around the spot, in a black frame.
        const QPoint centre(vireo::Loupe::side / 2, vireo::Loupe::side / 2);
        QString cross;
        for (const QPoint arm : {QPoint(), QPoint(2, 0), QPoint(20, 0), QPoint(-20, 0), QPoint(0, 20), QPoint(0, -20), -centre})
            cross += shown.pixelColor(centre + arm) == QColor(Qt::black) ? QLatin1Char('+') : QLatin1Char('-');
        QCOMPARE(cross, QStringLiteral("--+++++"));
        const QImage &image = f.window->scene()->image();
        for (const QPoint offset : {QPoint(2, 2), QPoint(-3, 2), QPoint(40, -30)}) {
            const QPointF inImage = dragged->scenePos() + (QPointF(offset) + QPointF(0.5, 0.5)) / magnification;
            const QRgb spot = shown.pixel(QPoint(vireo::Loupe::side / 2, vireo::Loupe::side / 2) + offset);
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    near = near || image.pixel(qFloor(inImage.x()) + dx, qFloor(inImage.y()) + dy) == spot;
            QVERIFY2(near, "the loupe does not show the image around the spot");
        }
        sendMouse(view->viewport(), QEvent::MouseButtonRelease, start + move);
        QVERIFY(!loupe->isVisible());
    }

    void failedSavesAreShownAndOfferedAgain()
    {
        ModalAnswerer answers;
        {
            Fixture f;
            // A folder where the store should be: no save can replace it.
            QVERIFY(QDir().mkpath(storePath()));
            QString text;
            acceptMessage(answers, &text);
            f.openImage();
            f.openImage(QSize(100, 100), QStringLiteral("second.png"));
            QVERIFY_ANSWERED(answers);
            QVERIFY2(text.startsWith(QStringLiteral("The measurements could not be saved to %1:\n").arg(storePath()))
                     && text.size() > storePath().size() + 40, qPrintable(text));
            // Saved again, then failing again: the user hears of it again.
            QDir(storePath()).removeRecursively();
            const QString path = f.openImage();
            QVERIFY(QFile::remove(storePath()) && QDir().mkpath(storePath()));
            acceptMessage(answers);
            f.openImage();
            QVERIFY_ANSWERED(answers);
            // Closing asks; room made while the question is open: trying again saves.
            answerQuestion(answers, QMessageBox::Cancel);
            QVERIFY(!f.window->close() && f.window->isVisible());
            answerQuestion(answers, QMessageBox::Retry, [] { QDir(storePath()).removeRecursively(); });
            QVERIFY(f.window->close());
            QVERIFY_ANSWERED_AND(answers, readFile(storePath()).contains(path.toUtf8()));
        }
        Fixture g;
        QVERIFY(QDir().mkpath(storePath()));
        answerQuestion(answers, QMessageBox::Discard);
        QVERIFY(g.window->close());
        QVERIFY_ANSWERED_AND(answers, QDir(storePath()).removeRecursively());
    }

    // A bad value costs that value alone; each damaged store is kept aside once, never overwritten.
    void damagedStoreIsReportedAtStart()
    {
        QFile::remove(storePath());
        {
            SilentMessages silence;
            Settings settings;
            for (int i = 1; i <= 3; ++i)
                settings.geometryFor(QStringLiteral("/photos/%1.png").arg(i)).setOrigin(QPointF(i, 7));
        }
        const QByteArray good = readFile(storePath());
        const QByteArray badNumber = QByteArray(good).replace("<x>2</x>", "<x>1,5</x>");
        const QByteArray badRest = QByteArray(good).replace("<geometry>", "<geometry><unknown/>");
        const struct
        {
            QByteArray store;
            const char *error;
            const char *backup;
        } starts[] = {{badNumber, "line 33, column 13: The value of x is not a valid double.", ".bak"},
                      {badNumber, "double.\n\nValues that could not be read keep their defaults", ".bak"},
                      {badRest, "Element <value> expected.\n\nEverything before that point has been loaded.", ".2.bak"}};
        for (const auto &start : starts) {
            writeFile(storePath(), start.store);
            MessageAnswerer answers;
            Fixture f(Store::AsItIs);
            const QString &text = answers.text;
            QCOMPARE(answers.waitForAll(), QString());
            QVERIFY2(text.contains(QLatin1String(start.error)) && text.contains(storePath() + QLatin1String(start.backup)),
                     qPrintable(text));
            QCOMPARE(readFile(storePath() + QLatin1String(start.backup)), start.store);
            if (start.store == badNumber) {
                QCOMPARE(QVariantList({f.window->settings()->geometryCount(),
                                       f.window->settings()->geometryFor(QStringLiteral("/photos/2.png")).origin(),
                                       f.window->settings()->geometryFor(QStringLiteral("/photos/3.png")).origin()}),
                         QVariantList({3, QPointF(0, 7), QPointF(3, 7)}));
            }
        }
        Fixture f(Store::AsItIs);
        QCOMPARE(f.window->settings()->backupFileName() + f.window->settings()->loadErrorString(), QString());
        QCOMPARE(QDir(QFileInfo(storePath()).absolutePath()).entryList({QStringLiteral("*.bak")}),
                 QStringList({"mensor.xml.2.bak", "mensor.xml.bak"}));
    }

    // A store that is no regular file is never opened: no start hangs on a pipe.
    void storeThatIsAPipeIsLeftAlone()
    {
        QFile::remove(storePath());
        QDir().mkpath(QFileInfo(storePath()).absolutePath());
        QCOMPARE(::mkfifo(QFile::encodeName(storePath()).constData(), 0600), 0);
        MessageAnswerer answers;
        {
            Fixture f(Store::AsItIs);
            QCOMPARE(answers.waitForAll(), QString());
            QVERIFY2(answers.text.contains("The file is not a regular file.\n\nEverything before"), qPrintable(answers.text));
            // The store itself refuses to write, whoever asks.
            QVERIFY(f.window->windowTitle() == QStringLiteral("mensor 2.4 (read-only)") && !f.window->settings()->save());
            f.openImage();
            QVERIFY(f.window->close());
        }
        QVERIFY(!QFileInfo(storePath()).isFile() && QFile::remove(storePath()));
    }

    // A lock that no running window can hold is taken over; one from another
    // computer is the user's to take over.
    void lockThatNoWindowHolds_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("owned");
        QTest::addColumn<QString>("says");
        QTest::newRow("empty") << QByteArray() << 0 << true << "";
        QTest::newRow("damaged") << QByteArray("garbage\n") << 0 << true << "";
        QTest::newRow("folder") << QByteArray("/") << 0 << true << "";
        const QByteArray elsewhere("4711\nmensor\nfar-away\n");
        QTest::newRow("another computer, taken over") << elsewhere << 1 << true << "process 4711 on far-away";
        QTest::newRow("another computer, left alone") << elsewhere << 2 << false << "process 4711 on far-away";
        // The next save claims the store once there is room.
        QTest::newRow("no room") << QByteArray("full") << 1 << true << "the disk may be full";
    }

    void lockThatNoWindowHolds()
    {
        QFETCH(QByteArray, lock);
        QFETCH(int, answer);
        QFETCH(bool, owned);
        QFETCH(QString, says);
        const QString lockPath = storePath() + QStringLiteral(".lock");
        QFile::remove(storePath());
        if (lock == "/")
            QVERIFY(QDir().mkpath(lockPath));
        else if (lock != "full")
            writeFile(lockPath, lock);
        QString text;
        ModalAnswerer answers;
        if (answer) {
            answers.expect<QMessageBox>([&text, answer](QMessageBox *box) {
                text = box->text();
                return answerLater(box->buttons().at(answer == 1 ? 0 : 1), "click");
            });
        }
        {
            auto full = fileSizeLimit(lock == "full" ? 0 : RLIM_INFINITY);
            Fixture f(Store::AsItIs);
            full.reset();
            QCOMPARE(answers.waitForAll(), QString());
            QVERIFY2(text.contains(says) && (says.isEmpty() || text.contains(lockPath)), qPrintable(text));
            QCOMPARE(f.window->windowTitle().endsWith(QStringLiteral("(read-only)")), !owned);
            f.openImage();
            // Whoever saves holds the lock meanwhile.
            QVERIFY(QFile::exists(storePath()) == owned && QFile::exists(lockPath) && f.window->close());
        }
        QCOMPARE(QFileInfo::exists(lockPath), !owned);
        QFile::remove(lockPath);
    }

    // Two real programs on one store: the second tells the user and saves nothing;
    // once the first is gone, even killed, the next window owns the store.
    void secondWindowWorksWithoutSaving()
    {
        writeFile(storePath(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<mensor version=\"1\">\n"
                               "  <locale>en_US</locale>\n  <mainwindow/>\n  <geometries/>\n</mensor>\n");
        QProcess first;
        first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        first.start(QStringLiteral(MENSOR_BINARY), QStringList());
        QVERIFY(first.waitForStarted() && QTest::qWaitFor([] { return QFile::exists(storePath() + ".lock"); }, 30000));
        const QByteArray before = readFile(storePath());
        {
            MessageAnswerer answers;
            Fixture second(Store::AsItIs);
            QVERIFY2(answers.text.contains(storePath() + QStringLiteral(".lock")), qPrintable(answers.text));
            QCOMPARE(answers.waitForAll(), QString());
            QVERIFY(second.window->windowTitle() == "mensor 2.4 (read-only)" && !second.window->settings()->save());
            second.openImage();
            QVERIFY(second.window->close());
            // Work done here cannot be saved: closing says so first.
            second.window->show();
            second.action("actionModeEdit")->trigger();
            second.clickImage(QPointF(50, 50));
            answers.expect<QMessageBox>([&answers](QMessageBox *box) {
                answers.text = box->text();
                return answerLater(box->button(QMessageBox::Cancel), "click");
            });
            QVERIFY(!second.window->close());
            answerQuestion(answers, QMessageBox::Discard);
            QVERIFY(second.window->close());
            QVERIFY2(answers.failure().isEmpty() && answers.text.contains("cannot save"), qPrintable(answers.text));
        }
        QCOMPARE(readFile(storePath()), before);
        first.kill();
        QVERIFY(first.waitForFinished());
        Fixture next(Store::AsItIs);
        next.openImage();
        QCOMPARE(next.window->windowTitle(), QStringLiteral("mensor 2.4"));
        QVERIFY(readFile(storePath()).contains("<currentdir>" + next.dir.path().toUtf8()));
    }
};

MENSOR_GUITEST_MAIN(MainWindowTest)
#include "mainwindowtest.moc"
