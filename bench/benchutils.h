#ifndef MENSOR_BENCHUTILS_H
#define MENSOR_BENCHUTILS_H

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <cstdio>

// Median wall time of a callable over several runs, in milliseconds.
template <typename Run>
double medianMilliseconds(int runs, Run run)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

// libjpeg-turbo's own decoder on a file, output thrown away: the floor.
inline double djpeg(const QString &path, const QStringList &options)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    const QStringList output = {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), path};
    process.start(QStringLiteral("djpeg"), options + output);
    process.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e6;
}

inline void printRow(const char *name, double value, const char *unit)
{
    std::printf("%-58s %12.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

#endif
