// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// The number syntax of the parameter fields. It is the program's own and ignores the user's
// locale: leading spaces, one optional sign, digits with an optional "." and more digits
// (either group may be empty, so "5.", ".5" and "." are numbers), an optional exponent
// ("e" or "E", an optional sign, at least one digit), and nothing after it. A mantissa
// without digits is 0, so "e5" is 0. An empty text, spaces only and a lone sign are not
// numbers, and neither is any text with other characters (tabs, a trailing space, a comma,
// a second point, letters).
//
// The value is read at extended precision. Numbers beyond the extended range read as
// infinities of their sign; numbers too small for it read as zero.

struct TParamNumber {
    bool Valid = false;
    long double Value = 0.0L;
};

TParamNumber ParseParamNumber(std::string_view text);
