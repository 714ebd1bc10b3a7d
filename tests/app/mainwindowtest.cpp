#include "aboutdialog.h"
#include "graphicspointitem.h"
#include "grahpicsanchoritem.h"
#include "graphicsview.h"
#include "loupe.h"
#include "mainwindow.h"
#include "pointlist.h"
#include "projection.h"
#include "scene.h"
#include "settings.h"
#include "settingsdialog.h"
#include "thumbnailloader.h"
#include "thumbnailview.h"

#include "startup.h"
#include "testutils.h"

#include <combobox.h>
#include <icons.h>
#include <tableview.h>
#include <translations.h>

#include <QAction>
#include <QBuffer>
#include <QAbstractButton>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QSlider>
#include <QSpinBox>
#include <QScrollBar>
#include <QTableView>
#include <QTextBrowser>

#include <sys/stat.h>

using vireo::MainWindow;

namespace {

// Accepts the next message box, keeping its text.
void acceptMessage(ModalAnswerer &answers, QString *text = nullptr)
{
    answers.expect<QMessageBox>([text](QMessageBox *box) {
        if (text)
            *text = box->text();
        answerLater(box, "accept");
        return true;
    });
}

// Answers the next question box with the given button.
void answerQuestion(ModalAnswerer &answers, QMessageBox::StandardButton answer)
{
    answers.expect<QMessageBox>([answer](QMessageBox *box) {
        answerLater(box->button(answer), "click");
        return true;
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
    if (dialog->selectedFiles() != QStringList(path))
        return false;
    answerLater(dialog, "accept");
    return true;
}

QString writeImage(const QString &path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::lightGray);
    image.save(path);
    return path;
}

template <typename T>
T *child(const MainWindow &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

// Where the program keeps its store in this test's home.
QString storePath()
{
    static const QString path = QFileInfo(isolatedHome().path() + QStringLiteral("/.config/ortus/mensor.xml")).absoluteFilePath();
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeStore(const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(storePath()).absolutePath());
    QFile file(storePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
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
        // Pinned so the texts under test do not depend on the first-run locale.
        window->settings()->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    QAction *action(const char *name) const { return child<QAction>(*window, name); }

    QString openImage(QSize size = QSize(640, 480), const QString &name = QStringLiteral("photo.png"))
    {
        const QString path = writeImage(dir.filePath(name), size);
        window->openImage(path);
        return path;
    }

    void clickImage(QPointF scenePos)
    {
        auto view = child<vireo::GraphicsView>(*window, "imageView");
        const QPoint at = view->mapFromScene(scenePos);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    }

    int rows() const { return window->scene()->pointList()->count(); }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void stateAfterConstruction();
    void openImageThroughFileDialog();
    void cancelledDialogChangesNothing();
    void unreadableImageIsReported_data();
    void unreadableImageIsReported();
    void clickCopyDeleteRoundTrip();
    void clearPointsAsksFirst_data();
    void clearPointsAsksFirst();
    void resetRulerAsksFirst();
    void readOutsUsePointInEveryLanguage_data();
    void readOutsUsePointInEveryLanguage();
    void settingsDialogSwitchesLanguage();
    void openFolderBrowsesThumbnails();
    void thumbnailsDockAndActionStayInStep();
    void closingWritesRecords();
    void photosComeUpright();
    void loupeShowsTheSpotWhileDragging_data();
    void loupeShowsTheSpotWhileDragging();
    void arrowKeysNudgeByImagePixels();
    void dialogsShowTheirWholeTexts_data();
    void dialogsShowTheirWholeTexts();
    void copiedCoordinatesAreNumbersInEveryLanguage_data();
    void copiedCoordinatesAreNumbersInEveryLanguage();
    void failedSavesAreShownOncePerReason();
    void closingOffersToRetryWhenSaveFails();
    void damagedStoreIsReportedAtStart();
    void secondWindowWorksWithoutSaving();
};

void MainWindowTest::initTestCase()
{
    vireo::setApplicationIdentity();
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type >= QtCriticalMsg)
            fprintf(stderr, "%s\n", qPrintable(message));
    });
}

void MainWindowTest::stateAfterConstruction()
{
    Fixture f;
    QVERIFY(f.action("actionModeCalibrate")->isChecked());
    QVERIFY(!f.action("actionModeEdit")->isChecked());
    QVERIFY(f.action("actionDockThumbnails")->isChecked());
    QVERIFY(child<QDockWidget>(*f.window, "dockThumbnails")->isVisible());
    QCOMPARE(child<vireo::ThumbnailView>(*f.window, "thumbnailView")->count(), 0);
    QCOMPARE(child<QSlider>(*f.window, "zoomSlider")->value(), 10);
    QCOMPARE(child<QLabel>(*f.window, "labelImageName")->text(), QStringLiteral("No Image"));
    QVERIFY(!f.action("actionNextImage")->isEnabled());
    QVERIFY(!f.action("actionPreviousImage")->isEnabled());
    QVERIFY(!child<vireo::GraphicsView>(*f.window, "imageView")->isEnabled());
    QVERIFY(!f.action("actionClearPoints")->isEnabled());
    QVERIFY(f.action("actionResetOrigin")->isEnabled());
    QVERIFY(f.action("actionResetCalibrationRuler")->isEnabled());
    QVERIFY(f.action("actionSetRulerLength")->isEnabled());
    QVERIFY(!child<QTableView>(*f.window, "tableView")->isEnabled());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("mensor 2.4"));
    QVERIFY(child<QDockWidget>(*f.window, "dockThumbnails")->windowTitle().startsWith(QLatin1String("Images in Directory ")));
}

