// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace Korvatel {

// The date-time step table and the calendar moves of date-time axes.
//
// Date-time values are days since 30 December 1899 with the time of day as the fraction
// (ChartDateTime.h). Steps up to a week are plain numbers of days; steps from half a month
// up are calendar steps, which move a label by whole months or years instead of adding days.

inline constexpr std::int32_t DateTimeStepCount = 25;
// The calendar index that means "no calendar step".
inline constexpr std::int32_t NoCalendarStep = 25;
inline constexpr std::int32_t FirstCalendarStep = 18;
inline constexpr std::int32_t LastCalendarStep = 24;
// From this index on, the first label of an exact date-time axis is rounded down to a date.
inline constexpr std::int32_t FirstDateStep = 14;

// Steps in days, indexed 0 (one second) to 24 (one year).
inline constexpr std::array<double, DateTimeStepCount> DateTimeSteps = {
    1.0 / 86400,  5.0 / 86400,   10.0 / 86400,  15.0 / 86400,  30.0 / 86400,
    60.0 / 86400, 300.0 / 86400, 600.0 / 86400, 900.0 / 86400, 1800.0 / 86400,
    1.0 / 24,     2.0 / 24,      0.25,          0.5,           1.0,
    2.0,          3.0,           7.0,           15.0,          30.0,
    60.0,         90.0,          120.0,         182.0,         365.0};

constexpr bool IsCalendarStep(std::int32_t index) {
    return index >= FirstCalendarStep && index <= LastCalendarStep;
}

// The calendar step index of an axis: NoCalendarStep unless it is a date-time axis with
// ExactDateTime on and an Increment other than 0. Then it is the highest table index whose
// step lies within one second of Increment, raised while the computed step is larger than
// that entry (up to one year); NoCalendarStep when no entry matches Increment.
std::int32_t CalendarStepIndex(bool dateTime, bool exactDateTime, double increment, double step);

// The date-time value one calendar step (FirstCalendarStep..LastCalendarStep) before the
// given one, as a date without time of day. Moves that would leave the calendar (values that
// are not finite or far beyond any real date, or before year 1) give no value, which ends
// the labels. A year back from 29 February lands on 28 February.
std::optional<double> CalendarStepBack(double value, std::int32_t calendarIndex);

// The first label of an exact date-time axis: the date of the value without time of day,
// on the first of the month for monthly steps, on 1 January for yearly steps, and on the
// 1st or 15th for half months. Values up to 1 January 1900 (2.0) are returned unchanged.
std::optional<double> RoundDownFirstDate(double value, std::int32_t calendarIndex);

} // namespace Korvatel
