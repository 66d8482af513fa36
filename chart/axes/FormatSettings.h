// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>

#include <QLocale>
#include <string>
#include <string_view>

namespace Korvatel {

// The number and date settings that label texts are written with: the separators of
// numbers, the short date and time formats (in the syntax of DateTimeFormat, see
// AxisLabelText.h) and the locale whose month and day names date texts use.
//
// Default-constructed settings are locale-neutral: "," and ".", "yyyy-MM-dd" and "HH:mm:ss".
// The program takes its settings from the system locale and then sets "." as the decimal
// separator, so that every number it shows reads the same whatever the locale; the thousands
// separator and the date and time formats stay the locale's.
struct KORVATEL_EXPORT TFormatSettings {
    std::string ThousandSeparator = ",";
    std::string DecimalSeparator = ".";
    std::string ShortDateFormat = "yyyy-MM-dd";
    std::string ShortTimeFormat = "HH:mm:ss";
    QLocale Locale = QLocale::c();

    static TFormatSettings FromLocale(const QLocale& locale);

    // Sets the decimal separator. A thousands separator of the same text gives way, to ","
    // beside a decimal "." and to "." beside any other: under a locale that groups with "."
    // (German, for one), "1.000" would otherwise read both as one and as a thousand.
    void SetDecimalSeparator(std::string_view separator);
};

// The number and date settings of the process, taken from the system locale when first
// used. The program sets its decimal separator to "." at start-up.
KORVATEL_EXPORT TFormatSettings& ProcessFormatSettings();

} // namespace Korvatel
