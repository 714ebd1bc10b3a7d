#ifndef VIREO_COMMANDLINE_H
#define VIREO_COMMANDLINE_H

#include <QString>
#include <QStringList>

namespace vireo {

// What the program reads from its command line: one image or folder to
// open, --help and --version. Anything else is refused with a message.
class CommandLine
{
public:
    // Prints help, the version or what is wrong and ends the program where
    // the arguments ask for it, as command-line programs do.
    explicit CommandLine(const QStringList &arguments);

    // The image or folder to open, as given; empty for none.
    QString path() const;

private:
    QString m_path;
};

} // namespace vireo

#endif
