#include "bad_pixel_list.h"

namespace memtest {

bool CBadPixelList::Add(int surfaceNumber, int position) {
    for (int i = 0; i < m_count; ++i)
        if (m_pairs[static_cast<size_t>(i)].surfaceNumber == surfaceNumber &&
            m_pairs[static_cast<size_t>(i)].position == position)
            return false;
    if (m_count == kCapacity) return false;
    m_pairs[static_cast<size_t>(m_count++)] = {surfaceNumber, position};
    return true;
}

}  // namespace memtest