void MainWindowTest::openImageThroughFileDialog()
{
    Fixture f;
    const QString path = writeImage(f.dir.filePath(QStringLiteral("photo.png")), QSize(640, 480));
    ModalAnswerer answers;
    answers.expect<QFileDialog>([path](QFileDialog *dialog) { return chooseListed(dialog, path); });
    f.action("actionOpenImage")->trigger();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(child<QLabel>(*f.window, "labelImageName")->text(), QStringLiteral("photo.png"));
    QVERIFY(child<vireo::GraphicsView>(*f.window, "imageView")->isEnabled());
    QCOMPARE(f.window->settings()->currentDir(), f.dir.path());
    QCOMPARE(f.window->scene()->sceneRect(), QRectF(0, 0, 640, 480));
    QVERIFY(!f.window->settings()->geometryFor(path).isNew());
    QVERIFY(!f.action("actionNextImage")->isEnabled());

    // The settings file was written when the image was chosen.
    QFile file(f.window->settings()->fileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains(QStringLiteral("<currentdir>%1</currentdir>").arg(f.dir.path()).toUtf8()));
}

void MainWindowTest::cancelledDialogChangesNothing()
{
    Fixture f;
    const QString before = f.window->settings()->currentDir();
    ModalAnswerer answers;
    answers.expect<QFileDialog>([](QFileDialog *dialog) {
        answerLater(dialog, "reject");
        return true;
    });
    f.action("actionOpenImage")->trigger();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(f.window->settings()->currentDir(), before);
    QCOMPARE(f.window->settings()->geometryCount(), 0);
}

void MainWindowTest::unreadableImageIsReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("not a picture") << "broken.png" << QByteArray("not a picture");
    // Reading a pipe would block the window for ever.
    QTest::newRow("named pipe") << "pipe.jpg" << QByteArray();
    QTest::newRow("image too large for its file")
        << "decoy.xbm" << QByteArray("#define d_width 23000\n#define d_height 23000\nstatic char d_bits[] = {\n0x00 };\n");
}

void MainWindowTest::unreadableImageIsReported()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    Fixture f;
    f.openImage();
    auto view = child<vireo::GraphicsView>(*f.window, "imageView");
    const auto imageCentre = [view] {
        const QImage shown = view->viewport()->grab().toImage();
        return shown.pixelColor(shown.width() / 2 + 30, shown.height() / 2 - 30);
    };
    QCOMPARE(imageCentre(), QColor(Qt::lightGray));
    const QString path = f.dir.filePath(name);
    if (contents.isEmpty()) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        QFile broken(path);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(contents);
    }
    QString text;
    ModalAnswerer answers;
    acceptMessage(answers, &text);
    f.window->openImage(path);
    QVERIFY_ANSWERED(answers);
    QCOMPARE(text, QStringLiteral("Cannot load image."));
    QVERIFY(!view->isEnabled());
    // Nothing of the image before stays drawn.
    QVERIFY(imageCentre() != QColor(Qt::lightGray));
    QCOMPARE(child<QLabel>(*f.window, "labelImageName")->text(), name);
}

