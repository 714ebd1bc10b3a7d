#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace vireo {

CommandLine::CommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("vireo::CommandLine", "Measures positions on photographs."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("path"),
                                 QCoreApplication::translate("vireo::CommandLine", "An image or a folder of images to open."),
                                 QStringLiteral("[path]"));
    parser.process(arguments);
    const QStringList paths = parser.positionalArguments();
    if (paths.size() > 1) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate("vireo::CommandLine", "Give one image or folder at the most.")));
        std::exit(1);
    }
    m_path = paths.value(0);
}

QString CommandLine::path() const
{
    return m_path;
}

} // namespace vireo
