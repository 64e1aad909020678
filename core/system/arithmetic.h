// Integer arithmetic the figures are computed with: products divided without
// overflow, and quotients rounded to the nearest integer.
#pragma once

#include <cmath>
#include <cstdint>

namespace korbela {

// a * b / c rounded to the nearest integer, as Win32's MulDiv computes it, for
// the figures that are worked out the same way on every platform.
// Halves round away from zero; -1 when c is 0 or the result does not fit.
constexpr int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const int64_t bias = divisor / 2;
    const int64_t result = product >= 0 ? (product + bias) / divisor : (product - bias) / divisor;
    if (result > INT32_MAX || result < -INT32_MAX) return -1;
    return static_cast<int>(result);
}

// Rounding and unit helpers shared by every figure the program shows.

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
