// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/axes/FormatSettings.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace Korvatel {

// The text of a value label and the measurement of (multi-line) label texts, as pure
// functions of the value, the axis's formats and the number and date settings.
//
// Number labels use FormatNumber (NumberFormat.h), which documents the number format syntax.
//
// DateTimeFormat, and the short date and time formats of the settings, use Qt's date-time
// format syntax: d dd ddd dddd (day, names from the settings' locale), M MM MMM MMMM
// (month), yy yyyy (year), h hh (hour, 12-hour clock when AP or ap is present) H HH (hour
// of 24), m mm (minute), s ss (second), z zzz (millisecond), AP ap (AM/PM), t (time zone,
// always UTC here) and 'quoted text' ('' for a single quote). Note that "mm" is always the
// minute and months are written with capital M.

// Separates the lines of a multi-line label (carriage return).
inline constexpr char LabelLineSeparator = '\r';

// How an axis writes its value labels. The formats are views of the axis's own texts, taken
// for one label at a time.
struct KORVATEL_EXPORT TAxisLabelFormat {
    bool DateTime = false;
    std::string_view ValuesFormat = ChartStrings::DefaultValueFormat;
    std::string_view DateTimeFormat;
    double EffectiveRange = 0.0;
    bool MultiLine = false;
};

// The text of a date-time value: in dateTimeFormat, or when it is empty in the short date
// format for a range of more than one day and in the short time format otherwise. Negative
// values, and values beyond the calendar or not a number, give the empty text.
std::string DateTimeLabelText(double value, std::string_view dateTimeFormat, double effectiveRange,
                              const TFormatSettings& settings);

// The text of a value before the label event: formatted by ValuesFormat, or as a date-time.
std::string ValueLabelText(double value, const TAxisLabelFormat& format,
                           const TFormatSettings& settings);

// Every blank becomes the line separator.
std::string MultiLineLabelText(std::string text);

// The chart's OnGetAxisLabel for a value label (no series, value index -1): it may
// rewrite the text.
using TGetAxisLabelText = std::function<void(std::string& labelText)>;

// The whole label text of a value: ValueLabelText, then the label event when one is given,
// then the line breaks of a multi-line axis (also in the text the event wrote).
std::string FormatAxisLabel(double value, const TAxisLabelFormat& format,
                            const TFormatSettings& settings,
                            const TGetAxisLabelText& onGetAxisLabel);

// The width of the widest line and the number of lines of a label text.
struct KORVATEL_EXPORT TMultiLineExtent {
    std::int32_t Width = 0;
    std::int32_t Lines = 0;
};

// Measures one line of text in pixels with the current font.
using TMeasureTextWidth = std::function<std::int32_t(std::string_view line)>;

// Lines end at every line separator; the part after the last separator is a line only when
// it is not empty, and a text without separator is one line, also when it is empty.
TMultiLineExtent MeasureMultiLineText(std::string_view text, const TMeasureTextWidth& measure);

// The room a label takes along its axis: its width when the text runs along the axis
// (a horizontal axis unless the angle is 90 or 270, a vertical axis unless it is 0 or 180),
// else one text row per line.
std::int32_t LabelSizeAlongAxis(const TMultiLineExtent& extent, std::int32_t textRowHeight,
                                bool horizontal, std::int32_t labelsAngle);

} // namespace Korvatel
