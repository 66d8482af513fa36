// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Number texts of the program. They ignore the user's locale: the decimal separator is
// always ".", so that a text the program writes reads back with ParseParamNumber.

// A whole number: leading spaces, one optional sign and decimal digits, nothing after them,
// within 32 bits. No value for anything else.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// ParseInteger, raising ConvertError ("'<text>' is not a valid integer value") instead of
// returning no value.
std::int32_t StrToInt(std::string_view text);

// The shortest general form with at most 15 significant digits and no trailing zeros:
// 0 gives "0", 0.37 gives "0.37", 0.5 gives "0.5".
std::string DecimalText(double value);

// The extended value rounded to double; no value when the rounding overflows.
std::optional<double> ExtendedToDouble(long double value);

// ExtendedToDouble, raising FloatOverflowError ("Floating point overflow") on overflow.
double RoundToDouble(long double value);

// Makes "." the decimal separator of every number text the process writes or reads: the
// chart's number settings (see TFormatSettings::SetDecimalSeparator) and the C library's.
// The thousands separator and the date and time formats stay the user's.
void UsePointAsDecimalSeparator();
