#ifndef MENSOR_TESTUTILS_H
#define MENSOR_TESTUTILS_H

#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <sys/resource.h>
#include <deque>
#include <functional>
#include <memory>

// Points every per-user location at a fresh temporary folder before the
// application object exists, so a test never touches the real settings.
inline QTemporaryDir &isolatedHome()
{
    static QTemporaryDir home;
    return home;
}

inline void isolateUserFolders()
{
    // A test's helper process inherits its parent's folders.
    const QByteArray path = qEnvironmentVariableIsSet("MENSOR_TEST_HOME") ? qgetenv("MENSOR_TEST_HOME")
                                                                          : isolatedHome().path().toUtf8();
    for (const auto &folder : {std::make_pair("MENSOR_TEST_HOME", ""), std::make_pair("HOME", ""),
                               std::make_pair("XDG_CONFIG_HOME", "/.config"),
                               std::make_pair("XDG_DATA_HOME", "/.local/share"), std::make_pair("XDG_CACHE_HOME", "/.cache")})
        qputenv(folder.first, path + folder.second);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Fails writes past the given size as a full disk does, for the superuser
// too, until the returned guard goes.
inline std::shared_ptr<void> fileSizeLimit(rlim_t bytes)
{
    rlimit previous;
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const auto handler = ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limited{bytes, previous.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limited);
    return std::shared_ptr<void>(nullptr, [previous, handler](void *) {
        ::setrlimit(RLIMIT_FSIZE, &previous);
        ::signal(SIGXFSZ, handler);
    });
}

// Swallows every log message while it lives.
struct SilentMessages
{
    SilentMessages() : previous(qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {})) {}
    ~SilentMessages() { qInstallMessageHandler(previous); }
    const QtMessageHandler previous;
};

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

inline QImage filledImage(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline QString writeImage(const QString &path, QSize size, QColor colour = Qt::lightGray, const char *format = nullptr)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    filledImage(size, colour).save(path, format);
    return path;
}

// Every pixel differs from its neighbours, so any sampling error shows.
inline QImage patternImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) & 0xff, (x * 5 + y * 101) & 0xff, (x ^ y) & 0xff));
    return image;
}

