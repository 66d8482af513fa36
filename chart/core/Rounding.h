// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace Korvatel {

// Rounding rules shared by the whole program.
//
// A computed coordinate or count becomes an integer by rounding to nearest with halves going
// to the even neighbour. The result is a 64-bit value; where a 32-bit integer is stored, its
// low 32 bits are kept. Values that have no 64-bit result (NaN, infinities, magnitudes of
// 2^63 and more) never reach a C++ conversion, which would be undefined: they give INT64_MIN,
// the value the processor's own conversion produces for them.

KORVATEL_EXPORT std::int64_t RoundHalfEven(long double value);

// RoundHalfEven, keeping the low 32 bits.
KORVATEL_EXPORT std::int32_t RoundHalfEvenLow32(long double value);

// Truncation toward zero with the same guard for values without a 64-bit result.
KORVATEL_EXPORT std::int64_t TruncToInt64(long double value);

// a * b / c computed in 64 bits, rounded to nearest with halves away from zero.
// A zero divisor or a result outside 32 bits gives -1.
KORVATEL_EXPORT std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// A pixel offset is rounded half to even into 32 bits only while its magnitude stays below
// 2147483647; NaN, infinities and larger magnitudes have no pixel. Returns false for those
// and leaves result alone, so that the caller can fall back to a pixel of its choice. These
// run once per point and repaint, so they are inline and touch no library state.
inline bool TryRoundHalfEven32(double value, std::int32_t& result) {
    if (!(std::fabs(value) < 2147483647.0)) {
        return false;
    }
    // The default floating-point environment rounds to nearest, ties to even; the magnitude
    // checked above keeps the rounded value inside 32 bits.
    result = static_cast<std::int32_t>(std::nearbyint(value));
    return true;
}

inline bool TryRoundHalfEven32(long double value, std::int32_t& result) {
    if (!(std::fabs(value) < 2147483647.0L)) {
        return false;
    }
    result = static_cast<std::int32_t>(std::nearbyint(value));
    return true;
}

// A value formed in extended precision and stored as a double. Magnitudes beyond the double
// range become infinities and NaN stays NaN, as the processor's own store does; the
// conversion itself only ever sees values that a double can hold.
inline double StoreAsDouble(long double value) {
    constexpr long double Largest = std::numeric_limits<double>::max();
    if (value > Largest) {
        return std::numeric_limits<double>::infinity();
    }
    if (value < -Largest) {
        return -std::numeric_limits<double>::infinity();
    }
    if (std::isnan(value)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return static_cast<double>(value);
}

// The low 32 bits of a 64-bit sum of pixels, as a stored 32-bit pixel keeps them.
constexpr std::int32_t Low32(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// A 64-bit pixel sum brought back into 32 bits by clamping, for layout sums of user values
// (border widths, margins) that must not wrap round to the other side of the panel.
constexpr std::int32_t ClampToInt32(std::int64_t value) {
    constexpr std::int64_t Lowest = -2147483647 - 1;
    constexpr std::int64_t Highest = 2147483647;
    return static_cast<std::int32_t>(value < Lowest ? Lowest : (value > Highest ? Highest : value));
}

// Integer division truncating toward zero ("div"); C++ already truncates, the name documents it.
constexpr std::int32_t Div(std::int32_t a, std::int32_t b) {
    return a / b;
}

} // namespace Korvatel
