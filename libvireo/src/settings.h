#ifndef KIT_SETTINGS_H
#define KIT_SETTINGS_H

#include "storable.h"

#include <QLocale>
#include <QObject>

#include <functional>
#include <memory>

class QMainWindow;

namespace kit {

// Base of an application's settings: finds the per-user XML file, loads and
// saves the whole tree, and applies the interface locale to the program.
class Settings : public QObject, public Storable
{
    Q_OBJECT

public:
    // Who holds the file's lock, as far as this object can tell.
    enum class LockState {
        NotTried,
        Owned,
        // Another running program on this computer.
        InUse,
        // A program on another computer, which cannot be asked whether it runs.
        HeldElsewhere,
        // No lock file can be made here (read-only folder, full disk); tried
        // again at every save.
        Unavailable,
    };

    // Copies of unreadable files kept at the most.
    static constexpr int maxBackups = 10;

    explicit Settings(int version, QObject *parent = nullptr);
    ~Settings() override;

    QString fileName() const;
    QString lockFileName() const;

    // True when the file was read without error. A file that exists but
    // cannot be read completely is copied aside at once (unless a copy with
    // the same contents is kept already), so that no later save destroys
    // what was not read. A value that cannot be read keeps its default and
    // reading goes on; malformed XML stops it.
    bool load();
    // Why the last load failed, with line and column; empty when the file
    // was read completely or did not exist.
    QString loadErrorString() const;
    // True when the last load stopped before the end of the file; false
    // when it only left unreadable values at their defaults.
    bool loadStoppedEarly() const;
    // The untouched copy of an unreadable file; empty when none was needed
    // or it could not be made (then saves refuse to overwrite the file).
    QString backupFileName() const;
    // Removes the oldest copies beyond maxBackups. Called once the user has
    // been told about the newest, so no copy goes unannounced.
    void pruneBackups();

    // True when the file was written and replaced the old one. Waits for a
    // save on another thread first.
    bool save();
    // Takes a copy of the values now and writes it on another thread;
    // saveFinished() tells how it went. A request while a save is running is
    // written once that one has ended.
    void saveInBackground();
    bool isSaving() const;
    void waitForSave();
    // Why the last save failed.
    QString errorString() const;

    // Claims the file for this program until the object is destroyed. A
    // claim that cannot belong to a running program (its owner is gone, the
    // lock file is empty or damaged) is taken over. False when the file
    // stays unclaimed: see lockState().
    bool lock();
    LockState lockState() const;
    // The holder of the lock ("process 4711 on lab-pc") when another program
    // holds it; why no lock could be made when it is unavailable.
    QString lockHolder() const;
    QString lockErrorString() const;
    // Removes a lock held elsewhere and claims the file; for when the user
    // knows its owner is gone.
    bool takeOverLock();
    // True when another program holds the file, or it is no regular file:
    // this object then never writes it.
    bool isReadOnly() const;

    QLocale locale() const;
    void setLocale(const QLocale &locale);

    // Keeps the window's layout for the next save, unless the stored one was
    // passed over at this start (it is then tried again at the next).
    void saveWindowState(const QMainWindow *window);
    void restoreWindowState(QMainWindow *window) const;

signals:
    void localeChanged(const QLocale &locale);
    void saveFinished(bool ok);

protected:
    using ValuesWriter = std::function<void(DataWriter &)>;

    virtual void afterLoad();
    void load(DataReader &reader) override;
    void save(DataWriter &writer) const override;
    // Writes what save(DataWriter &) writes from copies of the values taken
    // now, so that it can run on another thread; an empty one makes
    // saveInBackground() save at once instead.
    virtual ValuesWriter valuesWriter() const;
    // The base's own values, for a subclass's valuesWriter().
    ValuesWriter baseValuesWriter() const;

private:
    void applyLocale();
    bool claimLock();
    bool mayWrite();
    void finishBackgroundSave();
    bool keepUnreadableFile();
    QStringList backupFileNames() const;
    QString unusedBackupName() const;

    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
