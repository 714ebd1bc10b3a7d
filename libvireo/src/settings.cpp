#include "settings.h"

#include "dataformat.h"
#include "translations.h"
#include "windowstate.h"
#include "xmldatastore.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>
#include <QSysInfo>
#include <QtConcurrent>


#include <algorithm>

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

// Stands for a settings object on another thread: writes its copied values.
class CopiedValues : public Storable
{
public:
    explicit CopiedValues(std::function<void(DataWriter &)> write)
        : m_write(std::move(write))
    {
    }

protected:
    void save(DataWriter &writer) const override { m_write(writer); }

private:
    std::function<void(DataWriter &)> m_write;
};

// Empty when saved, else why not.
QString writeDocument(const QString &fileName, const DataFormat &format, const Storable &root)
{
    XmlFileWriter writer(fileName, format);
    writer.writeRoot(root);
    if (writer.commit())
        return QString();
    qWarning().nospace() << "Error while saving settings: " << writer.errorString();
    return writer.errorString();
}

bool haveSameContents(const QString &a, const QString &b)
{
    if (QFileInfo(a).size() != QFileInfo(b).size())
        return false;
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    const qint64 chunk = 1 << 20;
    while (!first.atEnd()) {
        const QByteArray bytes = first.read(chunk);
        if (bytes.isEmpty() || bytes != second.read(chunk))
            return false;
    }
    return second.atEnd();
}

// Past this size a damaged store is moved aside instead of copied: no real
// store comes near it, and copying gigabytes of garbage would hold the start.
const qint64 largestCopiedFile = qint64(256) << 20;

bool keepCopy(const QString &fileName, const QString &copy)
{
    if (QFileInfo(fileName).size() > largestCopiedFile)
        return QFile::rename(fileName, copy);
    return QFile::copy(fileName, copy);
}

int backupNumber(const QString &name, const QString &fileName)
{
    if (name == fileName + QLatin1String(".bak"))
        return 1;
    const QString middle = name.mid(fileName.size() + 1);
    return middle.section(QLatin1Char('.'), 0, 0).toInt();
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

    ~Private() { saving.waitForFinished(); }

    DataFormat format;
    QString fileName;
    QLocale locale = QLocale(QLocale::German, QLocale::Switzerland);
    WindowState windowState;
    // The stored layout was passed over at this start: keep it for the next.
    bool keepStoredLayout = false;
    // Set when an existing file could not be read and no copy of it could
    // be made yet: saves try again and refuse to overwrite it until one is.
    bool unreadableFile = false;
    bool notRegularFile = false;
    QString loadError;
    bool loadStoppedEarly = false;
    QString backupFileName;
    QString saveError;
    std::unique_ptr<QLockFile> lockFile;
    LockState lockState = LockState::NotTried;
    // Kept apart and put into words when asked: the texts must come in the
    // language loaded after the lock was tried.
    qint64 lockPid = 0;
    QString lockHost;
    enum class LockFailure { None, DiskFull, ReadOnlyFolder, Damaged } lockFailure = LockFailure::None;
    QFuture<QString> saving;
    QFutureWatcher<QString> savingWatcher;
    bool backgroundSave = false;
    bool saveRequested = false;
};

Settings::Settings(int version, QObject *parent)
    : QObject(parent)
    , d(new Private(version))
{
    connect(&d->savingWatcher, &QFutureWatcher<QString>::finished, this, &Settings::finishBackgroundSave);
}

Settings::~Settings() = default;

QString Settings::fileName() const
{
    return d->fileName;
}

QString Settings::lockFileName() const
{
    return d->fileName + QLatin1String(".lock");
}

bool Settings::load()
{
    qDebug().nospace() << "Loading settings from " << d->fileName << ".";
    const QFileInfo info(d->fileName);
    d->loadError.clear();
    d->loadStoppedEarly = false;
    d->notRegularFile = info.exists() && !info.isFile();
    bool ok = false;
    if (d->notRegularFile) {
        // A pipe or a device would block the reader for ever.
        d->loadError = tr("The file is not a regular file.");
        d->loadStoppedEarly = true;
        qWarning().nospace() << "Error while loading settings: " << d->fileName << " is not a regular file.";
        applyLocale();
        afterLoad();
        return false;
    }
    {
        XmlFileReader reader(d->fileName, d->format);
        reader.readRoot(*this);
        ok = !reader.hasError() && reader.valueErrorDescription().isEmpty();
        if (!ok)
            qWarning().nospace() << "Error while loading settings: "
                                 << (reader.hasError() ? reader.errorString() : reader.valueErrorDescription());
        QStringList errors;
        if (!reader.valueErrorDescription().isEmpty())
            errors.append(reader.valueErrorDescription());
        if (reader.hasError() && info.size() > 0) {
            errors.append(reader.errorDescription());
            d->loadStoppedEarly = true;
        }
        d->loadError = errors.join(QLatin1Char('\n'));
        applyLocale();
        afterLoad();
    }
    d->backupFileName.clear();
    d->unreadableFile = !d->loadError.isEmpty();
    // The program that owns the file keeps its copy.
    if (d->unreadableFile && !isReadOnly())
        keepUnreadableFile();
    return ok;
}

