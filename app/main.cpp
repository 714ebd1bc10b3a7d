#include "commandline.h"
#include "mainwindow.h"
#include "quitsignals.h"
#include "startup.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    // Before the application object: drawn at the screen's scale, with the
    // double-size icons on screens at 200 %.
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication app(argc, argv);
    vireo::setApplicationIdentity();
    const vireo::CommandLine commandLine(QApplication::arguments());

    vireo::MainWindow window;
    vireo::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &vireo::QuitSignals::received, &window, &vireo::MainWindow::saveAndQuit);
    window.show();
    // Once the window is on screen, so that a message has a parent.
    if (!commandLine.path().isEmpty())
        QTimer::singleShot(0, &window, [&window, &commandLine] { window.openPath(commandLine.path()); });
    return app.exec();
}
