// SPDX-License-Identifier: MIT
#include <korvatel/core/Rounding.h>

#include <cmath>
#include <limits>

namespace Korvatel {

namespace {

constexpr long double TwoTo63 = 9223372036854775808.0L;

bool HasInt64Result(long double value) {
    // The comparison is false for NaN as well.
    return std::fabs(value) < TwoTo63;
}

} // namespace

std::int64_t RoundHalfEven(long double value) {
    if (!HasInt64Result(value)) {
        return std::numeric_limits<std::int64_t>::min();
    }
    // The default floating-point environment rounds to nearest, ties to even.
    return std::llrint(value);
}

std::int32_t RoundHalfEvenLow32(long double value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(RoundHalfEven(value)));
}

std::int64_t TruncToInt64(long double value) {
    if (!HasInt64Result(value)) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::uint64_t num =
        product < 0 ? static_cast<std::uint64_t>(-product) : static_cast<std::uint64_t>(product);
    const std::uint64_t den = c < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(c))
                                    : static_cast<std::uint64_t>(c);
    std::uint64_t quotient = num / den;
    if ((num % den) * 2 >= den) {
        ++quotient; // halves away from zero
    }
    if (quotient > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + 1 ||
        (!negative &&
         quotient > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))) {
        return -1;
    }
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(quotient))
                    : static_cast<std::int32_t>(quotient);
}

} // namespace Korvatel
