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

    // True when the file was read without error.
    bool load();
    // True when the file was written and replaced the old one.
    bool save();

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

    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
