// Loads arbitrary bytes as the program's store through its own settings
// classes, saves, loads what was saved and saves again. The second save must
// give the same bytes as the first: anything else is a value lost or changed
// between a save and the next start.
#include "settings.h"
#include "startup.h"

#include <QtCore>

#include <cstdio>
#include <cstdlib>

namespace {

QString storePath;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void replaceStore(const uint8_t *data, size_t size)
{
    const QString folder = QFileInfo(storePath).absolutePath();
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QFile file(storePath);
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char *>(data), qint64(size));
}

[[noreturn]] void fail(const char *what, const QByteArray &first, const QByteArray &second)
{
    fprintf(stderr, "%s\n--- first save ---\n%s\n--- second save ---\n%s\n", what, first.constData(), second.constData());
    abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    static QCoreApplication app(*argc, *argv);
    vireo::setApplicationIdentity();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    storePath = vireo::Settings().fileName();
    if (!storePath.startsWith(home.path()))
        abort(); // never near a real store
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    replaceStore(data, size);
    QByteArray first;
    {
        vireo::Settings settings;
        settings.load();
        if (!settings.save())
            return 0;
        first = readAll(storePath);
    }
    vireo::Settings settings;
    if (!settings.load())
        fail("a saved store does not load again", first, settings.loadErrorString().toUtf8());
    settings.save();
    const QByteArray second = readAll(storePath);
    if (second != first)
        fail("the store changed between two saves", first, second);
    return 0;
}
