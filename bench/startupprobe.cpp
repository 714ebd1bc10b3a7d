// Starts like mensor and quits as soon as the main window has painted once.
#include "mainwindow.h"
#include "startup.h"

#include <QApplication>

namespace {
class FirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(qApp, "quit", Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vireo::setApplicationIdentity();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    vireo::MainWindow window;
    FirstPaint firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    return app.exec();
}
