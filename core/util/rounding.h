// Rounding and unit helpers shared by every figure the program shows.
#pragma once

#include <cmath>
#include <cstdint>

namespace korbela {

// Nearest integer, halves to the even neighbour (12.5 -> 12, 87.5 -> 88).
inline int64_t RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    int64_t result = static_cast<int64_t>(floor);
    if (diff > 0.5 || (diff == 0.5 && (result % 2) != 0)) {
        ++result;
    }
    return result;
}

// Bytes to whole mebibytes: a right shift by 20, which truncates.
inline int64_t BytesToMB(uint64_t bytes) { return static_cast<int64_t>(bytes >> 20); }

}  // namespace korbela
