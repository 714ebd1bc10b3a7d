#ifndef KIT_SETTINGS_H
#define KIT_SETTINGS_H

#include "storable.h"

#include <QLocale>
#include <QObject>

#include <memory>

class QMainWindow;

namespace kit {

// Base of an application's settings: finds the per-user XML file, loads and
// saves the whole tree, and applies the interface locale to the program.
class Settings : public QObject, public Storable
{
    Q_OBJECT

public:
    explicit Settings(int version, QObject *parent = nullptr);
    ~Settings() override;

    QString fileName() const;

    // True when the file was read without error. A file that exists but
    // cannot be read completely is copied aside at once, under a name no
    // earlier copy has, so that no later save destroys what was not read.
    bool load();
    // Why the last load stopped early, with line and column; empty when the
    // file was read completely or did not exist.
    QString loadErrorString() const;
    // The untouched copy of an unreadable file; empty when none was needed
    // or it could not be made (then saves refuse to overwrite the file).
    QString backupFileName() const;

    // True when the file was written and replaced the old one.
    bool save();
    // Why the last save failed.
    QString errorString() const;

    // Claims the file for this program until the object is destroyed; a
    // claim left behind by a program that is no longer running is taken
    // over. False when another running program holds it: this object then
    // never saves.
    bool lock();
    bool isReadOnly() const;

    QLocale locale() const;
    void setLocale(const QLocale &locale);

    void saveWindowState(const QMainWindow *window);
    void restoreWindowState(QMainWindow *window) const;

signals:
    void localeChanged(const QLocale &locale);

protected:
    virtual void afterLoad();
    void load(DataReader &reader) override;
    void save(DataWriter &writer) const override;

private:
    void applyLocale();
    bool keepUnreadableFile();
    QString unusedBackupName() const;

    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