QString Settings::loadErrorString() const
{
    return d->loadError;
}

bool Settings::loadStoppedEarly() const
{
    return d->loadStoppedEarly;
}

QString Settings::backupFileName() const
{
    return d->backupFileName;
}

// Oldest first.
QStringList Settings::backupFileNames() const
{
    const QFileInfo info(d->fileName);
    const QString name = info.fileName();
    const QRegularExpression pattern(QStringLiteral("^%1(\\.[1-9][0-9]{0,8})?\\.bak$").arg(QRegularExpression::escape(name)));
    QStringList backups;
    const QStringList entries = info.dir().entryList({name + QLatin1String("*.bak")}, QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (pattern.match(entry).hasMatch())
            backups.append(info.dir().filePath(entry));
    }
    std::sort(backups.begin(), backups.end(), [this](const QString &a, const QString &b) {
        return backupNumber(a, d->fileName) < backupNumber(b, d->fileName);
    });
    return backups;
}

// One past the highest number kept, so that names tell the order.
QString Settings::unusedBackupName() const
{
    const QStringList backups = backupFileNames();
    const int number = backups.isEmpty() ? 1 : backupNumber(backups.last(), d->fileName) + 1;
    if (number == 1)
        return d->fileName + QLatin1String(".bak");
    return QStringLiteral("%1.%2.bak").arg(d->fileName).arg(number);
}

