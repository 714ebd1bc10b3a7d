// From process start to the main window's first paint (offscreen), with an
// empty store and with a store of 5,000 records of 20 points.
#include "settings.h"

#include "benchutils.h"
#include "bigstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

namespace {

double startUp(const QString &probe, const QString &config)
{
    return medianMilliseconds(5, [&] {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(probe, QStringList());
        process.waitForFinished(60000);
    });
}

void writeBigStore(const QString &config)
{
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    vireo::Settings settings;
    fillBigStore(settings, 5000, 20);
    settings.save();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QCoreApplication::setApplicationName(QStringLiteral("mensor"));
    QCoreApplication::setOrganizationName(QStringLiteral("ortus"));
    const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/startupprobe");

    QTemporaryDir empty;
    QTemporaryDir big;
    writeBigStore(big.path());

    std::printf("start-up: process start to the first paint of the main window (offscreen)\n");
    printRow("empty store", startUp(probe, empty.path() + QStringLiteral("/fresh")), "ms");
    printRow("store of 5,000 records x 20 points", startUp(probe, big.path()), "ms");
    return 0;
}
