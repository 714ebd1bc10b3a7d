#include "mainwindow.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QApplication::addLibraryPath(QStringLiteral(":/plugins/imageformats"));
    QApplication::setApplicationName(QStringLiteral("mensor"));
    // A reserved name: the program has no web presence of its own.
    QApplication::setOrganizationDomain(QStringLiteral("ortus.invalid"));
    QApplication::setOrganizationName(QStringLiteral("ortus"));

    vireo::MainWindow window;
    window.show();
    return app.exec();
}