void MainWindowTest::clickCopyDeleteRoundTrip()
{
    Fixture f;
    f.openImage();
    f.action("actionModeEdit")->trigger();
    QVERIFY(child<QTableView>(*f.window, "tableView")->isEnabled());
    QVERIFY(f.action("actionClearPoints")->isEnabled());
    QVERIFY(!f.action("actionResetOrigin")->isEnabled());
    f.clickImage(QPointF(400, 200));
    f.clickImage(QPointF(100, 300));
    QCOMPARE(f.rows(), 2);

    f.action("actionCopyCoordinates")->trigger();
    const QString text = QApplication::clipboard()->text();
    const QStringList lines = text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(0), QStringLiteral("Nbr.\tX\tY\tFile\t"));
    QVERIFY(lines.at(1).startsWith(QLatin1String("1\t")));
    QVERIFY(lines.at(1).endsWith(QLatin1String("\tphoto.png\t")));
    QCOMPARE(lines.at(1).count(QLatin1Char('\t')), 4);
    QVERIFY(lines.at(2).startsWith(QLatin1String("2\t")));
    QCOMPARE(lines.at(3), QString());
    QVERIFY(!text.contains(QLatin1Char('\r')));
    // Three decimals, the default.
    QVERIFY(QRegularExpression(QStringLiteral("^1\\t-?[0-9]+\\.[0-9]{3}\\t")).match(lines.at(1)).hasMatch());

    // The table's current row, chosen as a user clicks it, is the point to delete.
    auto table = child<QTableView>(*f.window, "tableView");
    table->setCurrentIndex(table->model()->index(0, 1));
    QVERIFY(f.window->scene()->pointList()->graphicsItemAt(0)->isSelected());
    f.action("actionDeletePoint")->trigger();
    QCOMPARE(f.rows(), 1);
    QCOMPARE(f.window->scene()->pointList()->graphicsItemAt(0)->id(), 2);
    child<QTableView>(*f.window, "tableView")->setCurrentIndex(QModelIndex());
    f.action("actionDeletePoint")->trigger();
    QCOMPARE(f.rows(), 1);
}

void MainWindowTest::clearPointsAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("yes") << int(QMessageBox::Yes) << 0;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << 2;
}

void MainWindowTest::clearPointsAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(int, rowsAfter);

    Fixture f;
    f.openImage();
    f.action("actionModeEdit")->trigger();
    f.clickImage(QPointF(100, 100));
    f.clickImage(QPointF(200, 100));
    ModalAnswerer answers;
    answerQuestion(answers, QMessageBox::StandardButton(answer));
    f.action("actionClearPoints")->trigger();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(f.rows(), rowsAfter);
    f.clickImage(QPointF(300, 100));
    QCOMPARE(f.window->scene()->pointList()->graphicsItemAt(f.rows() - 1)->id(), 3);
}

void MainWindowTest::resetRulerAsksFirst()
{
    Fixture f;
    f.openImage();
    vireo::Projection *projection = f.window->scene()->projection();
    projection->rulerEnd2Anchor()->setPos(10, 10);
    projection->originAnchor()->setPos(5, 5);

    ModalAnswerer answers;
    answerQuestion(answers, QMessageBox::Cancel);
    f.action("actionResetCalibrationRuler")->trigger();
    QCOMPARE(projection->rulerEnd2(), QPointF(10, 10));
    answerQuestion(answers, QMessageBox::Yes);
    f.action("actionResetCalibrationRuler")->trigger();
    QCOMPARE(projection->rulerEnd2(), QPointF(640, 480));
    QCOMPARE(projection->rulerLength(), 1.0);

    answerQuestion(answers, QMessageBox::Yes);
    f.action("actionResetOrigin")->trigger();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(projection->origin(), QPointF(320, 240));
}

void MainWindowTest::readOutsUsePointInEveryLanguage_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("German, 2 places") << QLocale(QLocale::German, QLocale::Germany) << 2 << "x = 12.35";
    QTest::newRow("Swiss, 0 places") << QLocale(QLocale::German, QLocale::Switzerland) << 0 << "x = 12";
    QTest::newRow("English, 4 places") << QLocale(QLocale::English, QLocale::UnitedStates) << 4 << "x = 12.3456";
}