bool Settings::keepUnreadableFile()
{
    for (const QString &backup : backupFileNames()) {
        if (haveSameContents(d->fileName, backup)) {
            d->backupFileName = backup;
            d->unreadableFile = false;
            return true;
        }
    }
    const QString backup = unusedBackupName();
    if (!keepCopy(d->fileName, backup)) {
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

void Settings::pruneBackups()
{
    if (isReadOnly())
        return;
    QStringList backups = backupFileNames();
    while (backups.size() > maxBackups) {
        const QString oldest = backups.takeFirst();
        if (oldest != d->backupFileName && QFile::remove(oldest))
            qDebug().nospace() << "Removed the old copy " << oldest << ".";
    }
}

// The checks of a save that must run on this thread.
bool Settings::mayWrite()
{
    if (d->notRegularFile) {
        d->saveError = tr("The file is not a regular file.");
        return false;
    }
    if (d->lockState == LockState::InUse || d->lockState == LockState::HeldElsewhere) {
        d->saveError = tr("The file is in use by another program.");
        return false;
    }
    // A folder made writable or a disk with room again: claim the file now.
    if (d->lockState == LockState::Unavailable && !lock()) {
        d->saveError = lockErrorString();
        return false;
    }
    if (d->unreadableFile && QFileInfo::exists(d->fileName) && !keepUnreadableFile())
        return false;
    return true;
}

bool Settings::save()
{
    waitForSave();
    if (!mayWrite())
        return false;
    qDebug().nospace() << "Saving settings to " << d->fileName << ".";
    d->saveError = writeDocument(d->fileName, d->format, *this);
    return d->saveError.isEmpty();
}

void Settings::saveInBackground()
{
    if (d->backgroundSave) {
        d->saveRequested = true;
        return;
    }
    const ValuesWriter values = valuesWriter();
    if (!values) {
        emit saveFinished(save());
        return;
    }
    if (!mayWrite()) {
        emit saveFinished(false);
        return;
    }
    qDebug().nospace() << "Saving settings to " << d->fileName << " in the background.";
    d->backgroundSave = true;
    d->saving = QtConcurrent::run([fileName = d->fileName, format = d->format, values] {
        return writeDocument(fileName, format, CopiedValues(values));
    });
    d->savingWatcher.setFuture(d->saving);
}

bool Settings::isSaving() const
{
    return d->backgroundSave;
}

void Settings::waitForSave()
{
    while (d->backgroundSave) {
        d->saving.waitForFinished();
        finishBackgroundSave();
    }
}

void Settings::finishBackgroundSave()
{
    if (!d->backgroundSave || !d->saving.isFinished())
        return;
    d->backgroundSave = false;
    d->saveError = d->saving.result();
    const bool ok = d->saveError.isEmpty();
    if (d->saveRequested) {
        d->saveRequested = false;
        saveInBackground();
    }
    emit saveFinished(ok);
}

QString Settings::errorString() const
{
    return d->saveError;
}

bool Settings::lock()
{
    QDir().mkpath(QFileInfo(d->fileName).absolutePath());
    d->lockFile = std::make_unique<QLockFile>(lockFileName());
    // Only a dead owner makes a claim stale, however long a window stays open.
    d->lockFile->setStaleLockTime(0);
    d->lockPid = 0;
    d->lockHost.clear();
    d->lockFailure = Private::LockFailure::None;
    if (claimLock())
        return true;
    switch (d->lockState) {
    case LockState::InUse:
    case LockState::HeldElsewhere:
        qWarning().nospace() << "The settings file " << d->fileName << " is in use by process " << d->lockPid << " on "
                             << d->lockHost << "; not saving.";
        break;
    default:
        qWarning().nospace() << "Cannot lock the settings file " << d->fileName << ".";
    }
    return false;
}

bool Settings::claimLock()
{
    if (d->lockFile->tryLock(0)) {
        d->lockState = LockState::Owned;
        return true;
    }
    if (d->lockFile->error() != QLockFile::LockFailedError) {
        d->lockState = LockState::Unavailable;
        d->lockFailure = QFileInfo(QFileInfo(d->fileName).absolutePath()).isWritable() ? Private::LockFailure::DiskFull
                                                                                      : Private::LockFailure::ReadOnlyFolder;
        return false;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    if (!d->lockFile->getLockInfo(&pid, &host, &application)) {
        // Empty, damaged, unreadable or a folder: no running program wrote it.
        qWarning().nospace() << "Taking over the damaged lock file " << lockFileName() << ".";
        if (!QFile::remove(lockFileName()))
            QDir().rmdir(lockFileName());
        if (d->lockFile->tryLock(0)) {
            d->lockState = LockState::Owned;
            return true;
        }
        d->lockState = LockState::Unavailable;
        d->lockFailure = Private::LockFailure::Damaged;
        return false;
    }
    const bool elsewhere = !host.isEmpty() && host != QSysInfo::machineHostName();
    d->lockState = elsewhere ? LockState::HeldElsewhere : LockState::InUse;
    d->lockPid = pid;
    d->lockHost = elsewhere ? host : QString();
    return false;
}

Settings::LockState Settings::lockState() const
{
    return d->lockState;
}

QString Settings::lockHolder() const
{
    if (d->lockPid <= 0)
        return QString();
    return d->lockHost.isEmpty() ? tr("process %1").arg(d->lockPid) : tr("process %1 on %2").arg(d->lockPid).arg(d->lockHost);
}

QString Settings::lockErrorString() const
{
    const QString lockName = QDir::toNativeSeparators(lockFileName());
    switch (d->lockFailure) {
    case Private::LockFailure::DiskFull:
        return tr("The lock file %1 cannot be written; the disk may be full.").arg(lockName);
    case Private::LockFailure::ReadOnlyFolder:
        return tr("The lock file %1 cannot be made: the folder is read-only.").arg(lockName);
    case Private::LockFailure::Damaged:
        return tr("The damaged lock file %1 cannot be replaced.").arg(lockName);
    default:
        return QString();
    }
}

bool Settings::takeOverLock()
{
    if (!d->lockFile || d->lockState == LockState::Owned)
        return d->lockState == LockState::Owned;
    qWarning().nospace() << "Taking over the lock " << lockFileName() << " of process " << d->lockPid << " on " << d->lockHost
                         << ".";
    d->lockFile->removeStaleLockFile();
    if (!d->lockFile->tryLock(0))
        return false;
    d->lockState = LockState::Owned;
    d->lockPid = 0;
    d->lockHost.clear();
    if (d->unreadableFile)
        keepUnreadableFile();
    return true;
}

bool Settings::isReadOnly() const
{
    return d->notRegularFile || d->lockState == LockState::InUse || d->lockState == LockState::HeldElsewhere;
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
    if (!d->keepStoredLayout)
        d->windowState = WindowState(window);
}

// A layout the checks let through may still bring the toolkit down. A file
// beside the store marks a restore in progress: found at the next start, it
// means the layout may have stopped the program, so the window keeps its
// default this time, and the stored layout is tried again at the next start.
void Settings::restoreWindowState(QMainWindow *window) const
{
    const QString guard = d->fileName + QLatin1String(".restoring");
    if (QFileInfo::exists(guard)) {
        qWarning() << "The window layout stopped the program last time; using the default layout.";
        d->keepStoredLayout = true;
        QFile::remove(guard);
        return;
    }
    QDir().mkpath(QFileInfo(guard).absolutePath());
    QFile marker(guard);
    const bool marked = marker.open(QIODevice::WriteOnly);
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
    baseValuesWriter()(writer);
}

Settings::ValuesWriter Settings::valuesWriter() const
{
    return {};
}

Settings::ValuesWriter Settings::baseValuesWriter() const
{
    return [locale = d->locale, windowState = d->windowState](DataWriter &writer) {
        writer.writeLocale(QStringLiteral("locale"), locale);
        writer.writeObject(QStringLiteral("mainwindow"), windowState);
    };
}

} // namespace kit
