// How exactly a plate photographed at an angle is measured: a 300 × 200 mm
// plate with a grid of 35 dots seen by a camera of 4000 × 3000 pixels, tilted
// 0°, 30°, 45° and 60°. The four corner references are placed with seeded
// noise of up to half a pixel across and down; the dots are measured where
// the camera puts them. The plane's projective map against the 2-point ruler
// along the plate's lower edge, and the plane's error bound against the
// largest error of every trial.
#include "planemap.h"

#include <QCoreApplication>
#include <QLineF>
#include <QVector>

#include <cmath>
#include <cstdio>
#include <random>

namespace {

const double plateWidth = 300;
const double plateHeight = 200;
const int trials = 500;

// A pinhole camera looking at the plate's centre, turned about the plate's
// horizontal axis; image y runs downwards.
struct Camera
{
    double tilt;
    double focal = 3400;
    double distance = 520;

    QPointF project(const QPointF &plate) const
    {
        const double x = plate.x() - plateWidth / 2;
        const double y = plate.y() - plateHeight / 2;
        const double c = std::cos(tilt);
        const double s = std::sin(tilt);
        const double cameraY = y * c;
        const double depth = distance + y * s;
        return QPointF(2000 + focal * x / depth, 1500 - focal * cameraY / depth);
    }
};

struct Errors
{
    double sumOfSquares = 0;
    int count = 0;
    double largest = 0;
    void add(const QPointF &measured, const QPointF &truth)
    {
        const double e = QLineF(measured, truth).length();
        sumOfSquares += e * e;
        ++count;
        largest = std::max(largest, e);
    }
    double rms() const { return std::sqrt(sumOfSquares / count); }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QVector<QPointF> corners = {{0, 0}, {plateWidth, 0}, {plateWidth, plateHeight}, {0, plateHeight}};
    QVector<QPointF> dots;
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 7; ++column)
            dots.append(QPointF(30 + 40 * column, 20 + 40 * row));
    std::printf("%-6s %12s %12s %12s %8s %12s %12s\n", "tilt", "plane RMS", "plane max", "bound max", "held", "ruler RMS",
                "ruler max");
    for (const int degrees : {0, 30, 45, 60}) {
        const Camera camera{degrees * M_PI / 180};
        std::mt19937 random(1234 + degrees);
        std::uniform_real_distribution<double> halfPixel(-0.5, 0.5);
        Errors plane;
        Errors ruler;
        double largestBound = 0;
        int held = 0;
        for (int trial = 0; trial < trials; ++trial) {
            QVector<QPointF> placed;
            for (const QPointF &corner : corners)
                placed.append(camera.project(corner) + QPointF(halfPixel(random), halfPixel(random)));
            const vireo::PlaneMap map(placed, corners);
            const double bound = map.errorBound();
            largestBound = std::max(largestBound, bound);
            // The ruler: origin and first end on the first corner, second end on the second.
            const double scale = plateWidth / QLineF(placed[0], placed[1]).length();
            double trialLargest = 0;
            for (const QPointF &dot : dots) {
                const QPointF seen = camera.project(dot);
                const QPointF onPlane = map.map(seen);
                plane.add(onPlane, dot);
                trialLargest = std::max(trialLargest, QLineF(onPlane, dot).length());
                ruler.add(QPointF((seen.x() - placed[0].x()) * scale, -(seen.y() - placed[0].y()) * scale), dot);
            }
            held += trialLargest <= bound;
        }
        std::printf("%-6s %9.4f mm %9.4f mm %9.4f mm %4d/%d %9.3f mm %9.3f mm\n",
                    qPrintable(QStringLiteral("%1°").arg(degrees)), plane.rms(), plane.largest, largestBound, held, trials,
                    ruler.rms(), ruler.largest);
    }
    return 0;
}