void MainWindowTest::readOutsUsePointInEveryLanguage()
{
    QFETCH(QLocale, locale);
    QFETCH(int, decimals);
    QFETCH(QString, text);

    Fixture f;
    f.window->settings()->setLocale(locale);
    f.window->settings()->setDecimalPlaces(decimals);
    f.window->updateMouseCoordinates(QPointF(12.3456, -1234.5));
    QCOMPARE(child<QLabel>(*f.window, "labelMouseX")->text(), text);
    QVERIFY(!child<QLabel>(*f.window, "labelMouseY")->text().contains(QLatin1Char(',')));
    QCOMPARE(f.window->tableView()->columnDecimals(1), decimals);
    f.window->updateMouseCoordinates(QPointF(qQNaN(), qQNaN()));
    QCOMPARE(child<QLabel>(*f.window, "labelMouseX")->text(), QStringLiteral("x = "));
    f.window->clearMouseCoordinates();
    QCOMPARE(child<QLabel>(*f.window, "labelMouseY")->text(), QString());
}

void MainWindowTest::settingsDialogSwitchesLanguage()
{
    Fixture f;
    ModalAnswerer answers;
    answers.expect<vireo::SettingsDialog>([](vireo::SettingsDialog *dialog) {
        dialog->findChild<QSpinBox *>(QStringLiteral("editDecimalPlaces"))->setValue(1);
        dialog->findChild<kit::ComboBox *>(QStringLiteral("editLocale"))->setValue(QLocale(QLocale::German, QLocale::Germany));
        answerLater(dialog, "accept");
        return true;
    });
    f.action("actionConfigure")->trigger();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(f.window->settings()->decimalPlaces(), 1);
    QCOMPARE(f.window->settings()->locale().name(), QStringLiteral("de_DE"));
    QCOMPARE(f.action("actionOpenImage")->text(), QStringLiteral("&Bilddatei öffnen..."));
    QCOMPARE(child<QLabel>(*f.window, "labelImageName")->text(), QStringLiteral("kein Bild"));
    QCOMPARE(f.window->scene()->pointModel()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Bilddatei"));

    int decimals = 0;
    int localeIndex = 0;
    answers.expect<vireo::SettingsDialog>([&](vireo::SettingsDialog *dialog) {
        decimals = dialog->findChild<QSpinBox *>(QStringLiteral("editDecimalPlaces"))->value();
        localeIndex = dialog->findChild<kit::ComboBox *>(QStringLiteral("editLocale"))->currentIndex();
        answerLater(dialog, "reject");
        return true;
    });
    f.action("actionConfigure")->trigger();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(decimals, 1);
    QCOMPARE(localeIndex, 1);
    QCOMPARE(f.window->settings()->locale().name(), QStringLiteral("de_DE"));
}

void MainWindowTest::openFolderBrowsesThumbnails()
{
    Fixture f;
    QDir(f.dir.path()).mkdir(QStringLiteral("folder"));
    const QString folder = f.dir.filePath(QStringLiteral("folder"));
    writeImage(folder + QStringLiteral("/a.png"), QSize(300, 200));
    writeImage(folder + QStringLiteral("/b.png"), QSize(200, 300));
    ModalAnswerer answers;
    answers.expect<QFileDialog>([folder](QFileDialog *dialog) { return chooseListed(dialog, folder); });
    f.action("actionOpenFolder")->trigger();
    QVERIFY_ANSWERED(answers);
    QCOMPARE(f.window->settings()->currentDir(), folder);
    QVERIFY(!f.action("actionNextImage")->isEnabled());
    auto thumbnails = child<vireo::ThumbnailView>(*f.window, "thumbnailView");
    QVERIFY(QTest::qWaitFor([&] { return thumbnails->count() == 2; }, 10000));
    QCOMPARE(child<QDockWidget>(*f.window, "dockThumbnails")->windowTitle(),
             QStringLiteral("Images in Directory %1").arg(folder));

    thumbnails->selectNext();
    QCOMPARE(f.window->scene()->fileName(), QStringLiteral("a.png"));
    QVERIFY(f.action("actionNextImage")->isEnabled());
    f.action("actionNextImage")->trigger();
    QCOMPARE(f.window->scene()->fileName(), QStringLiteral("b.png"));
    f.action("actionNextImage")->trigger();
    QCOMPARE(f.window->scene()->fileName(), QStringLiteral("b.png"));
    QVERIFY(!f.window->settings()->geometryFor(folder).isNew());

    // Another folder: nothing of this one stays to be chosen, and the image
    // shown is no longer within reach of the new folder's record.
    const QString other = f.dir.filePath(QStringLiteral("other"));
    QDir().mkpath(other);
    writeImage(other + QStringLiteral("/c.png"), QSize(50, 50));
    f.window->openFolder(other);
    QCOMPARE(thumbnails->count(), 0);
    QCOMPARE(f.window->scene()->fileName(), QString());
    QVERIFY(!child<vireo::GraphicsView>(*f.window, "imageView")->isEnabled());
    f.window->loadFolderImage(folder + QStringLiteral("/a.png"));
    QCOMPARE(f.window->scene()->fileName(), QString());
    QVERIFY(QTest::qWaitFor([&] { return thumbnails->count() == 1; }, 10000));
    f.action("actionNextImage")->trigger();
    QCOMPARE(f.window->scene()->fileName(), QStringLiteral("c.png"));

    // A single image from elsewhere empties the strip.
    f.openImage(QSize(100, 100), QStringLiteral("single.png"));
    QCOMPARE(thumbnails->count(), 0);
    QVERIFY(!f.action("actionNextImage")->isEnabled());
}

void MainWindowTest::thumbnailsDockAndActionStayInStep()
{
    Fixture f;
    auto dock = child<QDockWidget>(*f.window, "dockThumbnails");
    dock->close();
    QVERIFY(!f.action("actionDockThumbnails")->isChecked());
    f.action("actionDockThumbnails")->trigger();
    QVERIFY(dock->isVisible());
    QVERIFY(f.action("actionDockThumbnails")->isChecked());
}

void MainWindowTest::closingWritesRecords()
{
    QTemporaryDir dir;
    QString path;
    QPointF moved;
    {
        Fixture f;
        path = f.openImage();
        f.action("actionModeEdit")->trigger();
        f.clickImage(QPointF(100, 100));
        f.clickImage(QPointF(200, 150));
        vireo::GraphicsPointItem *item = f.window->scene()->pointList()->graphicsItemAt(1);
        item->setPos(210, 160);
        moved = item->pos();
        QVERIFY(f.window->close());
    }
    vireo::Settings settings;
    QVERIFY(settings.load());
    const vireo::Geometry &record = settings.geometryFor(path);
    QCOMPARE(record.pointCount(), 2);
    QCOMPARE(record.point(1).pos(), moved);
    QCOMPARE(record.point(1).file(), QStringLiteral("photo.png"));
    QCOMPARE(record.nextId(), 3);
}

// A photo stored 300 × 200 whose orientation tag says "turn 90° clockwise":
// left half red, so the top half is red when upright.
QString writeTurnedPhoto(const QString &path)
{
    QImage stored(300, 200, QImage::Format_RGB32);
    stored.fill(Qt::white);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 150; ++x)
            stored.setPixelColor(x, y, Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    stored.save(&buffer, "JPG", 95);
    const QByteArray exif("\xff\xe1\x00\x22" "Exif\0\0" "MM\x00\x2a\x00\x00\x00\x08" "\x00\x01"
                          "\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00" "\x00\x00\x00\x00", 36);
    jpeg.insert(2, exif);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(jpeg);
    return path;
}

void MainWindowTest::photosComeUpright()
{
    Fixture f;
    const QString path = writeTurnedPhoto(f.dir.filePath(QStringLiteral("turned.jpg")));
    f.window->openImage(path);
    QCOMPARE(f.window->scene()->sceneRect(), QRectF(0, 0, 200, 300));
    const QImage &image = f.window->scene()->image();
    QVERIFY(image.pixelColor(100, 20).red() > 200 && image.pixelColor(100, 20).green() < 60);
    QVERIFY(image.pixelColor(100, 280).green() > 200);
    QCOMPARE(vireo::ThumbnailLoader::loadThumbnail(path).size(), QSize(66, 100));

    f.action("actionModeEdit")->trigger();
    f.clickImage(QPointF(40, 280));
    QCOMPARE(f.rows(), 1);
    const QPointF clicked = f.window->scene()->pointList()->graphicsItemAt(0)->pos();
    QVERIFY2(QLineF(clicked, QPointF(40, 280)).length() < 4, qPrintable(QStringLiteral("%1, %2").arg(clicked.x()).arg(clicked.y())));
}

// Every pixel's colour tells its position.
QString writeCodedImage(const QString &path)
{
    QImage image(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + (y / 256)));
    image.save(path);
    return path;
}

