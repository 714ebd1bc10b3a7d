#include "quitsignals.h"

#include <QDebug>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace vireo {

namespace {

// Written by the handler, read by the notifier: the only safe way out of a
// signal handler into the event loop.
int signalPipe[2] = {-1, -1};

void writeSignal(int signal)
{
    const char number = char(signal);
    const ssize_t written = ::write(signalPipe[0], &number, 1);
    static_cast<void>(written);
}

} // namespace

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
    if (signalPipe[0] != -1 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        qWarning() << "Cannot watch for quit signals";
        return;
    }
    m_notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::readSignal);
    struct sigaction action = {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    if (!m_notifier)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

bool QuitSignals::isInstalled() const
{
    return m_notifier != nullptr;
}

void QuitSignals::readSignal()
{
    char number = 0;
    if (::read(signalPipe[1], &number, 1) == 1) {
        qDebug() << "Quitting on signal" << int(number);
        emit received(int(number));
    }
}

} // namespace vireo
