// Integer helpers of the scrolling controls: positions, steps and sizes come
// from forms and callers unchecked, so sums and products are taken in 64 bits
// and brought back into int range.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

inline int Saturate(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }

// value limited to [min, max]; min wins when the two cross.
inline int ClampPosition(int64_t value, int min, int max) {
    return Saturate(std::max<int64_t>(std::min<int64_t>(value, max), min));
}