void MainWindowTest::loupeShowsTheSpotWhileDragging_data()
{
    QTest::addColumn<bool>("calibrating");
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<int>("zoomLevel");
    QTest::newRow("point") << false << QPointF(300, 200) << QPoint(23, 17) << 10;
    QTest::newRow("point, zoomed in") << false << QPointF(300, 200) << QPoint(-40, 31) << 40;
    QTest::newRow("origin") << true << QPointF(320, 240) << QPoint(-35, 12) << 10;
}

void MainWindowTest::loupeShowsTheSpotWhileDragging()
{
    QFETCH(bool, calibrating);
    QFETCH(QPointF, from);
    QFETCH(QPoint, move);
    QFETCH(int, zoomLevel);

    Fixture f;
    f.window->openImage(writeCodedImage(f.dir.filePath(QStringLiteral("coded.png"))));
    auto view = child<vireo::GraphicsView>(*f.window, "imageView");
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
    QVERIFY(loupe && loupe->isVisible());
    const QGraphicsItem *dragged = f.window->scene()->mouseGrabberItem();
    QVERIFY(dragged);
    const QPointF hotSpot = view->viewportTransform().map(dragged->scenePos());
    QVERIFY(view->viewport()->rect().contains(loupe->geometry()));
    QVERIFY(!loupe->geometry().adjusted(-5, -5, 5, 5).contains(hotSpot.toPoint()));
    QCOMPARE(loupe->size(), QSize(vireo::Loupe::side, vireo::Loupe::side));
    // Just beside the cross's centre: the image pixel next to the spot, magnified.
    const double magnification = vireo::Loupe::magnification(view->transform().m11());
    QVERIFY(magnification >= 2 && magnification >= 4 * view->transform().m11() - 1e-9);
    const QImage shown = loupe->grab().toImage();
    const QPoint inLoupe(vireo::Loupe::side / 2 + 2, vireo::Loupe::side / 2 + 2);
    const QPointF inImage = dragged->scenePos() + QPointF(2.5, 2.5) / magnification;
    const QImage &image = f.window->scene()->image();
    QStringList near;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.pixel(qFloor(inImage.x()) + dx, qFloor(inImage.y()) + dy) == shown.pixel(inLoupe))
                near << QStringLiteral("%1,%2").arg(dx).arg(dy);
    QVERIFY2(!near.isEmpty(), "the loupe does not show the image around the spot");

    sendMouse(view->viewport(), QEvent::MouseButtonRelease, start + move);
    QVERIFY(!loupe->isVisible());
}

