#include "windowstate.h"

#include <QDataStream>
#include <QDebug>
#include <QDockWidget>
#include <QMainWindow>
#include <QRect>
#include <QToolBar>

namespace kit {

namespace {

// Reads the layout that QMainWindow::saveState() writes, with the toolkit's
// own markers, and rejects whatever the window could not have written. The
// toolkit checks markers and names itself, but not the dock area index (an
// out-of-range one indexes past its array), counts, orientations or sizes.
class StateChecker
{
public:
    StateChecker(const QByteArray &state, const QMainWindow *window)
        : m_stream(state)
    {
        for (const QDockWidget *dock : window->findChildren<QDockWidget *>())
            m_docks << dock->objectName();
        for (const QToolBar *toolBar : window->findChildren<QToolBar *>())
            m_toolBars << toolBar->objectName();
    }

    bool check()
    {
        const int versionMarker = 0xff;
        if (readInt() != versionMarker || readInt() != 0)
            return false;
        while (ok() && !m_stream.atEnd()) {
            switch (readByte()) {
            case dockWidgetStateMarker:
                if (!checkDockAreas())
                    return false;
                break;
            case toolBarStateMarker:
            case toolBarStateMarkerEx:
                if (!checkToolBars(m_lastByte == toolBarStateMarkerEx))
                    return false;
                break;
            default:
                return false;
            }
        }
        return ok();
    }

private:
    enum : uchar {
        floatingDockWidgetTabMarker = 0xf9,
        tabMarker = 0xfa,
        widgetMarker = 0xfb,
        sequenceMarker = 0xfc,
        toolBarStateMarkerEx = 0xfc,
        dockWidgetStateMarker = 0xfd,
        toolBarStateMarker = 0xfe,
    };
    static constexpr int dockCount = 4;
    static constexpr int maxExtent = QWIDGETSIZE_MAX;

    bool ok() const { return m_stream.status() == QDataStream::Ok; }

    int readInt()
    {
        qint32 value = 0;
        m_stream >> value;
        return value;
    }

    uchar readByte()
    {
        m_lastByte = 0;
        m_stream >> m_lastByte;
        return m_lastByte;
    }

    static bool inRange(int value, int low, int high) { return value >= low && value <= high; }

    bool readExtent(int low = -1) { return inRange(readInt(), low, maxExtent); }

    bool readSize() { return readExtent(0) && readExtent(0) && ok(); }

    // Each name once, and only the window's own.
    bool takeName(QStringList &names)
    {
        QString name;
        m_stream >> name;
        return ok() && names.removeOne(name);
    }

    bool checkDockAreas()
    {
        const int areas = readInt();
        if (!inRange(areas, 0, dockCount))
            return false;
        for (int i = 0; i < areas; ++i) {
            if (!inRange(readInt(), 0, dockCount - 1) || !readSize() || !checkDockInfo(0))
                return false;
        }
        if (!readSize())
            return false;
        for (int corner = 0; corner < 4; ++corner) {
            const int area = readInt();
            if (area != Qt::LeftDockWidgetArea && area != Qt::RightDockWidgetArea && area != Qt::TopDockWidgetArea
                && area != Qt::BottomDockWidgetArea)
                return false;
        }
        return ok();
    }

    bool checkDockInfo(int depth)
    {
        const uchar marker = readByte();
        if (depth > 8 || (marker != tabMarker && marker != sequenceMarker))
            return false;
        int current = -1;
        if (marker == tabMarker)
            current = readInt();
        const uchar orientation = readByte();
        const int count = readInt();
        if ((orientation != Qt::Horizontal && orientation != Qt::Vertical) || !inRange(count, 0, 64)
            || !inRange(current, -1, count - 1))
            return false;
        for (int i = 0; i < count && ok(); ++i) {
            switch (readByte()) {
            case widgetMarker: {
                if (!takeName(m_docks) || readByte() > 3)
                    return false;
                // A floating dock's geometry, else position, size, minimum, maximum.
                for (int value = 0; value < 4; ++value) {
                    if (!inRange(readInt(), -maxExtent, maxExtent))
                        return false;
                }
                break;
            }
            case sequenceMarker:
                // A tab bar's height is added to the widgets' largest size.
                if (!readExtent() || !readExtent() || !readExtent(0) || !inRange(readInt(), 0, 2 * maxExtent)
                    || !checkDockInfo(depth + 1))
                    return false;
                break;
            default:
                return false;
            }
        }
        return ok();
    }

    bool checkToolBars(bool extended)
    {
        const int lines = readInt();
        if (!inRange(lines, 0, 64))
            return false;
        for (int line = 0; line < lines; ++line) {
            const int area = readInt();
            const int count = readInt();
            if (!inRange(area, 0, dockCount - 1) || !inRange(count, 0, 64))
                return false;
            for (int i = 0; i < count; ++i) {
                // Name, shown, position and size, then the packed floating geometry.
                if (!takeName(m_toolBars) || readByte() > 1 || !readExtent() || !readExtent())
                    return false;
                readInt();
                if (extended)
                    readInt();
                if (!ok())
                    return false;
            }
        }
        return ok();
    }

    QDataStream m_stream;
    QStringList m_docks;
    QStringList m_toolBars;
    uchar m_lastByte = 0;
};

} // namespace

class WindowState::Private
{
public:
    QByteArray geometry;
    QByteArray state;
};

WindowState::WindowState()
    : d(new Private)
{
}

WindowState::WindowState(const QMainWindow *window)
    : d(new Private)
{
    d->geometry = window->saveGeometry();
    d->state = window->saveState(0);
}

WindowState::WindowState(const WindowState &other)
    : Storable(other)
    , d(new Private(*other.d))
{
}

WindowState &WindowState::operator=(const WindowState &other)
{
    if (this != &other)
        *d = *other.d;
    return *this;
}

WindowState::~WindowState() = default;

QByteArray WindowState::geometry() const
{
    return d->geometry;
}

QByteArray WindowState::state() const
{
    return d->state;
}

bool WindowState::isPlausibleState(const QByteArray &state, const QMainWindow *window)
{
    return StateChecker(state, window).check();
}

bool WindowState::restore(QMainWindow *window) const
{
    if (!d->geometry.isEmpty())
        window->restoreGeometry(d->geometry);
    if (d->state.isEmpty()) {
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
        return true;
    }
    if (!isPlausibleState(d->state, window)) {
        qWarning() << "The stored window layout is damaged; using the default layout.";
        return false;
    }
    return window->restoreState(d->state, 0);
}

void WindowState::load(DataReader &reader)
{
    reader.readByteArray(QStringLiteral("geometry"), d->geometry);
    reader.readByteArray(QStringLiteral("state"), d->state);
}

void WindowState::save(DataWriter &writer) const
{
    writer.writeByteArray(QStringLiteral("geometry"), d->geometry);
    writer.writeByteArray(QStringLiteral("state"), d->state);
}

} // namespace kit
