#pragma once

#include <cstdint>

// Rounding rules shared by the whole program.
//
// A computed coordinate or count becomes an integer by rounding to nearest with halves going
// to the even neighbour. The result is a 64-bit value; where a 32-bit integer is stored, its
// low 32 bits are kept. Values that have no 64-bit result (NaN, infinities, magnitudes of
// 2^63 and more) never reach a C++ conversion, which would be undefined: they give INT64_MIN,
// the value the processor's own conversion produces for them.

std::int64_t RoundHalfEven(long double value);

// RoundHalfEven, keeping the low 32 bits.
std::int32_t RoundHalfEvenLow32(long double value);

// Truncation toward zero with the same guard for values without a 64-bit result.
std::int64_t TruncToInt64(long double value);

// a * b / c computed in 64 bits, rounded to nearest with halves away from zero.
// A zero divisor or a result outside 32 bits gives -1.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// Integer division truncating toward zero ("div"); C++ already truncates, the name documents it.
constexpr std::int32_t Div(std::int32_t a, std::int32_t b) {
    return a / b;
}