void MainWindowTest::arrowKeysNudgeByImagePixels()
{
    QString path;
    QPointF moved;
    {
        Fixture f;
        path = f.openImage();
        const QPointF origin = f.window->scene()->projection()->origin();
        QTest::keyClick(f.window.get(), Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(f.window.get(), Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(f.window->scene()->projection()->origin(), origin + QPointF(-1, 10));

        // The handle pressed last is the one that moves.
        auto view = child<vireo::GraphicsView>(*f.window, "imageView");
        vireo::Projection *projection = f.window->scene()->projection();
        const QPointF end = projection->rulerEnd2();
        view->centerOn(end);
        const QPoint at = view->mapFromScene(end);
        sendMouse(view->viewport(), QEvent::MouseButtonPress, at);
        sendMouse(view->viewport(), QEvent::MouseButtonRelease, at);
        QTest::keyClick(f.window.get(), Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(projection->rulerEnd2(), end + QPointF(0, -1));
        QCOMPARE(projection->origin(), origin + QPointF(-1, 10));

        f.action("actionModeEdit")->trigger();
        f.clickImage(QPointF(100, 100));
        f.clickImage(QPointF(200, 150));
        auto table = child<QTableView>(*f.window, "tableView");
        table->setCurrentIndex(table->model()->index(0, 1));
        const QString before = table->model()->index(0, 1).data().toString();
        const QPointF pos = f.window->scene()->pointList()->graphicsItemAt(0)->pos();
        const QPointF other = f.window->scene()->pointList()->graphicsItemAt(1)->pos();
        QTest::keyClick(f.window.get(), Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
        QTest::keyClick(f.window.get(), Qt::Key_Up, Qt::ShiftModifier);
        moved = pos + QPointF(10, -1);
        QCOMPARE(f.window->scene()->pointList()->graphicsItemAt(0)->pos(), moved);
        QCOMPARE(f.window->scene()->pointList()->graphicsItemAt(1)->pos(), other);
        QVERIFY(table->model()->index(0, 1).data().toString() != before);
        QVERIFY(f.window->close());
    }
    vireo::Settings settings;
    QVERIFY(settings.load());
    // Stored with six significant digits.
    QVERIFY(QLineF(settings.geometryFor(path).point(0).pos(), moved).length() < 1e-3);
}

void MainWindowTest::dialogsShowTheirWholeTexts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("de_CH") << QLocale(QLocale::German, QLocale::Switzerland);
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany);
}

void MainWindowTest::dialogsShowTheirWholeTexts()
{
    QFETCH(QLocale, locale);
    Fixture f;
    f.window->settings()->setLocale(locale);
    f.openImage();
    ModalAnswerer answers;
    QStringList problems;
    answers.expect<vireo::SettingsDialog>([&problems](vireo::SettingsDialog *dialog) {
        auto combo = dialog->findChild<kit::ComboBox *>(QStringLiteral("editLocale"));
        combo->showPopup();
        if (combo->view()->viewport()->width() < combo->view()->sizeHintForColumn(0))
            problems << QStringLiteral("locale list narrower than its names");
        combo->hidePopup();
        answerLater(dialog, "reject");
        return true;
    });
    f.action("actionConfigure")->trigger();
    answers.expect<QInputDialog>([&problems](QInputDialog *dialog) {
        QFont titleFont = dialog->font();
        titleFont.setBold(true);
        if (dialog->width() < QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) + 60)
            problems << QStringLiteral("length dialog narrower than its title");
        const QImage own = kit::loadIcon(QStringLiteral("dialog"), QStringLiteral("ok")).pixmap(16).toImage();
        auto ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        if (ok->icon().pixmap(16).toImage() != own)
            problems << QStringLiteral("length dialog without the program's icons");
        answerLater(dialog, "reject");
        return true;
    });
    f.action("actionSetRulerLength")->trigger();
    answers.expect<vireo::AboutDialog>([&problems](vireo::AboutDialog *dialog) {
        if (!dialog->isVisible())
            return false;
        auto browser = dialog->findChild<QTextBrowser *>();
        if (browser->verticalScrollBar()->maximum() > 0)
            problems << QStringLiteral("about text needs scrolling");
        if (dialog->width() < 382 || dialog->height() < 345)
            problems << QStringLiteral("about dialog below its size");
        answerLater(dialog, "reject");
        return true;
    });
    f.action("actionAbout")->trigger();
    QVERIFY_ANSWERED(answers);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}

void MainWindowTest::copiedCoordinatesAreNumbersInEveryLanguage_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("copied");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "1,500.000"
                           << "1\t1500.000\t1400.000\tbig.png\t\n2\t-1900.000\t-1400.500\tbig.png\t\n";
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << "1.500,000"
                           << "1\t1500,000\t1400,000\tbig.png\t\n2\t-1900,000\t-1400,500\tbig.png\t\n";
    QTest::newRow("de_CH") << QLocale(QLocale::German, QLocale::Switzerland) << QStringLiteral("1\u2019500.000")
                           << "1\t1500.000\t1400.000\tbig.png\t\n2\t-1900.000\t-1400.500\tbig.png\t\n";
}

