// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// A second, independent statement of the parameter fields' number syntax, for checking the
// program's parser: the form by a POSIX regular expression, the value by strtold in the C
// locale. It is deliberately written another way than the parser it checks.
struct TReferenceNumber {
    bool Valid = false;
    long double Value = 0.0L;
    // strtold reported that the value lies beyond the extended range (Value is infinite) or
    // below it (Value is zero or subnormal).
    bool Overflow = false;
    bool Underflow = false;
};

TReferenceNumber ReferenceParseParamNumber(std::string_view text);

