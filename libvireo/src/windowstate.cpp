#include "windowstate.h"

#include <QMainWindow>

namespace kit {

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

void WindowState::restore(QMainWindow *window) const
{
    if (!d->geometry.isEmpty())
        window->restoreGeometry(d->geometry);
    if (d->state.isEmpty()) {
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
        return;
    }
    window->restoreState(d->state, 0);
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
