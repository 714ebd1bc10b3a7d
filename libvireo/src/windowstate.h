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

    // Without a saved state the window is maximised. A state that the
    // window could not have saved is left out (the toolkit trusts parts of
    // it blindly); false then.
    bool restore(QMainWindow *window) const;

    // True when state has the structure that window's saveState() gives:
    // known markers, areas, dock and tool bar names, sane sizes, no excess.
    static bool isPlausibleState(const QByteArray &state, const QMainWindow *window);

    void load(DataReader &reader) override;
    void save(DataWriter &writer) const override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
