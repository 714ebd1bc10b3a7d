#include "settings.h"

#include "dataformat.h"
#include "translations.h"
#include "windowstate.h"
#include "xmldatastore.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace kit {

namespace {

QString settingsFileName()
{
    QString fileName = QSettings().fileName();
    if (fileName.endsWith(QLatin1String(".ini"), Qt::CaseSensitive)) {
        fileName.chop(4);
        fileName += QLatin1String(".xml");
    }
    return fileName;
}

} // namespace

class Settings::Private
{
public:
    Private(int version)
        : format(QCoreApplication::applicationName(), version)
        , fileName(settingsFileName())
    {
    }

    DataFormat format;
    QString fileName;
    QLocale locale = QLocale(QLocale::German, QLocale::Switzerland);
    WindowState windowState;
    // Set when an existing file could not be read: it is copied aside before
    // the next save overwrites it.
    bool unreadableFile = false;
};

Settings::Settings(int version, QObject *parent)
    : QObject(parent)
    , d(new Private(version))
{
}

Settings::~Settings() = default;

QString Settings::fileName() const
{
    return d->fileName;
}

bool Settings::load()
{
    qDebug().nospace() << "Loading settings from " << d->fileName << ".";
    bool ok = false;
    {
        XmlFileReader reader(d->fileName, d->format);
        reader.readRoot(*this);
        ok = !reader.hasError();
        if (!ok)
            qWarning().nospace() << "Error while loading settings: " << reader.errorString();
        applyLocale();
        afterLoad();
    }
    d->unreadableFile = !ok && QFileInfo(d->fileName).size() > 0;
    return ok;
}

bool Settings::keepUnreadableFile()
{
    const QString backup = d->fileName + QLatin1String(".bak");
    QFile::remove(backup);
    if (!QFile::copy(d->fileName, backup)) {
        qWarning().nospace() << "Error while saving settings: cannot keep a copy of the unreadable file "
                             << d->fileName << " as " << backup;
        return false;
    }
    qWarning().nospace() << "Kept a copy of the unreadable settings file as " << backup << ".";
    d->unreadableFile = false;
    return true;
}

bool Settings::save()
{
    qDebug().nospace() << "Saving settings to " << d->fileName << ".";
    if (d->unreadableFile && QFileInfo::exists(d->fileName) && !keepUnreadableFile())
        return false;
    XmlFileWriter writer(d->fileName, d->format);
    writer.writeRoot(*this);
    if (!writer.commit()) {
        qWarning().nospace() << "Error while saving settings: " << writer.errorString();
        return false;
    }
    return true;
}

QLocale Settings::locale() const
{
    return d->locale;
}

void Settings::setLocale(const QLocale &locale)
{
    d->locale = locale;
    applyLocale();
}

void Settings::applyLocale()
{
    QLocale::setDefault(d->locale);
    Translations::instance().setLocale(d->locale);
    emit localeChanged(d->locale);
}

void Settings::saveWindowState(const QMainWindow *window)
{
    d->windowState = WindowState(window);
}

void Settings::restoreWindowState(QMainWindow *window) const
{
    d->windowState.restore(window);
}

void Settings::afterLoad()
{
}

void Settings::load(DataReader &reader)
{
    reader.readLocale(QStringLiteral("locale"), d->locale);
    reader.readObject(QStringLiteral("mainwindow"), d->windowState);
}

void Settings::save(DataWriter &writer) const
{
    writer.writeLocale(QStringLiteral("locale"), d->locale);
    writer.writeObject(QStringLiteral("mainwindow"), d->windowState);
}

} // namespace kit
