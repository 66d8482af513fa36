// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace Korvatel {

// The engine's fixed texts. They are kept in one place, as resource strings, and read when
// needed; a %s or %d in them is filled with FormatMessage.
namespace ChartStrings {

inline constexpr std::string_view ListIndexOutOfBounds = "List index out of bounds (%d)";
inline constexpr std::string_view DefaultValueFormat = "#,##0.###";
inline constexpr std::string_view DefaultPercentFormat = "##0.## %";
inline constexpr std::string_view DefaultFontName = "Arial";
inline constexpr std::string_view DefaultFontSize = "8";

inline constexpr std::string_view AxisMinMax = "Axis Minimum Value must be <= Maximum";
inline constexpr std::string_view AxisMaxMin = "Axis Maximum Value must be >= Minimum";
inline constexpr std::string_view AxisLogDateTime = "DateTime Axis cannot be Logarithmic";
inline constexpr std::string_view AxisLogNotPositive =
    "Logarithmic Axis Min and Max values should be >= 0";
inline constexpr std::string_view AxisLogBase = "Axis Logarithmic Base should be >= 2";
inline constexpr std::string_view MaxPointsPerPage = "MaxPointsPerPage must be >= 0";
inline constexpr std::string_view AxisIncrement = "Axis increment must be >= 0";
inline constexpr std::string_view AxisLabelSep = "Labels Separation % must be greater than 0";
inline constexpr std::string_view AngleRange = "%s Angle must be between 0 and 359 degrees";
inline constexpr std::string_view AxisLabelsName = "Axis Labels";
inline constexpr std::string_view AxisTitleName = "Axis Title";
inline constexpr std::string_view Chart3DPercent = "3D effect percent must be between %d and %d";
inline constexpr std::string_view NoParentChartForSource = "No ParentChart to validate DataSource";
inline constexpr std::string_view InvalidDataSource = "No valid DataSource: %s";
inline constexpr std::string_view FillSampleCount = "FillSampleValues NumValues must be > 0";
inline constexpr std::string_view PercentOf = "%s of %s";
inline constexpr std::string_view PointerSize = "Pointer size must be between %d and %d";
inline constexpr std::string_view PropertyRange = "%s must be between %d and %d";
inline constexpr std::string_view AreaOrigin = "Area origin must be a finite number";
inline constexpr std::string_view SeriesTitlePrefix = "Series ";
inline constexpr std::string_view LegendNegative = "Legend %s must be >= 0";
inline constexpr std::string_view LegendPercent = "Legend %s must be between %d and %d";
inline constexpr std::string_view GalleryStandardPage = "Standard";
inline constexpr std::string_view GalleryKindIncomplete =
    "A series kind needs a gallery page, a name and a way to create it";
inline constexpr std::string_view GalleryKindTwice = "Series kind %s is already registered";
inline constexpr std::string_view GalleryKindUnknown = "No series kind named %s";
inline constexpr std::string_view BarWidthPercentRange =
    "Bar width percent must be between %d and %d";
inline constexpr std::string_view OriginNotFinite = "Origin must be a finite number";
inline constexpr std::string_view RotationName = "Rotation";
inline constexpr std::string_view ExplodePercentRange = "Explode percent must be between %d and %d";
inline constexpr std::string_view DonutPercentRange = "DonutPercent must be between %d and %d";
inline constexpr std::string_view ExplodedIndexRange =
    "Exploded slice index must be between %d and %d";
inline constexpr std::string_view PictureSize =
    "A picture must be at least 1 x 1 pixels, not %d x %d";
inline constexpr std::string_view PictureTooLarge =
    "Not enough memory for a picture of %d x %d pixels";
inline constexpr std::string_view PixelRatio =
    "Device pixel ratio %s must be between 1/256 and %s";
inline constexpr std::string_view PictureNoDevicePixels =
    "A picture of %s x %s pixels at device pixel ratio %s has no device pixels";
inline constexpr std::string_view PdfPageSize =
    "A PDF page must be between 1 x 1 and %d x %d pixels, not %d x %d";
inline constexpr std::string_view CannotWriteFile = "Cannot write the file %s";
inline constexpr std::string_view CannotPrint = "The printer cannot print";
// Number texts of values that are not finite.
inline constexpr std::string_view NotANumberText = "NaN";
inline constexpr std::string_view InfinityText = "INF";
inline constexpr std::string_view NegativeInfinityText = "-INF";

} // namespace ChartStrings

// Fills the %s and %d placeholders of a fixed text, in order, with the given texts.
// "%%" stands for a single "%"; a placeholder without an argument is kept as it is.
KORVATEL_EXPORT std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

// Shorthand for the common case of integer arguments.
KORVATEL_EXPORT std::string FormatMessage(std::string_view pattern, long long a);
KORVATEL_EXPORT std::string FormatMessage(std::string_view pattern, long long a, long long b);

} // namespace Korvatel
