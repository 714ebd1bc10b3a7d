#include "settings.h"

#include "dataformat.h"
#include "translations.h"
#include "windowstate.h"
#include "xmldatastore.h"

#include <QCoreApplication>
#include <QDir>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
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
    // Set when an existing file could not be read and no copy of it could
    // be made yet: saves try again and refuse to overwrite it until one is.
    bool unreadableFile = false;
    QString loadError;
    QString backupFileName;
    QString saveError;
    std::unique_ptr<QLockFile> lockFile;
    bool readOnly = false;
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
        d->loadError.clear();
        if (!ok)
            qWarning().nospace() << "Error while loading settings: " << reader.errorString();
        if (!ok && QFileInfo(d->fileName).size() > 0)
            d->loadError = reader.errorDescription();
        applyLocale();
        afterLoad();
    }
    d->backupFileName.clear();
    d->unreadableFile = !d->loadError.isEmpty();
    if (d->unreadableFile)
        keepUnreadableFile();
    return ok;
}

QString Settings::loadErrorString() const
{
    return d->loadError;
}

QString Settings::backupFileName() const
{
    return d->backupFileName;
}

QString Settings::unusedBackupName() const
{
    const QString first = d->fileName + QLatin1String(".bak");
    if (!QFileInfo::exists(first))
        return first;
    for (int number = 2;; ++number) {
        const QString name = QStringLiteral("%1.%2.bak").arg(d->fileName).arg(number);
        if (!QFileInfo::exists(name))
            return name;
    }
}

bool Settings::keepUnreadableFile()
{
    const QString backup = unusedBackupName();
    if (!QFile::copy(d->fileName, backup)) {
        d->saveError = tr("Cannot keep a copy of the unreadable file %1 as %2.").arg(d->fileName, backup);
        qWarning().nospace() << "Error while saving settings: cannot keep a copy of the unreadable file "
                             << d->fileName << " as " << backup;
        return false;
    }
    qWarning().nospace() << "Kept a copy of the unreadable settings file as " << backup << ".";
    d->backupFileName = backup;
    d->unreadableFile = false;
    return true;
}

bool Settings::save()
{
    if (d->readOnly) {
        d->saveError = tr("The file is in use by another program.");
        return false;
    }
    qDebug().nospace() << "Saving settings to " << d->fileName << ".";
    if (d->unreadableFile && QFileInfo::exists(d->fileName) && !keepUnreadableFile())
        return false;
    XmlFileWriter writer(d->fileName, d->format);
    writer.writeRoot(*this);
    if (!writer.commit()) {
        d->saveError = writer.errorString();
        qWarning().nospace() << "Error while saving settings: " << writer.errorString();
        return false;
    }
    d->saveError.clear();
    return true;
}

QString Settings::errorString() const
{
    return d->saveError;
}

bool Settings::lock()
{
    QDir().mkpath(QFileInfo(d->fileName).absolutePath());
    d->lockFile = std::make_unique<QLockFile>(d->fileName + QLatin1String(".lock"));
    // Only a dead owner makes a claim stale, however long a window stays open.
    d->lockFile->setStaleLockTime(0);
    d->readOnly = !d->lockFile->tryLock(0);
    if (d->readOnly)
        qWarning().nospace() << "The settings file " << d->fileName << " is in use by another program; not saving.";
    return !d->readOnly;
}

bool Settings::isReadOnly() const
{
    return d->readOnly;
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

// A layout the checks let through may still bring the toolkit down. A file
// beside the store marks a restore in progress: found at the next start, it
// means the layout stopped the program, and the window keeps its default.
void Settings::restoreWindowState(QMainWindow *window) const
{
    const QString guard = d->fileName + QLatin1String(".restoring");
    if (QFileInfo::exists(guard)) {
        qWarning() << "The window layout stopped the program last time; using the default layout.";
        d->windowState = WindowState();
        QFile::remove(guard);
        return;
    }
    QDir().mkpath(QFileInfo(guard).absolutePath());
    QFile marker(guard);
    const bool marked = marker.open(QIODevice::WriteOnly);
    marker.close();
    d->windowState.restore(window);
    if (marked)
        QFile::remove(guard);
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
