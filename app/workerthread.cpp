#include "workerthread.h"

namespace vireo {

WorkerThread::WorkerThread(QObject *parent)
    : QThread(parent)
{
}

WorkerThread::~WorkerThread()
{
    abort();
    wait();
}

void WorkerThread::startWork()
{
    if (!isRunning())
        start(QThread::LowPriority);
    else
        restart();
}

void WorkerThread::restart()
{
    m_mutex.lock();
    m_restart = true;
    m_mutex.unlock();
    m_wakeUp.wakeOne();
}

void WorkerThread::abort()
{
    QMutexLocker locker(&m_mutex);
    m_abort = true;
    m_wakeUp.wakeOne();
}

void WorkerThread::run()
{
    do {
        doWork();
    } while (waitForWork());
}

bool WorkerThread::waitForWork()
{
    QMutexLocker locker(&m_mutex);
    if (m_abort)
        return false;
    if (!m_restart)
        m_wakeUp.wait(&m_mutex);
    const bool restart = m_restart;
    m_restart = false;
    return restart;
}

bool WorkerThread::mustStop()
{
    QMutexLocker locker(&m_mutex);
    return m_restart || m_abort;
}

void WorkerThread::lock()
{
    m_mutex.lock();
}

void WorkerThread::unlock()
{
    m_mutex.unlock();
}

} // namespace vireo
