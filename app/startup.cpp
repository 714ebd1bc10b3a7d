#include "startup.h"

#include <QCoreApplication>
#include <QSettings>

namespace vireo {

void setApplicationIdentity()
{
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QCoreApplication::addLibraryPath(QStringLiteral(":/plugins/imageformats"));
    QCoreApplication::setApplicationName(QStringLiteral("mensor"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.4"));
    // A reserved name: the program has no web presence of its own.
    QCoreApplication::setOrganizationDomain(QStringLiteral("ortus.invalid"));
    QCoreApplication::setOrganizationName(QStringLiteral("ortus"));
}

} // namespace vireo
