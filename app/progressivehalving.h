#ifndef VIREO_PROGRESSIVEHALVING_H
#define VIREO_PROGRESSIVEHALVING_H

#include <QImage>

#include <atomic>
#include <climits>

namespace vireo {

// Halves an image in the fast format (each pixel the mean of a 2 × 2 block)
// in bands of rows that any number of threads take in turn, so the work can
// follow an image whose rows are still being written.
class ProgressiveHalving
{
public:
    // Both images' memory must stay where it is until finish() or abandon()
    // returns; target is unshared, of half the source's size, in its format.
    ProgressiveHalving(const QImage &source, QImage &target);
    ProgressiveHalving(const ProgressiveHalving &) = delete;
    ProgressiveHalving &operator=(const ProgressiveHalving &) = delete;

    // Halves the bands whose source rows all lie above sourceRows, while
    // there are any that no thread has taken.
    void work(int sourceRows);
    // The source rows the next band not yet taken needs; INT_MAX when none is left.
    int rowsNeeded() const;
    // Helps with the bands left and returns when every band is done.
    void finish();
    // Takes no band more and returns when the bands taken are done.
    void abandon();

private:
    static const int bandRows = 64;
    int bandEnd(int band) const;
    void halveBand(int band);

    const uchar *m_source;
    qsizetype m_sourceStride;
    uchar *m_target;
    qsizetype m_targetStride;
    int m_width;
    int m_height;
    int m_bands;
    std::atomic<int> m_next{0};
    std::atomic<int> m_done{0};
};

} // namespace vireo

#endif
