#include "memoryahead.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace vireo {

namespace {

#ifdef Q_OS_LINUX
#ifdef MADV_POPULATE_WRITE
const int populateWrite = MADV_POPULATE_WRITE;
#else
const int populateWrite = 23;
#endif

// The whole blocks of alignment bytes within [begin, end): the memory advice
// takes only those. Empty when there are none.
std::pair<quintptr, quintptr> alignedWithin(const uchar *begin, const uchar *end, quintptr alignment)
{
    const quintptr first = (quintptr(begin) + alignment - 1) & ~(alignment - 1);
    return {first, qMax(first, quintptr(end) & ~(alignment - 1))};
}
#endif

// A fault maps 2 MiB instead of 4 KiB where the system allows it.
void preferHugePages(uchar *begin, uchar *end)
{
#ifdef Q_OS_LINUX
    const auto huge = alignedWithin(begin, end, quintptr(2) << 20);
    if (huge.second > huge.first)
        ::madvise(reinterpret_cast<void *>(huge.first), huge.second - huge.first, MADV_HUGEPAGE);
#else
    Q_UNUSED(begin)
    Q_UNUSED(end)
#endif
}

// In chunks: the call holds the process's memory map, which the GUI thread
// may need meanwhile.
bool populate(uchar *begin, uchar *end)
{
#ifdef Q_OS_LINUX
    const qint64 chunk = qint64(1) << 20;
    for (uchar *at = begin; at < end; at += chunk) {
        const auto pages = alignedWithin(at, qMin(end, at + chunk), 4096);
        // Kernels before 5.14 do not know the advice: then the writers fault alone.
        if (pages.second > pages.first
            && ::madvise(reinterpret_cast<void *>(pages.first), pages.second - pages.first, populateWrite) != 0)
            return false;
    }
    return true;
#else
    Q_UNUSED(begin)
    Q_UNUSED(end)
    return false;
#endif
}

} // namespace

void MemoryAhead::setImage(uchar *begin, uchar *end)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_imageBegin = begin;
        m_imageEnd = end;
    }
    append(begin, end);
}

void MemoryAhead::append(uchar *begin, uchar *end)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_ahead.emplace_back(begin, end);
    preferHugePages(begin, end);
}

void MemoryAhead::map(const uchar *limit)
{
    const qint64 chunk = qint64(1) << 20;
    for (;;) {
        uchar *begin = nullptr;
        uchar *end = nullptr;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_ahead.empty())
                return;
            auto &stretch = m_ahead.front();
            const bool inImage = stretch.first >= m_imageBegin && stretch.first < m_imageEnd;
            if (limit && (!inImage || stretch.first >= limit))
                return;
            begin = stretch.first;
            end = begin + qMin(chunk, qint64(stretch.second - begin));
            stretch.first = end;
            if (stretch.first == stretch.second)
                m_ahead.pop_front();
        }
        if (!populate(begin, end)) {
            clear();
            return;
        }
    }
}

void MemoryAhead::clear()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_ahead.clear();
}

} // namespace vireo