// A camera photo: red, 800 × 600 as stored unless given, with a blue
// thumbnail, white in its top left quarter, of the given size in its EXIF
// data and the given orientation tag;
// with a green preview after it where its size is given.
inline QString writeCameraPhoto(const QString &path, QSize thumbnailSize, int orientation, const QImage &photo = QImage(),
                                QSize previewSize = QSize())
{
    const auto jpeg = [](const QImage &image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        image.save(&buffer, "JPG", 90);
        return bytes;
    };
    QImage marked = filledImage(thumbnailSize, Qt::blue);
    QPainter(&marked).fillRect(QRect(QPoint(0, 0), thumbnailSize / 2), Qt::white);
    const QByteArray thumbnail = jpeg(marked);
    // Header, the first directory with the orientation and the software, the second with the thumbnail.
    QByteArray segment("\xff\xe1\0\0Exif\0\0II", 12);
    QDataStream out(&segment, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(42) << quint32(8) << quint16(2) << quint16(0x0112) << quint16(3) << quint32(1) << quint32(orientation)
        << quint16(0x0131) << quint16(2) << quint32(4) << quint32(0x00636261)
        << quint32(38) << quint16(2) << quint16(0x0201) << quint16(4) << quint32(1) << quint32(68) << quint16(0x0202)
        << quint16(4) << quint32(1) << quint32(thumbnail.size()) << quint32(0);
    segment += thumbnail;
    segment[2] = char((segment.size() - 2) >> 8);
    segment[3] = char((segment.size() - 2) & 0xff);
    QByteArray file = jpeg(photo.isNull() ? filledImage(QSize(800, 600), Qt::red) : photo).insert(2, segment);
    if (previewSize.isValid()) {
        // The multi-picture index as cameras write it (version, count, entries) in a segment of its own.
        const QByteArray preview = jpeg(filledImage(previewSize, Qt::green));
        QByteArray index("\xff\xe2\0\x58MPF\0II", 10);
        QDataStream mp(&index, QIODevice::Append);
        mp.setByteOrder(QDataStream::LittleEndian);
        mp << quint16(42) << quint32(8) << quint16(3) << quint16(0xb000) << quint16(7) << quint32(4) << quint32(0x30303130)
           << quint16(0xb001) << quint16(4) << quint32(1) << quint32(2) << quint16(0xb002) << quint16(7) << quint32(32)
           << quint32(50) << quint32(0) << quint32(0x030000) << quint32(file.size() + 90) << quint32(0) << quint32(0)
           << quint32(0x010001) << quint32(preview.size()) << quint32(file.size() + 80 - segment.size()) << quint32(0);
        // After the EXIF block, as cameras write it.
        file = file.insert(2 + segment.size(), index) + preview;
    }
    writeFile(path, file);
    return path;
}

// Answers the modal dialogs that an action opens, in the order expected.
// A handler is offered its dialog on every poll until it returns true, so it
// can wait until the dialog is ready (a file dialog listing its folder). A
// dialog of another kind, or one that is not answered within the limit, fails
// the test and is closed: no test ever hangs on a modal box. Handlers must
// not open nested event loops themselves (see answerLater()), since the
// toolkit never fires a timer again while its own handler is still running.
class ModalAnswerer
{
public:
    explicit ModalAnswerer(int limitMs = 10000) : m_limitMs(limitMs)
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    template <typename Dialog>
    ModalAnswerer &expect(std::function<bool(Dialog *)> handler)
    {
        m_pending.push_back({Dialog::staticMetaObject.className(), [handler](QWidget *widget) {
                                 auto dialog = qobject_cast<Dialog *>(widget);
                                 return dialog && handler(dialog);
                             }});
        if (m_pending.size() == 1)
            m_clock.start();
        return *this;
    }

    // Empty when every expected dialog came and was answered, else what went wrong.
    QString failure() const
    {
        if (!m_failure.isEmpty() || m_pending.empty())
            return m_failure;
        return QStringLiteral("expected a %1, none was shown").arg(QLatin1String(m_pending.front().className));
    }

    // Waits, within the limit, for dialogs that open after the action returned.
    QString waitForAll()
    {
        static_cast<void>(QTest::qWaitFor([this] { return m_pending.empty() || !m_failure.isEmpty(); }, m_limitMs));
        return failure();
    }

private:
    struct Expectation
    {
        const char *className;
        std::function<bool(QWidget *)> answer;
    };

    static QString describe(QWidget *widget)
    {
        return QStringLiteral("%1 \"%2\": %3").arg(QLatin1String(widget->metaObject()->className()), widget->windowTitle(),
                                                  widget->property("text").toString());
    }

    void fail(const QString &why, QWidget *modal)
    {
        if (m_failure.isEmpty())
            m_failure = why;
        m_pending.clear();
        if (auto dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }

    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (!m_failure.isEmpty())
            return fail(m_failure, modal);
        if (modal == m_answered) {
            if (m_clock.elapsed() > m_limitMs)
                fail(QStringLiteral("%1 stayed open after its answer").arg(describe(modal)), modal);
            return;
        }
        if (m_pending.empty())
            return fail(QStringLiteral("unexpected %1").arg(describe(modal)), modal);
        if (!modal->inherits(m_pending.front().className))
            return fail(QStringLiteral("expected a %1, got %2").arg(QLatin1String(m_pending.front().className), describe(modal)),
                        modal);
        if (m_pending.front().answer(modal)) {
            m_answered = modal;
            m_pending.pop_front();
            m_clock.start();
        } else if (m_clock.elapsed() > m_limitMs) {
            fail(QStringLiteral("%1 was not ready to be answered within %2 ms").arg(describe(modal)).arg(m_limitMs), modal);
        }
    }

    int m_limitMs;
    QTimer m_timer;
    QElapsedTimer m_clock;
    QPointer<QWidget> m_answered;
    std::deque<Expectation> m_pending;
    QString m_failure;
};

#define QVERIFY_ANSWERED(answerer) QVERIFY2((answerer).failure().isEmpty(), qPrintable((answerer).failure()))
#define QVERIFY_ANSWERED_AND(answerer, ok) QVERIFY2((answerer).failure().isEmpty() && (ok), qPrintable((answerer).failure()))

// Runs a slot of a dialog (accept, reject, a button's click) once control is
// back in the dialog's own event loop; true when the dialog has that slot.
inline bool answerLater(QObject *object, const char *slot)
{
    return QMetaObject::invokeMethod(object, slot, Qt::QueuedConnection);
}

// Sends a mouse event with exactly the given button to a widget, as the
// window system delivers it.
inline void sendMouse(QWidget *widget, QEvent::Type type, QPoint position, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = {})
{
    QMouseEvent event(type, position, widget->mapToGlobal(position), type == QEvent::MouseMove ? Qt::NoButton : button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), modifiers);
    QApplication::sendEvent(widget, &event);
}

inline void drag(QWidget *widget, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers modifiers = {})
{
    for (const auto &step : {std::make_pair(QEvent::MouseButtonPress, from), std::make_pair(QEvent::MouseMove, to),
                             std::make_pair(QEvent::MouseButtonRelease, to)})
        sendMouse(widget, step.first, step.second, button, modifiers);
}

#define MENSOR_GUITEST_MAIN(TestObject) \
    int main(int argc, char *argv[]) \
    { \
        isolateUserFolders(); \
        QApplication app(argc, argv); \
        app.setAttribute(Qt::AA_Use96Dpi, true); \
        TestObject tc; \
        QTEST_SET_MAIN_SOURCE_PATH \
        return QTest::qExec(&tc, argc, argv); \
    }

#endif
