// Prints what Copy Coordinates puts on the clipboard for a table with
// four-digit and negative coordinates, in the given interface language.
// Usage: mensor_copytext LOCALE (en_US, de_DE, de_CH)
#include "geometry.h"
#include "mainwindow.h"
#include "scene.h"
#include "settings.h"
#include "startup.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s LOCALE\n", argv[0]);
        return 2;
    }
    // Never touch the user's own settings.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vireo::setApplicationIdentity();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    const QString path = home.filePath(QStringLiteral("plate.png"));
    QImage image(4000, 3000, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!image.save(path))
        return 1;

    vireo::MainWindow window;
    window.settings()->setLocale(QLocale(QString::fromLatin1(argv[1])));
    // One unit a pixel, origin at the centre.
    vireo::Geometry &record = window.settings()->geometryFor(path);
    record.initialize(image.size());
    record.setRulerEnd2(QPointF(4500, 1500));
    record.setRulerLength(2500);
    const QList<QPointF> points = {{3500, 100}, {100, 2900.5}, {2000.25, 1500}, {3999, 2}};
    for (int i = 0; i < points.size(); ++i)
        record.addPoint(vireo::Point(i + 1, points.at(i), QStringLiteral("plate.png")));
    record.setNextId(points.size() + 1);
    window.scene()->setGeometry(&record);
    window.loadImage(path);
    window.findChild<QAction *>(QStringLiteral("actionCopyCoordinates"))->trigger();
    fputs(QApplication::clipboard()->text().toUtf8().constData(), stdout);
    return 0;
}
