#ifndef MENSOR_BIGSTORE_H
#define MENSOR_BIGSTORE_H

#include "geometry.h"
#include "settings.h"

// Fills settings with records of many points, as years of measuring leave them.
inline void fillBigStore(vireo::Settings &settings, int records, int pointsPerRecord)
{
    for (int r = 0; r < records; ++r) {
        vireo::Geometry &record =
            settings.geometryFor(QStringLiteral("/home/lab/photos/series-%1/IMG_%2.JPG").arg(r / 100).arg(r, 5, 10, QLatin1Char('0')));
        record.initialize(QSize(6000, 4000));
        record.setRulerLength(25.4 + r % 7);
        for (int p = 0; p < pointsPerRecord; ++p)
            record.addPoint(vireo::Point(p + 1, QPointF(123.456 + p * 97.31 + r % 13, 4000 - p * 151.7 - r % 29),
                                         QStringLiteral("IMG_%1.JPG").arg(r, 5, 10, QLatin1Char('0'))));
        record.setNextId(pointsPerRecord + 1);
    }
}

#endif
