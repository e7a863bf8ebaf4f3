#pragma once
// Portable MulDiv: (a * b) / c with a 64-bit intermediate, rounded half away from zero,
// and -1 when c is 0 or the result does not fit in 32 bits, as kernel32 does.

#include <cstdint>

namespace quillop::platform {

constexpr int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t p = product < 0 ? -product : product;
    const std::int64_t d = denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
    std::int64_t q = (p + d / 2) / d;
    if (negative) {
        q = -q;
    }
    if (q > INT32_MAX || q < INT32_MIN) {
        return -1;
    }
    return static_cast<int>(q);
}

} // namespace quillop::platform
