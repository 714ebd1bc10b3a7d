#include "progressivehalving.h"

#include <QThread>

namespace vireo {

ProgressiveHalving::ProgressiveHalving(const QImage &source, QImage &target)
    : m_source(source.constBits())
    , m_sourceStride(source.bytesPerLine())
    , m_target(target.bits())
    , m_targetStride(target.bytesPerLine())
    , m_width(qMin(target.width(), source.width() / 2))
    , m_height(qMin(target.height(), source.height() / 2))
    , m_bands((m_height + bandRows - 1) / bandRows)
{
}

int ProgressiveHalving::bandEnd(int band) const
{
    return qMin(m_height, (band + 1) * bandRows);
}

int ProgressiveHalving::rowsNeeded() const
{
    const int band = m_next;
    return band < m_bands ? 2 * bandEnd(band) : INT_MAX;
}

void ProgressiveHalving::work(int sourceRows)
{
    int band = m_next;
    while (band < m_bands && 2 * bandEnd(band) <= sourceRows) {
        if (m_next.compare_exchange_weak(band, band + 1)) {
            halveBand(band);
            ++m_done;
            band = m_next;
        }
    }
}

void ProgressiveHalving::finish()
{
    work(INT_MAX);
    while (m_done < m_bands)
        QThread::yieldCurrentThread();
}

void ProgressiveHalving::abandon()
{
    const int taken = qMin(m_bands, m_next.exchange(m_bands));
    while (m_done < taken)
        QThread::yieldCurrentThread();
}

// Two channels at a time, rounded (premultiplied alpha averages like a colour).
void ProgressiveHalving::halveBand(int band)
{
    const quint32 low = 0x00ff00ff;
    for (int y = band * bandRows; y < bandEnd(band); ++y) {
        const auto *upper = reinterpret_cast<const quint32 *>(m_source + 2 * y * m_sourceStride);
        const auto *lower = reinterpret_cast<const quint32 *>(m_source + (2 * y + 1) * m_sourceStride);
        auto *out = reinterpret_cast<quint32 *>(m_target + y * m_targetStride);
        for (int x = 0; x < m_width; ++x) {
            const quint32 a = upper[2 * x], b = upper[2 * x + 1], c = lower[2 * x], d = lower[2 * x + 1];
            const quint32 even = ((a & low) + (b & low) + (c & low) + (d & low) + 0x00020002) >> 2;
            const quint32 odd = (((a >> 8) & low) + ((b >> 8) & low) + ((c >> 8) & low) + ((d >> 8) & low) + 0x00020002) >> 2;
            out[x] = (even & low) | ((odd & low) << 8);
        }
    }
}

} // namespace vireo
