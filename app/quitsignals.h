#ifndef VIREO_QUITSIGNALS_H
#define VIREO_QUITSIGNALS_H

#include <QObject>

class QSocketNotifier;

namespace vireo {

// Turns SIGTERM and SIGHUP (logout, shutdown, kill) into a signal on the GUI
// thread, so that the program saves and quits instead of dying. One at a
// time; the handlers stay with the process.
class QuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

    bool isInstalled() const;

signals:
    void received(int signal);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace vireo

#endif
