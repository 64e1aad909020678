// a * b / c rounded to the nearest integer, as Win32's MulDiv computes it, for
// the figures that are worked out the same way on every platform.
#pragma once

#include <cstdint>

namespace korbela {

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

}  // namespace korbela
