#ifndef MENSOR_TESTUTILS_H
#define MENSOR_TESTUTILS_H

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

// Points every per-user location at a fresh temporary folder before the
// application object exists, so a test never touches the real settings.
inline QTemporaryDir &isolatedHome()
{
    static QTemporaryDir home;
    return home;
}

inline void isolateUserFolders()
{
    const QByteArray path = isolatedHome().path().toUtf8();
    qputenv("HOME", path);
    qputenv("XDG_CONFIG_HOME", path + "/.config");
    qputenv("XDG_DATA_HOME", path + "/.local/share");
    qputenv("XDG_CACHE_HOME", path + "/.cache");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Swallows every log message while it lives.
class SilentMessages
{
public:
    SilentMessages()
        : m_previous(qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}))
    {
    }
    ~SilentMessages() { qInstallMessageHandler(m_previous); }

private:
    QtMessageHandler m_previous;
};

// Drops the progress lines of catalogue installation, whose number depends on
// the toolkit catalogues installed on the machine; passes everything else on.
class TranslationNoiseFilter
{
public:
    TranslationNoiseFilter() { previous() = qInstallMessageHandler(&filter); }
    ~TranslationNoiseFilter() { qInstallMessageHandler(previous()); }

private:
    static QtMessageHandler &previous()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void filter(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (message.startsWith(QLatin1String("Translator for file "))
            || message.startsWith(QLatin1String("Cannot load translation file ")))
            return;
        previous()(type, context, message);
    }
};

// Sends a mouse event with exactly the given button to a widget, as the
// window system delivers it.
inline void sendMouse(QWidget *widget, QEvent::Type type, QPoint position, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, position, widget->mapToGlobal(position), type == QEvent::MouseMove ? Qt::NoButton : button,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

#define MENSOR_TEST_MAIN(TestObject, AppClass) \
    int main(int argc, char *argv[]) \
    { \
        isolateUserFolders(); \
        AppClass app(argc, argv); \
        app.setAttribute(Qt::AA_Use96Dpi, true); \
        TestObject tc; \
        QTEST_SET_MAIN_SOURCE_PATH \
        return QTest::qExec(&tc, argc, argv); \
    }

#define MENSOR_GUITEST_MAIN(TestObject) MENSOR_TEST_MAIN(TestObject, QApplication)
#define MENSOR_CORETEST_MAIN(TestObject) MENSOR_TEST_MAIN(TestObject, QCoreApplication)

#endif
