#ifndef KIT_WINDOWSTATE_H
#define KIT_WINDOWSTATE_H

#include "storable.h"

#include <memory>

class QMainWindow;

namespace kit {

// The saved geometry and dock/tool bar state of a main window.
class WindowState : public Storable
{
public:
    WindowState();
    explicit WindowState(const QMainWindow *window);
    WindowState(const WindowState &other);
    WindowState &operator=(const WindowState &other);
    ~WindowState() override;

    QByteArray geometry() const;
    QByteArray state() const;

    // Without a saved state the window is maximised.
    void restore(QMainWindow *window) const;

    void load(DataReader &reader) override;
    void save(DataWriter &writer) const override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
