// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>

#include <QDate>
#include <QDateTime>

namespace Korvatel {

// Conversion between the chart's date-time values and Qt's dates.
//
// A date-time value is a double: the whole part counts days since 30 December 1899
// (value 0), the fraction is the time of day (0.5 is noon). For values below 0 the whole
// part is the day (truncated toward zero) and the fraction, taken without its sign, is still
// the time of day, so -1.25 is 29 December 1899 at 06:00. The time is kept to the nearest
// millisecond; a time that rounds to midnight moves to the next day.
//
// Date-times carry no time zone (UTC is used, so that no daylight-saving gap or repeat can
// move a label). Values that are not finite or lie beyond Qt's calendar give an invalid
// result.

// The day of a date-time value, without its time of day.
KORVATEL_EXPORT QDate ChartDateToQDate(double value);
KORVATEL_EXPORT QDateTime ChartDateTimeToQDateTime(double value);

// An invalid date or date-time gives NaN.
KORVATEL_EXPORT double QDateToChartDate(const QDate& date);
KORVATEL_EXPORT double QDateTimeToChartDateTime(const QDateTime& dateTime);

} // namespace Korvatel
