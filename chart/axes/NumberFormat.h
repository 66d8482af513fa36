// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>

#include <string>
#include <string_view>

namespace Korvatel {

// Number texts by format string, such as the axis labels' "#,##0.###" and the series'
// percentages "##0.## %". A pure function: the separators come from the caller's number
// settings, and the result is UTF-8.
//
// Supported format syntax:
//
//   0        digit placeholder: always writes a digit (a zero when there is none).
//   #        digit placeholder: writes a digit only where the number has one. Leading zeros
//            come from the first 0 of the integer part, so "#,##0" writes at least one digit
//            and "#.##" writes nothing before the point for 0.5 (".5").
//   .        the first one is the decimal point; the decimal separator is written only when a
//            decimal digit follows it. Further points are ignored.
//   ,        anywhere before the decimal point: group the integer digits by threes with the
//            thousands separator. Its position does not matter; elsewhere it is ignored.
//   E+ E-    (also e+, e-) scientific notation: the number is written with one integer
//            digit (1 <= mantissa < 10) and the exponent after the letter, with at least as
//            many digits as 0s follow the sign. E+ always writes the exponent's sign, E-
//            only a minus. Everything after the exponent is literal text. An E followed by
//            + or - that is meant as text must be quoted.
//   ;        separates sections: "positive;negative;zero". A negative value uses the second
//            section, without a minus sign of its own; a value that is zero after rounding
//            uses the third. Missing or empty sections fall back to the first, with a minus
//            for negative values.
//   "x" 'x'  quoted text is written as it stands (also 0, #, ; and the like).
//   %        and any other character: written as it stands, where it stands. The percent
//            sign does not scale the value; the series' percentages are already percents.
//
// Integer digits beyond the number of placeholders all go to the first placeholder. Literal
// text between placeholders is written between the digits the placeholders receive.
//
// Rounding: the value is taken as its shortest decimal form (the digits that read back as the
// same double, e.g. 0.1 rather than 0.1000000000000000055...) and rounded to the number of
// decimal placeholders with halves away from zero, as people round: 2.5 writes "3", 1.005
// with two decimals "1.01", 999.9996 with "#,##0.###" "1,000". A value that rounds to zero
// carries no minus sign (-0.0001 writes "0").
//
// Special values: NaN writes "NaN", infinities "INF" and "-INF". A value whose integer part
// has more than 18 digits (at and above 1e18, which no digit layout of a label would show
// well), an empty format and an empty first section write the general form with at most 15
// significant digits: "1E+300", "1.5E-7", "0.25", using the decimal separator.
KORVATEL_EXPORT std::string FormatNumber(double value, std::string_view format, std::string_view thousandSeparator,
                         std::string_view decimalSeparator);

// The general form on its own: at most 15 significant digits, no trailing zeros, scientific
// ("1.5E+20") from 1e15 up and below 1e-4.
KORVATEL_EXPORT std::string FormatGeneralNumber(double value, std::string_view decimalSeparator);

} // namespace Korvatel
