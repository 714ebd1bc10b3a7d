// Opening a 96 MP JPEG: the time to the first picture on screen, to the whole
// image and to its downsampled copies, the longest the GUI thread is held,
// and the memory the open adds; against libjpeg-turbo's own djpeg on the
// same file in the same run. Each open runs in a process of its own, so its
// memory peak is its own.
#include "graphicsview.h"
#include "imagepyramid.h"
#include "scene.h"

#include "benchutils.h"
#include "photos.h"

#include <qtcompat.h>

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTimer>

#include <algorithm>

namespace {

const QSize photoSize(12000, 8000);

// The photo as cameras that keep a large preview write it: a 1/8 JPEG after
// the photo, found through a multi-picture index in an APP2 segment.
QByteArray withPreview(const QByteArray &jpeg)
{
    QByteArray preview;
    QBuffer buffer(&preview);
    buffer.open(QIODevice::WriteOnly);
    QImage::fromData(jpeg, "JPG").scaled(photoSize / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .save(&buffer, "JPG", 85);
    const auto word = [](quint32 value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out.append(char((value >> (8 * i)) & 0xff));
        return out;
    };
    // TIFF header, one directory with the entry list, the two entries.
    QByteArray tiff = QByteArray("II*\0", 4) + word(8, 4) + word(1, 2);
    tiff += word(0xb002, 2) + word(7, 2) + word(32, 4) + word(26, 4) + word(0, 4);
    const int segmentLength = 2 + 4 + tiff.size() + 32;
    const quint32 tiffAt = 2 + 4 + 4;
    const quint32 previewAt = quint32(jpeg.size() + 2 + segmentLength);
    tiff += word(0x030000, 4) + word(quint32(jpeg.size()), 4) + word(0, 4) + word(0, 4);
    tiff += word(0x010001, 4) + word(quint32(preview.size()), 4) + word(previewAt - tiffAt, 4) + word(0, 4);
    QByteArray segment("\xff\xe2", 2);
    segment += char(segmentLength >> 8);
    segment += char(segmentLength & 0xff);
    return QByteArray(jpeg).insert(2, segment + QByteArray("MPF\0", 4) + tiff) + preview;
}

QString photoWithPreview(const QString &photo)
{
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("benchdata/96MP-preview.jpg"));
    QFile source(photo);
    QFile target(path);
    if (!target.exists() && source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly))
        target.write(withPreview(source.readAll()));
    return path;
}

qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLongLong();
    return 0;
}

// One open in this process; prints first picture, whole image, copies and
// longest hold in ms, then the memory added and the image with its copies in MiB.
int openOnce(const QString &path)
{
    vireo::Scene scene;
    vireo::GraphicsView view;
    view.resize(1600, 1000);
    view.setScene(&scene);
    view.show();
    // As in the window, a photo has been shown before: plug-ins, fonts and
    // the view's caches are loaded.
    const QString small = QDir::current().absoluteFilePath(QStringLiteral("benchdata/small.jpg"));
    photoLikeImage(QSize(640, 480), 7).save(small, "JPG", 90);
    scene.loadImage(small);
    for (int turn = 0; turn < 10; ++turn)
        QCoreApplication::processEvents();
    const qint64 before = statusKiB("VmRSS:");
    QElapsedTimer clock;
    double firstPicture = -1, whole = -1, levels = -1, longestHold = 0, lastTurn = 0;
    struct PaintWatch : QObject {
        std::function<void()> painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted();
            return false;
        }
    } watch;
    watch.painted = [&] {
        const vireo::ImagePyramid *pyramid = scene.imagePyramid();
        if (firstPicture < 0 && (!pyramid->preview().isNull() || !pyramid->image().isNull()))
            firstPicture = clock.nsecsElapsed() / 1e6;
    };
    view.viewport()->installEventFilter(&watch);
    QObject::connect(&scene, &vireo::Scene::imageCompleted, [&] { whole = clock.nsecsElapsed() / 1e6; });
    QObject::connect(scene.imagePyramid(), &vireo::ImagePyramid::levelsReady, [&] { levels = clock.nsecsElapsed() / 1e6; });
    // A turn every 4 ms: a busy loop of turns would take a core from the decoders.
    QTimer turns;
    turns.setTimerType(Qt::PreciseTimer);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        longestHold = std::max(longestHold, now - lastTurn);
        lastTurn = now;
    });
    turns.start(4);
    clock.start();
    scene.loadImage(path);
    while (levels < 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const vireo::ImagePyramid *pyramid = scene.imagePyramid();
    std::printf("%f %f %f %f %f %f\n", firstPicture, whole, levels, longestHold,
                (statusKiB("VmHWM:") - before) / 1024.0, (pyramid->image().sizeInBytes() + pyramid->levelBytes()) / 1048576.0);
    return 0;
}

QVector<double> openInChild(const QString &path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--once"), path});
    child.waitForFinished(-1);
    QVector<double> values;
    for (const QByteArray &field : child.readAllStandardOutput().trimmed().split(' '))
        values.append(field.toDouble());
    return values.size() == 6 ? values : QVector<double>(6, -1);
}

void measure(const QString &label, const QString &path)
{
    std::printf("\n%s\n", qPrintable(label));
    QVector<double> eighth, full;
    QVector<QVector<double>> opens(6);
    for (int run = 0; run < 5; ++run) {
        eighth.append(djpeg(path, {QStringLiteral("-scale"), QStringLiteral("1/8")}));
        full.append(djpeg(path, {}));
        const QVector<double> open = openInChild(path);
        for (int i = 0; i < 6; ++i)
            opens[i].append(open.at(i));
    }
    for (QVector<double> *values : {&eighth, &full})
        std::sort(values->begin(), values->end());
    for (QVector<double> &values : opens)
        std::sort(values.begin(), values.end());
    const auto row = [](const char *name, const QVector<double> &values, const char *unit) {
        std::printf("%-58s %10.1f / %10.1f %s\n", name, values.first(), values.at(values.size() / 2), unit);
    };
    row("djpeg -scale 1/8 (min / median)", eighth, "ms");
    row("djpeg, whole image", full, "ms");
    row("first picture on screen", opens[0], "ms");
    row("whole image", opens[1], "ms");
    row("downsampled copies", opens[2], "ms");
    row("longest gap between event-loop turns (a turn every 4 ms)", opens[3], "ms");
    row("memory added by the open", opens[4], "MiB");
    row("the image and its copies", opens[5], "MiB");
    printRow("first picture / djpeg -scale 1/8 (medians)", opens[0].at(2) / eighth.at(2), "x");
    printRow("whole image / djpeg (medians)", opens[1].at(2) / full.at(2), "x");
    printRow("downsampled copies / djpeg (medians)", opens[2].at(2) / full.at(2), "x");
    printRow("memory added / image and copies (medians)", opens[4].at(2) / opens[5].at(2), "x");
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The 96 MP photo is decoded whole to make its preview.
    kit::setImageAllocationLimit(1024);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    if (argc == 3 && qstrcmp(argv[1], "--once") == 0)
        return openOnce(QString::fromLocal8Bit(argv[2]));
    const QString photo = photoFolder(QStringLiteral("96MP"), 1, photoSize) + QStringLiteral("/photo000.jpg");
    std::printf("open: 96 MP JPEG (12000 x 8000) in a 1600 x 1000 view, 5 runs, each in a new process\n");
    measure(QStringLiteral("photo without a preview"), photo);
    measure(QStringLiteral("the same photo with a 1/8 preview after it"), photoWithPreview(photo));
    return 0;
}