void MainWindowTest::copiedCoordinatesAreNumbersInEveryLanguage()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, shown);
    QFETCH(QString, copied);

    Fixture f;
    f.openImage(QSize(4000, 3000), QStringLiteral("big.png"));
    // The ruler runs from the centre to a corner, 2500 pixels: one unit a pixel.
    ModalAnswerer answers;
    answers.expect<QInputDialog>([](QInputDialog *dialog) {
        dialog->setDoubleValue(2500);
        answerLater(dialog, "accept");
        return true;
    });
    f.action("actionSetRulerLength")->trigger();
    QVERIFY_ANSWERED(answers);
    f.action("actionModeEdit")->trigger();
    f.clickImage(QPointF(3000, 1000));
    f.clickImage(QPointF(1000, 2000));
    f.window->scene()->pointList()->graphicsItemAt(0)->setPos(3500, 100);
    f.window->scene()->pointList()->graphicsItemAt(1)->setPos(100, 2900.5);
    f.window->settings()->setLocale(locale);

    QCOMPARE(child<QTableView>(*f.window, "tableView")->model()->index(0, 1).data().toString(), shown);
    f.action("actionCopyCoordinates")->trigger();
    const QString text = QApplication::clipboard()->text();
    QCOMPARE(text.mid(text.indexOf(QLatin1Char('\n')) + 1), copied);
}

