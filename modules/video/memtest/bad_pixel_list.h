#pragma once
// The distinct faulty pixels found so far, as (surface number, position) pairs:
// only a pixel not seen before costs a unit of the error budget.
#include <array>
#include <cstddef>

namespace memtest {

class CBadPixelList {
public:
    static constexpr int kCapacity = 30;

    // True when the pair is new and was stored (it costs); false when it is
    // already listed or the list is full (it costs nothing).
    bool Add(int surfaceNumber, int position);
    int Count() const { return m_count; }

private:
    struct Pair {
        int surfaceNumber;  // from 1; 0 marks a free pair
        int position;
    };
    std::array<Pair, kCapacity> m_pairs{};
    int m_count = 0;
};

}  // namespace memtest
