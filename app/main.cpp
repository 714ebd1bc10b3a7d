#include "mainwindow.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vireo::setApplicationIdentity();

    vireo::MainWindow window;
    window.show();
    return app.exec();
}
