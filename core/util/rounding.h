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

// numerator / denominator to the nearest integer, halves to the even
// neighbour, exactly: from the integer quotient and remainder, never through a
// floating-point product (2000 MB with 850 free is 57.5 % used, which shows 58).
// The denominator must be positive.
constexpr int64_t RoundHalfEvenQuotient(int64_t numerator, int64_t denominator) {
    int64_t quotient = numerator / denominator;
    int64_t remainder = numerator % denominator;
    if (remainder < 0) {  // floor division, so the remainder runs from 0 up
        --quotient;
        remainder += denominator;
    }
    const int64_t twice = remainder * 2;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0)) ++quotient;
    return quotient;
}

// Bytes to whole mebibytes: a right shift by 20, which truncates.
inline int64_t BytesToMB(uint64_t bytes) { return static_cast<int64_t>(bytes >> 20); }

}  // namespace korbela
