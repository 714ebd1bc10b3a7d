#ifndef VIREO_MEMORYAHEAD_H
#define VIREO_MEMORYAHEAD_H

#include <QtGlobal>

#include <deque>
#include <mutex>
#include <utility>

namespace vireo {

// A fresh image's pages cost its writer a fault each, about as much as the
// decoding itself. Mapped ahead of it (contents untouched) they cost a third
// of that. Holds the memory about to be written, in the order it is needed,
// for any thread to map.
class MemoryAhead
{
public:
    // The image's memory comes first; only map()'s limit tells it apart.
    void setImage(uchar *begin, uchar *end);
    void append(uchar *begin, uchar *end);
    // Maps the image's memory below limit, or with no limit all of it and
    // what follows. Where the system cannot map ahead, nothing is left to map.
    void map(const uchar *limit = nullptr);
    void clear();

private:
    std::mutex m_mutex;
    std::deque<std::pair<uchar *, uchar *>> m_ahead;
    const uchar *m_imageBegin = nullptr;
    const uchar *m_imageEnd = nullptr;
};

} // namespace vireo

#endif
