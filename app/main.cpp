#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mensor"));
    QApplication::setOrganizationName(QStringLiteral("ortus"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("mensor 2.4"));
    window.show();
    return app.exec();
}
