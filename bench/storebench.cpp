// A store of 5,000 records of 20 points each: saving and loading the settings
// file against a bare QXmlStreamWriter writing the same elements and a bare
// QXmlStreamReader pass over the same file; and opening an image with the big
// store, from the choice in the dialog to the image on screen.
#include "geometry.h"
#include "grahpicsanchoritem.h"
#include "graphicsview.h"
#include "mainwindow.h"
#include "projection.h"
#include "scene.h"
#include "settings.h"

#include "benchutils.h"
#include "bigstore.h"
#include "photos.h"

#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

const int recordCount = 5000;
const int pointsPerRecord = 20;

// The same elements as the settings file, written without the store.
void writeBare(const QString &fileName, vireo::Settings &settings, const QStringList &keys)
{
    QFile file(fileName);
    file.open(QIODevice::WriteOnly | QIODevice::Text);
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("mensor"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeTextElement(QStringLiteral("locale"), QStringLiteral("de_CH"));
    xml.writeEmptyElement(QStringLiteral("mainwindow"));
    xml.writeTextElement(QStringLiteral("currentdir"), settings.currentDir());
    xml.writeTextElement(QStringLiteral("decimalplaces"), QString::number(settings.decimalPlaces()));
    const auto number = [](double value) { return QString::number(value, 'g', 6); };
    const auto writePoint = [&](const QString &name, QPointF p) {
        xml.writeStartElement(name);
        xml.writeTextElement(QStringLiteral("x"), number(p.x()));
        xml.writeTextElement(QStringLiteral("y"), number(p.y()));
        xml.writeEndElement();
    };
    xml.writeStartElement(QStringLiteral("geometries"));
    for (const QString &key : keys) {
        const vireo::Geometry &record = settings.geometryFor(key);
        xml.writeStartElement(QStringLiteral("geometry"));
        xml.writeTextElement(QStringLiteral("key"), key);
        xml.writeStartElement(QStringLiteral("value"));
        xml.writeTextElement(QStringLiteral("nextid"), QString::number(record.nextId()));
        writePoint(QStringLiteral("origin"), record.origin());
        writePoint(QStringLiteral("rulerend1"), record.rulerEnd1());
        writePoint(QStringLiteral("rulerend2"), record.rulerEnd2());
        xml.writeTextElement(QStringLiteral("rulerlength"), number(record.rulerLength()));
        xml.writeStartElement(QStringLiteral("points"));
        for (int i = 0; i < record.pointCount(); ++i) {
            const vireo::Point &point = record.point(i);
            xml.writeStartElement(QStringLiteral("point"));
            xml.writeTextElement(QStringLiteral("id"), QString::number(point.id()));
            writePoint(QStringLiteral("pos"), point.pos());
            xml.writeTextElement(QStringLiteral("file"), point.file());
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
}

int readBare(const QString &fileName)
{
    QFile file(fileName);
    file.open(QIODevice::ReadOnly | QIODevice::Text);
    QXmlStreamReader xml(&file);
    int tokens = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        ++tokens;
    }
    return tokens;
}

QStringList keysOf(int records)
{
    QStringList keys;
    for (int r = 0; r < records; ++r)
        keys.append(QStringLiteral("/home/lab/photos/series-%1/IMG_%2.JPG").arg(r / 100).arg(r, 5, 10, QLatin1Char('0')));
    std::sort(keys.begin(), keys.end());
    return keys;
}

// To the first picture on screen (a large photo's preview) and to the
// whole image with its downsampled copies.
QPair<double, double> openImageWithBigStore(const QString &imagePath)
{
    vireo::MainWindow window;
    window.resize(1400, 900);
    window.show();
    QCoreApplication::processEvents();
    QWidget *viewport = window.findChild<vireo::GraphicsView *>(QStringLiteral("imageView"))->viewport();
    const vireo::ImagePyramid *pyramid = window.scene()->imagePyramid();
    QElapsedTimer timer;
    timer.start();
    window.openImage(imagePath);
    while (pyramid->preview().isNull() && pyramid->image().isNull())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    viewport->repaint();
    const double first = timer.nsecsElapsed() / 1e6;
    window.scene()->waitForImage();
    viewport->repaint();
    return {first, timer.nsecsElapsed() / 1e6};
}

// The longest time the event loop is held, from an edit to the end of the
// automatic save it brings about: the gaps between turns of the loop.
double longestHoldByAutoSave(vireo::MainWindow &window)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    bool finished = false;
    const auto connection = QObject::connect(window.settings(), &kit::Settings::saveFinished, [&finished] { finished = true; });
    ticker.start();
    last = clock.nsecsElapsed();
    window.scene()->projection()->originAnchor()->moveBy(1, 0);
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QObject::disconnect(connection);
    return longest / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString config = QDir::current().absoluteFilePath(QStringLiteral("benchdata/store-config"));
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QApplication::setApplicationName(QStringLiteral("mensor"));
    QApplication::setOrganizationName(QStringLiteral("ortus"));

    const QStringList keys = keysOf(recordCount);
    double save = 0;
    double load = 0;
    QString fileName;
    qint64 bytes = 0;
    {
        vireo::Settings settings;
        fileName = settings.fileName();
        QFile::remove(fileName);
        QFile::remove(fileName + QStringLiteral(".bak"));
        fillBigStore(settings, recordCount, pointsPerRecord);
        save = medianMilliseconds(5, [&] { settings.save(); });
        bytes = QFileInfo(fileName).size();
        // Each loaded object saves again when it goes: keep that out of the timing.
        std::vector<std::unique_ptr<vireo::Settings>> loaded;
        load = medianMilliseconds(5, [&] {
            loaded.push_back(std::make_unique<vireo::Settings>());
            loaded.back()->load();
        });
        loaded.clear();
        const QString bareFile = config + QStringLiteral("/bare.xml");
        const double bareWrite = medianMilliseconds(5, [&] { writeBare(bareFile, settings, keys); });
        const double bareRead = medianMilliseconds(5, [&] { readBare(fileName); });

        std::printf("store: %d records x %d points, %.1f MB\n", recordCount, pointsPerRecord, bytes / 1e6);
        printRow("save: Settings::save", save, "ms");
        printRow("save: bare QXmlStreamWriter, same elements", bareWrite, "ms");
        printRow("save ratio", save / bareWrite, "x");
        printRow("load: Settings::load", load, "ms");
        printRow("load: bare QXmlStreamReader pass", bareRead, "ms");
        printRow("load ratio", load / bareRead, "x");
    }

    const QString image = photoFolder(QStringLiteral("12MP"), 1, QSize(4000, 3000)) + QStringLiteral("/photo000.jpg");
    QVector<double> firsts;
    QVector<double> wholes;
    for (int i = 0; i < 3; ++i) {
        const auto open = openImageWithBigStore(image);
        firsts.append(open.first);
        wholes.append(open.second);
    }
    std::sort(firsts.begin(), firsts.end());
    std::sort(wholes.begin(), wholes.end());
    printRow("Open Image of a 12 MP JPEG with the big store, to the first picture", firsts.at(1), "ms");
    printRow("the same, to the whole image and its copies", wholes.at(1), "ms");

    {
        vireo::MainWindow window;
        window.setAutoSaveDelay(0);
        window.show();
        window.openImage(image);
        QVector<double> holds;
        for (int i = 0; i < 5; ++i)
            holds.append(longestHoldByAutoSave(window));
        std::sort(holds.begin(), holds.end());
        printRow("automatic save with the big store: longest GUI hold, min", holds.first(), "ms");
        printRow("automatic save with the big store: longest GUI hold, median", holds.at(2), "ms");
        printRow("the same save on the GUI thread (Settings::save)", medianMilliseconds(5, [&] { window.settings()->save(); }),
                 "ms");
    }
    return 0;
}
