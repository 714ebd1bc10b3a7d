#ifndef VIREO_WORKERTHREAD_H
#define VIREO_WORKERTHREAD_H

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

namespace vireo {

// A restartable worker: doWork() runs one pass; a restart request stops the
// pass at its next mustStop() check and starts a new one; abort ends the thread.
class WorkerThread : public QThread
{
    Q_OBJECT

public:
    explicit WorkerThread(QObject *parent = nullptr);
    ~WorkerThread() override;

    void startWork();
    void restart();
    void abort();

protected:
    void run() override;
    virtual void doWork() = 0;
    bool mustStop();
    void lock();
    void unlock();

private:
    bool waitForWork();

    QMutex m_mutex;
    QWaitCondition m_wakeUp;
    bool m_abort = false;
    bool m_restart = false;
};

} // namespace vireo

#endif