void MainWindowTest::failedSavesAreShownOncePerReason()
{
    Fixture f;
    // A folder where the store should be: no save can replace it.
    QVERIFY(QDir().mkpath(storePath()));
    QString text;
    ModalAnswerer answers;
    acceptMessage(answers, &text);
    f.openImage();
    f.openImage(QSize(100, 100), QStringLiteral("second.png"));
    QVERIFY_ANSWERED(answers);
    QVERIFY2(text.startsWith(QStringLiteral("The measurements could not be saved to %1:\n").arg(storePath())), qPrintable(text));
    QVERIFY(text.size() > storePath().size() + 40);

    // Saved again, then failing again: the user hears of it again.
    QDir(storePath()).removeRecursively();
    f.openImage();
    QVERIFY(QFileInfo(storePath()).isFile());
    QVERIFY(QFile::remove(storePath()));
    QVERIFY(QDir().mkpath(storePath()));
    acceptMessage(answers);
    f.openImage();
    QVERIFY_ANSWERED(answers);
}

void MainWindowTest::closingOffersToRetryWhenSaveFails()
{
    ModalAnswerer answers;
    auto answer = [&answers](QMessageBox::StandardButton button, std::function<void()> before = {}) {
        answers.expect<QMessageBox>([button, before](QMessageBox *box) {
            if (before)
                before();
            answerLater(box->button(button), "click");
            return true;
        });
    };
    {
        Fixture f;
        const QString path = f.openImage();
        QVERIFY(QFile::remove(storePath()));
        QVERIFY(QDir().mkpath(storePath()));
        answer(QMessageBox::Cancel);
        QVERIFY(!f.window->close());
        QVERIFY(f.window->isVisible());
        // Room made while the question is open: trying again saves.
        answer(QMessageBox::Retry, [] { QDir(storePath()).removeRecursively(); });
        QVERIFY(f.window->close());
        QVERIFY_ANSWERED(answers);
        QVERIFY(readFile(storePath()).contains(path.toUtf8()));
    }
    Fixture g;
    QVERIFY(QDir().mkpath(storePath()));
    answer(QMessageBox::Discard);
    QVERIFY(g.window->close());
    QVERIFY_ANSWERED(answers);
    QVERIFY(QDir(storePath()).removeRecursively());
}

void MainWindowTest::damagedStoreIsReportedAtStart()
{
    const QByteArray damaged = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<mensor version=\"1\">\n"
                               "  <locale>en_US</locale>\n  <mainwindow/>\n  <currentdir>/tmp</currentdir>\n"
                               "  <decimalplaces>3.</decimalplaces>\n</mensor>\n";
    writeStore(damaged);
    QFile::remove(storePath() + QStringLiteral(".bak"));
    QString text;
    ModalAnswerer answers;
    acceptMessage(answers, &text);
    Fixture f(Store::AsItIs);
    QCOMPARE(answers.waitForAll(), QString());
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral("line \\d+, column \\d+: .*decimalplaces"))), qPrintable(text));
    QVERIFY2(text.contains(storePath() + QStringLiteral(".bak")), qPrintable(text));
    QCOMPARE(readFile(storePath() + QStringLiteral(".bak")), damaged);
    QCOMPARE(f.window->settings()->currentDir(), QStringLiteral("/tmp"));
}

// Two real programs on one store: the second tells the user and saves nothing;
// once the first is gone, even killed, the next window owns the store.
void MainWindowTest::secondWindowWorksWithoutSaving()
{
    writeStore("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<mensor version=\"1\">\n  <locale>en_US</locale>\n  <mainwindow/>\n"
               "  <geometries/>\n</mensor>\n");
    QProcess first;
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(QStringLiteral(MENSOR_BINARY), QStringList());
    QVERIFY(first.waitForStarted());
    QVERIFY(QTest::qWaitFor([] { return QFile::exists(storePath() + QStringLiteral(".lock")); }, 30000));
    const QByteArray before = readFile(storePath());
    {
        ModalAnswerer answers;
        acceptMessage(answers);
        Fixture second(Store::AsItIs);
        QCOMPARE(answers.waitForAll(), QString());
        QCOMPARE(second.window->windowTitle(), QStringLiteral("mensor 2.4 (read-only)"));
        second.openImage();
        QVERIFY(second.window->close());
    }
    QCOMPARE(readFile(storePath()), before);

    first.kill();
    QVERIFY(first.waitForFinished());
    Fixture next(Store::AsItIs);
    QCOMPARE(next.window->windowTitle(), QStringLiteral("mensor 2.4"));
    next.openImage();
    QVERIFY(readFile(storePath()).contains("<currentdir>" + next.dir.path().toUtf8()));
}

MENSOR_GUITEST_MAIN(MainWindowTest)
#include "mainwindowtest.moc"
